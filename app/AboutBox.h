#pragma once
// The About box: product name and version of this build and three link
// labels. Opened from the Help menu, or at the first start with a timer that
// closes it after 5 seconds.
#include <QDialog>

class QLabel;
class QTimer;

class TVerDspDlg : public QDialog {
    Q_OBJECT
public:
    explicit TVerDspDlg(QWidget* owner);

    QLabel* Image1 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;  // product name
    QLabel* Label5 = nullptr;  // version
    QTimer* Timer1 = nullptr;  // 5000 ms, off until the first-start call enables it

private:
    void FormCreate();
    void Timer1Timer();
};
