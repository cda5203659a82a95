// Reading and writing the variable rows, links, limits and the checks made
// before a run.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>

#include "OptimizerTestSupport.h"

TEST(OptimizerValues, WireXIsReadOnTheBoomAndConnectedEndsFollow) {
    OptimizerFixture f;
    const int x1 = f.AddRow(KindWire, 1, 5);    // X1 of the first half of the driven element
    const int y2 = f.AddRow(KindWire, 1, 2);    // its inner end
    EXPECT_DOUBLE_EQ(f.Cal->GetValue(x1), 0);
    EXPECT_DOUBLE_EQ(f.Cal->GetValue(y2), 0);
    f.Cal->SetValue(y2, 0.5);
    f.Cal->Groups().WriteBack();
    EXPECT_DOUBLE_EQ(f.Ant->Wires[1].Y2, 0.5);
    EXPECT_DOUBLE_EQ(f.Ant->Wires[2].Y1, 0.5);   // the other half moved with it
    const int dirX = f.AddRow(KindWire, 3, 6);
    EXPECT_DOUBLE_EQ(f.Cal->GetValue(dirX), 3);
    // The director typed in the table since: a value set and written back
    // changes its own wire and keeps the edit.
    f.Ant->Wires[3].Z1 = f.Ant->Wires[3].Z2 = 12;
    f.Cal->SetValue(y2, 0.7);
    f.Cal->Groups().WriteBack();
    EXPECT_DOUBLE_EQ(f.Ant->Wires[1].Y2, 0.7);
    EXPECT_DOUBLE_EQ(f.Ant->Wires[3].Z1, 12);
}

TEST(OptimizerValues, LcLoadKeepsItsResonance) {
    OptimizerFixture f;
    const int l = f.AddRow(KindLoad, 0, 0);
    f.Cal->SetValue(l, 4);
    EXPECT_DOUBLE_EQ(f.Ant->Loads[0].A[0], 4);
    EXPECT_DOUBLE_EQ(f.Ant->Loads[0].B[0], 25);
}

TEST(OptimizerValues, StackingRowKeepsEachSubChoice) {
    OptimizerFixture f;
    for (int field = 0; field < 3; ++field) {
        const int i = f.AddRow(KindStack, 0, field);
        EXPECT_EQ(f.Cal->Row(i).Field, field);
    }
    f.Ant->hSpacing = 7;
    f.Ant->vSpacing = 9;
    EXPECT_DOUBLE_EQ(f.Cal->GetValue(1), 7);
    EXPECT_DOUBLE_EQ(f.Cal->GetValue(2), 9);
    f.Cal->SetValue(0, 11);
    EXPECT_DOUBLE_EQ(f.Ant->hSpacing, 11);
    EXPECT_DOUBLE_EQ(f.Ant->vSpacing, 11);
}

TEST(OptimizerValues, PolarWireKeepsTheChosenPoint) {
    OptimizerFixture f;
    const int len = f.AddRow(KindWirePolar, 0, 2);   // length, middle fixed
    EXPECT_NEAR(f.Cal->GetValue(len), 10.4, 1e-12);
    f.Cal->SetValue(len, 20);
    f.Cal->Groups().WriteBack();
    EXPECT_NEAR(f.Ant->Wires[0].Y1, -10, 1e-9);
    EXPECT_NEAR(f.Ant->Wires[0].Y2, 10, 1e-9);
    EXPECT_NEAR(f.Ant->Wires[0].X1, -2, 1e-9);
}

TEST(OptimizerValues, ElementRowsResizeAndMove) {
    OptimizerFixture f;
    const int width = f.AddRow(KindElement, 2, ElWidth);
    EXPECT_DOUBLE_EQ(f.Cal->GetValue(width), 9.2);
    f.Cal->SetValue(width, 10);
    const int pos = f.AddRow(KindElement, 2, ElPos);
    EXPECT_DOUBLE_EQ(f.Cal->GetValue(pos), 5);
    f.Cal->SetValue(pos, 6);
    f.Cal->Groups().WriteBack();
    EXPECT_NEAR(f.Ant->Wires[3].Y1, -5, 1e-12);
    EXPECT_DOUBLE_EQ(f.Ant->Wires[3].X1, 4);
}

TEST(OptimizerValues, TheElementTableSeesTheElementAndWireRows) {
    OptimizerFixture f;
    f.AddRow(KindElement, 2, ElWidthAll);
    f.AddRow(KindLoad, 1, 0);
    f.AddRow(KindWire, 0, 0);
    f.AddRow(KindWirePolar, 3, 0);
    const ElementVariables vars = f.Cal->TableVariables();
    ASSERT_EQ(vars.Cells.size(), 1u);
    EXPECT_TRUE(vars.HasCell(2, ElWidthAll));
    EXPECT_EQ(vars.Wires, (std::vector<int>{0, 3}));
}

TEST(OptimizerDefaults, ItemAndFieldAreCutToWhatExists) {
    OptimizerFixture f;
    const int i = f.AddRow(KindSource, 7, 5);
    EXPECT_EQ(f.Cal->Row(i).Item, 0);
    EXPECT_EQ(f.Cal->Row(i).Field, 1);
    EXPECT_DOUBLE_EQ(f.Cal->Row(i).Max, 1.0);
    const int w = f.AddRow(KindWire, 99, 9);
    EXPECT_EQ(f.Cal->Row(w).Item, 3);
    EXPECT_EQ(f.Cal->Row(w).Field, 0);
    // Y1 of the director is -4.6: one significant digit of 0.5 %.
    EXPECT_DOUBLE_EQ(f.Cal->Row(w).Step, 0.02);
    const int pos = f.AddRow(KindElement, 0, ElPos);   // at 0 from element 0
    EXPECT_EQ(f.Cal->Row(pos).Step, 0);
    const int zeroY = f.AddRow(KindWire, 1, 2);       // value 0 gives a step of 0.1
    EXPECT_DOUBLE_EQ(f.Cal->Row(zeroY).Step, 0.1);
}

TEST(OptimizerLinks, ChainsFollowTheFreeRowWithTheirOwnForm) {
    OptimizerFixture f;
    const int a = f.AddRow(KindWire, 0, 0);
    const int b = f.AddRow(KindWire, 0, 2);
    const int c = f.AddRow(KindWire, 3, 0);
    f.Cal->Row(b).Link = -2 - a;               // b = -a
    f.Cal->Row(c).Link = LinkMultiply | b;     // c = b x 2, through b
    f.Cal->Row(c).Step = 2;
    EXPECT_EQ(f.Cal->FollowLink(0, b), a);
    EXPECT_EQ(f.Cal->ResolveLink(0, f.Cal->Row(c).Link), LinkMultiply | a);
    f.Cal->Row(c).Link = f.Cal->ResolveLink(0, f.Cal->Row(c).Link);
    f.Cal->Row(a).Value = -6;
    f.Cal->SetWithLinks(a);
    EXPECT_DOUBLE_EQ(f.Cal->Row(b).Value, 6);
    EXPECT_DOUBLE_EQ(f.Cal->Row(c).Value, -12);
    // A loop has no free row at its end.
    f.Cal->Row(a).Link = b;
    EXPECT_EQ(f.Cal->FollowLink(0, b), -1);
}

TEST(OptimizerLinks, EveryFormGivesItsValue) {
    // The master row holds 3; the follower's constant is 2.
    OptimizerFixture f;
    const int master = f.AddRow(KindWire, 0, 0);
    const int follower = f.AddRow(KindWire, 3, 0);
    f.Cal->Row(master).Value = 3;
    const struct {
        int32_t link;
        double constant, expected;
    } cases[] = {
        {master, 2, 3},                      // follows
        {-2 - master, 2, -3},                // negated
        {master | LinkAdd, 2, 5},            // + c
        {master | LinkSubtractFrom, 2, -1},  // c - value
        {master | LinkMultiply, 2, 6},       // x c
        {master | LinkDivide, 2, 1.5},       // / c
        {master | LinkDivide, 0, 3},         // / 0 leaves the value
    };
    for (const auto& c : cases) {
        f.Cal->Row(follower).Link = c.link;
        f.Cal->Row(follower).Step = c.constant;
        f.Cal->SetWithLinks(master);
        EXPECT_DOUBLE_EQ(f.Cal->Row(follower).Value, c.expected) << std::hex << c.link;
    }
}

TEST(OptimizerLimits, FixedLimitsPutTheValueOneStepInside) {
    OptimizerFixture f;
    const int i = f.AddRow(KindHeight, 0, 0);
    f.Cal->Row(i).CurStep = 1;
    double v = 250;
    EXPECT_TRUE(f.Cal->CheckLimits(i, v));
    EXPECT_DOUBLE_EQ(v, 199);
    v = 0;
    EXPECT_TRUE(f.Cal->CheckLimits(i, v));
    EXPECT_DOUBLE_EQ(v, 1);
    v = 50;
    EXPECT_FALSE(f.Cal->CheckLimits(i, v));
    // An upper limit taken from another row is reached exactly.
    const int j = f.AddRow(KindWire, 0, 1);      // Z1 = 10
    f.Cal->Row(i).MaxFrom = LimitFromRow | j;
    v = 12;
    EXPECT_TRUE(f.Cal->CheckLimits(i, v));
    EXPECT_DOUBLE_EQ(v, 10);
}

TEST(OptimizerPrepare, StepsAndTheNegatedStartPoint) {
    OptimizerFixture f;
    f.Cal->StepAbsolute = 0;
    const int i = f.AddRow(KindWire, 0, 1);      // Z1 = 10
    f.Cal->Row(i).Step = 2;                     // percent
    const int zero = f.AddRow(KindWire, 1, 2);   // 0 in percent mode never moves
    f.Cal->Row(zero).Step = 0.5;
    ASSERT_TRUE(f.Cal->Prepare().Ok());
    EXPECT_DOUBLE_EQ(f.Cal->Row(i).CurStep, 0.2);
    EXPECT_DOUBLE_EQ(f.Cal->Row(i).BaseStep, 0.2);
    EXPECT_DOUBLE_EQ(f.Cal->BestValues[i], -10);
    EXPECT_EQ(f.Cal->Row(zero).CurStep, 0);
    EXPECT_EQ(f.Cal->BestScore, -DBL_MAX);
    EXPECT_EQ(f.Cal->CurrentMag, -1.0);
}

TEST(OptimizerPrepare, RefusesABrokenLinkAndAZeroElementSize) {
    OptimizerFixture f;
    const int a = f.AddRow(KindWire, 0, 0);
    f.Cal->Row(a).Link = 5;
    const OptimizerCheck broken = f.Cal->Prepare();
    EXPECT_FALSE(broken.Ok());
    EXPECT_EQ(broken.Text(), "Line.(1): Variable is not exist!");
    f.Cal->Row(a).Link = LinkFree;
    f.Cal->Row(a).Kind = KindElement;
    f.Cal->Row(a).Field = ElInterval;   // the base element's interval is 0
    f.Cal->Row(a).Item = 1;
    EXPECT_FALSE(f.Cal->Prepare().Ok());
}

TEST(OptimizerValidate, RefusalsNameTheRows) {
    OptimizerFixture f;
    f.AddRow(KindWire, 0, 0);
    f.AddRow(KindWire, 0, 0);
    auto refusal = [&] {
        const OptimizerCheck check = f.Cal->Validate();
        EXPECT_EQ(check.Result, OptimizerCheck::Refused);
        return check.Text();
    };
    EXPECT_EQ(refusal(), "Line (1): Line (2) equal lines");
    f.Cal->Row(1).Kind = KindLoad;
    f.Cal->Row(1).Item = 1;
    EXPECT_EQ(refusal(), "Load (2): You can not modify this load!");
    f.Cal->Row(1).Kind = KindHeight;
    f.Cal->Row(1).Item = 0;
    f.Env.Type = GroundFree;
    EXPECT_EQ(refusal(), "Line(2): Can not change height in the free space!");
    f.Cal->Row(1).Kind = KindWire;
    f.Cal->Row(1).Item = 40;
    EXPECT_EQ(refusal(), "Line.(2): Cannot find variable!");
}

TEST(OptimizerValidate, AssociationQuestionAndClampedFreeRows) {
    OptimizerFixture f;
    const int a = f.AddRow(KindWire, 0, 0);   // -5.2
    const int b = f.AddRow(KindWire, 0, 2);   // 5.2 = -a: consistent
    f.Cal->Row(b).Link = -2 - a;
    EXPECT_TRUE(f.Cal->Validate().Ok());
    f.Cal->Row(b).Link = a;                  // 5.2 != -5.2: asked
    const OptimizerCheck asked = f.Cal->Validate();
    EXPECT_EQ(asked.Result, OptimizerCheck::Question);
    EXPECT_EQ(asked.Text(), "Line(2): different value in association (1)\r\n\r\nSet correct value of association?");
    EXPECT_TRUE(f.Cal->Validate(asked.NextRow).Ok());  // after Yes
    const int h = f.AddRow(KindHeight, 0, 0);
    f.Env.AntHeight = 500;
    f.Cal->Row(b).Link = -2 - a;
    EXPECT_TRUE(f.Cal->Validate().Ok());
    EXPECT_DOUBLE_EQ(f.Env.AntHeight, 200);
    EXPECT_DOUBLE_EQ(f.Cal->Row(h).Value, 200);
}

TEST(OptimizerBands, SourcesOfABandReplaceTheAntennasBelowFive) {
    OptimizerFixture f;
    f.Cal->Bands[1].Freq = 21.2;
    CopyText(f.Cal->Bands[1].Sources[0].Pos, "w3b");
    CopyText(f.Cal->Bands[1].Sources[1].Pos, "w1c");
    f.Cal->SetBand(*f.Ant, 1);
    EXPECT_DOUBLE_EQ(f.Ant->CalcFreq, 21.2);
    EXPECT_EQ(f.Ant->SourceCount, 2);
    EXPECT_STREQ(f.Ant->Sources[0].Pos, "w3b");
    f.Ant->SourceCount = 5;
    f.Ant->CalcFreq = 14;
    f.Cal->SetBand(*f.Ant, 1);
    EXPECT_DOUBLE_EQ(f.Ant->CalcFreq, 14);
    EXPECT_EQ(f.Ant->SourceCount, 5);
}

TEST(OptimizerGoals, WeightsAndTheirText) {
    OptimizerFixture f;
    EXPECT_EQ(f.Cal->GoalText(), "Optim. Gain:33.3% F/B:33.3% jX:33.3%");
    f.Cal->SetGoals(0, 0, 0, 0, 0, 0, 0);
    for (double w : f.Cal->Weights) EXPECT_EQ(w, 1);
    f.Cal->GoalsOn = 0;
    EXPECT_EQ(f.Cal->GoalText(), "No goal set(simple sweep)");
}

TEST(OptimizerScore, TermsAtTheirGoals) {
    // Each row weighs one term by 1, with its own goal, match kind and
    // reference impedance.
    enum Term { Gain, Swr, Match };
    const struct {
        const char* what;
        Term term;
        double goal;  // of the gain or the SWR
        int matchKind;
        double z0;
        float ga, swr, r, jx;
        double score;
    } cases[] = {
        {"gain at its goal", Gain, 8, MatchCapacity, 50, 8, 0, 0, 0, 8},
        {"gain e times its goal", Gain, 8, MatchCapacity, 50, static_cast<float>(8 * std::exp(1.0)), 0, 0, 0, 9},
        {"gain without a goal counts as it is", Gain, 0, MatchCapacity, 50, 5, 0, 0, 0, 5},
        {"SWR at its goal", Swr, 1.5, MatchCapacity, 50, 0, 1.5, 0, 0, -0.5},
        {"SWR below its goal", Swr, 1.5, MatchCapacity, 50, 0, 1.4f, 0, 0, -(1.5 - 0.05 * 0.1)},
        // A feed without resistance is scored, not divided by.
        {"match without resistance", Match, 0, MatchCapacity, 50, 0, 0, 0, 10, 0.02 * -10},
        // Below Z0 the series element must bring X to R sqrt(Z0/R - 1): +25
        // at 50 ohms, +43.3 at 100 ohms; a capacity lowers X, a hairpin raises it.
        {"capacity at 50 ohms", Match, 0, MatchCapacity, 50, 0, 0, 25, 10, 0.02 * -15},
        {"hairpin at 50 ohms", Match, 0, MatchHairpin, 50, 0, 0, 25, 10, 0.02 * -35},
        {"capacity at 100 ohms", Match, 0, MatchCapacity, 100, 0, 0, 25, 10, 0.02 * -(25 * std::sqrt(3.0) - 10)},
        {"hairpin at 100 ohms", Match, 0, MatchHairpin, 100, 0, 0, 25, 10, 0.02 * -(25 * std::sqrt(3.0) + 10)},
    };
    for (const auto& c : cases) {
        OptimizerFixture f;
        f.Cal->SetGoals(c.term == Gain, 0, 0, c.term == Swr, 0, c.term == Match, 0);
        f.Cal->GainGoal = c.goal;
        f.Cal->SWRGoal = c.goal;
        f.Cal->MatchKind = c.matchKind;
        f.Env.Z0R = c.z0;
        ResultRow row;
        row.Ga = c.ga;
        row.SWR = c.swr;
        row.R = c.r;
        row.jX = c.jx;
        EXPECT_NEAR(f.Cal->Score(row, Results), c.score, 1e-6) << c.what;
    }
}
