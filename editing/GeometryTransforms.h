#pragma once
// Whole-antenna geometry changes of the Edit menu's dialogs: moving wires
// along an axis, turning them about an axis, scaling them to a new design
// frequency. No Qt: the dialogs only read their fields and call these.
#include "model/AntDef.h"

#include <string>

enum CoordAxis { AxisX = 0, AxisY = 1, AxisZ = 2 };

// ---- Move ----
// The axis a wire-table column (1..6 = X1, Y1, Z1, X2, Y2, Z2) presets; X for
// any other column.
int MoveAxisOfColumn(int column);
// Minus the coordinate of that column, so that moving by it brings the
// coordinate to 0; 0 for any other column.
double MoveDistanceOfColumn(const WireRec& wire, int column);
// Each change below keeps the wires as they were, and returns false, when a
// coordinate or radius would not stay finite.

// Adds the distance (metres) to the axis of both ends of every wire.
bool MoveAllWires(AntDef& ant, int axis, double distance);
// Adds it to both ends of one wire (0-based); with keepConnected, ends of
// other wires that coincided exactly with its old ends follow them; false
// also for a wire that does not exist.
bool MoveOneWire(AntDef& ant, int wire, int axis, double distance, bool keepConnected);

// ---- Up-down stepping of a number field ----
// The power of ten of the digit right of the caret (caret = characters before
// it); the first decimal when the caret touches the point.
int CaretDigitExponent(const std::string& text, int caret);
// 10^exponent limited to lo..hi; `current` when the text is empty.
double CaretStep(const std::string& text, int caret, double lo, double hi, double current);
// One step of the angle field: up wraps a result above 360, down one below 0.
double StepAngleOnce(double angle, double step, int direction);
// Each further step while the button is held: a result below 0 gains 360,
// then one above 360 loses 360, whichever way it steps.
double StepAngleHeld(double angle, double step, int direction);

// ---- Rotate ----
// Turns the point about the axis through the origin; positive from +Y to +Z
// about X, from +X to +Z about Y, from +X to +Y about Z.
void RotatePointAbout(int axis, double& x, double& y, double& z, double degrees);
bool RotateAllWires(AntDef& ant, int axis, double degrees);

// ---- Scale ----
struct ScaleChoice {
    bool X = true, Y = true, Z = true;
    bool Radius = false;
};
// Multiplies the chosen coordinates (and radii above 0) of every wire; the
// design and calculation frequencies become newFreq when an axis is chosen.
// False, and nothing changed, when the multiplier or frequency is not a
// finite value above 0 or a result would not be finite.
bool ScaleWires(AntDef& ant, double multiplier, double newFreq, const ScaleChoice& choice);
