#pragma once
// The request of the angle/gain table: azimuth and zenith start, step and
// number of angles, and the CSV file to write. Edits the request that
// JobDef points to.
#include <QDialog>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

class TFarSetDlg : public QDialog {
    Q_OBJECT
public:
    TFarSetDlg(QWidget* owner, const QString& fontName);

    // False without a request, when the user cancels, or when a field does
    // not read; the fields read before it keep their new values.
    bool Execute();
    // The request into the controls, and the controls back into it.
    void LoadRequest();
    bool StoreRequest();
    void FileBtnClick();

    QString DataFolder;  // initial folder of the file dialog

    QGroupBox* GroupBox1 = nullptr;
    QLabel *LabelAz = nullptr, *LabelZen = nullptr;
    QLabel *LabelStart = nullptr, *LabelStep = nullptr, *LabelCount = nullptr;
    QLineEdit *EditA = nullptr, *EditAW = nullptr, *EditAN = nullptr;
    QLineEdit *EditZ = nullptr, *EditZW = nullptr, *EditZN = nullptr;
    QPushButton* FileBtn = nullptr;
    QLineEdit* EditName = nullptr;
    QPushButton* OKBtn = nullptr;
    QPushButton* CancelBtn = nullptr;

private:
    void FormCreate(const QString& fontName);
    void ChangeLanguage();
};
