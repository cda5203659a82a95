// The main window's side of the optimizer state.
#include "app/MainWnd.h"

void TMainWnd::DestroyOptimizerState() {
    // No command creates an optimizer state yet; the pointer stays null.
    ACal = nullptr;
}
