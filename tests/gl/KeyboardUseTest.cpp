// Every form used as a user does at ordinary speed and by keys alone: keys
// typed right after a click into a cell land in that cell; Tab and Shift+Tab
// reach every table and the OK button; Ctrl+Tab leaves a table or a text box;
// Ctrl+Return is the OK of a text dialog; a value typed at once into a
// dialog, or into a page of it just chosen, replaces the one shown. Keys and
// clicks go through the window, as the window system delivers them.
#include "EveryForm.h"
#include "PreparedMainWnd.h"

#include "editing/TextEditDlg.h"
#include "model/ResultStore.h"
#include "model/NumberText.h"
#include "platform/FormPattern.h"
#include "platform/KeyFilter.h"
#include "platform/Prompter.h"
#include "platform/StringGrid.h"
#include "views/OpenGLForm.h"

#include <QAbstractSpinBox>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QInputDialog>
#include <QSpinBox>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <cmath>
#include <cstring>
#include <functional>
#include <map>
#include <set>

namespace {

// The grids that take typing, by form and grid name.
const std::set<QString> TypingGrids = {"MainWnd.Grid2", "MainWnd.Grid3", "MainWnd.Grid4",
                                       "ACalDlg.Grid",  "ACalMultDlg.Grid", "WCombDlg.Grid",
                                       "MediaDlgBox.Grid", "GrpWireDlg.Grid"};

// The control the focus is in: a cell editor counts as its grid.
// The grid a widget (a cell editor, say) belongs to, if any.
StringGrid* GridOf(QWidget* w) {
    for (QWidget* p = w; p; p = p->parentWidget())
        if (auto* grid = qobject_cast<StringGrid*>(p)) return grid;
    return nullptr;
}

QWidget* FocusOwner() {
    QWidget* w = QApplication::focusWidget();
    if (StringGrid* grid = GridOf(w)) return grid;
    return w;
}

// A text box that takes Tab as text, left with Ctrl+Tab.
bool TakesTab(const QWidget* w) {
    auto* text = qobject_cast<const QPlainTextEdit*>(w);
    return text && !text->isReadOnly() && !text->tabChangesFocus();
}

void Key(QWidget& form, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(form.window()->windowHandle(), key, modifiers);
}

// Keys typed into the window, as the window system delivers them.
void TypeKeys(QWidget& form, const QString& text) {
    for (const QChar c : text) QTest::keyClick(form.window()->windowHandle(), c.toLatin1());
}

template <class Control>
QList<Control*> Shown(QWidget& form) {
    QList<Control*> shown;
    for (Control* c : form.findChildren<Control*>())
        if (c->isVisible() && c->isEnabled()) shown << c;
    return shown;
}

class KeyboardUseTest : public PreparedMainWndTest {
protected:
    using PageCheck = std::function<void(QWidget& form, const QString& where)>;

    void SetUp() override {
        PreparedMainWndTest::SetUp();
        Current() = this;
        ExecModalDialog = [](QDialog& dialog) {
            Current()->Check(dialog);
            return int(QDialog::Rejected);
        };
        MakeDipole();
    }
    void TearDown() override {
        if (OpenGL_Form) delete OpenGL_Form;
        Current() = nullptr;
        PreparedMainWndTest::TearDown();
    }
    static KeyboardUseTest*& Current() {
        static KeyboardUseTest* current = nullptr;
        return current;
    }

    // Runs the check on every page of every form, each opened as a user opens it.
    void EveryPage(PageCheck check) {
        check_ = std::move(check);
        for (const FormCase& form : EveryForm()) {
            name_ = form.name;
            Calculated();
            if (QWidget* modeless = form.open(*wnd)) Check(*modeless);
            if (OpenGL_Form) {
                delete OpenGL_Form;
                QApplication::processEvents();
            }
        }
    }

    // Runs the check on every form as it opens, before anything is done in it.
    void EveryOpening(std::function<void(QWidget& form)> check) {
        opened_ = std::move(check);
        EveryPage([](QWidget&, const QString&) {});
        opened_ = nullptr;
    }

    void Check(QWidget& form) {
        const bool wasVisible = form.isVisible();
        if (!wasVisible) form.show();
        form.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&form)) << name_.toStdString();
        if (opened_) opened_(form);
        ForEachPage(form, [&](int page) { check_(form, page == 0 ? name_ : name_ + QStringLiteral(" page %1").arg(page)); });
        if (!wasVisible && form.isVisible()) form.hide();
    }

    QString name_;

private:
    PageCheck check_;
    std::function<void(QWidget& form)> opened_;
};

enum class Typed { Kept, Lost, NotEditable };

// Clicks a cell once to make it the selected one, then clicks it again and
// types at once, with no time for a timer to run between the click and the
// keys. A cell that opens a popup takes no typing.
Typed TypeRightAfterClick(StringGrid& grid, int col, int row, QString& fault) {
    const QModelIndex cell = grid.model()->index(row - 1, col - 1);
    grid.scrollTo(cell);
    QApplication::processEvents();
    const QPoint at = grid.visualRect(cell).center();
    const int apart = QApplication::doubleClickInterval() + 100;
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, at, apart);
    QApplication::processEvents();
    if (grid.EditorMode()) Key(grid, Qt::Key_Escape);
    if (QWidget* popup = QApplication::activePopupWidget()) popup->close();
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, at, apart);
    if (QWidget* popup = QApplication::activePopupWidget()) {
        popup->close();
        return Typed::NotEditable;
    }
    const QString text = QStringLiteral("12.5");
    for (const QChar c : text) QTest::keyClick(grid.window()->windowHandle(), c.toLatin1());
    auto* editor = qobject_cast<QLineEdit*>(grid.indexWidget(cell));
    if (editor) {
        const QString got = editor->text();
        Key(grid, Qt::Key_Escape);  // nothing of the test stays in the record
        if (got == text) return Typed::Kept;
        fault = QStringLiteral("the editor holds \"%1\"").arg(got);
        return Typed::Lost;
    }
    if (grid.CanEdit && !grid.CanEdit(col, row)) return Typed::NotEditable;
    fault = QStringLiteral("no editor took the keys");
    return Typed::Lost;
}

}  // namespace

TEST_F(KeyboardUseTest, KeysTypedRightAfterAClickLandInTheCellOfEveryGrid) {
    std::set<QString> typed;
    EveryPage([&](QWidget& form, const QString& where) {
        for (StringGrid* grid : Shown<StringGrid>(form)) {
            if (!(grid->editTriggers() & QAbstractItemView::AnyKeyPressed)) continue;
            for (int col = 1; col < grid->ColCount(); ++col) {
                QString fault;
                const Typed result = TypeRightAfterClick(*grid, col, 1, fault);
                if (result == Typed::Kept) typed.insert(name_ + "." + grid->objectName());
                EXPECT_NE(result, Typed::Lost) << where.toStdString() << " " << grid->objectName().toStdString()
                                               << " cell " << col << ",1: " << fault.toStdString();
            }
        }
    });
    for (const QString& grid : TypingGrids)
        EXPECT_TRUE(typed.count(grid)) << grid.toStdString() << " took no typing";
}

TEST_F(KeyboardUseTest, TabReachesEveryTableAndTheOkButtonAndCtrlTabLeavesThem) {
    int grids = 0, oks = 0;
    EveryPage([&](QWidget& form, const QString& where) {
        std::set<QWidget*> targets;
        for (StringGrid* grid : Shown<StringGrid>(form)) targets.insert(grid);
        for (QPushButton* ok : Shown<QPushButton>(form))
            if (ok->objectName() == "OKBtn") targets.insert(ok);
        grids += static_cast<int>(Shown<StringGrid>(form).size());
        oks += static_cast<int>(targets.size() - Shown<StringGrid>(form).size());
        if (targets.empty()) return;

        // Round the focus chain both ways from one start; a text box that
        // takes Tab as text is left with Ctrl+Tab.
        QWidget* start = *targets.begin();
        for (const bool forward : {true, false}) {
            start->setFocus(Qt::OtherFocusReason);
            QApplication::processEvents();
            std::set<QWidget*> reached;
            for (int press = 0; press < 800 && reached.size() < targets.size(); ++press) {
                if (targets.count(FocusOwner())) reached.insert(FocusOwner());
                const Qt::KeyboardModifiers ctrl = TakesTab(QApplication::focusWidget()) ? Qt::ControlModifier : Qt::NoModifier;
                Key(form, forward ? Qt::Key_Tab : Qt::Key_Backtab, ctrl | (forward ? Qt::NoModifier : Qt::ShiftModifier));
            }
            for (QWidget* target : targets)
                EXPECT_TRUE(reached.count(target)) << where.toStdString() << ": " << (forward ? "Tab" : "Shift+Tab")
                                                   << " never reaches " << target->objectName().toStdString();
        }

        // Ctrl+Tab leaves a grid from any cell, with its editor open or not,
        // and a text box that takes Tab.
        for (StringGrid* grid : Shown<StringGrid>(form)) {
            for (const bool editing : {false, true}) {
                grid->setFocus(Qt::OtherFocusReason);
                grid->SetCurrentCell(1, 1);
                QApplication::processEvents();
                if (editing) Key(form, Qt::Key_F2);
                if (QWidget* popup = QApplication::activePopupWidget()) popup->close();
                Key(form, Qt::Key_Tab, Qt::ControlModifier);
                EXPECT_NE(FocusOwner(), grid) << where.toStdString() << " " << grid->objectName().toStdString()
                                              << (editing ? " editing" : "") << ": Ctrl+Tab stays in the grid";
                EXPECT_FALSE(grid->EditorMode()) << where.toStdString();
            }
        }
        for (QPlainTextEdit* text : Shown<QPlainTextEdit>(form)) {
            if (!TakesTab(text)) continue;
            text->setFocus(Qt::OtherFocusReason);
            QApplication::processEvents();
            Key(form, Qt::Key_Tab, Qt::ControlModifier);
            EXPECT_NE(QApplication::focusWidget(), text) << where.toStdString() << ": Ctrl+Tab stays in the text";
            // Ctrl+Return from the text is OK.
            auto* dialog = qobject_cast<QDialog*>(&form);
            ASSERT_NE(dialog, nullptr) << where.toStdString();
            text->setFocus(Qt::OtherFocusReason);
            dialog->setResult(QDialog::Rejected);
            Key(form, Qt::Key_Return, Qt::ControlModifier);
            EXPECT_EQ(dialog->result(), QDialog::Accepted) << where.toStdString() << ": Ctrl+Return is not OK";
        }
    });
    EXPECT_GE(grids, 12);
    EXPECT_GE(oks, 10);
}

namespace {

// The line a value is typed into, for a line edit, a spin box or an editable
// combo box; null for any other control.
QLineEdit* TypingLine(QWidget* w) {
    if (auto* line = qobject_cast<QLineEdit*>(w)) return line->isReadOnly() ? nullptr : line;
    if (auto* combo = qobject_cast<QComboBox*>(w)) return combo->isEditable() ? combo->lineEdit() : nullptr;
    if (auto* spin = qobject_cast<QAbstractSpinBox*>(w)) return spin->isReadOnly() ? nullptr : spin->findChild<QLineEdit*>();
    return nullptr;
}

std::string NameOf(const QWidget* w) {
    return (w->objectName().isEmpty() ? QString::fromLatin1(w->metaObject()->className()) : w->objectName()).toStdString();
}

// The control each dialog opens on, and each page of a form with tabs when a
// click on its tab makes it current: the first value field a user meets
// there, top left, or the default button of a dialog without one ("" for a
// form with no control that takes the focus); null for a page without a
// value field, which leaves the focus where it was.
const std::map<QString, const char*> OpensOn = {
    // Geometry
    {"ValRepDlg", "EditOld"},
    {"MoveDlgBox", "EditLen"},
    {"WireDefinition", "EditX1"},
    {"RotWireDlg", "EditDeg"},
    {"WireScaleDlg", "TFreq"},
    {"StackDlgBox", "HC"},
    {"TextEditDlg", "Memo"},
    {"CommentsDlg", "Memo"},
    {"WireCadDlg", "GridWidth"},
    {"WireCadDlg page 1", nullptr},
    {"WireCadDlg page 2", nullptr},
    {"WireCadDlg page 3", nullptr},
    {"WireCadDlg page 4", nullptr},
    {"GrpWireDlg", "Grid"},
    {"WCombDlg", "Grid"},
    {"WCombDspDlg", "Grid"},
    {"MediaDlgBox", "Grid"},
    // Tables and sweeps
    {"NearSetDlg", "EditPow"},
    {"FarSetDlg", "EditA"},
    {"FreqSetDlg", "BgnFreq"},
    {"NWLForm", "StepCB"},
    {"BwDispDlg", "BwSel"},
    {"BwDispDlg page 1", nullptr},
    {"BwDispDlg page 2", nullptr},
    {"BwDispDlg page 3", nullptr},
    {"BwDispDlg page 4", nullptr},
    {"BwDispDlg page 5", "EditCenter"},
    {"ResCmpDlg", "Grid"},
    // Tools: the calculators open on their setup page.
    {"OptDlgBox", "EditAz"},
    {"OptDlgBox page 1", "TFreq"},
    {"OptDlgBox page 2", "AEditL"},
    {"OptDlgBox page 3", "MFreq"},
    {"OptDlgBox page 4", "QEdRi1"},
    {"OptDlgBox page 5", "SMEditR"},
    {"OptDlgBox page 6", "CFreq"},
    {"OptDlgBox page 7", "EditAz"},
    {"UserProgramsDlg", "Edit1"},
    {"UserMaterialDlg", "LOEdit"},
    {"PrintDlgBox", "AbortBtn"},
    {"AboutBox", ""},
    // 3D view
    {"AVEZForm", "EvEditCB"},
    {"GLColForm", "RColV"},
    // Optimizer
    {"ACalDlg", "Grid"},
    {"ACalInfoBox", "EditGain"},
    {"ACalInfoBox page 1", "EditGain"},
    {"ACalInfoBox page 2", "EditFBH"},
    {"ACalMultDlg", "Grid"},
    {"ACalEleBox", "OKBtn"},
    {"ACalResDlg", "Grid"},
    // Input boxes
    {"ElevationBox", "QLineEdit"},
    {"CommonStepBox", "QLineEdit"},
    {"HairpinZBox", "QLineEdit"},
};

// The control the focus is in as the user sees it: a cell editor counts as
// its grid, the line of a list or spin box as that box.
QWidget* SeenFocus(QWidget* w) {
    if (StringGrid* grid = GridOf(w)) return grid;
    if (w && (qobject_cast<QComboBox*>(w->parentWidget()) || qobject_cast<QAbstractSpinBox*>(w->parentWidget())))
        return w->parentWidget();
    return w;
}

// The focus is on the control the table names, ready for a value typed at
// once: a line's whole text selected, a grid with a current cell.
void ExpectOpensOn(QWidget& form, const QString& where, std::set<QString>& met) {
    met.insert(where);
    const auto expected = OpensOn.find(where);
    if (expected == OpensOn.end()) {
        ADD_FAILURE() << where.toStdString() << " is not in the table of the controls forms open on";
        return;
    }
    if (!expected->second) return;
    // The form's own focus, not the application's: which window the display
    // activates last is up to it, and is not what is checked here.
    QWidget* focus = form.focusWidget();
    QWidget* seen = focus && focus->window() == &form ? SeenFocus(focus) : nullptr;
    const std::string on = seen ? NameOf(seen) : std::string();
    EXPECT_EQ(on, expected->second) << where.toStdString() << " opens on the wrong control (\"\": none)";
    if (!seen) return;
    if (QLineEdit* line = TypingLine(seen)) {
        EXPECT_EQ(line->selectedText().toStdString(), line->text().toStdString())
            << where.toStdString() << ": " << on << " opens with a part of its text selected";
    }
    if (auto* grid = qobject_cast<StringGrid*>(seen)) {
        EXPECT_TRUE(grid->currentIndex().isValid()) << where.toStdString() << ": " << on << " has no current cell";
    }
}

}  // namespace

// A value typed the moment a dialog opens, or a page of it is chosen by its
// tab, replaces the one it shows.
TEST_F(KeyboardUseTest, EveryDialogAndPageOpensOnItsFirstValueWithTheWholeTextSelected) {
    int dialogs = 0, pages = 0;
    std::set<QString> met;
    EveryOpening([&](QWidget& form) {
        if (!qobject_cast<QDialog*>(&form)) return;  // the main window and the 3D view
        ++dialogs;
        QApplication::processEvents();
        ExpectOpensOn(form, name_, met);
        const QList<QTabWidget*> tabSets = form.findChildren<QTabWidget*>();
        if (tabSets.isEmpty()) return;
        QTabWidget* tabs = tabSets.first();
        QTabBar* bar = tabs->tabBar();
        // Pages 2, 3, ... and then 1, each made current by a click on its tab.
        for (int k = 1; k <= tabs->count(); ++k) {
            const int i = k % tabs->count();
            if (tabs->currentIndex() == i)
                QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect((i + 1) % tabs->count()).center());
            QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(i).center());
            QApplication::processEvents();
            ASSERT_EQ(tabs->currentIndex(), i) << name_.toStdString() << ": the click missed the tab";
            ++pages;
            ExpectOpensOn(form, name_ + QStringLiteral(" page %1").arg(i + 1), met);
        }
    });
    EXPECT_GE(dialogs, 30);
    EXPECT_GE(pages, 15);
    for (const auto& [where, control] : OpensOn)
        EXPECT_TRUE(met.count(where)) << where.toStdString() << " of the table was not opened";
}

namespace {

// Fields where a comma joins a segmentation pair ("4,8"), not a decimal.
const std::set<QString> PairFields = {"EditSeg"};

// The fields of a page that take a number typed: spin boxes, and line edits
// and editable lists that turn a typed comma into the point or show a number
// (an input box's). Cells of a grid are the grids' own.
QList<QWidget*> NumberFields(QWidget& form) {
    QList<QWidget*> fields;
    for (QWidget* w : Shown<QWidget>(form)) {
        if (GridOf(w) || qobject_cast<QAbstractSpinBox*>(w->parentWidget()) ||
            qobject_cast<QComboBox*>(w->parentWidget()))
            continue;
        QLineEdit* line = TypingLine(w);
        if (!line || PairFields.count(w->objectName())) continue;
        double v = 0;
        if (qobject_cast<QAbstractSpinBox*>(w) || qobject_cast<const CommaToPointValidator*>(line->validator()) ||
            StrToDblWhole(v, line->text().toStdString()))
            fields << w;
    }
    return fields;
}

}  // namespace

// A decimal typed into a number field, with a point or with a comma, and the
// field left with Tab: it arrives as that number, or it is refused and the
// field keeps what it had; a dropped key never makes another number of the
// rest ("2.5" as 25 or 2).
TEST_F(KeyboardUseTest, ADecimalTypedIntoEveryNumberFieldArrivesOrIsRefused) {
    int fields = 0;
    std::set<QString> inputBoxes;
    EveryPage([&](QWidget& form, const QString& where) {
        for (QWidget* field : NumberFields(form)) {
            if (!field->isVisible() || !field->isEnabled()) continue;  // an earlier field's value hid it
            ++fields;
            if (qobject_cast<QInputDialog*>(&form)) inputBoxes.insert(name_);
            QLineEdit* line = TypingLine(field);
            auto* spin = qobject_cast<QSpinBox*>(field);
            for (const char* typed : {"2.5", "2,5"}) {
                const QString before = line->text();
                const int spinBefore = spin ? spin->value() : 0;
                field->setFocus(Qt::TabFocusReason);
                QApplication::processEvents();
                line->selectAll();
                TypeKeys(form, QString::fromLatin1(typed));
                Key(form, Qt::Key_Tab);
                const QString after = line->text();
                double v = 0;
                const bool arrived = StrToDblWhole(v, after.toStdString()) && v == 2.5;
                EXPECT_TRUE(arrived || after == before)
                    << where.toStdString() << " " << NameOf(field) << ": \"" << typed << "\" typed over \""
                    << before.toStdString() << "\" shows \"" << after.toStdString() << "\"";
                if (spin)
                    spin->setValue(spinBefore);
                else
                    line->setText(before);
            }
        }
    });
    EXPECT_GE(fields, 60);
    for (const char* box : {"ElevationBox", "CommonStepBox", "HairpinZBox"})
        EXPECT_TRUE(inputBoxes.count(box)) << box << " was not typed into";
}

namespace {

// What became of the keys: the text of the field they went into and the
// control the focus was on as long as the dialog stayed open.
struct TypedOutcome {
    const AntDef& ant;
    QString shown, focus;
    bool closed = false;
    int result = QDialog::Rejected;
};

// The sweep's main points lie around 14.2 MHz at the given width (each
// rounded to the kHz), and at least two of them were run there, not laid out
// after a run at another width.
bool SweptOver(double width) {
    const SweepTable& t = Results.Sweep;
    int run = 0;
    for (const SweepDot& p : t.Points)
        if (p.State == SweepComputed) run += std::abs(p.F - 14.2) <= width / 2 + 0.0005 + 1e-9 ? 1 : -100;
    return std::abs(t.BW - width) < 1e-9 && run >= 2;
}

// The 3D view's step form, from the view's popup.
QWidget* StepForm(TMainWnd& w) {
    Button("Btn3D")(w);
    if (OpenGL_Form) OpenGL_Form->M1->trigger();
    return nullptr;
}

// Keys typed at once into a dialog opened on a cell of wire 1 (after a click
// on a page's tab, when one is named), then a click on a button or on the tab
// of a page, when one is named. "\t", "\r" and "\x1b" are Tab, Return and
// Escape. The dipole runs from (0, -5.1, 10) to (0, 5.1, 10) at 14.2 MHz.
const struct TypedAtOnceRow {
    const char* dialog;
    FormOpener open;
    int col;
    const char* page;
    const char* typed;
    const char* then;
    bool (*took)(const TypedOutcome& o);
} TypedAtOnce[] = {
    // Moved by the typed 1 m, not by the distance shown, which brings Y1 to 0.
    {"Move", Command("K28"), 2, nullptr, "1\r", nullptr,
     [](const TypedOutcome& o) { return std::abs(o.ant.Wires[0].Y1 - -4.1) < 1e-9; }},
    // X1 "0.0000" with a 1 typed is 1, not 0.00001.
    {"Wire definition", Command("KT2"), 1, nullptr, "1\r", nullptr,
     [](const TypedOutcome& o) { return o.ant.Wires[0].X1 == 1.0; }},
    // 7.1 MHz, not "14.27.1": the multiplier 2 doubles every coordinate.
    {"Wire scale", Command("KS4"), 1, nullptr, "7.1\r", nullptr,
     [](const TypedOutcome& o) { return o.ant.Freq == 7.1 && std::abs(o.ant.Wires[0].Y1 - -10.2) < 1e-9; }},
    // Two side by side, not twelve.
    {"Stack", Command("K37"), 1, nullptr, "2\r", nullptr,
     [](const TypedOutcome& o) { return o.ant.nH == 2 && o.ant.nV == 1; }},
    // A typed width is swept by every command, with or without Return, not
    // the 400 kHz shown before.
    {"Plots, Speculation", Button("BwBtn"), 1, nullptr, "150", "TryBtn",
     [](const TypedOutcome&) { return SweptOver(0.150); }},
    {"Plots, All points", Button("BwBtn"), 1, nullptr, "600", "MeasBtn",
     [](const TypedOutcome&) { return SweptOver(0.600); }},
    {"Plots, Tab, Detailed", Button("BwBtn"), 1, nullptr, "93\t", "HalfBtn",
     [](const TypedOutcome&) { return SweptOver(0.093); }},
    // A tab takes no focus: the box is not left.
    {"Plots, SWR tab", Button("BwBtn"), 1, nullptr, "150", "PBoxS",
     [](const TypedOutcome&) { return std::abs(Results.Sweep.BW - 0.150) < 1e-9; }},
    // A page of the calculators opens like a dialog: 7 MHz, not 14.27.
    {"Resonance", Command("K21"), 1, "TabSheet1", "7", nullptr, [](const TypedOutcome& o) { return o.shown == "7"; }},
    {"Coil", Command("K21"), 1, "TabSheet2", "7", nullptr, [](const TypedOutcome& o) { return o.shown == "7"; }},
    {"LC-match", Command("K21"), 1, "TabSheet3", "7", nullptr, [](const TypedOutcome& o) { return o.shown == "7"; }},
    {"Line match 1", Command("K21"), 1, "TabSheet4", "7", nullptr, [](const TypedOutcome& o) { return o.shown == "7"; }},
    {"Line match 2", Command("K21"), 1, "TabSheet5", "7", nullptr, [](const TypedOutcome& o) { return o.shown == "7"; }},
    {"Stub", Command("K21"), 1, "TabSheet6", "7", nullptr, [](const TypedOutcome& o) { return o.shown == "7"; }},
    // The steps come from the lists only, but Tab, Return and Escape work.
    {"3D setup, Tab", StepForm, 1, nullptr, "\t", nullptr,
     [](const TypedOutcome& o) { return o.focus == "AzEditCB"; }},
    {"3D setup, Return", StepForm, 1, nullptr, "5\r", nullptr,
     [](const TypedOutcome& o) { return o.closed && o.result == QDialog::Accepted && GLElevStep == 3; }},
    {"3D setup, Escape", StepForm, 1, nullptr, "\x1b", nullptr, [](const TypedOutcome& o) { return o.closed; }},
};

// Clicks the tab of a page, as a user changes the page of a form.
void ClickTab(QWidget& form, const char* pageName) {
    for (QTabWidget* tabs : form.findChildren<QTabWidget*>()) {
        const int i = tabs->indexOf(form.findChild<QWidget*>(pageName));
        if (i < 0) continue;
        QTest::mouseClick(tabs->tabBar(), Qt::LeftButton, {}, tabs->tabBar()->tabRect(i).center());
        return;
    }
    ADD_FAILURE() << "no tab for " << pageName;
}

}  // namespace

TEST_F(KeyboardUseTest, AValueTypedAtOnceIntoADialogReplacesTheOneShown) {
    for (const TypedAtOnceRow& row : TypedAtOnce) {
        wnd->Ant.Freq = 14.2;
        wnd->Ant.nH = wnd->Ant.nV = 1;
        MakeDipole();
        GLElevStep = GLElevStepStart;
        TypedOutcome outcome{wnd->Ant, {}, {}};
        ExecModalDialog = [&](QDialog& d) {
            d.show();
            d.activateWindow();
            EXPECT_TRUE(QTest::qWaitForWindowActive(&d)) << row.dialog;
            QApplication::processEvents();  // the focus moves into the window that became active
            if (row.page) ClickTab(d, row.page);
            for (const char c : std::string(row.typed)) {
                QTest::keyClick(d.windowHandle(), c);
                if (!d.isVisible()) break;
                QWidget* focus = SeenFocus(QApplication::focusWidget());
                outcome.focus = focus ? QString::fromStdString(NameOf(focus)) : QString();
                if (QLineEdit* line = TypingLine(focus)) outcome.shown = line->text();
            }
            if (row.then && d.isVisible()) {
                if (auto* button = d.findChild<QPushButton*>(row.then)) {
                    EXPECT_TRUE(button->isEnabled()) << row.dialog << ": " << row.then << " is disabled";
                    QTest::mouseClick(button, Qt::LeftButton);
                } else {
                    ClickTab(d, row.then);
                }
            }
            outcome.closed = !d.isVisible();
            if (outcome.closed) {
                outcome.result = d.result();
                return outcome.result;
            }
            d.hide();
            return int(QDialog::Rejected);
        };
        wnd->Grid2->setFocus();
        wnd->Grid2->SetCurrentCell(row.col, 1);
        wnd->UpdateMenuState();
        row.open(*wnd);
        if (OpenGL_Form) {
            delete OpenGL_Form;
            QApplication::processEvents();
        }
        QString typed = QString::fromLatin1(row.typed);
        typed.replace('\t', "<Tab>").replace('\r', "<Return>").replace('\x1b', "<Escape>");
        EXPECT_TRUE(row.took(outcome)) << row.dialog << ": \"" << typed.toStdString() << "\" typed at once reads \""
                                        << outcome.shown.toStdString() << "\", the focus on "
                                        << outcome.focus.toStdString() << (outcome.closed ? ", closed" : ", open");
    }
}

// A click on a tab of the window hands the focus on to the page that shows;
// a key typed at once into a field it lands on replaces the value shown.
TEST_F(KeyboardUseTest, AValueTypedRightAfterAChangeOfTabReplacesTheOneShown) {
    const struct {
        const char* field;
        const char* page;
    } cases[] = {{"EditEC", "TabSheet3"}, {"AntName", "TabSheet3"}, {"DoFreq", "TabSheet1"}, {"Freq", "TabSheet4"}};
    int landed = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.field) + " then the tab of " + c.page);
        MakeDipole();
        auto* field = wnd->findChild<QWidget*>(c.field);
        ASSERT_TRUE(field);
        for (int i = 0; i < wnd->Page->count(); ++i)
            if (wnd->Page->widget(i)->isAncestorOf(field)) wnd->Page->setCurrentIndex(i);
        wnd->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(wnd.get()));
        field->setFocus(Qt::MouseFocusReason);
        QApplication::processEvents();
        ClickTab(*wnd, c.page);
        QApplication::processEvents();
        QTest::keyClick(wnd->windowHandle(), '7');
        if (QLineEdit* line = TypingLine(SeenFocus(QApplication::focusWidget()))) {
            ++landed;
            EXPECT_EQ(line->text().toStdString(), "7")
                << "in " << NameOf(SeenFocus(QApplication::focusWidget()));
        }
    }
    EXPECT_GT(landed, 0) << "no key landed in a field: the cases test nothing";
}

namespace {

// Every way an antenna replaces the one shown.
const struct ReplacementRow {
    const char* name;
    void (*replace)(TMainWnd& w, ScriptedPrompter& prompter);
} Replacements[] = {
    {"New",
     [](TMainWnd& w, ScriptedPrompter& prompter) {
         if (w.AntennaChanged()) prompter.AnswerMessage(BoxNo);  // the changes are dropped
         w.K2->trigger();
     }},
    {"Open",
     [](TMainWnd& w, ScriptedPrompter& prompter) {
         if (w.AntennaChanged()) prompter.AnswerMessage(BoxNo);
         prompter.AnswerFile(KORVA_TEST_DATA "/dipole.kva");
         w.K3->trigger();
     }},
    {"Text editor",
     [](TMainWnd& w, ScriptedPrompter&) {
         const ScopedModalRoutine edited([](QDialog& d) {
             static_cast<TTextEditDlg&>(d).Memo->document()->setModified(true);
             return int(QDialog::Accepted);
         });
         w.K30->trigger();
     }},
    {"Restore",
     [](TMainWnd& w, ScriptedPrompter& prompter) {
         w.K38->trigger();
         prompter.AnswerMessage(BoxYes);
         w.K39->trigger();
     }},
};

// Tab from the control before the grid until the focus is in it.
bool TabInto(StringGrid* grid, QWidget* from) {
    from->setFocus(Qt::OtherFocusReason);
    for (int press = 0; press < 10 && FocusOwner() != grid; ++press) Key(*grid, Qt::Key_Tab);
    return FocusOwner() == grid;
}

}  // namespace

// Tables are entered at their first cell after the antenna is replaced,
// whatever cell the one before was left on: a wire row typed with Tabs is one
// wire, a source typed after a Tab is its position.
TEST_F(KeyboardUseTest, TablesOfAReplacedAntennaStartAtTheirFirstCell) {
    for (const ReplacementRow& row : Replacements) {
        MakeDipole();
        prompter.Clear();
        wnd->Grid2->SetCurrentCell(8, wnd->Grid2->RowCount() - 1);
        wnd->Grid3->SetCurrentCell(3, wnd->Grid3->RowCount() - 1);
        wnd->Grid4->SetCurrentCell(6, 1);
        wnd->UpdateMenuState();
        row.replace(*wnd, prompter);
        EXPECT_TRUE(prompter.AllAnswersUsed()) << row.name;
        for (StringGrid* grid : {wnd->Grid2, wnd->Grid3, wnd->Grid4})
            EXPECT_TRUE(grid->Col() == 1 && grid->Row() == 1)
                << row.name << ": " << NameOf(grid) << " starts at " << grid->Col() << "," << grid->Row();

        ASSERT_TRUE(TabInto(wnd->Grid2, wnd->ChkRmd)) << row.name;
        const QStringList cells = {"0", "-5.12", "10", "0", "5.12", "10", "1", "22"};
        for (int c = 0; c < cells.size(); ++c) {
            TypeKeys(*wnd, cells[c]);
            Key(*wnd->Grid2, c + 1 < cells.size() ? Qt::Key_Tab : Qt::Key_Return);
        }
        const WireRec& w = wnd->Ant.Wires[0];
        EXPECT_EQ(wnd->Ant.WireCount, 1) << row.name;
        EXPECT_TRUE(w.X1 == 0 && w.Y1 == -5.12 && w.Z1 == 10 && w.X2 == 0 && w.Y2 == 5.12 && w.Z2 == 10 &&
                    w.R == 0.001 && w.Seg == 22)
            << row.name << ": wire 1 is (" << w.X1 << "," << w.Y1 << "," << w.Z1 << ")-(" << w.X2 << "," << w.Y2
            << "," << w.Z2 << ") r " << w.R << " seg " << w.Seg;

        ASSERT_TRUE(TabInto(wnd->Grid3, wnd->AutoVol)) << row.name;
        TypeKeys(*wnd, "w1c");
        Key(*wnd->Grid3, Qt::Key_Return);
        EXPECT_EQ(wnd->Ant.SourceCount, 1) << row.name;
        EXPECT_STREQ(wnd->Ant.Sources[0].Pos, "w1c") << row.name;
    }
}
