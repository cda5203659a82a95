#include "engine/LibraryTuning.h"

#include <cblas.h>
#include <strings.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <cstdio>
#include <cstring>
#include <string>

// Both libraries read their settings in their own initializers, which run
// before any constructor of the executable, and offer no way to change them
// afterwards. So the first constructor of the executable, which runs right
// after them, looks at what the libraries chose: where a setting of ours
// would change something (the user set neither it nor its alternative, and
// for the kernel, the library fell back to SSE on a CPU that runs a wider
// one), it starts the program again, in place (same process id, arguments
// and open files), with the settings added and a marker that stops the
// second start from doing it again. Nothing of the program has run yet, so
// the only cost is loading the libraries twice. The second start removes
// the added settings and the marker again, so programs the user starts from
// ours see the environment the user gave, and it keeps the name the user
// started the program by (ps -C, pgrep -x, top).
//
// The hook lives in a static library: CMake links every user of the engine
// with -u KorvaTuneLibraries so the linker keeps this file.

namespace {

constexpr const char* Marker = "KORVA_LIBRARY_TUNING";
// The process name of the first start, in the marker after the settings.
constexpr const char* NameKey = "name=";

bool UnderValgrind() {
    const char* preload = std::getenv("LD_PRELOAD");
    return preload && std::strstr(preload, "vgpreload");
}

// The file to start again: argv[0] where it names this program's file (so
// the process keeps the name it was started by, a symbolic link's too), else
// the program file itself. None when it was started through the dynamic
// loader by hand, where starting "it" again would start the loader without
// the program.
bool ProgramFile(const char* argv0, char* path, std::size_t size) {
    const ssize_t len = readlink("/proc/self/exe", path, size - 1);
    if (len <= 0) return false;
    path[len] = '\0';
    const char* base = std::strrchr(path, '/');
    if (std::strncmp(base ? base + 1 : path, "ld-", 3) == 0) return false;
    struct stat self {}, named {};
    if (argv0 && std::strlen(argv0) < size && std::strchr(argv0, '/') && stat(path, &self) == 0 &&
        stat(argv0, &named) == 0 && self.st_dev == named.st_dev && self.st_ino == named.st_ino)
        std::strcpy(path, argv0);
    return true;
}

void ReadProcessName(char* name, std::size_t size) {
    name[0] = '\0';
    if (FILE* f = std::fopen("/proc/self/comm", "r")) {
        if (std::fgets(name, static_cast<int>(size), f)) name[std::strcspn(name, "\n")] = '\0';
        std::fclose(f);
    }
}

char applied[256];

// The second start: the libraries have read the settings.
void ForgetAddedSettings(const char* list) {
    char copy[256];
    std::strncpy(copy, list, sizeof copy - 1);
    copy[sizeof copy - 1] = '\0';
    // The name comes last and may hold commas itself.
    if (char* name = std::strstr(copy, NameKey); name && (name == copy || name[-1] == ',')) {
        prctl(PR_SET_NAME, name + std::strlen(NameKey), 0, 0, 0);
        *name = '\0';
    }
    char* rest = nullptr;
    for (char* item = strtok_r(copy, ",", &rest); item; item = strtok_r(nullptr, ",", &rest)) {
        if (applied[0]) std::strncat(applied, ",", sizeof applied - std::strlen(applied) - 1);
        std::strncat(applied, item, sizeof applied - std::strlen(applied) - 1);
        if (char* eq = std::strchr(item, '=')) *eq = '\0';
        unsetenv(item);
    }
    unsetenv(Marker);
}

}  // namespace

CpuVectorUnits DetectCpuVectorUnits() {
    __builtin_cpu_init();
    CpuVectorUnits cpu;
    cpu.avx2 = __builtin_cpu_supports("avx2");
    cpu.fma = __builtin_cpu_supports("fma");
    cpu.avx512f = __builtin_cpu_supports("avx512f");
    cpu.avx512vl = __builtin_cpu_supports("avx512vl");
    cpu.avx512bw = __builtin_cpu_supports("avx512bw");
    cpu.avx512dq = __builtin_cpu_supports("avx512dq");
    cpu.avx512cd = __builtin_cpu_supports("avx512cd");
    cpu.avx512bf16 = __builtin_cpu_supports("avx512bf16");
    return cpu;
}

const char* BlasCoreTypeFor(const CpuVectorUnits& cpu) {
    // The SkylakeX kernels use the F, VL, BW, DQ and CD parts of AVX-512 and
    // the Haswell ones beneath them; Haswell's need AVX2 and FMA.
    const bool haswell = cpu.avx2 && cpu.fma;
    if (haswell && cpu.avx512f && cpu.avx512vl && cpu.avx512bw && cpu.avx512dq && cpu.avx512cd) return "SkylakeX";
    if (haswell) return "Haswell";
    return nullptr;
}

std::vector<const char*> BlasCoreTypesRunBy(const CpuVectorUnits& cpu) {
    std::vector<const char*> kernels;
    const char* widest = BlasCoreTypeFor(cpu);
    if (!widest) return kernels;
    if (std::strcmp(widest, "SkylakeX") == 0) {
        kernels.push_back("SkylakeX");
        if (cpu.avx512bf16) kernels.push_back("Cooperlake");
    }
    kernels.push_back("Haswell");
    return kernels;
}

bool IsSseFallbackKernel(const char* coreType) {
    if (!coreType) return false;
    static const char* const sse[] = {"Katmai", "Coppermine", "Northwood", "Prescott", "Banias", "Atom",
                                      "Core2",  "Penryn",     "Dunnington", "Nehalem", "Athlon", "Opteron",
                                      "Barcelona", "Nano", "Bobcat"};
    for (const char* name : sse)
        if (strncasecmp(coreType, name, std::strlen(name)) == 0) return true;
    return false;
}

const char* BlasCoreTypeToForce(const char* libraryChoice, const CpuVectorUnits& cpu) {
    return IsSseFallbackKernel(libraryChoice) ? BlasCoreTypeFor(cpu) : nullptr;
}

const char* BlasKernelName() {
    const char* name = openblas_get_corename();
    return name ? name : "unknown";
}

const char* LibraryTuningApplied() { return applied; }

extern "C" void KorvaTuneLibraries(char** argv) {
    if (const char* list = std::getenv(Marker)) {
        ForgetAddedSettings(list);
        return;
    }
    if (!argv || !argv[0] || UnderValgrind()) return;
    const struct {
        const char* name;
        const char* value;  // null: leave the library's choice
    } settings[] = {
        {"OPENBLAS_CORETYPE", std::getenv("OPENBLAS_CORETYPE")
                                  ? nullptr
                                  : BlasCoreTypeToForce(openblas_get_corename(), DetectCpuVectorUnits())},
        {"GOMP_SPINCOUNT", std::getenv("OMP_WAIT_POLICY") || std::getenv("GOMP_SPINCOUNT") ? nullptr : OpenMpSpinCount},
        {"OPENBLAS_NUM_THREADS",
         std::getenv("OPENBLAS_NUM_THREADS") || std::getenv("GOTO_NUM_THREADS") || openblas_get_num_threads() <= 1
             ? nullptr
             : BlasPoolThreads},
    };
    std::string marker;
    for (const auto& s : settings)
        if (s.value) marker += std::string(s.name) + "=" + s.value + ",";
    if (marker.empty()) return;
    char path[PATH_MAX];
    if (!ProgramFile(argv[0], path, sizeof path)) return;
    char name[32];
    ReadProcessName(name, sizeof name);
    for (const auto& s : settings)
        if (s.value) setenv(s.name, s.value, 1);
    marker += std::string(NameKey) + name;
    setenv(Marker, marker.c_str(), 1);
    execv(path, argv);
    // Not started again: the libraries keep their own choices.
    for (const auto& s : settings)
        if (s.value) unsetenv(s.name);
    unsetenv(Marker);
}

// The executable's first constructor: after every library's initializer,
// before the program's own.
__attribute__((constructor(101))) static void TuneLibraries(int, char** argv, char**) { KorvaTuneLibraries(argv); }
