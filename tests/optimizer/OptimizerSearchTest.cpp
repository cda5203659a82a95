// The step search and its evaluation over bands, driven by a calculation
// that scores the antenna's height and frequency without the engine.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <functional>

#include "OptimizerTestSupport.h"
#include "model/WireGeometry.h"

namespace {

struct FakeHost : OptimizerHost {
    OptimizerFixture& F;
    std::function<double(const AntDef&, const EnvRec&)> Gain;
    int Calcs = 0;
    int FailAt = -1;     // the calculation that fails, 0-based
    int StopAt = -1;     // the calculation after which a stop is requested
    std::vector<std::string> Lines;
    int Clears = 0;

    explicit FakeHost(OptimizerFixture& f) : F(f) {}
    bool OptCalc() override {
        const int n = Calcs++;
        if (n == FailAt) return false;
        if (n == StopAt) JobDef.StopRequest = 1;
        ResultRow& row = *Results.Row(0);
        row = ResultRow{};
        row.Ga = static_cast<float>(Gain(*F.Ant, F.Env));
        row.SWR = 1;
        row.R = 50;
        Results.HasFarField = 1;
        return true;
    }
    void AddLogLine(const std::string& line) override { Lines.push_back(line); }
    void ClearLog() override { ++Clears; }
    void DrawOptInfo() override {}
};

struct SearchFixture : OptimizerFixture {
    FakeHost Host{*this};
    SearchFixture() {
        Results.RowCount = 0;
        Results.PushRow();
        Results.AngleStep = 2;
        JobDef.StopRequest = 0;
        JobDef.OptLog = 0;
        Cal->SetGoals(1, 0, 0, 0, 0, 0, 0);
        Cal->Bands[0].Freq = 14;
        Env.AntHeight = 3;
    }
    ~SearchFixture() {
        JobDef.StopRequest = 0;
        JobDef.OptLog = 0;
    }
    int HeightRow(double max, double min) {
        const int i = AddRow(KindHeight, 0, 0);
        Cal->Row(i).Max = max;
        Cal->Row(i).Min = min;
        Cal->Row(i).Step = 1;
        return i;
    }
};

}  // namespace

TEST(OptimizerSearch, ClimbsToTheBestHeightAndStaysThere) {
    SearchFixture f;
    f.Host.Gain = [](const AntDef&, const EnvRec& e) { return 10 - (e.AntHeight - 7) * (e.AntHeight - 7); };
    f.HeightRow(200, 0);
    ASSERT_TRUE(f.Cal->Prepare().Ok());
    EXPECT_TRUE(f.Cal->Optimize(f.Host));
    EXPECT_DOUBLE_EQ(f.Env.AntHeight, 7);
    EXPECT_DOUBLE_EQ(f.Cal->BestScore, 10);
    EXPECT_DOUBLE_EQ(f.Cal->BestResult.Row(0)->Ga, 10);
    EXPECT_GT(f.Cal->LogCount, 0);
}

TEST(OptimizerSearch, SimpleSweepRunsEachRowOverItsRangeAndRestoresIt) {
    SearchFixture f;
    f.Host.Gain = [](const AntDef&, const EnvRec& e) { return e.AntHeight; };
    f.Cal->GoalsOn = 0;
    f.HeightRow(6, 0);
    ASSERT_TRUE(f.Cal->Prepare().Ok());
    EXPECT_TRUE(f.Cal->Optimize(f.Host));
    EXPECT_EQ(f.Host.Calcs, 5);          // 3, 4, 5, then 2, 1
    EXPECT_EQ(f.Cal->LogCount, 5);
    EXPECT_DOUBLE_EQ(f.Env.AntHeight, 3);
    ACalLogEntry e;
    f.Cal->GetLogEntry(e, 0);
    EXPECT_DOUBLE_EQ(e.Values[0], 1);
    EXPECT_DOUBLE_EQ(e.Score, -0.1);
}

TEST(OptimizerSearch, ARowClampedBothWaysStaysAtItsStart) {
    SearchFixture f;
    f.Host.Gain = [](const AntDef&, const EnvRec& e) { return e.AntHeight; };
    f.Env.AntHeight = 5;
    f.HeightRow(5.5, 4.5);
    ASSERT_TRUE(f.Cal->Prepare().Ok());
    EXPECT_TRUE(f.Cal->Optimize(f.Host));
    EXPECT_EQ(f.Host.Calcs, 1);
    EXPECT_DOUBLE_EQ(f.Env.AntHeight, 5);
}

TEST(OptimizerSearch, BandScoresAddWithOrWithoutPriority) {
    for (int priority = 0; priority < 2; ++priority) {
        SearchFixture f;
        f.Host.Gain = [](const AntDef& a, const EnvRec&) { return a.CalcFreq; };
        f.Env.AntHeight = 5;
        f.HeightRow(5.5, 4.5);
        f.Cal->BandCount = 3;
        f.Cal->PriorityFirst = priority;
        const double freqs[3] = {14, 21, 28};
        for (int b = 0; b < 3; ++b) {
            f.Cal->Bands[b].Freq = freqs[b];
            CopyText(f.Cal->Bands[b].Sources[0].Pos, "w2e");
        }
        ASSERT_TRUE(f.Cal->Prepare().Ok());
        EXPECT_TRUE(f.Cal->Optimize(f.Host));
        EXPECT_EQ(f.Host.Calcs, 3);
        EXPECT_DOUBLE_EQ(f.Cal->BestScore, priority ? 14 + (21.0 + 28.0) / 3 : 14 + 21 + 28);
        EXPECT_DOUBLE_EQ(f.Ant->CalcFreq, 14);   // back on band 1
    }
}

TEST(OptimizerSearch, AStopBetweenBandsEndsBeforeTheRemainingBands) {
    SearchFixture f;
    f.Host.Gain = [](const AntDef& a, const EnvRec&) { return a.CalcFreq; };
    f.Host.StopAt = 0;
    f.HeightRow(200, 0);
    f.Cal->BandCount = 2;
    f.Cal->Bands[1].Freq = 21;
    ASSERT_TRUE(f.Cal->Prepare().Ok());
    EXPECT_FALSE(f.Cal->Optimize(f.Host));
    EXPECT_EQ(f.Host.Calcs, 1);
    EXPECT_DOUBLE_EQ(f.Env.AntHeight, 3);
}

TEST(OptimizerSearch, AFailedFirstCalculationKeepsTheStartValues) {
    SearchFixture f;
    f.Host.Gain = [](const AntDef&, const EnvRec& e) { return e.AntHeight; };
    f.Host.FailAt = 0;
    f.HeightRow(200, 0);
    ASSERT_TRUE(f.Cal->Prepare().Ok());
    EXPECT_FALSE(f.Cal->Optimize(f.Host));
    EXPECT_EQ(f.Cal->BestScore, -DBL_MAX);
    EXPECT_DOUBLE_EQ(f.Env.AntHeight, 3);
}

TEST(OptimizerSearch, AStartPointOfZerosIsCalculatedLikeAnyOther) {
    // Prepare stores the negated start values as the best point; all zeros
    // must not pass for a best point that was never scored.
    SearchFixture f;
    f.Host.Gain = [](const AntDef&, const EnvRec& e) { return -(e.AntHeight - 4) * (e.AntHeight - 4); };
    f.Env.AntHeight = 0;
    f.HeightRow(200, -1);
    ASSERT_TRUE(f.Cal->Prepare().Ok());
    EXPECT_TRUE(f.Cal->Optimize(f.Host));
    ACalLogEntry e;
    f.Cal->GetLogEntry(e, f.Cal->LogCount - 1);
    EXPECT_DOUBLE_EQ(e.Values[0], 0);
    EXPECT_DOUBLE_EQ(f.Env.AntHeight, 4);
}

TEST(OptimizerSearch, LogLinesShowEachPoint) {
    SearchFixture f;
    JobDef.OptLog = 1;
    f.Host.Gain = [](const AntDef&, const EnvRec& e) { return e.AntHeight; };
    f.Cal->GoalsOn = 0;
    f.HeightRow(6, 0);
    ASSERT_TRUE(f.Cal->Prepare().Ok());
    f.Cal->Optimize(f.Host);
    ASSERT_EQ(f.Host.Lines.size(), 6u);
    EXPECT_EQ(f.Host.Lines[0], "   Val  Para       R      jX    SWR   Ga    F/B   El");
    EXPECT_EQ(f.Host.Lines[1], " 1  1    3.0000   50.0    0.0   1.00  3.00  0.00  0.0 *");
    EXPECT_EQ(f.Host.Lines[2], " 2  1    4.0000   50.0    0.0   1.00  4.00  0.00  0.0  ");
}

TEST(OptimizerSearch, EveryCalculationSeesAWholeVariantAndAZeroStepEnds) {
    SearchFixture f;
    // The director's ends: Y2 free, Y1 = -Y2; a second free row without a step.
    const int y2 = f.AddRow(KindWire, 3, 2);
    const int y1 = f.AddRow(KindWire, 3, 0);
    f.Cal->Row(y1).Link = -2 - y2;
    f.Cal->Row(y2).Step = 0.25;
    const int still = f.AddRow(KindWire, 0, 1);
    f.Cal->Row(still).Step = 0;
    int whole = 0;
    f.Host.Gain = [&](const AntDef& a, const EnvRec&) {
        const WireRec& d = a.Wires[3];
        if (d.Y1 == -d.Y2 && d.Y2 == f.Cal->Row(y2).Value) ++whole;
        return -(d.Y2 - 5) * (d.Y2 - 5);
    };
    ASSERT_TRUE(f.Cal->Prepare().Ok());
    EXPECT_TRUE(f.Cal->Optimize(f.Host));
    EXPECT_GT(f.Host.Calcs, 2);
    EXPECT_LT(f.Host.Calcs, 40);
    EXPECT_EQ(whole, f.Host.Calcs);
    EXPECT_NEAR(f.Ant->Wires[3].Y2, 5, 0.1);
    EXPECT_DOUBLE_EQ(f.Ant->Wires[3].Y1, -f.Ant->Wires[3].Y2);
    EXPECT_DOUBLE_EQ(f.Ant->Wires[0].Z1, 10);
}

// The antenna a run leaves is the one its best point was calculated on, to
// the bit: its results belong to it. Setting the best values again from the
// last point instead rescales elements from other extents, which near a
// width of 0 lands elsewhere.
TEST(OptimizerSearch, TheRunEndsOnTheAntennaOfItsBestPoint) {
    SearchFixture f;
    auto width = [](const AntDef& a, int wire) { return a.Wires[wire].Y2 - a.Wires[wire].Y1; };
    double best = -DBL_MAX;
    std::vector<WireRec> wiresAtBest;
    f.Host.Gain = [&](const AntDef& a, const EnvRec&) {
        // The reflector as narrow as it gets, the director near 9 m.
        const double gain = -width(a, 0) - std::fabs(width(a, 3) - 9.0);
        if (gain > best) {
            best = gain;
            wiresAtBest.assign(a.Wires, a.Wires + a.WireCount);
        }
        return gain;
    };
    f.Cal->StepAbsolute = 0;
    f.AddRow(KindElement, 0, ElWidth);
    f.AddRow(KindElement, 2, ElWidth);
    ASSERT_TRUE(f.Cal->Prepare().Ok());
    EXPECT_TRUE(f.Cal->Optimize(f.Host));
    ASSERT_EQ(static_cast<int>(wiresAtBest.size()), f.Ant->WireCount);
    for (int i = 0; i < f.Ant->WireCount; ++i)
        EXPECT_TRUE(SameWireEnds(f.Ant->Wires[i], wiresAtBest[static_cast<std::size_t>(i)])) << "wire " << i + 1;
}

// A gain that rewards a narrower reflector drives its width toward 0: every
// point the run calculates keeps it at or above the smallest width the
// element table takes, whatever Min the row was given below that.
TEST(OptimizerSearch, ElementSizesStayAtOrAboveWhatTheElementTableTakes) {
    struct Case {
        const char* name;
        int stepAbsolute;
        double min;          // of the reflector's row; 0 is the default
        bool minFromRow;     // the lower limit is another row's value, below the smallest
    } cases[] = {
        {"default limits", 1, 0, false},
        {"percent steps", 0, 0, false},
        {"Min typed below the smallest", 1, -3, false},
        {"Min from a row below the smallest", 1, 0, true},
    };
    for (const Case& c : cases) {
        SearchFixture f;
        auto width = [](const AntDef& a, int wire) { return a.Wires[wire].Y2 - a.Wires[wire].Y1; };
        double narrowest = DBL_MAX;
        f.Host.Gain = [&](const AntDef& a, const EnvRec&) {
            narrowest = std::min(narrowest, width(a, 0));
            return -width(a, 0) - std::fabs(width(a, 3) - 9.0);
        };
        f.Cal->StepAbsolute = c.stepAbsolute;
        const int reflector = f.AddRow(KindElement, 0, ElWidth);
        f.Cal->SetValue(reflector, 9.0);
        f.AddRow(KindElement, 2, ElWidth);
        f.Cal->Row(reflector).Min = c.min;
        if (c.minFromRow) {
            f.Ant->Sources[0].Phase = -2;
            const int source = f.AddRow(KindSource, 0, 0);   // not searched
            f.Cal->Row(source).Step = 0;
            f.Cal->Row(reflector).MinFrom = LimitFromRow | source;
        }
        ASSERT_TRUE(f.Cal->Prepare().Ok()) << c.name;
        EXPECT_TRUE(f.Cal->Optimize(f.Host)) << c.name;
        EXPECT_GE(narrowest, MinElementSize) << c.name;
        EXPECT_LT(narrowest, 0.5) << c.name << ": the run went down toward the smallest";
        EXPECT_GE(width(*f.Ant, 0), MinElementSize) << c.name;
        for (int n = 0; n < f.Cal->LogCount; ++n) {
            ACalLogEntry e;
            f.Cal->GetLogEntry(e, n);
            EXPECT_GE(e.Values[reflector], MinElementSize) << c.name << ", logged point " << n;
        }
    }
}
