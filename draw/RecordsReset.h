#pragma once
// One way back to the start: every mutable record as the program holds it
// before the main window is made, for whoever needs a clean slate (the test
// fixtures between tests).

// Environment, job, user material, results, the engine's prepared model (its
// arrays stay) and the antenna and pattern view states. Call it while no main
// window is open: a window keeps these in step with its controls.
void ResetRecords();
