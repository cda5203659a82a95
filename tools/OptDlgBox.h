#pragma once
// "Options and setup": six RF calculators and the setup page of global
// settings on one modal form. Every numeric field has a control number; a
// change typed by the user is parsed, admitted, stored and calculated, and
// then every other field of the form is rewritten, never the one being typed.
#include "draw/PanelPart.h"
#include "tools/RfCalculators.h"

#include <QDialog>
#include <functional>
#include <map>
#include <string>
#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class RadioGroup;

class TOptDlgBox : public QDialog {
    Q_OBJECT
public:
    explicit TOptDlgBox(QWidget* owner = nullptr);

    // C in pF, L in uH, X and R in ohm, F in MHz. Returns 0 on Cancel, 1 on
    // OK, 2 on OK when the maximum pulse count changed.
    int Execute(double C, double L, double X, double R, double F);
    // The steps of Execute before and after the form is shown.
    void Preset(double C, double L, double X, double R, double F);
    int Store();

    // Writes every field except control number `except` (-1: all).
    void UpdateFields(int except);
    // Carries values into the page that became active.
    void PageChange();
    QWidget* Field(int number) const;
    // Where the texts of a picture box went when it was last painted.
    std::vector<PanelPart> PictureParts(const QWidget* box) const;
    // Entering a field: the resonance frequency is taken as if typed; the
    // R field of line match 2 searches the solutions again.
    void FieldEntered(int number);

    // Calculator state.
    ResonanceCalc Res;
    CoilCalc Coil;
    LMatchCalc LMatch;
    LineMatchCalc Line;
    StubMatchCalc StubMatch;
    StubCalc Stub;
    int Editing = 0;  // 1 while the user may edit; 0 while the form writes its fields
    std::string HairpinPrompt = "R of using line";
    QString SwrWords[3] = {"SWR", "SWR", "SWR"};  // before the SWR figures of line match 1 and the Q-match

    QTabWidget* PageControl = nullptr;
    QWidget *ResPage = nullptr, *CoilPage = nullptr, *LMatchPage = nullptr, *Line1Page = nullptr;
    QWidget *Line2Page = nullptr, *StubPage = nullptr, *SetupPage = nullptr;
    QPushButton *OKBtn = nullptr, *CancelBtn = nullptr;
    // Resonance and coil
    QCheckBox* TFixFreq = nullptr;
    QLabel *TWaveLabel = nullptr, *ACoilLen = nullptr;
    RadioGroup* ACompSel = nullptr;
    // LC-match
    RadioGroup* MXSel = nullptr;
    QWidget* PBoxM = nullptr;
    // Line match 1
    QCheckBox* QCompZL = nullptr;
    QLabel *QSwrI = nullptr, *QSwrL = nullptr, *QSwrQ = nullptr;
    QPushButton* QMBtn = nullptr;
    // Line match 2
    QLabel *SMVar1 = nullptr, *SMVar2 = nullptr;
    QWidget* SMImage = nullptr;  // the arrangement
    QPushButton* SMCalcBtn = nullptr;
    // Stub
    RadioGroup* CStub = nullptr;
    QLabel *CLCName = nullptr, *CLCUnit = nullptr, *CFoLabel = nullptr;
    // Setup
    QLineEdit *EditAz = nullptr, *EditEl = nullptr, *EditZ0X = nullptr;
    QComboBox *EditZ0R = nullptr, *PMaxCB = nullptr, *RecentCB = nullptr, *EditFont = nullptr;
    QCheckBox *CurDirCB = nullptr, *OnlyKvaCB = nullptr;
    RadioGroup* FreeAngleRG = nullptr;
    QPushButton *AutojX = nullptr, *FntSpBt = nullptr;

    void ChangeLanguage();
    void AutojXClick();
    void EditFontChange();
    void FntSpBtClick();
    void QMBtnClick();
    void SMCalcBtnClick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct FieldDef {
        QWidget* Control;
        std::function<QString()> Show;
        std::function<void(const QString&)> Take;
    };
    // Registers numeric control `number`; `take` receives each parsed value
    // typed while the editing flag is set.
    void AddField(int number, QWidget* control, std::function<QString()> show, std::function<void(double)> take);
    void BuildResonancePage();
    void BuildCoilPage();
    void BuildLMatchPage();
    void BuildLine1Page();
    void BuildLine2Page();
    void BuildStubPage();
    void BuildSetupPage();
    void WriteLabels();
    void LineChanged(int number);
    void QMatchChanged(int number);
    void CTypeChange();
    void FillSetupPage();
    void SetFieldText(int number, const QString& text);
    bool SetupR(double& r) const;

    std::map<int, FieldDef> fields_;
    std::map<const QWidget*, std::vector<PanelPart>> pictureParts_;
};
