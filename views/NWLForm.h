#pragma once
// "F/Z Multiband": the feed impedance over chosen bands as a list that can be
// saved as *.nwl and handed to a program of the user's choice.
#include <QDialog>
#include <QString>

#include "views/MultibandList.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QWidget;

class TNWLForm : public QDialog {
    Q_OBJECT
public:
    TNWLForm(QWidget* owner, SweepHost host, std::function<void()> pump = {});

    QString FileName;      // the antenna's file, then the last list file
    QString UserProgram;

    void OKBtnClick();
    void SaveBtnClick();
    void ClrBtnClick();
    void EditBand(int row);
    void OKbBtnClick();
    void ChangeLanguage();
    bool IsRunning() const { return list_.Running; }

    QPlainTextEdit* ResMemo = nullptr;
    QListWidget* BandLB = nullptr;
    QComboBox* StepCB = nullptr;
    QWidget* SetBndPnl = nullptr;
    QLineEdit *StEd = nullptr, *EndEd = nullptr;
    QPushButton *OKbBtn = nullptr, *OKBtn = nullptr, *CancBtn = nullptr, *SaveBtn = nullptr, *ClrBtn = nullptr;
    QCheckBox* StCB = nullptr;
    QString StartText = "Start", StopText = "Stop";

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    void ComputeBands();
    int PointsPerBand() const;
    bool BandsComputable() const;
    void ChooseUserProgram(const QString& current);
    void StartUserProgram(const QString& file);
    MultibandList list_;
    int editedRow_ = -1;
};
