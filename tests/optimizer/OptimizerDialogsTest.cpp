// The optimizer's dialogs and the table edits behind them, driven as a user
// would: typed cells, menu choices, buttons, scripted boxes.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <functional>

#include "OptimizerTestSupport.h"
#include "optimizer/ACalDlg.h"
#include "optimizer/ACalEleBox.h"
#include "optimizer/ACalInfoBox.h"
#include "optimizer/ACalMultDlg.h"
#include "optimizer/ACalResDlg.h"
#include "optimizer/AutoRows.h"
#include "optimizer/VarTable.h"
#include "platform/FormPattern.h"
#include "platform/RadioGroup.h"
#include "platform/SettingsPath.h"
#include "platform/StringGrid.h"

namespace {

// Each modal run calls the step given for it; without one the dialog cancels.
struct DialogFixture : OptimizerFixture {
    QTemporaryDir Dir;
    std::function<int(QDialog&)> Step;
    std::function<int(QDialog&)> Previous = ExecModalDialog;

    DialogFixture() {
        SettingsPathOverride = Dir.filePath("Korva.ini").toStdString();
        ExecModalDialog = [this](QDialog& d) { return Step ? Step(d) : int(QDialog::Rejected); };
        Env.AzEl = 120 | (60 << 16);
    }
    ~DialogFixture() {
        ExecModalDialog = Previous;
        SettingsPathOverride.clear();
    }
};

}  // namespace

TEST(OptimizerVarTable, AssociationTextsStoreTheirLinks) {
    OptimizerFixture f;
    for (int i = 0; i < 4; ++i) f.AddRow(KindWire, i, 0);
    // Row 4 (index 3) Y1 of the director is -4.6; row 3 (index 2) Y1 is 0.
    f.Cal->Row(0).Value = 2;
    struct Case {
        const char* text;
        bool accepted;
        int32_t link;
        double step;
        const char* shown;
    } cases[] = {
        {"3*1", true, 2, 1, "3"},
        {"3*-1", true, -4, -1, "-3"},
        {"-3+0", true, -4, 0, "-3"},
        {"3/0", true, 2, 1, "3"},
        {"3+0.5", true, 2 | LinkAdd, 0.5, "3+0.5"},
        {"3-0.5", true, 2 | LinkAdd, -0.5, "3-0.5"},
        {"-3+0.5", true, 2 | LinkSubtractFrom, 0.5, "-3+0.5"},
        {"1*2", true, 0 | LinkMultiply, 2, "1*2.0"},
        {"1/4", true, 0 | LinkDivide, 4, "1/4.0"},
        {"1*", true, 0, 2, "1"},
        {"0", true, LinkFree, 0, "0"},
        {"200", false, 0, 0, nullptr},
        {"abc", false, 0, 0, nullptr},
    };
    for (const auto& c : cases) {
        f.Cal->Row(3).Link = LinkFree;
        f.Cal->Row(3).Step = 2;
        EXPECT_EQ(ApplyAssociation(*f.Cal, 3, c.text), c.accepted) << c.text;
        if (!c.accepted) {
            EXPECT_EQ(f.Cal->Row(3).Link, LinkFree) << c.text;
            continue;
        }
        EXPECT_EQ(f.Cal->Row(3).Link, c.link) << c.text;
        if (c.link != LinkFree) {
            EXPECT_DOUBLE_EQ(f.Cal->Row(3).Step, c.step) << c.text;
        }
        EXPECT_EQ(AssociationText(f.Cal->Row(3)), c.shown) << c.text;
    }
    // "=" takes the constant from the values as they are: -4.6 = 2 x -2.3.
    ASSERT_TRUE(ApplyAssociation(*f.Cal, 3, "1*="));
    EXPECT_EQ(f.Cal->Row(3).Link, 0 | LinkMultiply);
    EXPECT_DOUBLE_EQ(f.Cal->Row(3).Step, -2.3);
    ASSERT_TRUE(ApplyAssociation(*f.Cal, 3, "1+="));
    EXPECT_DOUBLE_EQ(f.Cal->Row(3).Step, -6.6);
}

TEST(OptimizerVarTable, InsertAndDeleteKeepTheLinksOnTheirRows) {
    OptimizerFixture f;
    for (int i = 0; i < 4; ++i) f.AddRow(KindWire, i, 0);
    f.Cal->Row(1).Link = 0;                   // follows row 1
    f.Cal->Row(2).Link = -2 - 1;              // negates row 2
    f.Cal->Row(3).Link = 0 | LinkAdd;         // row 1 + c
    f.Cal->Row(3).Step = 0.25;
    ASSERT_TRUE(InsertRowCopy(*f.Cal, 0));
    ASSERT_EQ(f.Cal->RowCount(), 5);
    EXPECT_EQ(f.Cal->Row(0).Item, 0);  // the copy stands before the original
    EXPECT_EQ(f.Cal->Row(2).Link, 1);
    EXPECT_EQ(f.Cal->Row(3).Link, -2 - 2);
    EXPECT_EQ(f.Cal->Row(4).Link, 1 | LinkAdd);
    // Deleting a master frees its followers, which keep their constant.
    DeleteRow(*f.Cal, 1);
    ASSERT_EQ(f.Cal->RowCount(), 4);
    EXPECT_EQ(f.Cal->Row(1).Link, LinkFree);
    EXPECT_EQ(f.Cal->Row(2).Link, -2 - 1);
    EXPECT_EQ(f.Cal->Row(3).Link, LinkFree);
    EXPECT_DOUBLE_EQ(f.Cal->Row(3).Step, 0.25);
    EXPECT_EQ(f.Cal->Row(4).Kind, KindWire);
    EXPECT_EQ(f.Cal->Row(4).Link, LinkFree);
    // Limits bound to a row: only rows that exist.
    EXPECT_TRUE(ApplyLimit(*f.Cal, 0, true, "#2"));
    EXPECT_EQ(LimitText(f.Cal->Row(0), true), "#2");
    EXPECT_FALSE(ApplyLimit(*f.Cal, 0, true, "#9"));
    EXPECT_FALSE(ApplyLimit(*f.Cal, 0, false, "#x"));
    EXPECT_TRUE(ApplyLimit(*f.Cal, 0, false, "-3"));
    EXPECT_EQ(LimitText(f.Cal->Row(0), false), "-3.0");
    // A full table takes no more.
    f.Cal->SetRowCount(MaxVarRows);
    EXPECT_FALSE(InsertRowCopy(*f.Cal, 0));
    EXPECT_EQ(f.Cal->AddVar(KindWire, 0, 0, LinkFree, 1, 100), -1);
}

TEST(OptimizerAutoRows, AllElementsFollowTheBoomOrder) {
    struct Case {
        int intPos;
        std::vector<std::pair<int, int>> rows;  // element, field
    } cases[] = {
        {0, {{1, ElWidth}, {0, ElWidth}, {1, ElPos}, {2, ElWidth}}},
        {1, {{1, ElWidth}, {0, ElWidth}, {0, ElInterval}, {2, ElWidth}, {2, ElInterval}}},
    };
    for (const auto& c : cases) {
        OptimizerFixture f;
        JobDef.IntPos = c.intPos;
        JobDef.EleWidthAll = 0;
        int asked = 0;
        AddAllElementRows(*f.Cal, [&](ElementQuestion&) { ++asked; });
        EXPECT_EQ(asked, 0);  // straight elements have one size only
        ASSERT_EQ(f.Cal->RowCount(), static_cast<int>(c.rows.size())) << c.intPos;
        for (int i = 0; i < f.Cal->RowCount(); ++i) {
            EXPECT_EQ(f.Cal->Row(i).Kind, KindElement);
            EXPECT_EQ(f.Cal->Row(i).Item, c.rows[static_cast<std::size_t>(i)].first) << c.intPos << " row " << i;
            EXPECT_EQ(f.Cal->Row(i).Field, c.rows[static_cast<std::size_t>(i)].second) << c.intPos << " row " << i;
        }
    }
    JobDef.IntPos = 0;
}

TEST(OptimizerAutoRows, TheElementBoxIsAskedOnceAndItsAnswersHold) {
    OptimizerFixture f;
    // Two slanted elements: width and height each.
    AddTestWire(*f.Ant, 6, -1, 9, 6, 1, 11);
    AddTestWire(*f.Ant, 8, -1, 9, 8, 1, 11);
    (void)f.Cal->Attach(*f.Ant, f.Env);
    JobDef.IntPos = 0;
    int asked = 0;
    AddAllElementRows(*f.Cal, [&](ElementQuestion& q) {
        ++asked;
        EXPECT_TRUE(q.UseY && q.UseZ);
        q.UseZ = true;
        q.CoopZ = 1;  // height follows width
    });
    EXPECT_EQ(asked, 1);
    int heights = 0;
    for (int i = 0; i < f.Cal->RowCount(); ++i)
        if (f.Cal->Row(i).Field == ElHeight) {
            ++heights;
            EXPECT_NE(f.Cal->Row(i).Link, LinkFree);
        }
    EXPECT_EQ(heights, 2);
}

TEST(OptimizerAutoRows, CooperationTiesEqualAndMirroredValues) {
    OptimizerFixture f;
    // A dipole whose halves end at Y = -5 and 5: the Y1 row of the first
    // half ties the mirrored end of the other half with the negated link.
    const int r = f.AddRow(KindWire, 1, 0);
    AutoLinkWires(*f.Cal, r);
    bool mirrored = false;
    for (int i = 0; i < f.Cal->RowCount(); ++i)
        if (f.Cal->Row(i).Item == 2 && f.Cal->Row(i).Field == 2) mirrored = f.Cal->Row(i).Link == -2 - r;
    EXPECT_TRUE(mirrored);
    const int rows = f.Cal->RowCount();
    AutoLinkWires(*f.Cal, r);  // points already tied get no second row
    EXPECT_EQ(f.Cal->RowCount(), rows);

    // Loads of the same type with the same value follow the first.
    f.Ant->LoadCount = 3;
    f.Ant->Loads[2] = f.Ant->Loads[0];
    const int l = f.AddRow(KindLoad, 0, 0);
    AutoLinkLoads(*f.Cal, l);
    EXPECT_EQ(f.Cal->Row(f.Cal->RowCount() - 1).Item, 2);
    EXPECT_EQ(f.Cal->Row(f.Cal->RowCount() - 1).Link, l);

    // Equal element widths at any position tie to the first.
    ClearRows(*f.Cal);
    f.Ant->Wires[3].Y1 = -5.2;
    f.Ant->Wires[3].Y2 = 5.2;
    (void)f.Cal->Attach(*f.Ant, f.Env);
    f.AddRow(KindElement, 0, ElWidth);
    f.AddRow(KindElement, 2, ElWidth);
    LinkEqualElements(*f.Cal);
    EXPECT_EQ(f.Cal->Row(1).Link, 0);
}

TEST(OptimizerDialog, RowsAreEditedInPlaceAndSwitchesComeBackOnCancel) {
    DialogFixture f;
    f.Step = [&](QDialog& d) {
        auto& dlg = static_cast<TACalDlg&>(d);
        // An empty table: no start, the heading and one empty line.
        EXPECT_FALSE(dlg.OKBtn->isEnabled());
        EXPECT_EQ(dlg.Grid->RowCount(), 2);
        // A step, a limit or a value on the empty line creates nothing.
        for (int col : {5, 6, 7, 8}) dlg.GridSetEditText(col, 1, "3");
        EXPECT_EQ(f.Cal->RowCount(), 0);
        // A position there makes a wire row with its limits.
        dlg.GridSetEditText(2, 1, "4");
        EXPECT_EQ(f.Cal->RowCount(), 1);
        EXPECT_EQ(dlg.GetCellText(1, 1), "Wire");
        EXPECT_EQ(dlg.GetCellText(2, 1), "4");
        EXPECT_EQ(dlg.GetCellText(3, 1), "Y1");
        EXPECT_EQ(dlg.GetCellText(8, 1), "-4.6");
        EXPECT_TRUE(dlg.OKBtn->isEnabled());
        // "What": X2 of the director, and its value moves the antenna at once.
        dlg.Grid->SetRow(1);
        dlg.SetRowWhat(6);
        EXPECT_EQ(dlg.GetCellText(3, 1), "X2");
        dlg.GridSetEditText(8, 1, "3.5");
        EXPECT_DOUBLE_EQ(f.Ant->Wires[3].X2, 3.5);
        // Out-of-range positions and text are ignored.
        dlg.GridSetEditText(2, 1, "9");
        dlg.GridSetEditText(5, 1, "x");
        EXPECT_EQ(dlg.GetCellText(2, 1), "4");
        // A second row follows the first, negated.
        dlg.Grid->SetRow(2);
        dlg.SetRowType(KindWire);
        dlg.GridSetEditText(2, 2, "4");
        dlg.SetRowWhat(5);
        dlg.GridSetEditText(4, 2, "-1");
        EXPECT_EQ(dlg.GetCellText(4, 2), "-1");
        EXPECT_EQ(dlg.GetCellText(5, 2), "");
        EXPECT_EQ(dlg.GetCellText(8, 2), "3.0/-3.5");
        dlg.TBGain->setValue(80);
        dlg.TBCUR->setValue(0);
        dlg.TerDis->setChecked(true);
        return int(QDialog::Rejected);
    };
    TACalDlg dlg(nullptr);
    EXPECT_FALSE(dlg.Execute(f.Cal.get()));
    EXPECT_EQ(f.Cal->RowCount(), 2);
    EXPECT_DOUBLE_EQ(f.Cal->Weights[WGain], 80);
    EXPECT_EQ(f.Cal->GoalsOn, 0);
}

TEST(OptimizerDialog, StartChecksAndPreparesTheRows) {
    DialogFixture f;
    f.AddRow(KindWire, 3, 6);
    f.AddRow(KindWire, 3, 6);  // the same variable twice is refused
    f.Step = [&](QDialog& d) {
        auto& dlg = static_cast<TACalDlg&>(d);
        dlg.OKBtnClick();
        EXPECT_FALSE(dlg.result() == QDialog::Accepted);
        EXPECT_NE(f.Answers.Last().text.find("equal lines"), std::string::npos);
        dlg.Grid->SetRow(2);
        dlg.DelBtnClick();
        dlg.OKBtnClick();
        return dlg.result();
    };
    TACalDlg dlg(nullptr);
    EXPECT_TRUE(dlg.Execute(f.Cal.get()));
    EXPECT_EQ(f.Cal->RowCount(), 1);
    EXPECT_DOUBLE_EQ(f.Cal->BestValues[0], -3);  // prepared: the negated start
    // More than four sources: one band, the band button disabled.
    f.Ant->SourceCount = 5;
    f.Step = [&](QDialog& d) {
        EXPECT_FALSE(static_cast<TACalDlg&>(d).BandBtn->isEnabled());
        return int(QDialog::Rejected);
    };
    f.Cal->BandCount = 3;
    TACalDlg again(nullptr);
    again.Execute(f.Cal.get());
    EXPECT_EQ(f.Cal->BandCount, 1);
}

TEST(OptimizerDialog, StartAsksAboutALinkedRowOffItsLinkAndGoesOnAfterYes) {
    DialogFixture f;
    const int a = f.AddRow(KindWire, 0, 0);  // -5.2
    f.AddRow(KindWire, 0, 2);                // 5.2, while its link gives -5.2
    f.Cal->Row(1).Link = a;
    f.Step = [&](QDialog& d) {
        auto& dlg = static_cast<TACalDlg&>(d);
        f.Answers.AnswerMessage(BoxNo);
        dlg.OKBtnClick();
        EXPECT_NE(dlg.result(), QDialog::Accepted);
        f.Answers.AnswerMessage(BoxYes);
        dlg.OKBtnClick();
        return dlg.result();
    };
    TACalDlg dlg(nullptr);
    EXPECT_TRUE(dlg.Execute(f.Cal.get()));
    ASSERT_EQ(f.Answers.ShownBoxes().size(), 2u);
    EXPECT_NE(f.Answers.Last().text.find("association (1)"), std::string::npos);
}

TEST(OptimizerDialog, AllElementsAsksBeforeItReplacesTheRows) {
    DialogFixture f;
    f.AddRow(KindHeight, 0, 0);
    f.Step = [&](QDialog& d) {
        auto& dlg = static_cast<TACalDlg&>(d);
        f.Answers.AnswerMessage(BoxNo);
        dlg.AllEleClick();
        EXPECT_EQ(f.Cal->RowCount(), 1);
        f.Answers.AnswerMessage(BoxYes);
        dlg.AllEleClick();
        EXPECT_EQ(f.Cal->Row(0).Kind, KindElement);
        // Together step setting: every free row takes the step.
        f.Answers.AnswerInput(true, "0.02");
        dlg.K23Click();
        EXPECT_EQ(dlg.GetCellText(5, 1), "0.02");
        dlg.K27Click();
        EXPECT_EQ(f.Cal->RowCount(), 0);
        return int(QDialog::Rejected);
    };
    TACalDlg dlg(nullptr);
    dlg.Execute(f.Cal.get());
}

TEST(OptimizerDialog, ElementPickMakesAnElementOrAWireRow) {
    DialogFixture f;
    std::vector<std::pair<int, int>> picks = {{2, ElLength}, {1, -1}};
    std::size_t next = 0;
    f.Step = [&](QDialog& d) {
        auto& dlg = static_cast<TACalDlg&>(d);
        dlg.Grid->SetRow(1);
        dlg.RefEleClick();
        EXPECT_EQ(dlg.Grid->Row(), 2);
        dlg.RefEleClick();
        return int(QDialog::Rejected);
    };
    TACalDlg dlg(nullptr);
    dlg.PickElement = [&](QWidget*, int& index, int& kind, const ElementVariables&, AntDef&) {
        std::tie(index, kind) = picks[next++];
        return true;
    };
    dlg.Execute(f.Cal.get());
    ASSERT_EQ(f.Cal->RowCount(), 2);
    EXPECT_EQ(f.Cal->Row(0).Kind, KindElement);
    EXPECT_EQ(f.Cal->Row(0).Item, 2);
    EXPECT_EQ(f.Cal->Row(0).Field, ElLength);
    EXPECT_EQ(f.Cal->Row(1).Kind, KindWire);
    EXPECT_EQ(f.Cal->Row(1).Item, 1);
}

TEST(OptimizerGoalsBox, ValuesComeBackOnlyWhenTheyRead) {
    DialogFixture f;
    f.Cal->GainGoal = 7.6;
    f.Cal->OptZR = 0;
    f.Step = [&](QDialog& d) {
        auto& box = static_cast<TACalInfoBox&>(d);
        EXPECT_EQ(box.EditGain->text(), "8");
        EXPECT_EQ(box.EditTergR->text(), "*");
        EXPECT_FALSE(box.EditTergR->isEnabled());
        box.EditSWR->setText("0.5");
        box.EditCur->setText("w12345678c");
        box.EditFBH->setValue(90);
        // The arrows never go below 1.
        box.UDSWRClick(-1);
        EXPECT_EQ(box.EditSWR->text(), "1.0");
        box.EditSWR->setText("0.5");
        return int(QDialog::Accepted);
    };
    TACalInfoBox box(nullptr);
    EXPECT_TRUE(box.Execute(f.Cal.get()));
    EXPECT_DOUBLE_EQ(f.Cal->GainGoal, 8);
    EXPECT_DOUBLE_EQ(f.Cal->SWRGoal, 1.0);
    EXPECT_STREQ(f.Cal->CurrentPos, "w1234567");
    EXPECT_EQ(f.Env.AzEl & 0xFFFF, 90);
    EXPECT_EQ(f.Env.AzEl >> 16, 60);

    // The hairpin reactance: proposal, result, and the cases without one.
    struct Case {
        const char* r;
        const char* proposal;
        const char* z;
        const char* jx;
    } cases[] = {{"40", "50", "80", "-40.0"}, {"75", "150.0", "150", "-75.0"}, {"50", "100", "50", "0"}, {"50", "100", "40", ""}};
    TACalInfoBox hairpin(nullptr);
    for (const auto& c : cases) {
        hairpin.EditSWRZ->setEditText(c.r);
        f.Answers.AnswerInput(true, c.z);
        hairpin.AutoJXClick();
        EXPECT_EQ(f.Answers.Last().text, "Z using line (Ohm)");
        EXPECT_EQ(hairpin.EditSWRJX->text(), c.jx) << c.r << " " << c.z;
    }
}

// A goal is a real, typed with a point or a comma (and a negative jX goal is
// refused on OK); the arrows step to the next whole number within their range.
TEST(OptimizerGoalsBox, GoalsAreRealsAndTheArrowsStepWholeNumbers) {
    DialogFixture f;
    f.Cal->GainGoal = 7;
    f.Cal->JXGoal = 4;
    f.Step = [&](QDialog& d) {
        auto& box = static_cast<TACalInfoBox&>(d);
        for (auto [edit, typed] : {std::pair{box.EditGain, "8.5"}, {box.EditFB, "22,5"}, {box.EditJX, "-30"}}) {
            edit->setFocus();
            edit->selectAll();
            QTest::keyClicks(edit, typed);
        }
        box.EditSWR->setFocus();
        // A text that does not read steps from where the up-down stands (4).
        const std::pair<const char*, const char*> steps[] = {{"x", "5"}, {"2.5", "3"}, {"99.5", "100"}, {"100", "100"}};
        for (const auto& [shown, up] : steps) {
            box.EditJX->setText(shown);
            box.GoalArrowClick(box.EditJX, 1);
            EXPECT_EQ(box.EditJX->text().toStdString(), up) << shown;
        }
        box.EditJX->setText("-30");
        return int(QDialog::Accepted);
    };
    TACalInfoBox box(nullptr);
    EXPECT_TRUE(box.Execute(f.Cal.get()));
    EXPECT_DOUBLE_EQ(f.Cal->GainGoal, 8.5);
    EXPECT_DOUBLE_EQ(f.Cal->FBGoal, 22.5);
    EXPECT_DOUBLE_EQ(f.Cal->JXGoal, 4);
}

TEST(OptimizerBandTable, EditsMakeBandsAndRefuseBadValues) {
    DialogFixture f;
    f.Cal->BandCount = 3;
    for (int b = 0; b < 3; ++b) {
        f.Cal->Bands[b].Freq = 7 * (b + 1);
        CopyText(f.Cal->Bands[b].Sources[0].Pos, "w2e");
        f.Cal->Bands[b].Sources[0].Voltage = 1;
    }
    f.Cal->PriorityFirst = 1;
    f.Step = [&](QDialog& d) {
        auto& dlg = static_cast<TACalMultDlg&>(d);
        dlg.GridSetEditText(1, 4, "28.5");  // the empty row: band 4, a copy of band 3
        EXPECT_EQ(f.Cal->BandCount, 4);
        EXPECT_STREQ(f.Cal->Bands[3].Sources[0].Pos, "w2e");
        EXPECT_DOUBLE_EQ(f.Cal->Bands[3].Freq, 28.5);
        // Refused: F 1.5, phase 360, voltage 0; taken: phase 0.
        ACalBandRec& band = f.Cal->Bands[0];
        band.Sources[0].Phase = 10;
        dlg.GridSetEditText(1, 1, "1.5");
        dlg.GridSetEditText(3, 1, "360");
        dlg.GridSetEditText(4, 1, "0");
        EXPECT_DOUBLE_EQ(band.Freq, 7);
        EXPECT_DOUBLE_EQ(band.Sources[0].Phase, 10);
        EXPECT_DOUBLE_EQ(band.Sources[0].Voltage, 1);
        dlg.GridSetEditText(3, 1, "0");
        EXPECT_DOUBLE_EQ(band.Sources[0].Phase, 0);
        dlg.GridSetEditText(3, 1, "45");
        EXPECT_EQ(dlg.GetCellText(3, 1), "45.0");
        // Positions as the antenna's tables take them: folded, and refused
        // where a save would read back another.
        dlg.GridSetEditText(2, 2, " w\xEF\xBC\x93" "c");
        EXPECT_STREQ(f.Cal->Bands[1].Sources[0].Pos, "w3c");
        dlg.GridSetEditText(2, 2, "w1,c");
        EXPECT_STREQ(f.Cal->Bands[1].Sources[0].Pos, "w3c");
        // A band added as a copy of one the table would refuse (band 1 holds
        // the antenna's own phase) takes only what makes it whole.
        f.Cal->BandCount = 1;
        band.Sources[0].Phase = -90;
        dlg.GridSetEditText(2, 2, "w1c");
        EXPECT_EQ(f.Cal->BandCount, 1);
        dlg.GridSetEditText(3, 2, "270");
        EXPECT_EQ(f.Cal->BandCount, 2);
        EXPECT_DOUBLE_EQ(f.Cal->Bands[1].Sources[0].Phase, 270);
        band.Sources[0].Phase = 45;
        f.Cal->BandCount = 4;
        dlg.CheckPriority->setChecked(false);
        return int(QDialog::Rejected);
    };
    TACalMultDlg dlg(nullptr);
    dlg.Execute(f.Cal.get());
    // Cancel keeps the edits; the flag comes from its box.
    EXPECT_DOUBLE_EQ(f.Cal->Bands[0].Sources[0].Phase, 45);
    EXPECT_EQ(f.Cal->PriorityFirst, 0);
    f.Cal->BandCount = MaxBands;
    dlg.GridSetEditText(1, MaxBands + 1, "50");
    EXPECT_EQ(f.Cal->BandCount, MaxBands);
    f.Cal->BandCount = 1;
    dlg.UpdateRows();
    EXPECT_FALSE(dlg.DelBtn->isEnabled());
}

TEST(OptimizerLogDialog, SortsShowsAndAppliesAPoint) {
    DialogFixture f;
    const int row = f.AddRow(KindWire, 3, 6);
    f.Cal->GoalsOn = 1;
    f.Cal->BestScore = 10;
    const double jx[3] = {5, -3, 8};
    for (int i = 0; i < 3; ++i) {
        f.Cal->Row(row).Value = 4 + i;
        f.Cal->LastScore = 10 - i;
        f.Cal->Results[3] = jx[i];
        f.Cal->PushLog(Results, 100 + i);
    }
    // An antenna that is none of the points (edited since): none is its own,
    // and OK applies nothing until one is chosen.
    f.Step = [&](QDialog& d) {
        auto& r = static_cast<TACalResDlg&>(d);
        EXPECT_EQ(r.SelectedLine(), 0);
        r.OKBtnClick();
        return r.result();
    };
    TACalResDlg edited(nullptr);
    EXPECT_FALSE(edited.Execute(f.Cal.get(), 7));

    TACalResDlg dlg(nullptr);
    f.Cal->SetValue(row, 5);  // the antenna stands at the second point
    f.Step = [&](QDialog& d) {
        auto& r = static_cast<TACalResDlg&>(d);
        EXPECT_EQ(r.Grid->RowCount(), 4);
        EXPECT_EQ(r.GetCellText(6, 1), "1.0");  // best first
        // The antenna's point is the selected row, the whole row.
        EXPECT_EQ(r.Grid->Row(), 2);
        EXPECT_TRUE(r.Grid->selectionModel()->isRowSelected(1, {}));
        r.SortSel->setCurrentIndex(SortJX);
        r.SortSelChange();
        EXPECT_EQ(r.GetCellText(1, 1), "0.0 - j3.0");  // |jX| ascending
        r.Grid->SetRow(3);
        f.Answers.AnswerMessage(BoxYes);
        r.OKBtnClick();
        return r.result();
    };
    EXPECT_TRUE(dlg.Execute(f.Cal.get(), 101));
    EXPECT_DOUBLE_EQ(f.Ant->Wires[3].X2, 6);  // the point with jX 8

    // A simple sweep shows each variable under V1, V2, ...; Cancel changes nothing.
    f.Cal->GoalsOn = 0;
    for (int rows : {1, 3}) {
        while (f.Cal->RowCount() < rows) f.AddRow(KindWire, 3, f.Cal->RowCount() == 1 ? 5 : 0);
        f.Step = [&](QDialog& d) {
            auto& r = static_cast<TACalResDlg&>(d);
            EXPECT_EQ(r.Grid->ColCount(), 6 + rows) << rows;
            for (int v = 1; v <= rows; ++v) EXPECT_EQ(r.GetCellText(5 + v, 0), QString("V%1").arg(v)) << rows;
            EXPECT_EQ(r.GetCellText(6, 1), "4.0") << rows;
            return int(QDialog::Rejected);
        };
        TACalResDlg sweep(nullptr);
        EXPECT_FALSE(sweep.Execute(f.Cal.get()));
        EXPECT_DOUBLE_EQ(f.Ant->Wires[3].X2, 6);
    }
}

TEST(OptimizerElementBox, UncheckedSizesReadOffInTheOtherGroups) {
    DialogFixture f;
    f.Step = [&](QDialog& d) {
        auto& box = static_cast<TACalEleBox&>(d);
        EXPECT_FALSE(box.CBXW->isEnabled());
        EXPECT_EQ(box.RGHW->Items(), QStringList({"OFF", "Size Z", "OFF"}));
        box.CBVW->setChecked(false);
        box.UpdateGroups();
        EXPECT_EQ(box.RGHW->Items(), QStringList({"OFF", "OFF", "OFF"}));
        box.RGHW->SetItemIndex(1);
        return int(QDialog::Accepted);
    };
    TACalEleBox box(nullptr);
    bool y = true, z = true, x = false;
    int cx = -1, cz = -1, cy = -1;
    EXPECT_EQ(box.Execute(y, z, cx, cz, cy, x), 1);
    EXPECT_TRUE(y);
    EXPECT_FALSE(z);
    EXPECT_EQ(cy, 1);  // an "OFF" item keeps its index; nothing is linked for it
    EXPECT_EQ(cz, 0);
}
