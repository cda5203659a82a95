#pragma once
// OpenBLAS and the OpenMP runtime read three settings only once, when they
// load: which BLAS kernel to run, how idle worker threads wait, and how many
// threads the BLAS library starts for itself. The distribution's OpenBLAS
// falls back to its SSE kernels on CPUs it does not know; OpenMP threads
// that spin long make every barrier wait a scheduler tick once another
// process uses a core; and the library's own pool of threads spins beside
// the engine's teams after every call, although the engine calls BLAS on one
// thread only (its teams are its own OpenMP threads). So every program that
// links the engine (the program, the tests, the benches) starts itself again
// with its own choices in the environment where they change something,
// leaving what the user set alone; see LibraryTuning.cpp for how.
#include <vector>

struct CpuVectorUnits {
    bool avx2 = false, fma = false;
    bool avx512f = false, avx512vl = false, avx512bw = false, avx512dq = false, avx512cd = false, avx512bf16 = false;
};

// What this CPU and its operating system support.
CpuVectorUnits DetectCpuVectorUnits();

// The OpenBLAS core type for a CPU: "SkylakeX" with AVX-512, else "Haswell"
// with AVX2 and FMA, else null (the library's own choice).
const char* BlasCoreTypeFor(const CpuVectorUnits& cpu);

// The wide OpenBLAS kernels a CPU can run (for the bench's comparison).
std::vector<const char*> BlasCoreTypesRunBy(const CpuVectorUnits& cpu);

// Whether an OpenBLAS core type is one of the library's SSE-only fallbacks.
bool IsSseFallbackKernel(const char* coreType);

// The kernel to force when the library chose libraryChoice: a wider one
// where the library fell back to SSE and the CPU runs better, else null.
const char* BlasCoreTypeToForce(const char* libraryChoice, const CpuVectorUnits& cpu);

// How long idle OpenMP threads spin before they sleep, unless the user chose
// (GOMP_SPINCOUNT: spins of about a wake-up's length).
inline constexpr const char* OpenMpSpinCount = "2000";

// The threads OpenBLAS starts for itself, unless the user chose
// (OPENBLAS_NUM_THREADS, or its older name GOTO_NUM_THREADS): none beside the
// calling thread. A caller that wants a threaded BLAS call (the bench's
// reference) raises the count itself with openblas_set_num_threads.
inline constexpr const char* BlasPoolThreads = "1";

// The kernel OpenBLAS runs, for reports and bench lines.
const char* BlasKernelName();

// The settings this start added to the environment ("NAME=value", comma
// separated), empty when the user set them all or the start could not add them.
const char* LibraryTuningApplied();
