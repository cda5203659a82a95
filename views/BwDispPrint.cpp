// The printout of the sweep plots: the impedance, SWR and gain charts on one
// page under the program's version and the antenna's name.
#include "views/BwDispDlg.h"

#include "model/AntDef.h"
#include "platform/Canvas.h"
#include "platform/PrintJob.h"
#include "platform/System.h"
#include "platform/TextCodec.h"

#include <QPrinter>

#include <cmath>
#include <cstring>

void TBwDispDlg::PrintBtnClick() {
    TakeTypedWidth();
    PrintJob job;
    if (!job.Choose(this)) return;
    job.ShowProgress();
    Canvas page(&job.Printer());
    if (!page.Active()) {
        job.ReportNotStarted();
        return;
    }
    PrintCharts(page, font().family());
    page.End();
    job.Finish();
}

void TBwDispDlg::PrintCharts(Canvas& page, const QString& fontName) {
    QFont font = page.Font();
    font.setFamily(fontName);
    page.SetFont(font);
    const int w = page.Width(), h = page.Height();
    page.SetFontPixelHeight(std::max(6, static_cast<int>(std::lround(std::sqrt(double(w) * h) / 60.0))));
    page.SetTextTransparent(true);
    page.SetFontColor(ClBlack);

    // The drawing area: 19/20 of the page with margins of 1/40.
    const int left = w / 40, top = h / 40, width = 19 * w / 20, height = 19 * h / 20;
    const int line = page.TextHeight("A");
    std::string product, version;
    GetVersionText(product, version);
    page.TextOut(left, top, product + "  " + version);
    const AntDef* ant = Session.Model();
    if (ant) page.TextOut(left, top + line + line / 4, DisplayQString(std::string_view(ant->Name, strnlen(ant->Name, sizeof ant->Name))));

    CGraph z, swr, gain;
    if (height > width) {
        // Stacked under the header, a third of the rest each.
        const int first = top + 3 * line, rest = top + height - first;
        z.SetPrinter(page, left, first, left + width, first + rest / 3);
        swr.SetPrinter(page, left, first + rest / 3, left + width, first + 2 * rest / 3);
        gain.SetPrinter(page, left, first + 2 * rest / 3, left + width, top + height);
    } else {
        // The header at the upper left, the charts in the other quarters.
        const int midX = left + width / 2, midY = top + height / 2;
        z.SetPrinter(page, midX, top, left + width, midY);
        swr.SetPrinter(page, left, midY, midX, top + height);
        gain.SetPrinter(page, midX, midY, left + width, top + height);
    }
    DrawZ(z, true);
    DrawSwr(swr, true);
    DrawGain(gain);
}
