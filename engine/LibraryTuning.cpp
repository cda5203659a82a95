#include "engine/LibraryTuning.h"

#include <cblas.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <cstring>

// Both libraries read their settings in their own initializers, which run
// before any constructor of the executable. The one hook that runs earlier
// is the executable's pre-initialization array, but there the C library is
// not initialized yet: its environment is set only afterwards, from the
// kernel's original array, so setenv() there is lost. The hook therefore
// starts the program again, in place (same process id, arguments and open
// files), with the settings added and a marker that stops the second start
// from doing it again. Nothing has run yet, no thread exists, so the only
// cost is loading the libraries twice. Once the libraries have read them, a
// constructor removes the added settings and the marker again, so programs
// the user starts from ours see the environment the user gave.
//
// The hook lives in a static library: CMake links every user of the engine
// with -u KorvaTuneLibrariesBeforeLoad so the linker keeps this file.

namespace {

constexpr const char* Marker = "KORVA_LIBRARY_TUNING";

// A setting, the names whose presence means the user already chose, and
// what we would set.
struct Setting {
    const char* name;
    const char* userNames[2];
    const char* value;
};

bool HasName(char** envp, const char* name) {
    const std::size_t len = std::strlen(name);
    for (char** e = envp; e && *e; ++e)
        if (std::strncmp(*e, name, len) == 0 && (*e)[len] == '=') return true;
    return false;
}

bool UnderValgrind(char** envp) {
    for (char** e = envp; e && *e; ++e)
        if (std::strncmp(*e, "LD_PRELOAD=", 11) == 0 && std::strstr(*e, "vgpreload")) return true;
    return false;
}

// The program file, unless it was started through the dynamic loader by
// hand, where starting "it" again would start the loader without the program.
bool ProgramFile(char* path, std::size_t size) {
    const ssize_t len = readlink("/proc/self/exe", path, size - 1);
    if (len <= 0) return false;
    path[len] = '\0';
    const char* base = std::strrchr(path, '/');
    return std::strncmp(base ? base + 1 : path, "ld-", 3) != 0;
}

char applied[256];

}  // namespace

CpuVectorUnits DetectCpuVectorUnits() {
    // May run before libgcc's own constructor has read the CPU.
    __builtin_cpu_init();
    CpuVectorUnits cpu;
    cpu.avx2 = __builtin_cpu_supports("avx2");
    cpu.fma = __builtin_cpu_supports("fma");
    cpu.avx512f = __builtin_cpu_supports("avx512f");
    cpu.avx512vl = __builtin_cpu_supports("avx512vl");
    cpu.avx512bw = __builtin_cpu_supports("avx512bw");
    cpu.avx512dq = __builtin_cpu_supports("avx512dq");
    cpu.avx512cd = __builtin_cpu_supports("avx512cd");
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

const char* BlasKernelName() {
    const char* name = openblas_get_corename();
    return name ? name : "unknown";
}

const char* LibraryTuningApplied() { return applied; }

extern "C" void KorvaTuneLibrariesBeforeLoad(int, char** argv, char** envp) {
    if (!argv || !argv[0] || HasName(envp, Marker) || UnderValgrind(envp)) return;
    const Setting settings[] = {
        {"OPENBLAS_CORETYPE", {"OPENBLAS_CORETYPE", nullptr}, BlasCoreTypeFor(DetectCpuVectorUnits())},
        {"OMP_WAIT_POLICY", {"OMP_WAIT_POLICY", "GOMP_SPINCOUNT"}, OpenMpWaitPolicy},
    };
    char marker[256];
    std::strcpy(marker, Marker);
    std::strcat(marker, "=");
    char added[2][64];
    int addedCount = 0;
    for (const Setting& s : settings) {
        if (!s.value || HasName(envp, s.userNames[0]) || (s.userNames[1] && HasName(envp, s.userNames[1]))) continue;
        char* entry = added[addedCount++];
        std::strcpy(entry, s.name);
        std::strcat(entry, "=");
        std::strcat(entry, s.value);
        if (addedCount > 1) std::strcat(marker, ",");
        std::strcat(marker, entry);
    }
    if (addedCount == 0) return;
    char path[PATH_MAX];
    if (!ProgramFile(path, sizeof path)) return;
    int count = 0;
    while (envp && envp[count]) ++count;
    char** env = static_cast<char**>(std::malloc(sizeof(char*) * (count + addedCount + 2)));
    if (!env) return;
    for (int i = 0; i < count; ++i) env[i] = envp[i];
    for (int i = 0; i < addedCount; ++i) env[count + i] = added[i];
    env[count + addedCount] = marker;
    env[count + addedCount + 1] = nullptr;
    execve(path, argv, env);
    std::free(env);  // not started again: the libraries make their own choices
}

// Runs before every library initializer, see above.
__attribute__((section(".preinit_array"), used)) static void (*const tuneBeforeLoad)(int, char**, char**) =
    &KorvaTuneLibrariesBeforeLoad;

// Runs after them: the libraries have read the settings.
__attribute__((constructor)) static void ForgetAddedSettings() {
    const char* list = std::getenv(Marker);
    if (!list) return;
    std::strncpy(applied, list, sizeof applied - 1);
    char copy[256];
    std::strncpy(copy, list, sizeof copy - 1);
    copy[sizeof copy - 1] = '\0';
    char* rest = nullptr;
    for (char* item = strtok_r(copy, ",", &rest); item; item = strtok_r(nullptr, ",", &rest)) {
        if (char* eq = std::strchr(item, '=')) *eq = '\0';
        unsetenv(item);
    }
    unsetenv(Marker);
}
