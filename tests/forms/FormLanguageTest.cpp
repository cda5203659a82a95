// Every form switches completely to the active language: a language file in
// which every line of every form section is a marked word is made active,
// each form is built as its command builds it, and every text-bearing child
// (caption, labels, buttons, group titles, tabs, menu items) must show a
// marked word. Boxes that a form raises through its message section must be
// marked too. To cover another form, add one row to FormsWithLanguage().
#include "model/LanguageState.h"
#include "model/Messages.h"
#include "platform/ScriptedPrompter.h"
#include "views/SweepHost.h"

#include "editing/GrpWireDlg.h"
#include "editing/MediaDlgBox.h"
#include "editing/MoveDlgBox.h"
#include "editing/RotWireDlg.h"
#include "editing/StackDlgBox.h"
#include "editing/TextEditDlg.h"
#include "editing/ValRepDlg.h"
#include "editing/WireCadDlg.h"
#include "editing/WireEditDlg.h"
#include "editing/WCombDlg.h"
#include "editing/WCombDspDlg.h"
#include "editing/WireScaleDlg.h"
#include "tools/OptDlgBox.h"
#include "tools/UserMaterialDlg.h"
#include "tools/UserProgramsDlg.h"
#include "views/AVEZForm.h"
#include "views/BwDispDlg.h"
#include "views/FarSetDlg.h"
#include "views/FreqSetDlg.h"
#include "views/GLColForm.h"
#include "views/NWLForm.h"
#include "views/NearSetDlg.h"
#include "views/ResCmpDlg.h"
#include "optimizer/ACalDlg.h"
#include "optimizer/ACalEleBox.h"
#include "optimizer/ACalInfoBox.h"
#include "optimizer/ACalMultDlg.h"
#include "optimizer/ACalResDlg.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QTabWidget>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

namespace {

// Every translated text starts with this word; no built-in text does.
const QString Marker = QStringLiteral("Zq");

struct FormCase {
    const char* Name;                        // shown when the case fails
    std::vector<const char*> Sections;       // the language sections the form reads
    std::function<std::unique_ptr<QWidget>(const QString& tempDir)> Make;  // built as its command builds it
    QStringList Untranslated = {};           // controls (by name or text) that show values or stay English by design
    std::function<void(QWidget&)> RaiseMessages = {};  // makes the form show its translated boxes
};

void PrintTo(const FormCase& c, std::ostream* os) { *os << c.Name; }

template <class Form, class... Args>
std::unique_ptr<QWidget> Make(Args&&... args) {
    return std::make_unique<Form>(std::forward<Args>(args)...);
}

// One row per form.
std::vector<FormCase> FormsWithLanguage() {
    return {
        {"MediaDlgBox", {"MediaDlgBox"}, [](const QString&) { return Make<TMediaDlgBox>(nullptr); }},
        {"MoveDlgBox", {"MoveDlgBox"}, [](const QString&) { return Make<TMoveDlgBox>(nullptr); },
         {"VectSel0", "VectSel1", "VectSel2"}},
        {"RotWireDlg", {"RotWireDlg"},
         [](const QString& dir) { return Make<TRotWireDlg>(nullptr, (dir + "/Korva.ini").toStdString()); },
         {"BSel0", "BSel1", "BSel2", "CWRG", "CWRG0", "CWRG1"}},
        {"StackDlgBox", {"StackDlgBox"}, [](const QString&) { return Make<TStackDlgBox>(nullptr); }},
        {"TextEditDlg", {"TextEditDlg"},
         [](const QString& dir) { return Make<TTextEditDlg>(nullptr, (dir + "/Korva.ini").toStdString()); }},
        {"ValRepDlg", {"ValRepDlg"}, [](const QString&) { return Make<TValRepDlg>(nullptr); }},
        {"WireEditDlg", {"WireEditDlg"}, [](const QString&) { return Make<TWireEditDlg>(nullptr); },
         {"X1", "Y1", "Z1", "X2", "Y2", "Z2", "R", "ChkRmd"}},
        // The information panel and the cursor readout show values.
        {"WireCadDlg", {"WireCadDlg"}, [](const QString&) { return Make<TWireCadDlg>(nullptr); }, {"LWire", "LCursor"}},
        {"WireScaleDlg", {"WireScaleDlg"}, [](const QString&) { return Make<TWireScaleDlg>(nullptr); }},
        // The hidden "3D view" box and the hidden last form item have no line of their own.
        {"GrpWireDlg", {"GrpWireDlg", "MessagGrpWire_Dlg"}, [](const QString&) { return Make<TGrpWireDlg>(nullptr); },
         {"Ant3D", "KS10"}, [](QWidget& w) { static_cast<TGrpWireDlg&>(w).RoundValues(2); }},
        {"WCombDlg", {"WCombDlg"}, [](const QString&) { return Make<TWCombDlg>(nullptr); }},
        {"WCombDspDlg", {"WCombDspDlg"}, [](const QString&) { return Make<TWCombDspDlg>(nullptr); }},
        {"FarSetDlg", {"FarSetDlg"}, [](const QString&) { return Make<TFarSetDlg>(nullptr, QString()); }},
        {"NearSetDlg", {"NearSetDlg"}, [](const QString&) { return Make<TNearSetDlg>(nullptr, QString()); },
         {"Label1", "Label2", "Label3"}},
        {"ResCmpDlg", {"ResCmpDlg"}, [](const QString&) { return Make<TResCmpDlg>(nullptr); },
         {"WaveSel0", "WaveSel1", "WaveSel2", "WaveSel3"}},
        {"FreqSetDlg", {"FreqSetDlg"}, [](const QString&) { return Make<TFreqSetDlg>(nullptr, SweepHost{}, ""); },
         {"Label1", "Label3", "Label4", "Label5", "Label7", "Label8"}},
        {"NWLForm", {"NWLForm"}, [](const QString&) { return Make<TNWLForm>(nullptr, SweepHost{}); }},
        {"BwDispDlg", {"BwDispDlg", "MessagBwDisp_Dlg"},
         [](const QString&) { return Make<TBwDispDlg>(nullptr, SweepHost{}); }, {"AutoSWRCb"},
         [](QWidget& w) { static_cast<TBwDispDlg&>(w).GetFoBtnClick(); }},
        {"AVEZForm", {"AVEZForm"}, [](const QString&) { return Make<TAVEZForm>(nullptr); }},
        // The colour labels show the colour's value after their English name.
        {"GLColForm", {"GLColForm"}, [](const QString&) { return Make<TGLColForm>(nullptr); },
         {"RLabel", "GLabel", "BLabel"}},
        // The optimizer: wire fields, the element radius and the F/B and jX
        // labels are the same in every language.
        {"ACalDlg", {"ACalDlg", "MsessagACal_Dlg"}, [](const QString&) { return Make<TACalDlg>(nullptr); },
         {"Y1", "Z1", "Y2", "Z2", "X1", "X2", "R", "LabelFB", "LabelJX"}},
        {"ACalEleBox", {"ACalEleBox"}, [](const QString&) { return Make<TACalEleBox>(nullptr); },
         {"GroupBox1", "GroupBox2", "GroupBox3", "RGHW0", "RGHW1", "RGHW2", "RGVW0", "RGVW1", "RGVW2", "RGXW0",
          "RGXW1", "RGXW2"}},
        {"ACalInfoBox", {"ACalInfoBox"}, [](const QString&) { return Make<TACalInfoBox>(nullptr); },
         {"LabelDBi", "LabelDB", "LabelFB", "LabelJX", "LabelR", "LabelTergJX", "LabelSWRZ", "LabelSWRJX"}},
        {"ACalMultDlg", {"ACalMultDlg"}, [](const QString&) { return Make<TACalMultDlg>(nullptr); }},
        // The goal line shows the run's weights.
        {"ACalResDlg", {"ACalResDlg", "ACalRes_Dlg"}, [](const QString&) { return Make<TACalResDlg>(nullptr); },
         {"CalCond"}},
        // Symbols (L, C, R, jX, Zi, ...) and the labels that show results stay.
        {"OptDlgBox", {"OptDlgBox"}, [](const QString&) { return Make<TOptDlgBox>(nullptr); },
         {"L", "C", "uH", "pF", "R", "jX", "Zi", "ZL", "Ri", "Zo", "F", "TWaveLabel", "SMVar1", "SMVar2", "CLCName",
          "CLCUnit", "CFoLabel"},
         [](QWidget& w) {
             auto& form = static_cast<TOptDlgBox&>(w);
             form.EditZ0R->setEditText("50");
             form.AutojXClick();
         }},
        // The items are the programs' paths or the main window's text for an empty slot.
        {"UsCase", {"UsCase"}, [](const QString&) { return Make<TUsCase>(0); }, {"UserRG0", "UserRG1", "UserRG2"}},
        {"UserMaterial", {"UserMaterial"}, [](const QString&) { return Make<TUserMater>(); }, {"Label3"}},
    };
}

// Sections long enough for any form; every line is the marker and its number.
std::string LanguageOf(const std::vector<FormCase>& cases) {
    std::string text = "0\r\n\r\n";
    for (const FormCase& c : cases)
        for (const char* section : c.Sections) {
            text += std::string(section) + " " + Marker.toStdString() + "0\r\n";
            for (int k = 1; k < 400; ++k) text += "k" + std::to_string(k) + " " + Marker.toStdString() + std::to_string(k) + "\r\n";
            text += "\r\n";
        }
    return text;
}

bool HasWords(const QString& text) {
    for (QChar c : text)
        if (c.isLetter()) return true;
    return false;
}

// The texts of a form that a user reads, each with the control it belongs to.
std::vector<std::pair<QString, QString>> TextsOf(QWidget& form) {
    std::vector<std::pair<QString, QString>> texts{{"(caption)", form.windowTitle()}};
    auto add = [&texts](const QObject* o, const QString& text) { texts.emplace_back(o->objectName(), text); };
    for (QObject* o : form.findChildren<QObject*>()) {
        if (auto* l = qobject_cast<QLabel*>(o)) add(o, l->text());
        if (auto* b = qobject_cast<QAbstractButton*>(o)) add(o, b->text());
        if (auto* g = qobject_cast<QGroupBox*>(o)) add(o, g->title());
        if (auto* t = qobject_cast<QTabWidget*>(o))
            for (int i = 0; i < t->count(); ++i) add(t->widget(i), t->tabText(i));
        if (auto* m = qobject_cast<QMenu*>(o)) {
            add(o, m->title());
            for (QAction* a : m->actions())
                if (!a->isSeparator()) add(a, a->text());
        }
    }
    return texts;
}

class FormLanguageTest : public ::testing::TestWithParam<FormCase> {
protected:
    void SetUp() override {
        scope_ = std::make_unique<ScopedPrompter>(prompter);
        LanguageIndex = 0;
        LanguageText = LanguageOf(FormsWithLanguage());
    }
    void TearDown() override {
        LanguageIndex = -1;
        LanguageText.clear();
        ApplyDefaultMessages();
        scope_.reset();
    }
    ScriptedPrompter prompter;
    QTemporaryDir dir;

private:
    std::unique_ptr<ScopedPrompter> scope_;
};

TEST_P(FormLanguageTest, EveryTextOfTheFormComesFromTheLanguageFile) {
    const FormCase& c = GetParam();
    std::unique_ptr<QWidget> form = c.Make(dir.path());
    ASSERT_TRUE(form);
    form->show();
    QApplication::processEvents();
    for (const auto& box : prompter.ShownBoxes()) ADD_FAILURE() << c.Name << ": box while building: " << box.text;
    for (const auto& [control, text] : TextsOf(*form)) {
        if (!HasWords(text) || c.Untranslated.contains(control) || c.Untranslated.contains(text)) continue;
        EXPECT_TRUE(text.contains(Marker)) << c.Name << ": " << control.toStdString() << " still reads \""
                                           << text.toStdString() << "\"";
    }
    if (c.RaiseMessages) {
        prompter.Clear();
        c.RaiseMessages(*form);
        EXPECT_FALSE(prompter.ShownBoxes().empty()) << c.Name << ": no box was raised";
        for (const auto& box : prompter.ShownBoxes())
            EXPECT_TRUE(QString::fromStdString(box.text).contains(Marker))
                << c.Name << ": the box still reads \"" << box.text << "\"";
    }
}

INSTANTIATE_TEST_SUITE_P(AllForms, FormLanguageTest, ::testing::ValuesIn(FormsWithLanguage()),
                         [](const ::testing::TestParamInfo<FormCase>& info) { return std::string(info.param.Name); });

}  // namespace
