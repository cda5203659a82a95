// The BLAS kernel, the OpenMP waiting and the BLAS library's own threads
// are chosen before the libraries load, from what the CPU supports, and a
// user's own setting wins.
#include "EngineTestSupport.h"

#include "engine/LibraryTuning.h"
#include "model/ResultStore.h"
#include "model/TestFolder.h"

#include <cblas.h>
#include <dirent.h>
#include <gtest/gtest.h>
#include <omp.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

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

TEST(LibraryTuning, ForcesAKernelOnlyWhereTheLibraryFellBackToSse) {
    CpuVectorUnits avx2;
    avx2.avx2 = avx2.fma = true;
    CpuVectorUnits avx512 = avx2;
    avx512.avx512f = avx512.avx512vl = avx512.avx512bw = avx512.avx512dq = avx512.avx512cd = true;
    const struct {
        const char* library;
        CpuVectorUnits cpu;
        const char* forced;
    } cases[] = {{"Prescott", avx512, "SkylakeX"},   {"Nehalem", avx2, "Haswell"}, {"CORE2", avx2, "Haswell"},
                 {"Prescott", CpuVectorUnits{}, nullptr}, {"SkylakeX", avx512, nullptr}, {"Cooperlake", avx512, nullptr},
                 {"Haswell", avx512, nullptr},      {"Zen", avx2, nullptr},       {nullptr, avx512, nullptr}};
    for (const auto& c : cases) {
        const char* got = BlasCoreTypeToForce(c.library, c.cpu);
        EXPECT_STREQ(got ? got : "", c.forced ? c.forced : "") << (c.library ? c.library : "(none)");
    }
}

int ProcessThreads() {
    int count = 0;
    if (DIR* dir = opendir("/proc/self/task")) {
        while (const dirent* entry = readdir(dir))
            if (entry->d_name[0] != '.') ++count;
        closedir(dir);
    }
    return count;
}

// Reports this process's choices for the tests that start it again, and
// its threads after a calculation whose teams take every core.
TEST(LibraryTuning, DISABLED_ReportForParent) {
    const int atStart = ProcessThreads();  // OpenMP starts its threads at the first team
    ResetEngineWorld(0, 0.0, 1600);
    TestAntenna wire(14.15);
    wire.Wire(-5, 0, 10, 5, 0, 10, 0.001, 1537).Source("w1c");
    EXPECT_TRUE(PrepareAndRun(wire.ant.get()));
    std::printf("\nblas_threads=%d threads_at_start=%d process_threads=%d openmp_threads=%d\n",
                openblas_get_num_threads(), atStart, ProcessThreads(), omp_get_max_threads());
    const char* spin = std::getenv("GOMP_SPINCOUNT");
    char name[64] = "-";
    if (FILE* f = std::fopen("/proc/self/comm", "r")) {
        if (std::fgets(name, sizeof name, f)) name[std::strcspn(name, "\n")] = '\0';
        std::fclose(f);
    }
    std::printf("\nkernel=%s spin_env=%s marker=%s applied=%s comm=%s\n", BlasKernelName(), spin ? spin : "-",
                std::getenv("KORVA_LIBRARY_TUNING") ? "set" : "-", LibraryTuningApplied(), name);
    omp_display_env(1);  // verbose: the GOMP_ settings too
    std::fflush(stdout);
}

std::string SelfPath() {
    char self[PATH_MAX];
    const ssize_t len = readlink("/proc/self/exe", self, sizeof self - 1);
    if (len <= 0) return "";
    self[len] = '\0';
    return self;
}

// This process's environment with `changes` made: "NAME=value" sets NAME,
// "-NAME" removes it.
std::vector<std::string> ChangedEnvironment(const std::vector<std::string>& changes) {
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) env.emplace_back(*e);
    for (const std::string& change : changes) {
        const bool remove = change.starts_with("-");
        const std::string name = remove ? change.substr(1) : change.substr(0, change.find('='));
        std::erase_if(env, [&](const std::string& e) { return e.starts_with(name + "="); });
        if (!remove) env.push_back(change);
    }
    return env;
}

// The file a program name without a folder starts, looked up on `path`.
std::string FoundOnPath(const std::string& program, const std::string& path) {
    if (program.find('/') != std::string::npos) return program;
    std::size_t from = 0;
    for (std::size_t to; from <= path.size(); from = to + 1) {
        to = std::min(path.find(':', from), path.size());
        const std::string file = path.substr(from, to - from) + "/" + program;
        if (access(file.c_str(), X_OK) == 0) return file;
    }
    return program;
}

// Starts this test program (or the program named, looked up on the child's
// PATH when it names no folder, and started under that name) with the
// environment changed as ChangedEnvironment says, and returns what the report
// above printed (both streams). No shell: names and folders pass as they are.
std::string ReportOfChild(const std::vector<std::string>& changes, const std::string& program = SelfPath()) {
    const std::vector<std::string> env = ChangedEnvironment(changes);
    std::string path;
    for (const std::string& e : env)
        if (e.starts_with("PATH=")) path = e.substr(5);
    std::vector<std::string> args = {program, "--gtest_also_run_disabled_tests",
                                     "--gtest_filter=LibraryTuning.DISABLED_ReportForParent"};
    auto pointers = [](std::vector<std::string>& texts) {
        std::vector<char*> p;
        for (std::string& t : texts) p.push_back(t.data());
        p.push_back(nullptr);
        return p;
    };
    std::vector<std::string> envTexts = env;
    std::vector<char*> argv = pointers(args), envp = pointers(envTexts);

    int out[2];
    if (pipe(out) != 0) return "";
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_adddup2(&actions, out[1], 2);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    pid_t child = 0;
    const int started = posix_spawn(&child, FoundOnPath(program, path).c_str(), &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    std::string report;
    char buffer[512];
    for (ssize_t n; (n = read(out[0], buffer, sizeof buffer)) > 0;) report.append(buffer, static_cast<std::size_t>(n));
    close(out[0]);
    if (started == 0) waitpid(child, nullptr, 0);
    return report;
}

// A thread count of the user's leaves the library one thread, so that the
// program has nothing to bound: it goes too.
const std::vector<std::string> NoUserSettings = {"-OPENBLAS_CORETYPE",    "-OMP_WAIT_POLICY",  "-GOMP_SPINCOUNT",
                                                  "-OPENBLAS_NUM_THREADS", "-GOTO_NUM_THREADS", "-OMP_NUM_THREADS"};

int NumberAfter(const std::string& text, const std::string& key) {
    const std::size_t at = text.find(key);
    return at == std::string::npos ? -1 : std::atoi(text.c_str() + at + key.size());
}

std::vector<std::string> With(std::vector<std::string> changes, const std::string& more) {
    changes.push_back(more);
    return changes;
}

std::string WordAfter(const std::string& text, const std::string& key) {
    const std::size_t at = text.find(key);
    if (at == std::string::npos) return "";
    const std::size_t from = at + key.size();
    return text.substr(from, text.find_first_of(" \n", from) - from);
}

// The settings a child applied, less the kernel it forces where the library
// fell back to SSE on this CPU: that one only where the CPU's widest kernel
// is what it forces, so the rest reads alike on every machine.
std::string AppliedBesideForcedKernel(const std::string& out) {
    std::string list = WordAfter(out, "applied=");
    const std::string key = "OPENBLAS_CORETYPE=";
    if (list.rfind(key, 0) != 0) return list;
    const std::size_t end = list.find(',');
    const char* widest = BlasCoreTypeFor(DetectCpuVectorUnits());
    EXPECT_STREQ(list.substr(key.size(), end - key.size()).c_str(), widest ? widest : "") << out;
    return end == std::string::npos ? "" : list.substr(end + 1);
}

TEST(LibraryTuning, ThisProgramBoundsTheSpinningAndKeepsAWideKernel) {
    // Started without the user's settings, the spin count is applied and the
    // added settings removed from the environment again; a kernel is forced
    // only where the library fell back to SSE.
    const std::string out = ReportOfChild(NoUserSettings);
    EXPECT_NE(out.find(std::string("GOMP_SPINCOUNT = '") + OpenMpSpinCount + "'"), std::string::npos) << out;
    EXPECT_NE(out.find("spin_env=- marker=- applied="), std::string::npos) << out;
    EXPECT_EQ(AppliedBesideForcedKernel(out).rfind("GOMP_SPINCOUNT=", 0), 0u) << out;
    const CpuVectorUnits cpu = DetectCpuVectorUnits();
    const std::string programsChoice = WordAfter(out, "kernel=");
    if (BlasCoreTypeFor(cpu)) {
        EXPECT_FALSE(programsChoice.empty() || IsSseFallbackKernel(programsChoice.c_str())) << out;
    }
    // This test program runs whatever kernel the environment it was started
    // in names (any kernel, SSE too), else the program's own choice.
    const char* pinned = std::getenv("OPENBLAS_CORETYPE");
    if (pinned && *pinned) {
        EXPECT_STRCASEEQ(BlasKernelName(), pinned);
    } else {
        EXPECT_EQ(BlasKernelName(), programsChoice);
    }
}

TEST(LibraryTuning, NoBlasThreadRunsBesideTheEngine) {
    // The library starts no thread of its own, neither as it loads nor for
    // a calculation: the process holds its OpenMP team and nothing more.
    const std::string out = ReportOfChild(NoUserSettings);
    EXPECT_NE(out.find("OPENBLAS_NUM_THREADS=1"), std::string::npos) << out;
    EXPECT_EQ(NumberAfter(out, "blas_threads="), 1) << out;
    EXPECT_EQ(NumberAfter(out, "threads_at_start="), 1) << out;
    const int team = NumberAfter(out, "openmp_threads=");
    ASSERT_GT(team, 0) << out;
    EXPECT_LE(NumberAfter(out, "process_threads="), team) << out;
}

TEST(LibraryTuning, TheUsersOwnSettingsWinAndNeedNoRestart) {
    // Every x86-64 CPU runs the Prescott kernel.
    std::string out = ReportOfChild({"OPENBLAS_CORETYPE=Prescott", "OMP_WAIT_POLICY=active", "OPENBLAS_NUM_THREADS=2"});
    EXPECT_NE(out.find("kernel=Prescott spin_env=- marker=- applied= "), std::string::npos) << out;
    EXPECT_NE(out.find("OMP_WAIT_POLICY = 'ACTIVE'"), std::string::npos) << out;
    EXPECT_EQ(NumberAfter(out, "blas_threads="), 2) << out;
    out = ReportOfChild({"-OPENBLAS_CORETYPE", "-OMP_WAIT_POLICY", "GOMP_SPINCOUNT=1234", "GOTO_NUM_THREADS=2"});
    EXPECT_NE(out.find("spin_env=1234 marker=- applied="), std::string::npos) << out;
    EXPECT_EQ(AppliedBesideForcedKernel(out), "") << out;
}

TEST(LibraryTuning, TheRestartedProgramKeepsTheNameItWasStartedBy) {
    // Through a symbolic link of another name, by its path and found on PATH.
    const TestFolder dir("korva-tuning");
    ASSERT_FALSE(dir.Path().empty());
    const std::string link = dir.File("tuned,link");
    ASSERT_EQ(symlink(SelfPath().c_str(), link.c_str()), 0);
    const std::string byPath = ReportOfChild(NoUserSettings, link);
    const std::string byName = ReportOfChild(With(NoUserSettings, "PATH=" + dir.Path().string() + ":" + std::getenv("PATH")), "tuned,link");
    for (const std::string& out : {byPath, byName}) {
        EXPECT_EQ(AppliedBesideForcedKernel(out).rfind("GOMP_SPINCOUNT", 0), 0u) << out;  // it was started again
        EXPECT_NE(out.find("comm=tuned,link\n"), std::string::npos) << out;
    }
}

}  // namespace
