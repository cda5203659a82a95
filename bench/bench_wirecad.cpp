// Repaint time of the graphical wire editor on a 500-wire antenna: one full
// drawing of a page (grid, scale bar, axes, wires, end marks) into the page's
// picture, and the quick drawing used while panning. Prints one line per page:
//   page=<name> wires=500 full_ms=<median> quick_ms=<median> widget_ms=<median>
// widget_ms is a repaint of the page on screen (offscreen platform) with the
// rubber band of a drag drawn over the kept picture.
#include "MachineLoad.h"
#include "editing/WireCadDlg.h"
#include "platform/Canvas.h"
#include "platform/FormPattern.h"

#include <QApplication>
#include <QTabWidget>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

namespace {

double MedianMs(int runs, const std::function<void()>& f) {
    std::vector<double> t;
    for (int i = 0; i < runs; ++i) {
        const auto t0 = std::chrono::steady_clock::now();
        f();
        t.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count());
    }
    std::sort(t.begin(), t.end());
    return t[t.size() / 2];
}

// 500 wires: a 10 x 10 mesh of a wire screen (220 wires) joined to a
// helix of 280 turns' pieces, so ends are shared and free alike.
void MakeAntenna(AntDef& a) {
    a.WireCount = 0;
    auto add = [&](double x1, double y1, double z1, double x2, double y2, double z2) {
        WireRec& w = a.Wires[a.WireCount++];
        w = WireRec{};
        w.X1 = x1, w.Y1 = y1, w.Z1 = z1, w.X2 = x2, w.Y2 = y2, w.Z2 = z2;
        w.R = 0.002;
        w.Seg = -1;
    };
    for (int i = 0; i <= 10; ++i)
        for (int j = 0; j < 10; ++j) {
            add(i, j, 0, i, j + 1, 0);
            add(j, i, 0, j + 1, i, 0);
        }
    const int pieces = 500 - a.WireCount;
    for (int k = 0; k < pieces; ++k) {
        const double t1 = k * 0.3, t2 = (k + 1) * 0.3;
        add(5 + 3 * std::cos(t1), 5 + 3 * std::sin(t1), 1 + 0.02 * k, 5 + 3 * std::cos(t2), 5 + 3 * std::sin(t2),
            1 + 0.02 * (k + 1));
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    auto ant = std::make_unique<AntDef>();
    MakeAntenna(*ant);
    ExecModalDialog = [](QDialog& d) {
        auto& dlg = static_cast<TWireCadDlg&>(d);
        dlg.resize(1217, 842);  // the design size at a 1600 x 1200 screen
        dlg.show();
        QApplication::processEvents();
        const char* names[4] = {"3D", "X-Y", "X-Z", "Y-Z"};
        for (int page = 0; page < 4; ++page) {
            dlg.Page->setCurrentIndex(page);
            QApplication::processEvents();
            const bench::BusyMeter meter;
            dlg.Model.Select(250);
            dlg.SBViewClick();
            QImage picture(dlg.ActiveBox()->size(), QImage::Format_RGB32);
            auto draw = [&] {
                Canvas c(&picture);
                dlg.DrawPage(page, c);
            };
            const double full = MedianMs(31, draw);
            dlg.QuickDraw = 5;
            const double quick = MedianMs(31, draw);
            dlg.QuickDraw = 0;
            const double widget = MedianMs(31, [&] {
                dlg.Repaint();
                dlg.ActiveBox()->repaint();
            });
            std::printf("page=%s busy=%.2f wires=%d full_ms=%.2f quick_ms=%.2f widget_ms=%.2f box=%dx%d\n", names[page],
                        meter.Share(), dlg.Model.Count, full, quick, widget, picture.width(), picture.height());
        }
        return int(QDialog::Rejected);
    };
    TWireCadDlg dlg(nullptr);
    int selected = 0;
    dlg.Execute(ant.get(), &selected);
    return 0;
}
