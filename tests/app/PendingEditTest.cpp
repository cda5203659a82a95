// Edits that could slip past the save question: a cell still being typed
// into when a file command runs, a load type chosen from the popup, and
// values that overflow on their way into the record.
#include "FileCommandsFixture.h"
#include "model/AntennaText.h"
#include "model/EnvDef.h"

#include <QCheckBox>
#include <QMenu>
#include <cmath>
#include <memory>

class PendingEditTest : public FileCommandsTest {
protected:
    void TearDown() override {
        JobDef.InWavelengths = 0;
        FileCommandsTest::TearDown();
    }
    // Opens the editor of a cell and types without closing it.
    static QLineEdit* TypeWithoutEnter(StringGrid* grid, int col, int row, const QString& text) {
        const QModelIndex index = grid->model()->index(row - 1, col - 1);
        grid->setFocus();
        grid->setCurrentIndex(index);
        grid->edit(index);
        auto* editor = qobject_cast<QLineEdit*>(grid->indexWidget(index));
        if (!editor) return nullptr;
        editor->selectAll();
        QTest::keyClicks(editor, text);
        return editor;
    }
    static std::unique_ptr<AntDef> ParseFile(const QByteArray& bytes) {
        auto ant = std::make_unique<AntDef>();
        EnvRec env{};
        std::string comment;
        ParseAntennaText(*ant, env, std::string(bytes.constData(), bytes.size()), comment);
        return ant;
    }
};

TEST_F(PendingEditTest, ACellBeingTypedIntoIsAskedForBeforeNew) {
    OpenDipole();
    ASSERT_EQ(wnd->Ant.Changed, 0);
    ASSERT_NE(TypeWithoutEnter(wnd->Grid2, 2, 1, "3"), nullptr);

    prompter.AnswerMessage(BoxCancel);
    wnd->K2->trigger();
    ASSERT_EQ(CountShown("message"), 1u) << Shown();
    EXPECT_EQ(prompter.Last().caption, "Korva");
    // Cancel keeps the antenna with the typed value in it.
    EXPECT_EQ(wnd->Ant.WireCount, 1);
    EXPECT_DOUBLE_EQ(wnd->Ant.Wires[0].Y1, 3.0);
    EXPECT_EQ(wnd->Ant.Changed, 1);
}

TEST_F(PendingEditTest, ACellBeingTypedIntoNeverLandsInTheNextAntenna) {
    OpenDipole();
    const QString other = WriteFile("other.kva", DipoleText());
    ASSERT_NE(TypeWithoutEnter(wnd->Grid2, 2, 1, "3"), nullptr);

    prompter.AnswerMessage(BoxNo);
    prompter.AnswerFile(other.toStdString());
    wnd->K3->trigger();
    ASSERT_EQ(wnd->FileName, other);
    QApplication::processEvents();
    EXPECT_DOUBLE_EQ(wnd->Ant.Wires[0].Y1, 0.0);
    EXPECT_EQ(wnd->Ant.Changed, 0);
    EXPECT_FALSE(wnd->Grid2->EditorMode());
}

TEST_F(PendingEditTest, SaveWritesTheCellBeingTypedInto) {
    const QString path = OpenDipole();
    ASSERT_NE(TypeWithoutEnter(wnd->Grid2, 2, 1, "7"), nullptr);
    ASSERT_TRUE(wnd->K4Click());
    EXPECT_EQ(wnd->Ant.Changed, 0);
    EXPECT_DOUBLE_EQ(ParseFile(ReadFile(path))->Wires[0].Y1, 7.0);
}

TEST_F(PendingEditTest, ChoosingAnotherLoadTypeMarksTheAntennaChanged) {
    OpenDipole();
    Type(wnd->Grid4, 1, 1, "w1c");
    Type(wnd->Grid4, 3, 1, "10");
    ASSERT_EQ(wnd->Ant.LoadCount, 1);
    ASSERT_TRUE(wnd->K4Click());
    ASSERT_EQ(wnd->Ant.Changed, 0);

    wnd->Grid4->SetCurrentCell(2, 1);
    wnd->KS2->trigger();
    EXPECT_EQ(wnd->Ant.Loads[0].Type, LoadRX);
    EXPECT_EQ(wnd->Ant.Changed, 1);
    // The same type again changes nothing.
    wnd->Ant.Changed = 0;
    wnd->KS2->trigger();
    EXPECT_EQ(wnd->Ant.Changed, 0);
}

TEST_F(PendingEditTest, ValuesThatOverflowOnTheWayInKeepTheOldOnes) {
    // 0/0 reads as the largest double; in wavelengths it overflows to infinity.
    Type(wnd->Grid2, 1, 1, "2");
    wnd->ChkRmd->click();
    ASSERT_EQ(JobDef.InWavelengths, 1);
    Type(wnd->Grid2, 1, 1, "0/0");
    Type(wnd->Grid2, 7, 1, "0/0");
    EXPECT_DOUBLE_EQ(wnd->Ant.Wires[0].X1, 2.0);
    EXPECT_DOUBLE_EQ(wnd->Ant.Wires[0].R, 0.0008);
    Type(wnd->Grid2, 4, 2, "0/0");
    EXPECT_EQ(wnd->Ant.WireCount, 1);

    // An LC load keeps L x C: a tiny L makes C overflow; the load stays.
    Type(wnd->Grid4, 1, 1, "w1c");
    Type(wnd->Grid4, 3, 1, "1e300");
    Type(wnd->Grid4, 4, 1, "1e300");
    ASSERT_DOUBLE_EQ(wnd->Ant.Loads[0].A[0], 1e300);
    Type(wnd->Grid4, 3, 1, "1e-300");
    EXPECT_DOUBLE_EQ(wnd->Ant.Loads[0].A[0], 1e300);
    EXPECT_DOUBLE_EQ(wnd->Ant.Loads[0].B[0], 1e300);
    // A resonance so low that the coil would be infinite.
    Type(wnd->Grid4, 6, 1, "1e-300");
    EXPECT_TRUE(std::isfinite(wnd->Ant.Loads[0].A[0]));
    EXPECT_TRUE(std::isfinite(wnd->Ant.Loads[0].B[0]));
}

TEST_F(PendingEditTest, ResultsOfAnEarlierAntennaAreNotSavedWithAnEditedOne) {
    OpenDipole();
    wnd->CalTrgBtn->click();
    wnd->UpdateMenuState();
    ASSERT_TRUE(wnd->K11->isEnabled());

    // The table changes under the results: saving them now would store them
    // as the far field of an antenna that was never calculated.
    Type(wnd->Grid2, 1, 1, "-3");
    wnd->UpdateMenuState();
    EXPECT_FALSE(wnd->K11->isEnabled());
    EXPECT_FALSE(wnd->KC2->isEnabled());
    prompter.AnswerFile(TempPath("stale.csv").toStdString());
    wnd->KC2Click();
    EXPECT_FALSE(QFileInfo::exists(TempPath("stale.csv")));
    prompter.Clear();
    prompter.AnswerFile(TempPath("stale.kvb").toStdString());
    wnd->K11Click();
    EXPECT_FALSE(QFileInfo::exists(TempPath("stale.kvb")));

    // A new calculation makes them the antenna's own again.
    prompter.Clear();
    wnd->CalTrgBtn->click();
    wnd->UpdateMenuState();
    EXPECT_TRUE(wnd->K11->isEnabled());
    EXPECT_TRUE(wnd->KC2->isEnabled());
}
