#pragma once
// The printed page of the far-field plots: two header lines, the azimuth and
// the elevation pattern of the latest result and its summary lines, laid out
// from the page size (side by side on a wide page, stacked on a tall one).
#include "draw/PrintedPatterns.h"

#include <QString>

class Canvas;

struct FarFieldPageLayout {
    CDrawPtnH Azimuth;
    CDrawPtnV Elevation;
};

// Draws the page on the canvas with the font family given; the title line
// comes first, the antenna's name below it. Curves in black for JobDef's
// polarization, only when the results store holds pattern cuts.
FarFieldPageLayout DrawFarFieldPage(Canvas& c, const QString& fontFamily, const QString& title,
                                    const QString& antennaName);
