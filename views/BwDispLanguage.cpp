// The texts of the "Plots" dialog from the sections "BwDispDlg" (captions, in
// the form's fixed order) and "MessagBwDisp_Dlg" (the question of the
// resonance search). Without a language file the built-in texts stay.
#include "views/BwDispDlg.h"

#include "model/LanguageFile.h"
#include "model/LanguageState.h"
#include "platform/FormPattern.h"
#include "platform/TextCodec.h"

#include <QAbstractButton>
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QRadioButton>
#include <QTabWidget>

void TBwDispDlg::ChangeLanguage() {
    // Caption, Label1, Label2, the tabs Z, SWR, Gain/FB and Setup, GroupBox1,
    // Label3, GroupBox2, SelMatch and its 3 items, GroupBox3, MatchCenter,
    // GroupBox4, GroupBox5, the far-field tab, RGPtn and its 4 items, the six
    // buttons and the popup items KM, KMOFF, KMSWR, KMZSWR.
    constexpr int Lines = 34;
    const std::vector<std::string> lines = FormLanguageLines("BwDispDlg", Lines);
    if (lines.size() == Lines) {
        std::size_t k = 0;
        auto next = [&] { return DisplayQString(lines[k++]); };
        auto named = [this, &next](const char* name) {
            const QString text = next();
            QObject* o = findChild<QObject*>(name);
            if (auto* l = qobject_cast<QLabel*>(o)) l->setText(text);
            else if (auto* b = qobject_cast<QAbstractButton*>(o)) b->setText(text);
            else if (auto* g = qobject_cast<QGroupBox*>(o)) g->setTitle(text);
        };
        setWindowTitle(next());
        named("Label1");
        named("Label2");
        for (int tab : {0, 1, 2, 4}) Page->setTabText(tab, next());
        named("GroupBox1");
        named("Label3");
        named("GroupBox2");
        named("SelMatch");
        for (QRadioButton* item : SelMatch) item->setText(next());
        named("GroupBox3");
        named("MatchCenter");
        named("GroupBox4");
        named("GroupBox5");
        Page->setTabText(3, next());
        named("RGPtn");
        for (QRadioButton* item : RGPtn) item->setText(next());
        for (const char* button : {"ColorBtn", "TryBtn", "PrintBtn", "GetFoBtn", "MeasBtn", "HalfBtn"}) named(button);
        KM->setTitle(next());
        for (QAction* item : {KMOFF, KMSWR, KMZSWR}) item->setText(next());
    }
    if (!LanguageIsActive()) return;
    std::vector<std::string> message;
    std::string error;
    if (FindMessageSection(LanguageText, "MessagBwDisp_Dlg", 1, message, error) && !message.empty())
        ResonanceQuestion = DisplayQString(message[0]);
}
