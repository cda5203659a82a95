#pragma once
// "Set of parameter a table Freq/SWR/Gain/Z": the range, step and match
// options of the frequency table, and the file it is written to.
#include <QDialog>
#include <string>

#include "views/SweepHost.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QGroupBox;

class TFreqSetDlg : public QDialog {
    Q_OBJECT
public:
    TFreqSetDlg(QWidget* owner, SweepHost host, std::string defaultName);

    // True when OK was pressed and the table written.
    bool Execute();
    // The dialog's steps, public for the window's tests.
    void Load();
    void CheckRange();
    void UpdateControls();
    bool SaveTable();
    bool WriteTable(const std::string& fileName);
    void StoreMatchChoice();
    void ChangeLanguage();
    int MatchChoice() const;

    QLineEdit *BgnFreq = nullptr, *EndFreq = nullptr, *FreqIntval = nullptr, *MatchFreq = nullptr;
    QLabel* LCount = nullptr;
    QRadioButton* MatchSel[3] = {};
    QPushButton *OKBtn = nullptr, *CancelBtn = nullptr;
    QLabel *Label7 = nullptr, *Label8 = nullptr;
    bool RangeValid = false;

private:
    SweepHost host_;
    std::string defaultName_;
};
