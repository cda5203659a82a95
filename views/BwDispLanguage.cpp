// The texts of the "Plots" dialog from the sections "BwDispDlg" (captions, in
// the form's fixed order) and "MessagBwDisp_Dlg" (the question of the
// resonance search). Without a language file the built-in texts stay.
#include "views/BwDispDlg.h"

#include "model/LanguageFile.h"
#include "model/LanguageState.h"
#include "platform/FormPattern.h"
#include "platform/TextCodec.h"

void TBwDispDlg::ChangeLanguage() {
    ApplyFormTexts(*this, FormLanguageLines("BwDispDlg", 34),
                   {"Label1", "Label2", "PBoxZ", "PBoxS", "PBoxG", "TabSet", "GroupBox1", "Label3", "GroupBox2",
                    "SelMatch", "-", "-", "-", "GroupBox3", "MatchCenter", "GroupBox4", "GroupBox5", "TabPtn",
                    "RGPtn", "-", "-", "-", "-", "ColorBtn", "TryBtn", "PrintBtn", "GetFoBtn", "MeasBtn", "HalfBtn",
                    "KM", "KMOFF", "KMSWR", "KMZSWR"});
    if (!LanguageIsActive()) return;
    std::vector<std::string> message;
    std::string error;
    if (FindMessageSection(LanguageText, "MessagBwDisp_Dlg", 1, message, error) && !message.empty())
        ResonanceQuestion = DisplayQString(message[0]);
}
