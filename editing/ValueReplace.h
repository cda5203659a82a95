#pragma once
// Search and replace of exact values in the wire table: coordinates (with an
// axis filter and optionally their mirror images), radii and segmentation
// codes. Comparisons are exact; nothing is rounded.
#include "model/AntDef.h"

#include <cstdint>

enum ReplaceAxes { ReplaceAll = 0, ReplaceOnlyX = 1, ReplaceOnlyY = 2, ReplaceOnlyZ = 3 };

// A value equal to search becomes replacement; with mirror, a value of equal
// magnitude becomes |replacement| x sign(search) x sign(replacement) x
// sign(value), so the mirror image -s of s becomes -r. Sets changed on a hit.
void MatchReplace(bool& changed, double& value, double search, double replacement, bool mirror);
// True when any coordinate was replaced.
bool ReplaceCoordinates(AntDef& ant, int axes, double search, double replacement, bool mirror);
bool ReplaceRadius(AntDef& ant, double search, double replacement);
bool ReplaceSegmentation(AntDef& ant, int32_t search, int32_t replacement);
