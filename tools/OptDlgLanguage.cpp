// The texts of the calculator form from the language section "OptDlgBox", in
// the form's fixed order. Lines for unit labels that this form does not show
// are passed over; the prompt of the hairpin match is one of the lines.
#include "tools/OptDlgBox.h"

#include "platform/FormPattern.h"
#include "platform/TextCodec.h"

#include <iterator>

namespace {

// The controls in the order of the section's lines after the caption; "" for
// a line this form has no control for, "-" for the next radio item.
constexpr const char* SectionOrder[] = {
    "OKBtn", "CancelBtn",
    // Resonance
    "TabSheet1", "TLabel1", "TLabel3", "TLabel2", "TLabel4", "", "TFixFreq",
    // Coil
    "TabSheet2", "ALabel3", "ALabel4", "ALabel5", "ALabel2", "AUnit1", "AUnit3", "AUnit4", "AUnit5", "ALabel6",
    "ALabel7", "ACompSel", "-", "-", "-",
    // LC-match
    "TabSheet3", "MLabel4", "MLabel6", "MLabel8", "MLabel1", "MLabel2", "MLabel3", "MXSel", "-", "-",
    // Line match 1 (the SWR lines are the words before the SWR figures)
    "TabSheet4", "QLabel1", "", "", "", "", "", "", "QLabel2", "QLabel3", "QLabel4", "QLabel5", "QCompZL",
    "QLabel6", "", "", "", "", "QLabel7", "", "", "QLabel8", "", "", "QMBtn",
    // Line match 2
    "TabSheet5", "", "", "", "", "", "", "SMEditCmLabel", "SMLabel1", "SMLabel2", "SMCalcBtn",
    // Stub
    "TabSheet6", "CLabel3", "CLabel8", "CLabel6", "CLabel9", "CLabel7", "CLabel1", "CLabel2", "CLabel4", "CLabel5",
    "CStub", "-", "-",
    // Setup
    "TabSheet7", "RearGroup", "AzLabel", "ElLabel", "AzUnit", "ElUnit", "Z0Group", "Z0RUnit", "Z0XUnit",
    "", /* the prompt "R of using line" */
    "AutojX", "CurGroup", "CurDirCB", "FreeAngleRG", "-", "-", "PulseGroup", "RecentGroup", "RecentLabel",
    "OnlyKvaCB", "FontGroup", "FontLabel", "FntSpBt"};

// Lines after the caption of texts that are not control captions.
constexpr int PromptLine = 93;                 // "R of using line"
constexpr int SwrLines[3] = {41, 42, 52};      // "SWR" of Zi, of ZL and of the Q-match

}  // namespace

void TOptDlgBox::ChangeLanguage() {
    static_assert(std::size(SectionOrder) == 106);
    const std::vector<std::string> lines = FormLanguageLines("OptDlgBox", 1 + static_cast<int>(std::size(SectionOrder)));
    if (lines.empty()) return;
    ApplyFormTexts(*this, lines, {std::begin(SectionOrder), std::end(SectionOrder)});
    HairpinPrompt = DisplayQString(lines[PromptLine]).toStdString();
    for (int i = 0; i < 3; ++i) SwrWords[i] = DisplayQString(lines[static_cast<std::size_t>(SwrLines[i])]);
    WriteLabels();
}
