#pragma once
// An independent reference for the engine's matrix: the same integrals and
// entries, written plainly from the formulas (no tables, batches, reuse of
// entries or vector loops), in double precision, and solved by plain
// elimination in double. Near intervals are integrated adaptively to full
// accuracy, not in the engine's closed-form split. Reads the engine's
// prepared model.
#include <complex>

// The impedance at the first source of the prepared model (free space or a
// perfect image, no loads).
std::complex<double> ReferenceFeedImpedance();
