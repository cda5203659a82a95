// The proportional re-layout of the main window when its size changes. A
// size change lays out the controls once and starts Timer1; further changes
// within the next 100 ms are left to the timer, so dragging the border costs
// one re-layout per 100 ms at most.
#include "app/MainWnd.h"
#include "app/MainWndLayout.h"
#include "model/EnvDef.h"
#include "platform/StringGrid.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QEvent>
#include <QLineEdit>
#include <QRadioButton>
#include <QTabWidget>
#include <QLayout>
#include <QTimer>
#include <algorithm>
#include <cmath>

namespace {

QSize ReferenceSize(const QTabWidget* page) {
    const QWidget* ref = page->currentWidget();
    return ref ? ref->size() : QSize();
}

// Font size of the window: (10 + offset) points at the design size, scaled
// by the smaller of the two ratios of the window's size to it.
int TargetFontSize(const QWidget* window) {
    const double scale = std::min(static_cast<double>(window->width()) / DesignWidth,
                                  static_cast<double>(window->height()) / DesignHeight);
    return std::max(1, static_cast<int>(std::lround((EnvDef.FontSize + 10) * scale)));
}

}  // namespace

void TMainWnd::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    FormResize();
}

void TMainWnd::FormResize() {
    if (ResizePending || Closing) return;
    ResizePending = true;
    // The page is not painted in its intermediate states; the timer shows it again.
    Page->setUpdatesEnabled(false);

    QFont f = font();
    f.setPointSize(TargetFontSize(this));
    setFont(f);
    // A new font changes the tab bar's height and so the page: the controls are
    // laid out against the page as it will be, not as it was.
    QCoreApplication::sendPostedEvents(Page, QEvent::LayoutRequest);
    QCoreApplication::sendPostedEvents(this, QEvent::LayoutRequest);
    if (layout()) layout()->activate();

    const QSize ref = ReferenceSize(Page);
    AlignList.AlignAll(ref.width(), ref.height());
    StringGrid* grids[4] = {Grid1, Grid2, Grid3, Grid4};
    for (int i = 0; i < 4; ++i) AlignGrids[i].Apply(grids[i]);
    LaidOutWindowSize = size();
    LaidOutPageSize = ref;

    // The antenna view keeps fitting its image.
    FitView();
    if (!Closing) {
        if (Page->currentWidget() == TabSheet2 && WireCenterRB->isChecked())
            WireCenterRBClick();
        else
            DrawAntenna();
    }
    for (QComboBox* box : {EditDM1, EditDM2, EditSC, EditEC, AntHeight, DoFreq})
        if (QLineEdit* edit = box->lineEdit()) edit->end(false);
    Timer1->start();
}

void TMainWnd::Timer1Timer() {
    Timer1->stop();
    ResizePending = false;
    Page->setUpdatesEnabled(true);
    update();
    // A size or font-offset change that came while the re-layout was pending
    // is laid out now, so the controls always end up fitting the final state.
    if (Closing) return;
    if (size() != LaidOutWindowSize || ReferenceSize(Page) != LaidOutPageSize ||
        font().pointSize() != TargetFontSize(this))
        FormResize();
}
