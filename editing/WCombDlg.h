#pragma once
// "Taper wire set": the table of the antenna's tapered wire sets, edited in
// place. Cancel puts the sets back as they were.
#include <QDialog>

struct AntDef;
class QMenu;
class QPushButton;
class StringGrid;

class TWCombDlg : public QDialog {
    Q_OBJECT
public:
    explicit TWCombDlg(QWidget* owner, const QString& fontName = {});
    // True when the user pressed OK and the sets differ from those on entry.
    bool Execute(AntDef& ant);

    void ChooseType(int type);  // a PopupType item, on the current row
    void DelBtnClick();

    StringGrid* Grid = nullptr;
    QPushButton *OKBtn = nullptr, *DelBtn = nullptr;
    QMenu* PopupType = nullptr;

private:
    void TakeCell(int col, int row, const QString& text);
    void Renew();
    AntDef* ant_ = nullptr;
};
