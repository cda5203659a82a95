// The table of every form: one line per form, opened as a user opens it.
#include "EveryForm.h"

#include "app/MainWnd.h"
#include "editing/TaperSetGrid.h"
#include "model/EnvDef.h"
#include "model/ResultStore.h"
#include "optimizer/ACalDlg.h"
#include "optimizer/ACalEleBox.h"
#include "optimizer/ACalInfoBox.h"
#include "optimizer/ACalMultDlg.h"
#include "optimizer/OptimizerState.h"
#include "platform/FormPattern.h"
#include "platform/PrintDlgBox.h"
#include "platform/Prompter.h"
#include "platform/RadioGroup.h"
#include "platform/StringGrid.h"
#include "tools/UserMaterialDlg.h"
#include "tools/UserProgramsDlg.h"
#include "views/AVEZForm.h"
#include "views/GLColForm.h"
#include "views/OpenGLForm.h"

#include <QAction>
#include <QApplication>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <gtest/gtest.h>

namespace {

// Finds the main window's control by name and fires it, failing the test
// when it is missing or disabled.
template <class Control>
FormOpener Fire(const char* name, void (*fire)(Control*)) {
    return [name, fire](TMainWnd& w) -> QWidget* {
        auto* control = w.findChild<Control*>(name);
        EXPECT_NE(control, nullptr) << "no control " << name;
        if (!control) return nullptr;
        EXPECT_TRUE(control->isEnabled()) << name << " is disabled";
        fire(control);
        return nullptr;
    };
}

}  // namespace

FormOpener Command(const char* actionName) {
    return Fire<QAction>(actionName, [](QAction* a) { a->trigger(); });
}

FormOpener Button(const char* buttonName) {
    return Fire<QPushButton>(buttonName, [](QPushButton* b) { b->click(); });
}

void ForEachPage(QWidget& form, const std::function<void(int page)>& check) {
    const QList<QTabWidget*> tabs = form.findChildren<QTabWidget*>();
    if (tabs.isEmpty()) {
        check(0);
        return;
    }
    QTabWidget* t = tabs.first();
    const int keep = t->currentIndex();
    for (int i = 0; i < t->count(); ++i) {
        t->setCurrentIndex(i);
        QApplication::processEvents();
        check(i + 1);
    }
    t->setCurrentIndex(keep);
}

namespace {

// Forms that are opened from a form that is not modal: made as their opener makes them.
template <class Form>
FormOpener Made() {
    return [](TMainWnd& w) -> QWidget* {
        Form form(&w);
        ShowModal(form);
        return nullptr;
    };
}

// An input box asked by the program's own prompter: the form that asks is
// opened as a user opens it and `ask` runs in it; the box is then checked.
FormOpener InputBox(FormOpener openForm, void (*ask)(QDialog&)) {
    return [openForm, ask](TMainWnd& w) -> QWidget* {
        const auto check = ExecModalDialog;
        int depth = 0;
        ScopedModalRoutine routine([&](QDialog& d) {
            if (depth > 0) return check(d);
            ++depth;
            Prompter* scripted = SetPrompter(nullptr);
            ask(d);
            SetPrompter(scripted);
            --depth;
            return int(QDialog::Rejected);
        });
        return openForm(w);
    };
}

// An input box the main window asks itself: its command runs with the
// program's own prompter, and the box is checked.
FormOpener AskedByWindow(FormOpener command) {
    return [command](TMainWnd& w) -> QWidget* {
        Prompter* scripted = SetPrompter(nullptr);
        command(w);
        SetPrompter(scripted);
        return nullptr;
    };
}

// The log of a sweep over the added height, six points, the present one the
// third best: the results dialog opens from its button with that row selected.
FormOpener OptimizationLog() {
    return [](TMainWnd& w) -> QWidget* {
        CACal& cal = w.OptimizerState();
        (void)cal.Attach(w.Ant, EnvDef);
        if (cal.LogCount == 0) {
            cal.SetRowCount(1);
            cal.Row(0) = ACalVarRec{};
            cal.Row(0).Kind = KindHeight;
            cal.BestScore = 6;
            for (int i = 0; i < 6; ++i) {
                cal.Row(0).Value = EnvDef.AntHeight + i - 3;
                cal.LastScore = i + 1;
                const double point[6] = {2.1 + 0.05 * i, 0.1 * i, 70.0 + i, -5.0 + 2 * i, 1.4 + 0.01 * i, 30.0 - i};
                std::copy(std::begin(point), std::end(point), cal.Results);
                cal.PushLog(Results);
            }
        }
        w.UpdateMenuState();
        return Button("ACalResBtn")(w);
    };
}

}  // namespace

const std::vector<FormCase>& EveryForm() {
    static const std::vector<FormCase> forms = {
        {"MainWnd", [](TMainWnd& w) -> QWidget* { return &w; }, FormScaling::OwnSize},
        // Geometry
        {"ValRepDlg", Command("K27")},
        {"MoveDlgBox", Command("K28")},
        {"WireDefinition", Command("KT2")},
        {"RotWireDlg", Command("K33")},
        {"WireScaleDlg", Command("KS4")},
        {"StackDlgBox", Command("K37")},
        {"TextEditDlg", Command("K30"), FormScaling::OwnSize},
        {"CommentsDlg", Command("K34"), FormScaling::OwnSize},
        {"WireCadDlg", Command("KCAD"), FormScaling::OwnSize},
        {"GrpWireDlg", Command("K18"), FormScaling::OwnSize},
        {"WCombDlg", Command("K45")},
        // The pieces of a tapered wire: the first wire takes a set for the look.
        {"WCombDspDlg",
         [](TMainWnd& w) -> QWidget* {
             AppendTaperSet(w.Ant);
             const double radius = w.Ant.Wires[0].R;
             w.Ant.Wires[0].R = w.Ant.TaperSets[0].Key;
             w.UpdateMenuState();
             Command("K47")(w);
             w.Ant.Wires[0].R = radius;
             w.Ant.TaperSetCount = 0;
             return nullptr;
         }},
        {"MediaDlgBox",
         [](TMainWnd& w) -> QWidget* {
             w.CalcSel->Button(2)->click();
             return Button("GndSetBtn")(w);
         }},
        // Tables and sweeps
        {"NearSetDlg", Command("K31")},
        {"FarSetDlg", Command("K32")},
        {"FreqSetDlg", Command("K49")},
        {"NWLForm", Command("NWLDat")},
        {"BwDispDlg", Button("BwBtn")},
        {"ResCmpDlg", Command("KC1")},
        // Tools
        {"OptDlgBox", Command("K21")},
        {"UserProgramsDlg", Command("EditUsProg")},
        {"UserMaterialDlg", Made<TUserMater>()},
        {"PrintDlgBox", Made<TPrintDlgBox>()},
        {"AboutBox", Command("K10"), FormScaling::OwnSize},
        // 3D view
        {"OpenGLForm",
         [](TMainWnd& w) -> QWidget* {
             Button("Btn3D")(w);
             return OpenGL_Form;
         },
         FormScaling::OwnSize},
        {"AVEZForm", Made<TAVEZForm>()},
        {"GLColForm", Made<TGLColForm>()},
        // Optimizer: the dialog from its button, the boxes it opens made as it makes them.
        {"ACalDlg", Button("ACalBtn")},
        {"ACalInfoBox", Made<TACalInfoBox>()},
        {"ACalMultDlg", Made<TACalMultDlg>()},
        {"ACalEleBox", Made<TACalEleBox>()},
        {"ACalResDlg", OptimizationLog()},
        // Input boxes: the elevation of a cut, the common step of the rows, the
        // line's Z for a hairpin match.
        {"ElevationBox", AskedByWindow(Button("EleBtn"))},
        {"CommonStepBox", InputBox(Button("ACalBtn"),
                                   [](QDialog& d) {
                                       auto& dlg = static_cast<TACalDlg&>(d);
                                       dlg.Grid->SetRow(1);
                                       dlg.GridSetEditText(2, 1, "1");  // a row for wire 1, if none
                                       dlg.K23Click();
                                   })},
        {"HairpinZBox", InputBox(Made<TACalInfoBox>(), [](QDialog& d) { static_cast<TACalInfoBox&>(d).AutoJXClick(); })},
    };
    return forms;
}
