// The fill, the factorization and the far field must give what direct
// evaluation and plain elimination give, whatever the number of threads.
#include "EngineTestSupport.h"
#include "PlainElimination.h"

#include "engine/CalcRuns.h"
#include "engine/LuFactor.h"
#include "engine/MatrixFill.h"
#include "engine/ModelPrep.h"
#include "engine/Solve.h"
#include "model/ResultStore.h"

#include <gtest/gtest.h>
#include <omp.h>

#include <cmath>

namespace {

// Joined wires, a ground contact, a thick and a thin radius, and graded
// segmentation: every path of the fill.
TestAntenna Structure() {
    TestAntenna a(14.15);
    a.Wire(0, 0, 0, 0, 0, 5, 0.02, 6)          // grounded mast, thick
        .Wire(0, 0, 5, 4, 0, 6, 0.001, 7)      // joined at the top
        .Wire(0, 0, 5, -4, 1, 6, 0.001, -1)    // joined, graded
        .Wire(4, 0, 6, 4, 3, 6, 0.0001, 5)     // joined at the far end
        .Source("w1b")
        .Source("w4c", 0.5, 30);
    return a;
}

Matrix CopyMatrix() {
    const int n = Engine.PulseCount;
    Matrix m(static_cast<std::size_t>(n) * n);
    for (int i = 1; i <= n; ++i)
        for (int j = 1; j <= n; ++j) m[(i - 1) * n + (j - 1)] = Engine.MatrixAt(i, j);
    return m;
}

struct RunResult {
    ResultRow row;
    std::vector<float> azCut;
};

RunResult RunWithThreads(AntDef* ant, int threads) {
    const int saved = omp_get_max_threads();
    omp_set_num_threads(threads);
    Results.PushRow();
    EXPECT_TRUE(PrepareAndRun(ant));
    omp_set_num_threads(saved);
    return RunResult{*Results.Row(0), std::vector<float>(Results.AzCut[PolTotal], Results.AzCut[PolTotal] + 360)};
}

}  // namespace

TEST(FillAndSolve, FillEqualsDirectEvaluation) {
    for (int ground : {0, 1}) {
        ResetEngineWorld(ground, 0.0);
        TestAntenna a = Structure();
        ASSERT_EQ(PrepareModel(a.ant.get()), 1);
        FillMatrix();
        const int n = Engine.PulseCount;
        ASSERT_GT(n, 30);
        for (int i = 1; i <= n; ++i)
            for (int j = 1; j <= n; ++j) {
                const ComplexF direct = MatrixEntryDirect(i, j);
                ASSERT_EQ(Engine.MatrixAt(i, j), direct) << "entry " << i << "," << j << " ground " << ground;
            }
    }
}

TEST(FillAndSolve, ParallelFillEqualsDirectEvaluation) {
    ResetEngineWorld(GroundPerfect, 2.0);
    TestAntenna a(14.15);
    a.Wire(0, -5, 0, 0, 5, 0, 0.001, 120).Wire(0, 5, 0, 3, 5, 1, 0.001, 120).Source("w1c");
    ASSERT_EQ(PrepareModel(a.ant.get()), 1);
    FillMatrix();
    const int n = Engine.PulseCount;
    ASSERT_GT(n, 200);
    for (int i = 1; i <= n; i += 7)
        for (int j = 1; j <= n; j += 3) ASSERT_EQ(Engine.MatrixAt(i, j), MatrixEntryDirect(i, j)) << i << "," << j;
}

TEST(FillAndSolve, RealGroundFillsAsPerfectGround) {
    ResetEngineWorld(GroundPerfect, 3.0);
    TestAntenna a = Structure();
    ASSERT_EQ(PrepareModel(a.ant.get()), 1);
    FillMatrix();
    const Matrix perfect = CopyMatrix();
    ResetEngineWorld(GroundReal, 3.0);
    EnvDef.MediaMax = 2;
    EnvDef.Coord[0] = 10.0;
    ASSERT_EQ(PrepareModel(a.ant.get()), 1);
    FillMatrix();
    EXPECT_TRUE(CopyMatrix() == perfect);
}

TEST(FillAndSolve, GroundContactPulseHasNoImageTerm) {
    // The contact pulse carries its own image half: its column is the same
    // with and without the image pass, while other columns change.
    ResetEngineWorld(GroundPerfect, 0.0);
    TestAntenna a(14.15);
    a.Wire(0, 0, 0, 0, 0, 5, 0.001, 6).Source("w1b");
    ASSERT_EQ(PrepareModel(a.ant.get()), 1);
    ASSERT_EQ(Engine.Halves[1].First, -Engine.Halves[1].Second);
    FillMatrix();
    const ComplexF contactColumn = Engine.MatrixAt(3, 1);
    const ComplexF otherColumn = Engine.MatrixAt(3, 2);
    Engine.GroundFlag = 1;  // the same pulses without the image pass
    FillMatrix();
    EXPECT_EQ(Engine.MatrixAt(3, 1), contactColumn);
    EXPECT_NE(Engine.MatrixAt(3, 2), otherColumn);
}

TEST(FillAndSolve, BlockedFactorizationMatchesPlainEliminationOnAnAntenna) {
    // A Yagi over ground.
    ResetEngineWorld(GroundPerfect, 12.0);
    TestAntenna a(14.15);
    const double half[3] = {5.35, 5.08, 4.83};
    const double boom[3] = {-3.2, 0.0, 3.6};
    for (int e = 0; e < 3; ++e) a.Wire(boom[e], -half[e], 0, boom[e], half[e], 0, 0.0125, 41);
    a.Source("w2c");
    ASSERT_EQ(PrepareModel(a.ant.get()), 1);
    FillMatrix();
    const int n = Engine.PulseCount;
    Matrix plain = CopyMatrix();
    const Matrix original = plain;
    std::vector<int> plainPivot;
    PlainFactor(plain, n, plainPivot);
    SetLuPanelWidth(8);
    FactorMatrix();
    SetLuPanelWidth(0);
    for (int i = 1; i < n; ++i) EXPECT_EQ(Engine.PivotRows[i], plainPivot[i - 1] + 1) << "step " << i;
    // The antenna's own excitation through both sets of factors. Antenna
    // matrices are far from perfectly conditioned: single precision solves
    // them to a few 1e-4, so the blocked solution must be as close to the
    // double-precision one as plain elimination is, and both close to it.
    ExciteAndSolve();
    std::vector<LuComplex> rhs(n, LuComplex(0, 0));
    const int feed = Engine.Sources[1].Pulse;
    rhs[feed - 1] = LuComplex(0.0f, -1.0f / Engine.MatrixScale);
    std::vector<LuComplex> x = rhs;
    PlainSolve(plain, n, plainPivot, x);
    const std::vector<LuComplex> blocked(&Engine.Currents[1], &Engine.Currents[1] + n);
    const auto exact = DoubleSolve(original, n, rhs);
    const double plainError = RelativeError(x, exact);
    const double blockedError = RelativeError(blocked, exact);
    EXPECT_LT(plainError, 1e-3);
    EXPECT_LE(blockedError, 1.5 * plainError + 1e-6);
}

TEST(FillAndSolve, ThreadCountChangesNothingBeyondRounding) {
    ResetEngineWorld(GroundReal, 5.0);
    TestAntenna a(14.15);
    // Big enough for the parallel fill and far field.
    a.Wire(0, -5, 0, 0, 5, 0, 0.001, 150).Wire(2, -5, 0, 2, 5, 0, 0.001, 150).Source("w1c");
    const RunResult one = RunWithThreads(a.ant.get(), 1);
    const RunResult all = RunWithThreads(a.ant.get(), std::max(4, omp_get_num_procs()));
    EXPECT_NEAR(all.row.R, one.row.R, 1e-5f * std::fabs(one.row.R));
    EXPECT_NEAR(all.row.jX, one.row.jX, 1e-5f * std::fabs(one.row.R));
    EXPECT_NEAR(all.row.Ga, one.row.Ga, 1e-4f);
    EXPECT_NEAR(all.row.FB, one.row.FB, 1e-3f);
    for (int i = 0; i < 360; ++i) EXPECT_NEAR(all.azCut[i], one.azCut[i], 1e-3f) << "azimuth " << i;
}
