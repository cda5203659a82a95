#pragma once
// The request of the near-field table: electric or magnetic field, the power
// the antenna radiates, the X, Y and Z start, step and number of points (in
// metres, whatever the window's wavelength switch says), and the CSV file to
// write. Edits the request that JobDef points to.
#include <QDialog>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class RadioGroup;

class TNearSetDlg : public QDialog {
    Q_OBJECT
public:
    TNearSetDlg(QWidget* owner, const QString& fontName);

    // False without a request, when the user cancels, or when a field does
    // not read; the field choice, the path and the numbers read before the
    // failing one keep their new values.
    bool Execute();
    void LoadRequest();
    bool StoreRequest();
    void FileBtnClick();

    QString DataFolder;  // initial folder of the file dialog

    RadioGroup* CalcSel = nullptr;
    QGroupBox* GroupBox1 = nullptr;  // "Position"
    QGroupBox* GroupBox2 = nullptr;  // "Power"
    QLabel *LabelStart = nullptr, *LabelStep = nullptr, *LabelCount = nullptr, *LabelWatts = nullptr;
    QLineEdit* EditPow = nullptr;
    QLineEdit *EditX = nullptr, *EditXW = nullptr, *EditXN = nullptr;
    QLineEdit *EditY = nullptr, *EditYW = nullptr, *EditYN = nullptr;
    QLineEdit *EditZ = nullptr, *EditZW = nullptr, *EditZN = nullptr;
    QPushButton* FileBtn = nullptr;
    QLineEdit* EditName = nullptr;
    QPushButton* SaveBtn = nullptr;
    QPushButton* CancelBtn = nullptr;

private:
    void FormCreate(const QString& fontName);
    void ChangeLanguage();
};
