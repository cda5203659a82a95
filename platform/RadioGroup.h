#pragma once
// A titled group of radio buttons addressed by item index (-1 for none),
// laid out in one column that follows the group's size.
#include <QGroupBox>
#include <QStringList>
#include <vector>

class QRadioButton;
class QButtonGroup;

class RadioGroup : public QGroupBox {
    Q_OBJECT
public:
    explicit RadioGroup(QWidget* parent = nullptr);

    void SetItems(const QStringList& items);
    QStringList Items() const;
    int ItemIndex() const;
    // Programmatic selection; emits no Clicked.
    void SetItemIndex(int index);
    QRadioButton* Button(int index) const;
    // Buttons are laid out in this many columns (1 by default).
    void SetColumns(int columns);

signals:
    // The user chose an item.
    void Clicked(int index);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void LayoutButtons();
    QButtonGroup* group_;
    std::vector<QRadioButton*> buttons_;
    int columns_ = 1;
};
