// The taper wire set editor: the empty row that becomes a set, the rules of
// every column, a full table, deletion, OK only with a change, Cancel that
// puts everything back; and the table of a tapered wire's pieces.
#include "editing/TaperSetGrid.h"
#include "editing/WCombDlg.h"
#include "editing/WCombDspDlg.h"
#include "model/NumberText.h"
#include "platform/FormPattern.h"
#include "platform/ScriptedPrompter.h"
#include "platform/StringGrid.h"

#include <QLabel>
#include <QMenu>
#include <cstring>
#include <gtest/gtest.h>
#include <memory>

TEST(TaperSetGrid, EmptyRowBecomesADefaultSetAndCellsKeepTheirRules) {
    auto ant = std::make_unique<AntDef>();
    EXPECT_EQ(TaperCellText(*ant, 0, 1), "");  // no language file: no label
    EXPECT_FALSE(TaperCellEditable(*ant, 3, 1));  // sections of the empty row take nothing
    ASSERT_EQ(SetTaperCell(*ant, 1, 1, "1"), TaperEdit::Taken);
    ASSERT_EQ(ant->TaperSetCount, 1);
    const TaperSet& s = ant->TaperSets[0];
    EXPECT_DOUBLE_EQ(s.Key, -0.001);
    EXPECT_EQ(TaperCellText(*ant, 2, 1), "<> *");
    EXPECT_EQ(TaperCellText(*ant, 3, 1), "1.8");
    EXPECT_EQ(TaperCellText(*ant, 4, 1), "15.0");
    EXPECT_EQ(TaperCellText(*ant, 6, 1), "12.5");
    EXPECT_EQ(TaperCellText(*ant, 7, 1), "99999.9");
    EXPECT_EQ(TaperCellText(*ant, 8, 1), "10.0");
    EXPECT_EQ(TaperCellText(*ant, 10, 1), "");  // a radius whose length is 0 shows nothing
    EXPECT_EQ(TaperCellHeader(22), "R9(mm)");

    const struct {
        int col;
        const char* text;
        TaperEdit result;
    } edits[] = {
        {1, "-2", TaperEdit::Taken},      {1, "2", TaperEdit::Taken},        {1, "0", TaperEdit::OutOfRange},
        {1, "abc", TaperEdit::NotANumber}, {1, "", TaperEdit::NotANumber},    {1, "1e300", TaperEdit::OutOfRange},
        {3, "-1", TaperEdit::OutOfRange},  {3, "0", TaperEdit::Taken},        {4, "-20", TaperEdit::Taken},
        {4, "0", TaperEdit::OutOfRange},   {2, "1", TaperEdit::NotEditable},
    };
    for (const auto& e : edits) {
        const TaperSet before = ant->TaperSets[0];
        EXPECT_EQ(SetTaperCell(*ant, e.col, 1, e.text), e.result) << e.col << " '" << e.text << "'";
        if (e.result != TaperEdit::Taken) {
            EXPECT_EQ(std::memcmp(&before, &ant->TaperSets[0], sizeof before), 0);
        }
    }
    EXPECT_DOUBLE_EQ(ant->TaperSets[0].Key, -0.002);
    EXPECT_DOUBLE_EQ(ant->TaperSets[0].Len[0], 0.0);
    EXPECT_DOUBLE_EQ(ant->TaperSets[0].Rad[0], 0.02);

    // Keys that differ from another set's key, or from a wire's radius, only
    // past six decimals are taken: a save writes each with the digits that
    // keep it apart. The default key of a new set too.
    ant->WireCount = 1;
    ant->Wires[0].R = -MmToMetre(3.0000001);  // as the R(mm) cell takes it
    ASSERT_TRUE(SetTaperType(*ant, 2, 0));
    for (const char* key : {"2.0000001", "3", "3.0000001"})
        EXPECT_EQ(SetTaperCell(*ant, 1, 2, key), TaperEdit::Taken) << key;
    EXPECT_EQ(ant->TaperSets[1].Key, -MmToMetre(3.0000001));
    ant->Wires[0].R = -MmToMetre(1.0000001);
    EXPECT_TRUE(SetTaperType(*ant, 3, 0));
    EXPECT_EQ(ant->TaperSetCount, 3);
    ant->WireCount = 0;
    ASSERT_TRUE(DeleteTaperSet(*ant, 3));
    ASSERT_TRUE(DeleteTaperSet(*ant, 2));

    for (int i = 1; i < MaxTaperSets; ++i) ASSERT_TRUE(SetTaperType(*ant, ant->TaperSetCount + 1, i % 4));
    EXPECT_EQ(ant->TaperSetCount, MaxTaperSets);
    EXPECT_EQ(SetTaperCell(*ant, 1, MaxTaperSets + 1, "3"), TaperEdit::NotEditable);
    EXPECT_FALSE(SetTaperType(*ant, MaxTaperSets + 1, 0));
    for (int i = 0; i < MaxTaperSets; ++i) ASSERT_TRUE(DeleteTaperSet(*ant, 1));
    EXPECT_EQ(ant->TaperSetCount, 0);
    EXPECT_DOUBLE_EQ(ant->TaperSets[0].Key, 0.0);
}

TEST(TaperSetEditor, OkReportsOnlyAChangeAndCancelPutsTheSetsBack) {
    ScriptedPrompter prompter;
    ScopedPrompter scope(prompter);
    auto previous = ExecModalDialog;
    auto ant = std::make_unique<AntDef>();
    const struct {
        bool edit;
        int result;
        bool expected;
        int count;
    } runs[] = {{true, QDialog::Rejected, false, 0},
                {false, QDialog::Accepted, false, 0},
                {true, QDialog::Accepted, true, 1}};
    for (const auto& r : runs) {
        ExecModalDialog = [&](QDialog& d) {
            auto& dlg = static_cast<TWCombDlg&>(d);
            if (r.edit) {
                dlg.Grid->SetCurrentCell(2, 1);
                dlg.ChooseType(1);  // the empty row: a new set of type "->"
                dlg.Grid->SetEditText(1, 1, "x");
            }
            return r.result;
        };
        TWCombDlg dialog(nullptr);
        EXPECT_EQ(dialog.Execute(*ant), r.expected);
        EXPECT_EQ(ant->TaperSetCount, r.count);
    }
    EXPECT_EQ(ant->TaperSets[0].Type, 1);
    EXPECT_EQ(prompter.ShownBoxes().size(), 2u);  // the two refusals of "x"
    ExecModalDialog = previous;
}

TEST(TaperSetEditor, PieceTableListsThePiecesOfTheWire) {
    auto ant = std::make_unique<AntDef>();
    ASSERT_TRUE(AppendTaperSet(*ant));
    const WireRec wire{0, -5, 10, 0, 5, 10, -0.001, -1, 0, 0, 0};
    auto previous = ExecModalDialog;
    ExecModalDialog = [](QDialog&) { return static_cast<int>(QDialog::Accepted); };
    TWCombDspDlg dialog(nullptr);
    dialog.Execute(*ant, ant->TaperSets[0], wire, 7);
    ExecModalDialog = previous;
    ASSERT_EQ(dialog.PieceCount(), 5);
    EXPECT_EQ(dialog.LStat->text(), "Wire No.7    real wires = 5");
    double total = 0;
    for (int row = 1; row <= 5; ++row) total += dialog.CellText(8, row).toDouble();
    EXPECT_NEAR(total, 10.0, 1e-6);
    EXPECT_EQ(dialog.CellText(7, 3), "15.0");  // the middle piece is the thickest
    EXPECT_EQ(dialog.CellText(0, 0), "No.");
}
