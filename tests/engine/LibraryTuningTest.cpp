// The BLAS kernel and the OpenMP waiting are chosen before the libraries
// load, from what the CPU supports, and a user's own setting wins.
#include "engine/LibraryTuning.h"

#include <gtest/gtest.h>
#include <omp.h>
#include <unistd.h>

#include <cctype>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

std::string Lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

TEST(LibraryTuning, PicksTheWidestKernelTheCpuCanRun) {
    CpuVectorUnits none;
    CpuVectorUnits avx2 = none;
    avx2.avx2 = avx2.fma = true;
    CpuVectorUnits avx2NoFma = avx2;
    avx2NoFma.fma = false;
    CpuVectorUnits avx512 = avx2;
    avx512.avx512f = avx512.avx512vl = avx512.avx512bw = avx512.avx512dq = avx512.avx512cd = true;
    CpuVectorUnits avx512FoundationOnly = avx2;  // as on the first AVX-512 chips, without VL, BW and DQ
    avx512FoundationOnly.avx512f = avx512FoundationOnly.avx512cd = true;
    const struct {
        const char* what;
        CpuVectorUnits cpu;
        const char* kernel;
    } cases[] = {{"nothing wide", none, nullptr},
                 {"AVX2 without FMA", avx2NoFma, nullptr},
                 {"AVX2 and FMA", avx2, "Haswell"},
                 {"AVX-512 foundation only", avx512FoundationOnly, "Haswell"},
                 {"AVX-512", avx512, "SkylakeX"}};
    for (const auto& c : cases) {
        const char* got = BlasCoreTypeFor(c.cpu);
        EXPECT_STREQ(got ? got : "", c.kernel ? c.kernel : "") << c.what;
    }
}

// Reports this process's choices for the tests that start it again.
TEST(LibraryTuning, DISABLED_ReportForParent) {
    const char* wait = std::getenv("OMP_WAIT_POLICY");
    std::printf("\nkernel=%s omp_wait_env=%s marker=%s\n", BlasKernelName(), wait ? wait : "-",
                std::getenv("KORVA_LIBRARY_TUNING") ? "set" : "-");
    omp_display_env(0);
    std::fflush(stdout);
}

// Starts this test program with extra environment settings and returns
// what the report above printed (both streams).
std::string ReportOfChild(const std::string& environment) {
    char self[PATH_MAX];
    const ssize_t len = readlink("/proc/self/exe", self, sizeof self - 1);
    if (len <= 0) return "";
    self[len] = '\0';
    const std::string command = "env " + environment + " '" + self +
                                "' --gtest_also_run_disabled_tests --gtest_filter=LibraryTuning.DISABLED_ReportForParent"
                                " 2>&1";
    std::string out;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[512];
        while (std::fgets(buffer, sizeof buffer, pipe)) out += buffer;
        pclose(pipe);
    }
    return out;
}

TEST(LibraryTuning, ThisProgramRunsTheChosenKernelAndPassiveWaiting) {
    const char* chosen = BlasCoreTypeFor(DetectCpuVectorUnits());
    if (!chosen) GTEST_SKIP() << "no kernel to choose on this CPU; the library keeps its own";
    // Started without the user's settings, the choices are applied and the
    // added settings removed from the environment again.
    const std::string out = ReportOfChild("-u OPENBLAS_CORETYPE -u OMP_WAIT_POLICY -u GOMP_SPINCOUNT");
    EXPECT_NE(Lower(out).find("kernel=" + Lower(chosen) + " "), std::string::npos) << out;
    EXPECT_NE(out.find("OMP_WAIT_POLICY = 'PASSIVE'"), std::string::npos) << out;
    EXPECT_NE(out.find("omp_wait_env=- marker=-"), std::string::npos) << out;
    if (!std::getenv("OPENBLAS_CORETYPE")) {
        EXPECT_EQ(Lower(BlasKernelName()), Lower(chosen));
    }
}

TEST(LibraryTuning, TheUsersOwnSettingsWin) {
    // Every x86-64 CPU runs the Prescott kernel.
    const std::string out = ReportOfChild("OPENBLAS_CORETYPE=Prescott OMP_WAIT_POLICY=active");
    EXPECT_NE(out.find("kernel=Prescott omp_wait_env=active marker=-"), std::string::npos) << out;
    EXPECT_NE(out.find("OMP_WAIT_POLICY = 'ACTIVE'"), std::string::npos) << out;
}

}  // namespace
