// The cursor readout of the far-field plots: while the left button is held
// the panel shows the angle and gain under the pointer.
#include "app/MainWnd.h"
#include "model/EnvDef.h"
#include "draw/PatternPanel.h"
#include "draw/PolarPlot.h"
#include "platform/Canvas.h"

#include <QLabel>
#include <QPixmap>

void TMainWnd::DrawPlotReadout(int x, int y) {
    DrawFarFieldPanel();
    if (ViewState.ReadoutActive && PatternOfThisAntenna(ResultUse::Show)) {
        Canvas c(&DNBitmap);
        c.SetFont(font());
        PatternCursorText(c, JobDef.WaveSel, x, y, PatternGeometry.AzCentreX, PatternGeometry.CentreY,
                          PatternGeometry.ElCentreX, DNBitmap.width());
    }
    DNImage->setPixmap(QPixmap::fromImage(DNBitmap));
}

void TMainWnd::DNImageMouseDown(Qt::MouseButton button, int x, int y) {
    // With both polarizations shown there is no single curve to read.
    if (JobDef.WaveSel >= 3) return;
    ViewState.FarButtonHeld = true;
    ViewState.ReadoutActive = button == Qt::LeftButton && PatternOfThisAntenna(ResultUse::Show);
    DrawPlotReadout(x, y);
}

void TMainWnd::DnImageMouseMove(int x, int y) {
    if (!ViewState.FarButtonHeld || JobDef.WaveSel >= 3) return;
    DrawPlotReadout(x, y);
}

void TMainWnd::DNImageMouseUp() { ViewState.FarButtonHeld = false; }
