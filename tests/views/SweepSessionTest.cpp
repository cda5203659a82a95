// The sweep's engine runs on a real dipole: speculation, all points, the
// frequency plan, the match point and what closing puts back.
#include "SweepFixture.h"

#include <cmath>

#include "views/SweepSession.h"

TEST_F(SweepFixture, SpeculationRunsTheNeighbourTowardsResonanceAndFits) {
    StartAt(14.2);
    SweepSession s(Host());
    s.Open();
    EXPECT_EQ(s.Sweep.Count, 1);   // one point: no fit yet
    int rows = Results.RowCount;
    double x = Results.Sweep.Points[2].X;
    s.Speculate();
    EXPECT_TRUE(s.Computed);
    int neighbour = x < 0 ? 3 : 1;
    EXPECT_EQ(Results.Sweep.Points[neighbour].State, SweepComputed);
    EXPECT_EQ(Results.RowCount, rows + 1);   // the centre was computed already
    EXPECT_EQ(s.Sweep.Count, 5);
    EXPECT_GT(s.Fit.F0, 13.0);
    EXPECT_LT(s.Fit.F0, 16.0);
    // Filled points keep State 0 and lie on the fitted curve.
    EXPECT_EQ(s.Sweep.Points[0].State, SweepNotComputed);
    EXPECT_NE(s.Sweep.Points[0].X, 0.0);
    EXPECT_EQ(Results.Sweep.Points[0].X, 0.0);   // the store keeps only computed values
}

// A point whose preparation is refused or whose engine run fails is left
// uncomputed (out of the fit) and is run again next time.
TEST_F(SweepFixture, FailedPointsStayUncomputedAndAreRunAgain) {
    for (bool* failure : {&refuseAbove, &failRunAbove}) {
        SetUp();
        StartAt(14.2);
        *failure = true;
        refuseFreq = 14.2;
        SweepSession s(Host());
        s.Open();
        s.AllPoints();
        EXPECT_EQ(Results.Sweep.Points[0].State, SweepComputed);
        EXPECT_EQ(Results.Sweep.Points[1].State, SweepComputed);
        EXPECT_EQ(Results.Sweep.Points[3].State, SweepNotComputed);
        EXPECT_EQ(Results.Sweep.Points[4].State, SweepNotComputed);
        EXPECT_EQ(JobDef.Busy, 0);
        // The fit is made of the good points only: no zero impedance in it.
        EXPECT_GT(s.Sweep.Points[4].R, 1.0);
        *failure = false;
        s.AllPoints();
        EXPECT_EQ(Results.Sweep.Points[4].State, SweepComputed);
        EXPECT_NE(Results.Sweep.Points[4].R, 0.0);
        s.Close();
    }
}

TEST_F(SweepFixture, WidthChangeKeepsKnownFrequenciesAndRefusesSmallWidths) {
    StartAt(14.2);
    SweepSession s(Host());
    s.Open();
    s.AllPoints();
    EXPECT_FALSE(s.SetWidth("3"));
    EXPECT_FALSE(s.SetWidth("abc"));
    double bw = Results.Sweep.BW;
    EXPECT_FALSE(s.SetWidth(std::to_string(static_cast<int>(std::lround(bw * 1000)))));
    // Half the width: points 1 and 3 land where old dots... and the centre stays.
    ASSERT_TRUE(s.SetWidth("4"));
    EXPECT_DOUBLE_EQ(Results.Sweep.Step, 0.001);
    EXPECT_EQ(Results.Sweep.Points[2].State, SweepComputed);
    EXPECT_EQ(Results.Sweep.Points[0].State, SweepNotComputed);
    EXPECT_NEAR(Results.Sweep.Points[1].F, 14.199, 1e-9);
}

TEST_F(SweepFixture, MatchOnAComputedPointNeedsNoRunAndGivesSwrOne) {
    StartAt(14.2);
    JobDef.MatchMode = 1;
    SweepSession s(Host());
    s.Open();
    s.AllPoints();
    int before = prepares;
    s.CalcMatchPoint();
    EXPECT_EQ(prepares, before);
    const SweepPoint& c = Results.Sweep.Points[2];
    EXPECT_EQ(s.MatchPoint.F, c.F);
    EXPECT_NEAR(s.MatchedSwr(c.R, c.X, c.F), 1.0, 1e-3);
    double r = c.R, x = c.X;
    JobDef.MatchMode = 2;
    s.MatchedZ(r, x, c.F);
    EXPECT_NEAR(r, EnvDef.Z0R, 1e-3);
    EXPECT_NEAR(x, 0.0, 1e-3);
}

TEST_F(SweepFixture, ClosingPutsBackFrequencyAndLatestResults) {
    StartAt(14.2);
    ant->CalcFreq = 14.2;
    ResultRow latest = *Results.Row(0);
    {
        SweepSession idle(Host());
        idle.Open();
        idle.MatchFreq = Results.Sweep.Match.F;
        EXPECT_FALSE(idle.Close());
        EXPECT_EQ(Results.RowCount, 1);
    }
    SweepSession s(Host());
    s.Open();
    s.MatchFreq = Results.Sweep.Match.F;
    s.AllPoints();
    EXPECT_NE(ant->CalcFreq, 14.2);
    int rows = Results.RowCount;
    EXPECT_TRUE(s.Close());
    EXPECT_EQ(ant->CalcFreq, 14.2);
    EXPECT_EQ(Results.RowCount, rows + 1);
    EXPECT_EQ(Results.Row(0)->F, latest.F);
    EXPECT_EQ(Results.Row(0)->R, latest.R);
}

TEST_F(SweepFixture, ResonanceSearchMovesTheCentreOntoResonance) {
    StartAt(13.6);
    SweepSession s(Host());
    s.Open();
    std::string width;
    s.ResonanceSearch(width);
    EXPECT_FALSE(width.empty());
    const SweepTable& t = Results.Sweep;
    // Within the tolerance of the search, or a centre reactance below 0.1 ohm.
    bool settled = std::fabs(s.Fit.F0 - t.F0) < 0.001 * t.F0 || std::fabs(t.Points[2].X) < 0.1;
    EXPECT_TRUE(settled) << s.Fit.F0 << " " << t.F0;
    EXPECT_LT(std::fabs(t.Points[2].X), 10.0);
}
