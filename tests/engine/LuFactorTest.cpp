// The blocked factorization must follow plain Gaussian elimination with the
// engine's pivot rule step for step: same pivots, same solution.
#include "engine/EngineError.h"
#include "engine/LuFactor.h"
#include "PlainElimination.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <random>
#include <vector>

namespace {


// Entries from a small set of Gaussian integers: many exact ties, and the
// elimination stays exact long enough for ties to survive several steps.
Matrix TieMatrix(int n, unsigned seed) {
    std::mt19937 gen(seed);
    std::uniform_int_distribution<int> pick(-1, 1);
    Matrix a(static_cast<std::size_t>(n) * n);
    for (auto& z : a) z = LuComplex(static_cast<float>(pick(gen)), static_cast<float>(pick(gen)));
    for (int i = 0; i < n; ++i) a[i * n + i] += LuComplex(0.0f, 0.5f);  // keep it regular
    return a;
}

// Random entries plus a strong entry per row at a shuffled column: pivoting
// is needed at every step, yet the matrix is well conditioned (as antenna
// matrices are), so both solutions must agree closely.
Matrix RandomMatrix(int n, unsigned seed) {
    std::mt19937 gen(seed);
    std::uniform_real_distribution<float> pick(-1.0f, 1.0f);
    Matrix a(static_cast<std::size_t>(n) * n);
    for (auto& z : a) z = LuComplex(pick(gen), pick(gen));
    std::vector<int> column(n);
    for (int i = 0; i < n; ++i) column[i] = i;
    std::shuffle(column.begin(), column.end(), gen);
    const float strong = 2.0f * std::sqrt(static_cast<float>(n));
    for (int i = 0; i < n; ++i) a[i * n + column[i]] += LuComplex(strong, -strong);
    return a;
}

struct PanelWidthGuard {
    explicit PanelWidthGuard(int w) { SetLuPanelWidth(w); }
    ~PanelWidthGuard() { SetLuPanelWidth(0); }
};

// The program takes no more threads than other processes leave cores free,
// so on a busy machine it would factor alone and a race among the team's
// threads would pass unseen: the shared factorizations below run on teams
// of these sizes whatever the load (odd sizes leave tiles over), and each
// checks it had its team.
constexpr std::initializer_list<int> TeamSizes = {2, 3, 5, 8};

struct TeamSizeGuard {
    explicit TeamSizeGuard(int threads) { SetLuTeamSize(threads); }
    ~TeamSizeGuard() { SetLuTeamSize(0); }
};

// The blocked factorization on each of the teams (0: as many threads as
// the program takes) against plain elimination.
void ExpectSameAsPlain(const Matrix& original, int n, std::initializer_list<int> teams = {0}) {
    Matrix plain = original;
    std::vector<int> plainPivot;
    PlainFactor(plain, n, plainPivot);
    std::vector<LuComplex> x1(n);
    for (int i = 0; i < n; ++i) x1[i] = LuComplex(static_cast<float>(i % 7) - 3.0f, 1.0f);
    std::vector<LuComplex> x2 = x1;
    PlainSolve(plain, n, plainPivot, x1);

    for (int team : teams) {
        TeamSizeGuard threads(team);
        Matrix blocked = original;
        std::vector<int> blockedPivot(n);
        LuFactor(blocked.data(), n, n, blockedPivot.data());
        if (team > 0) {
            EXPECT_EQ(LastLuTeamSize(), team) << "n " << n;
        }
        ASSERT_EQ(plainPivot, blockedPivot) << team << " threads";
        std::vector<LuComplex> x = x2;
        LuSolve(blocked.data(), n, n, blockedPivot.data(), x.data());
        double diff = 0.0, norm = 0.0;
        for (int i = 0; i < n; ++i) {
            diff += std::norm(x1[i] - x[i]);
            norm += std::norm(x1[i]);
        }
        EXPECT_LE(std::sqrt(diff), 1e-5 * std::sqrt(norm)) << team << " threads";
    }
}

}  // namespace

TEST(LuFactor, TiesGiveThePivotsOfPlainElimination) {
    for (int width : {1, 3, 8, 16}) {
        PanelWidthGuard guard(width);
        for (unsigned seed = 1; seed <= 6; ++seed) ExpectSameAsPlain(TieMatrix(24, seed), 24);
    }
}

TEST(LuFactor, OnATieTheLaterRowIsTaken) {
    // Column 1 holds three entries of equal magnitude: the last one wins.
    const int n = 3;
    Matrix a = {LuComplex(1, 0), LuComplex(2, 0), LuComplex(0, 1),
                LuComplex(0, 1), LuComplex(1, 1), LuComplex(3, 0),
                LuComplex(-1, 0), LuComplex(5, 0), LuComplex(1, 2)};
    std::vector<int> pivot(n);
    LuFactor(a.data(), n, n, pivot.data());
    EXPECT_EQ(pivot[0], 2);
}

TEST(LuFactor, RandomMatricesAcrossPanelBorders) {
    for (int width : {4, 32, 0}) {
        PanelWidthGuard guard(width);
        for (int n : {1, 2, 31, 100, 200}) ExpectSameAsPlain(RandomMatrix(n, 100u + n), n);
    }
}

TEST(LuFactor, SingularMatrixThrows) {
    const int n = 40;
    Matrix a = RandomMatrix(n, 7);
    for (int c = 0; c < n; ++c) a[5 * n + c] = a[9 * n + c];  // two equal rows
    for (int c = 0; c < n; ++c) a[11 * n + c] = LuComplex(0, 0);
    std::vector<int> pivot(n);
    EXPECT_THROW(LuFactor(a.data(), n, n, pivot.data()), EngineError);
}

TEST(LuFactor, NonFiniteEntryThrows) {
    const int n = 20;
    Matrix a = RandomMatrix(n, 8);
    a[3 * n + 3] = LuComplex(std::numeric_limits<float>::infinity(), 0.0f);
    std::vector<int> pivot(n);
    EXPECT_THROW(LuFactor(a.data(), n, n, pivot.data()), EngineError);
}

TEST(LuFactor, SharedAmongThreadsLikePlainElimination) {
    // Large enough for the work to be shared among threads: several panels,
    // the look-ahead, the blocked update and the deferred exchanges (in
    // column blocks that panels of 24 do not divide) all take part; wide
    // panels are halved near the end, so 128 mixes two widths, and a team's
    // tiles are narrower than 192, so two strips of them go first.
    const struct {
        int width, n;
    } cases[] = {{16, 400}, {16, 533}, {24, 400}, {24, 533}, {0, 400}, {0, 533}, {128, 900}, {192, 1100}};
    for (const auto& c : cases) {
        PanelWidthGuard guard(c.width);
        ExpectSameAsPlain(RandomMatrix(c.n, 300u + c.n), c.n, TeamSizes);
    }
}

TEST(LuFactor, ThreadCountChangesOnlyRounding) {
    const int n = 600;
    const Matrix original = RandomMatrix(n, 41);
    Matrix single = original;
    std::vector<int> singlePivot(n), sharedPivot(n);
    {
        TeamSizeGuard alone(1);
        LuFactor(single.data(), n, n, singlePivot.data());
    }
    for (int team : TeamSizes) {
        TeamSizeGuard threads(team);
        Matrix shared = original;
        LuFactor(shared.data(), n, n, sharedPivot.data());
        EXPECT_EQ(LastLuTeamSize(), team);
        EXPECT_EQ(singlePivot, sharedPivot) << team << " threads";
        double diff = 0.0, norm = 0.0;
        for (std::size_t i = 0; i < original.size(); ++i) {
            diff += std::norm(single[i] - shared[i]);
            norm += std::norm(single[i]);
        }
        EXPECT_LE(std::sqrt(diff), 1e-6 * std::sqrt(norm)) << team << " threads";
    }
}

TEST(LuFactor, SingularMatrixThrowsWhenShared) {
    // The zero pivot turns up in a panel factored beside the tiled update.
    const int n = 450;
    Matrix a = RandomMatrix(n, 9);
    for (int c = 0; c < n; ++c) a[300 * n + c] = a[200 * n + c];
    for (int c = 0; c < n; ++c) a[301 * n + c] = LuComplex(0, 0);
    std::vector<int> pivot(n);
    PanelWidthGuard guard(32);
    for (int team : TeamSizes) {
        TeamSizeGuard threads(team);
        Matrix failing = a;
        EXPECT_THROW(LuFactor(failing.data(), n, n, pivot.data()), EngineError);
        EXPECT_EQ(LastLuTeamSize(), team);
        // The next factorization starts clean.
        Matrix b = RandomMatrix(n, 10);
        EXPECT_NO_THROW(LuFactor(b.data(), n, n, pivot.data())) << team << " threads";
    }
}
