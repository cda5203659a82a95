// The Edit commands that open the geometry dialogs: the dialog works on the
// window's antenna and a change reaches the tables; the stack's new-antenna
// result turns the stacked copies into wires of their own.
#include "MainWndFixture.h"
#include "editing/RotWireDlg.h"
#include "editing/StackDlgBox.h"
#include "editing/TextEditDlg.h"
#include "editing/ValRepDlg.h"
#include "editing/WireEditDlg.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <algorithm>
#include <functional>

namespace {

std::function<int(QDialog&)> NextDialog;

int RunNextDialog(QDialog& dialog) {
    auto step = std::move(NextDialog);
    NextDialog = nullptr;
    return step ? step(dialog) : QDialog::Rejected;
}

class GeometryDialogCommands : public MainWndTest {
protected:
    void SetUp() override {
        MainWndTest::SetUp();
        ExecModalDialog = RunNextDialog;
        wnd->Ant.Wires[0] = WireRec{1, 0, 5, 2, 0, 5, 0.001, 5, 0, 0, 0};
        wnd->Ant.Wires[1] = WireRec{0, -5, 5, 0, 5, 5, 0.001, 5, 0, 0, 0};
        wnd->Ant.WireCount = 2;
        wnd->SetAntDef();
        wnd->UpdateMenuState();
    }
    void TearDown() override {
        NextDialog = nullptr;
        MainWndTest::TearDown();
    }
};

}  // namespace

TEST_F(GeometryDialogCommands, RotateTurnsTheWindowsAntenna) {
    NextDialog = [](QDialog& d) {
        static_cast<TRotWireDlg&>(d).EditDeg->setText("90");
        return QDialog::Accepted;
    };
    ASSERT_TRUE(wnd->K33->isEnabled());
    wnd->K33->trigger();
    EXPECT_NEAR(wnd->Ant.Wires[0].Y1, 1.0, 1e-12);
    EXPECT_NEAR(wnd->Ant.Wires[0].X2, 0.0, 1e-12);
    EXPECT_EQ(wnd->Ant.Changed, 1);
    EXPECT_EQ(wnd->Grid2->Cells(2, 1), "1.0");
}

TEST_F(GeometryDialogCommands, CancelledReplaceChangesNothing) {
    wnd->Grid2->setFocus();
    wnd->Grid2->SetCurrentCell(1, 1);
    wnd->Ant.Changed = 0;
    wnd->UpdateMenuState();
    bool shown = false;
    NextDialog = [&shown](QDialog& d) {
        shown = true;
        EXPECT_EQ(static_cast<TValRepDlg&>(d).EditOld->text(), "1.0");
        return QDialog::Rejected;
    };
    wnd->K7Click(wnd->K27);
    EXPECT_TRUE(shown);
    EXPECT_EQ(wnd->Ant.Changed, 0);
    EXPECT_DOUBLE_EQ(wnd->Ant.Wires[0].X1, 1.0);
}

// The second copy of 50 wires names wire 100: its source "w100b+100" is
// longer than the antenna text carries, and becomes the shortest text that
// names the same pulse. Its source at a plain pulse number, counted in the
// copy's own pulses, becomes the number of that pulse in the whole.
TEST_F(GeometryDialogCommands, StackBecomesANewAntenna) {
    wnd->Ant.WireCount = 50;
    for (int i = 0; i < 50; ++i) wnd->Ant.Wires[i] = WireRec{0, 0.3 * i, 5, 10, 0.3 * i, 5, 0.001, i == 49 ? 150 : 3, 0, 0, 0};
    wnd->Ant.SourceCount = 2;
    CopyText(wnd->Ant.Sources[0].Pos, "w50b+100");
    wnd->Ant.Sources[0].Voltage = 1;
    CopyText(wnd->Ant.Sources[1].Pos, "5");  // wire 3's first pulse
    wnd->Ant.Sources[1].Voltage = 1;
    wnd->SetAntDef();
    NextDialog = [](QDialog& d) {
        auto& stack = static_cast<TStackDlgBox&>(d);
        stack.CBRmdSel->click();
        stack.HC->setEditText("2");
        stack.HW->setText("20");
        return StackNewAntenna;
    };
    prompter.AnswerMessage(BoxYes);
    wnd->K37->trigger();
    EXPECT_EQ(wnd->Ant.WireCount, 100);
    EXPECT_EQ(wnd->Ant.nH, 1);
    EXPECT_EQ(wnd->Ant.nV, 1);
    EXPECT_NEAR(std::fabs(wnd->Ant.Wires[0].Y1 - wnd->Ant.Wires[50].Y1), 20.0, 1e-9);
    EXPECT_EQ(wnd->CalcAnt->WireCount, 100);
    ASSERT_EQ(wnd->Ant.SourceCount, 4);
    EXPECT_STREQ(wnd->Ant.Sources[0].Pos, "w50b+100");
    EXPECT_STREQ(wnd->Ant.Sources[1].Pos, "5");
    EXPECT_STREQ(wnd->Ant.Sources[2].Pos, "w100c+26");
    EXPECT_EQ(wnd->Ant.Sources[2].Pulse - wnd->Ant.Wires[99].FirstPulse, 100);
    const int copyPulses = 49 * 2 + 149;
    EXPECT_EQ(wnd->Ant.Sources[3].Pos, std::to_string(copyPulses + 5));
    EXPECT_EQ(wnd->Ant.Sources[3].Pulse, wnd->Ant.Wires[52].FirstPulse);
}

TEST_F(GeometryDialogCommands, EditedAntennaTextBecomesTheAntenna) {
    NextDialog = [](QDialog& d) {
        auto& editor = static_cast<TTextEditDlg&>(d);
        QString text = editor.Memo->toPlainText();
        EXPECT_TRUE(text.contains("0.0"));
        text.replace(QString("-5.0"), QString("-7.0"));
        editor.Memo->selectAll();
        editor.Memo->insertPlainText(text);
        return QDialog::Accepted;
    };
    wnd->K30->trigger();
    ASSERT_EQ(wnd->Ant.WireCount, 2);
    EXPECT_DOUBLE_EQ(wnd->Ant.Wires[1].Y1, -7.0);
    EXPECT_EQ(wnd->Ant.Changed, 1);

    NextDialog = [](QDialog&) { return QDialog::Accepted; };  // untouched
    wnd->Ant.Changed = 0;
    wnd->K30->trigger();
    EXPECT_EQ(wnd->Ant.Changed, 0);
}

// A text whose records fall short of its counts would load as another
// antenna: OK reports it and keeps the editor open, Cancel changes nothing.
TEST_F(GeometryDialogCommands, AntennaTextShortOfItsRecordsIsRefusedInTheEditor) {
    bool stayedOpen = false;
    NextDialog = [&](QDialog& d) {
        auto& editor = static_cast<TTextEditDlg&>(d);
        QStringList lines = editor.Memo->toPlainText().split('\n');
        const int second = lines.indexOf(QRegularExpression(".*-5\\.0.*"));
        EXPECT_GT(second, 0);
        if (second > 0) lines.removeAt(second);
        editor.Memo->selectAll();
        editor.Memo->insertPlainText(lines.join('\n'));
        editor.OKBtn->click();
        stayedOpen = editor.result() != QDialog::Accepted;
        return QDialog::Rejected;
    };
    wnd->Ant.Changed = 0;
    wnd->K30->trigger();
    EXPECT_TRUE(stayedOpen);
    ASSERT_FALSE(prompter.ShownBoxes().empty());
    EXPECT_NE(prompter.Last().text.find("Invalid format"), std::string::npos);
    EXPECT_EQ(wnd->Ant.WireCount, 2);
    EXPECT_DOUBLE_EQ(wnd->Ant.Wires[1].Y1, -5.0);
    EXPECT_EQ(wnd->Ant.Changed, 0);
}

TEST_F(GeometryDialogCommands, CommentEditShowsTheCommentsButton) {
    NextDialog = [](QDialog& d) {
        auto& editor = static_cast<TTextEditDlg&>(d);
        EXPECT_EQ(editor.windowTitle(), "Edit Comments");
        editor.Memo->insertPlainText("Built in 2026");
        return QDialog::Accepted;
    };
    wnd->Ant.Changed = 0;
    wnd->K34->trigger();
    EXPECT_EQ(wnd->Comment, "Built in 2026");
    EXPECT_EQ(wnd->Ant.Changed, 1);
    EXPECT_TRUE(wnd->DocBtn->isVisibleTo(wnd.get()));
}

TEST_F(GeometryDialogCommands, WireDefinitionEditsTheCurrentRowsWire) {
    wnd->Grid2->SetCurrentCell(1, 2);
    wnd->UpdateMenuState();
    ASSERT_TRUE(wnd->KT2->isEnabled());
    NextDialog = [](QDialog& d) {
        static_cast<TWireEditDlg&>(d).EditZ2->setText("7");
        return QDialog::Accepted;
    };
    wnd->KT2->trigger();
    EXPECT_DOUBLE_EQ(wnd->Ant.Wires[1].Z2, 7.0);
    EXPECT_DOUBLE_EQ(wnd->Ant.Wires[0].Z2, 5.0);
    EXPECT_EQ(wnd->Ant.Changed, 1);
}

// The main window owns its dialogs, so their popup items are QActions under
// it; a refresh of the window's menus leaves them as the dialog set them,
// wherever the focus is when the refresh runs.
TEST_F(GeometryDialogCommands, OwnedDialogsKeepTheirItemsThroughAMenuRefresh) {
    for (QAction* command : {wnd->KCAD, wnd->K18, wnd->K45}) {
        SCOPED_TRACE(command->objectName().toStdString());
        bool opened = false;
        NextDialog = [&](QDialog& d) {
            opened = true;
            d.show();
            const QList<QAction*> items = d.findChildren<QAction*>();
            std::vector<bool> before;
            for (QAction* a : items) before.push_back(a->isEnabled());
            EXPECT_GT(std::count(before.begin(), before.end(), true), 3);
            for (QWidget* focus : {static_cast<QWidget*>(wnd->Grid2), static_cast<QWidget*>(wnd->Grid3),
                                   static_cast<QWidget*>(&d), static_cast<QWidget*>(nullptr)}) {
                if (focus) focus->setFocus();
                wnd->UpdateMenuState();
                for (int i = 0; i < items.size(); ++i)
                    EXPECT_EQ(items[i]->isEnabled(), before[i]) << items[i]->objectName().toStdString();
            }
            return int(QDialog::Rejected);
        };
        wnd->Grid2->setFocus();
        command->trigger();
        EXPECT_TRUE(opened);
    }
}
