#pragma once
// One way back to the start: every mutable record as the program holds it
// before the main window is made, for whoever needs a clean slate (the test
// fixtures between tests). It lives in app/, the one layer that sees them all.
//
// Reset: environment, job, user material, user programs, results, the
// engine's prepared model (its arrays stay), the antenna and pattern view
// states, the language (none active, the built-in English message texts), the
// wire editor's zoom position and screen slots, the element view's angles,
// the stacking messages, the 3D view's rebuild flag and angle steps, the
// first-start flag and the two antenna-text snapshots.
//
// Left as they are: the pointers to the open main window and 3D view (each
// window sets and clears its own), the engine's heap arrays (FreeEngineArrays
// frees them), and the replaceable services and test seams (prompter, modal
// routine, colour and font choosers, screen scale, settings path, engine
// allocation limit), which whoever installs them puts back.
//
// Call it while no main window is open: a window keeps these in step with its
// controls.
void ResetRecords();
