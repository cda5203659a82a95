#pragma once
// The pictures on the calculator pages: the L network with its values and
// the fixed arrangement of the line and stub match. Each is drawn in the
// design coordinates of its box and scaled to the box's size, so that it
// grows with the form as the page's controls do. Each returns where its
// texts and lines went, in the box's pixels, so that a check can see the
// texts inside the box, apart and crossed by no line.
#include "draw/PanelPart.h"
#include "tools/RfCalculators.h"

#include <vector>

class QWidget;

// Design sizes of the picture boxes.
constexpr int LMatchPictureWidth = 330, LMatchPictureHeight = 160;
constexpr int StubMatchPictureWidth = 520, StubMatchPictureHeight = 124;

// The L network: feeder on the left, load on the right; nothing without a
// frequency, a load or a feeder.
std::vector<PanelPart> PaintLMatch(QWidget* box, const LMatchCalc& m);
// Input Zi, the parallel element XS (or the stub L2) across the line's end,
// the line of length L1, the load R + jX.
std::vector<PanelPart> PaintStubMatch(QWidget* box);
