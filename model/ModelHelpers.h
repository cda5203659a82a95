#pragma once
// Small operations on the antenna definition shared by several units.
#include "model/PositionText.h"
#include "model/PulseCurrentRec.h"
#include "model/ScreenHitTest.h"
#include "model/TaperSetTable.h"
#include "model/WireGeometry.h"
