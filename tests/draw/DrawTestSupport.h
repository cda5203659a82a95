#pragma once
// Helpers of the drawing tests: white images, pixel probes and a small model
// whose engine point table is filled by hand.
#include "engine/EngineState.h"
#include "model/AntDef.h"
#include "platform/Canvas.h"

#include <QImage>
#include <memory>

inline QImage WhiteImage(int w, int h) {
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(Qt::white);
    return img;
}

inline WinColor PixelAt(const QImage& img, int x, int y) { return FromQColor(img.pixelColor(x, y)); }

// Number of pixels of a colour in the box from (x1, y1) to (x2, y2), edges included.
inline int CountColour(const QImage& img, WinColor c, int x1, int y1, int x2, int y2) {
    int n = 0;
    for (int y = std::max(0, y1); y <= std::min(img.height() - 1, y2); ++y)
        for (int x = std::max(0, x1); x <= std::min(img.width() - 1, x2); ++x)
            if (PixelAt(img, x, y) == c) ++n;
    return n;
}

inline std::unique_ptr<AntDef> EmptyAntenna() { return std::make_unique<AntDef>(); }

inline void AddWire(AntDef& ant, double x1, double y1, double z1, double x2, double y2, double z2, double r = 0.001) {
    WireRec& w = ant.Wires[ant.WireCount++];
    w = WireRec{};
    w.X1 = x1; w.Y1 = y1; w.Z1 = z1;
    w.X2 = x2; w.Y2 = y2; w.Z2 = z2;
    w.R = r;
}

// One piece per wire with `pulses` evenly spaced interior points, numbered on
// from the pulses before it; the engine point table holds the points.
inline void PrepareEvenPulses(AntDef& ant, int pulses) {
    if (Engine.MaxPulses < 256) AllocEngineArrays(256);
    Engine.AntennaHeight = 0;
    int next = 1;
    ant.ExpWireCount = 0;
    for (int i = 0; i < ant.WireCount; ++i) {
        const WireRec& w = ant.Wires[i];
        ExpWireRec& p = ant.ExpWires[ant.ExpWireCount++];
        p = ExpWireRec{};
        p.UserWire = i;
        p.FirstPulse = next;
        p.FirstPoint = next;
        p.LastPoint = next + pulses - 1;
        for (int k = 1; k <= pulses; ++k) {
            const double f = static_cast<double>(k) / (pulses + 1);
            Engine.Points[next + k - 1] = {static_cast<float>(w.X1 + f * (w.X2 - w.X1)),
                                           static_cast<float>(w.Y1 + f * (w.Y2 - w.Y1)),
                                           static_cast<float>(w.Z1 + f * (w.Z2 - w.Z1))};
        }
        next += pulses;
    }
    Engine.PulseCount = next - 1;
}
