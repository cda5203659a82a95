#pragma once
// "Real ground setup": the ground media of the environment record, their
// boundaries (linear along X or radial) and an optional screen of radial
// wires. Works on a copy of the record and writes it back only on OK.
#include "editing/EditForm.h"
#include "model/EnvDef.h"

class QAction;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class StringGrid;

class TMediaDlgBox : public QDialog {
    Q_OBJECT
public:
    explicit TMediaDlgBox(QWidget* owner);
    // 1 after OK (EnvDef replaced by the edited copy), 0 after Cancel.
    int Execute();
    QString GetCellText(int col, int row);
    void UpdateControls();
    void GScrFlagClick();
    void K1Click();
    void K2Click();

    EnvRec Env{};  // the copy being edited

    StringGrid* Grid = nullptr;
    QGroupBox *GroupBox1 = nullptr, *GroupBox2 = nullptr;
    QCheckBox* GScrFlag = nullptr;
    QLineEdit *RadCnt = nullptr, *RadR = nullptr;
    QLabel *Label1 = nullptr, *Label3 = nullptr, *Label4 = nullptr;
    QMenu* GridPopup = nullptr;
    QAction *K1 = nullptr, *K2 = nullptr;
    QPushButton *OKBtn = nullptr, *CancelBtn = nullptr;

private:
    void ResizeGrid();
};
