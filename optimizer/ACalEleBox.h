#pragma once
// "Choice of element variable": asked once per "All elements" run of the
// optimizer dialog, which sizes of an element (width Y, height Z, length or
// perimeter X) become rows and how they cooperate.
#include <QDialog>

class QCheckBox;
class QLabel;
class QPushButton;
class RadioGroup;

class TACalEleBox : public QDialog {
    Q_OBJECT
public:
    explicit TACalEleBox(QWidget* owner, const QString& fontName = {});

    // Availability flags in and out; the choices out as radio indices (for
    // Y: 1 Z, 2 X; for Z: 1 Y, 2 X; for X: 1 Y, 2 Z). Always 1.
    int Execute(bool& useY, bool& useZ, int& coopX, int& coopZ, int& coopY, bool& useX);
    // Relabels items 1 and 2 of every group from the check boxes.
    void UpdateGroups();

    QLabel* Label1 = nullptr;
    QCheckBox *CBHW = nullptr, *CBVW = nullptr, *CBXW = nullptr;
    RadioGroup *RGHW = nullptr, *RGVW = nullptr, *RGXW = nullptr;
    QPushButton* OKBtn = nullptr;

private:
    void ChangeLanguage();
};
