// Every form used as a user does at ordinary speed and by keys alone: keys
// typed right after a click into a cell land in that cell; Tab and Shift+Tab
// reach every table and the OK button; Ctrl+Tab leaves a table or a text box;
// Ctrl+Return is the OK of a text dialog. Keys and clicks go through the
// window, as the window system delivers them.
#include "EveryForm.h"
#include "PreparedMainWnd.h"

#include "editing/TextEditDlg.h"
#include "platform/FormPattern.h"
#include "platform/OpeningFocus.h"
#include "platform/Prompter.h"
#include "platform/StringGrid.h"
#include "views/OpenGLForm.h"

#include <QAbstractSpinBox>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <cmath>
#include <cstring>
#include <functional>
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

}  // namespace

// A value typed the moment a dialog opens replaces the one it shows: the
// focus starts on a value field with its whole text selected, on a cell of a
// grid, or in a text box (whose lines a key must not replace); a dialog with
// no value opens on its default button.
TEST_F(KeyboardUseTest, EveryDialogOpensOnAValueWithItsWholeTextSelected) {
    int dialogs = 0, selected = 0;
    EveryOpening([&](QWidget& form) {
        if (!qobject_cast<QDialog*>(&form)) return;  // the main window and the 3D view
        ++dialogs;
        const std::string where = name_.toStdString();
        QApplication::processEvents();
        // The form's own focus, not the application's: which window the
        // display activates last is up to it, and is not what is checked here.
        QWidget* focus = form.focusWidget();
        if (focus && focus->window() == &form) {
            if (QLineEdit* line = TypingLine(focus)) {
                ++selected;
                EXPECT_EQ(line->selectedText().toStdString(), line->text().toStdString())
                    << where << ": " << NameOf(focus) << " opens with a part of its text selected";
                return;
            }
            if (auto* grid = GridOf(focus)) {
                EXPECT_TRUE(grid->Row() >= 1 && grid->Col() >= 1) << where << ": " << NameOf(grid) << " has no current cell";
                return;
            }
            if (auto* text = qobject_cast<QPlainTextEdit*>(focus); text && !text->isReadOnly()) return;
        }
        const std::string on = focus && focus->window() == &form ? NameOf(focus) : std::string("no control of its own");
        for (QWidget* w : form.findChildren<QWidget*>())
            if (w->isVisible() && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus) && ValueFieldOf(w)) {
                ADD_FAILURE() << where << ": opens on " << on << ", not on a value such as " << NameOf(w);
                return;
            }
        for (QPushButton* b : Shown<QPushButton>(form))
            if (b->isDefault()) {
                EXPECT_TRUE(focus == b) << where << ": opens on " << on << ", not on " << NameOf(b);
            }
    });
    EXPECT_GE(dialogs, 30);
    EXPECT_GE(selected, 15);
}

namespace {

// A value typed at once after a command given on a cell of wire 1, then
// Return. The dipole runs from (0, -5.1, 10) to (0, 5.1, 10) at 14.2 MHz.
const struct TypedAtOnceRow {
    const char* dialog;
    const char* command;
    int col;
    const char* typed;
    bool (*took)(const AntDef& ant);
} TypedAtOnce[] = {
    // Moved by the typed 1 m, not by the distance shown, which brings Y1 to 0.
    {"Move", "K28", 2, "1", [](const AntDef& a) { return std::abs(a.Wires[0].Y1 - -4.1) < 1e-9; }},
    // X1 "0.0000" with a 1 typed is 1, not 0.00001.
    {"Wire definition", "KT2", 1, "1", [](const AntDef& a) { return a.Wires[0].X1 == 1.0; }},
    // 7.1 MHz, not "14.27.1": the multiplier 2 doubles every coordinate.
    {"Wire scale", "KS4", 1, "7.1",
     [](const AntDef& a) { return a.Freq == 7.1 && std::abs(a.Wires[0].Y1 - -10.2) < 1e-9; }},
    // Two side by side, not twelve.
    {"Stack", "K37", 1, "2", [](const AntDef& a) { return a.nH == 2 && a.nV == 1; }},
};

}  // namespace

TEST_F(KeyboardUseTest, AValueTypedAtOnceIntoADialogReplacesTheOneShown) {
    for (const TypedAtOnceRow& row : TypedAtOnce) {
        wnd->Ant.Freq = 14.2;
        wnd->Ant.nH = wnd->Ant.nV = 1;
        MakeDipole();
        QString shown;
        ExecModalDialog = [&](QDialog& d) {
            d.show();
            d.activateWindow();
            EXPECT_TRUE(QTest::qWaitForWindowActive(&d)) << row.dialog;
            TypeKeys(d, row.typed);
            if (QLineEdit* line = TypingLine(QApplication::focusWidget())) shown = line->text();
            QTest::keyClick(d.windowHandle(), Qt::Key_Return);
            if (!d.isVisible()) return d.result();
            d.hide();
            return int(QDialog::Rejected);
        };
        wnd->Grid2->setFocus();
        wnd->Grid2->SetCurrentCell(row.col, 1);
        wnd->UpdateMenuState();
        Command(row.command)(*wnd);
        EXPECT_TRUE(row.took(wnd->Ant)) << row.dialog << ": \"" << row.typed << "\" typed at once reads \""
                                         << shown.toStdString() << "\"";
    }
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
