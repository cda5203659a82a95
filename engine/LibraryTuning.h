#pragma once
// OpenBLAS and the OpenMP runtime read two settings only once, when they
// load: which BLAS kernel to run, and how idle worker threads wait. The
// distribution's OpenBLAS falls back to its oldest kernels on CPUs it does
// not know, and spinning OpenMP threads make every barrier wait a scheduler
// tick once another process uses a core. So every program that links the
// engine (the program, the tests, the benches) puts its own choices into
// the environment before any library initializes, leaving what the user set
// alone; see LibraryTuning.cpp for how.

struct CpuVectorUnits {
    bool avx2 = false, fma = false;
    bool avx512f = false, avx512vl = false, avx512bw = false, avx512dq = false, avx512cd = false;
};

// What this CPU and its operating system support.
CpuVectorUnits DetectCpuVectorUnits();

// The OpenBLAS core type for a CPU: "SkylakeX" with AVX-512, else "Haswell"
// with AVX2 and FMA, else null (the library's own choice).
const char* BlasCoreTypeFor(const CpuVectorUnits& cpu);

// How idle OpenMP threads wait, unless the user chose.
inline constexpr const char* OpenMpWaitPolicy = "passive";

// The kernel OpenBLAS runs, for reports and bench lines.
const char* BlasKernelName();

// The settings this start added to the environment ("NAME=value", comma
// separated), empty when the user set them all or the start could not add them.
const char* LibraryTuningApplied();
