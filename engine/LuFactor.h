#pragma once
// Dense LU factorization with partial pivoting of a row-major complex-float
// matrix, in place. The panel applies the engine's pivot rule (largest |z|^2,
// the later row on a tie) and the trailing update runs on OpenBLAS level-3
// kernels, so the pivot sequence is that of plain Gaussian elimination.
#include <complex>

using LuComplex = std::complex<float>;

// Factors the n x n matrix a (row stride lda): afterwards the strictly lower
// part holds the elimination multipliers, the rest the upper triangle.
// pivot[i] (0-based) is the row exchanged with row i at step i.
// Throws EngineError on a zero or non-finite pivot.
void LuFactor(LuComplex* a, int n, int lda, int* pivot);

// Solves with the factors of LuFactor: rhs (n entries) becomes the solution.
void LuSolve(const LuComplex* a, int n, int lda, const int* pivot, LuComplex* rhs);
// The forward and back substitution of LuSolve, on a right-hand side whose
// rows are already exchanged.
void LuSubstitute(const LuComplex* a, int n, int lda, LuComplex* rhs);

// The threads the factorization of an n x n matrix runs on.
int LuThreadsFor(int n);

// The team of every factorization large enough to be shared, whatever the
// free cores (tests name the team sizes a race would show in); 0 restores
// the choice by the free cores.
void SetLuTeamSize(int threads);
// The threads the team of the last factorization had.
int LastLuTeamSize();

// Panel width of the blocked factorization (tests use small widths to cross
// panel borders on small matrices); 0 restores the automatic choice.
void SetLuPanelWidth(int width);
