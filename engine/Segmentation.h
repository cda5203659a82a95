#pragma once
// The split modes of the automatic segmentation. A density D stands for the
// segment length Wavelength / D. Every mode appends its pieces from end 1 to
// end 2 through AddWirePiece, with the absolute radius and the wire's index;
// consecutive pieces share their end points exactly. Each mode throws
// EngineError when the wavelength, a density, EC or SC would make it
// meaningless or endless.
#include "model/AntDef.h"
#include "model/WireGeometry.h"

// More segments than this in one piece are never useful (the pulse limit is
// 8192); counts are clamped here before any integer conversion.
constexpr int MaxSegmentsPerPiece = 1000000;

// One piece with an even count of segments of about Wavelength / density.
void SplitWireAuto(AntDef& ant, const Point3D& end1, const Point3D& end2, double r, double density, int wireIndex);
// Graded at both ends from the start density (1 = DM1) to DM2.
void SplitWireN(AntDef& ant, const Point3D& end1, const Point3D& end2, double r, int startDensity, int wireIndex);
// Graded at end 1 only, then the rest.
void SplitWireTaper1(AntDef& ant, const Point3D& end1, const Point3D& end2, double r, int startDensity,
                     int wireIndex);
// The rest, then graded at end 2 only.
void SplitWireTaper2(AntDef& ant, const Point3D& end1, const Point3D& end2, double r, int startDensity,
                     int wireIndex);

// A segment count from a length ratio: truncated toward zero and kept within
// 0..MaxSegmentsPerPiece (NaN gives 0).
int SegmentCount(double ratio);
