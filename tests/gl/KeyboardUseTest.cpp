// Every form used as a user does at ordinary speed and by keys alone: keys
// typed right after a click into a cell land in that cell; Tab and Shift+Tab
// reach every table and the OK button; Ctrl+Tab leaves a table or a text box;
// Ctrl+Return is the OK of a text dialog. Keys and clicks go through the
// window, as the window system delivers them.
#include "EveryForm.h"
#include "PreparedMainWnd.h"

#include "platform/FormPattern.h"
#include "platform/StringGrid.h"
#include "views/OpenGLForm.h"

#include <QDialog>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <functional>
#include <set>

namespace {

// The grids that take typing, by form and grid name.
const std::set<QString> TypingGrids = {"MainWnd.Grid2", "MainWnd.Grid3", "MainWnd.Grid4",
                                       "ACalDlg.Grid",  "ACalMultDlg.Grid", "WCombDlg.Grid",
                                       "MediaDlgBox.Grid", "GrpWireDlg.Grid"};

// The control the focus is in: a cell editor counts as its grid.
QWidget* FocusOwner() {
    QWidget* w = QApplication::focusWidget();
    for (QWidget* p = w; p; p = p->parentWidget())
        if (qobject_cast<StringGrid*>(p)) return p;
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

    void Check(QWidget& form) {
        const bool wasVisible = form.isVisible();
        if (!wasVisible) form.show();
        form.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&form)) << name_.toStdString();
        ForEachPage(form, [&](int page) { check_(form, page == 0 ? name_ : name_ + QStringLiteral(" page %1").arg(page)); });
        if (!wasVisible && form.isVisible()) form.hide();
    }

    QString name_;

private:
    PageCheck check_;
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
