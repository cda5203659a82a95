// The proportional re-layout of the main window: controls and fonts follow
// the window, at most one re-layout per 100 ms, and a size reached while one
// is pending is laid out when it ends.
#include "MainWndFixture.h"
#include "model/EnvDef.h"
#include "draw/Projection.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTimer>
#include <cmath>
#include <vector>

namespace {

class Resize : public MainWndTest {
protected:
    void SetUp() override {
        MainWndTest::SetUp();
        Settle();
    }
    void ResizeTo(int w, int h) {
        wnd->resize(w, h);
        QApplication::processEvents();
    }
    // Width of a control as a share of its page.
    double Share(const QWidget* control) const {
        return static_cast<double>(control->width()) / control->parentWidget()->width();
    }
};

}  // namespace

TEST_F(Resize, FontsFollowTheSmallerRatioAndTheOffset) {
    EnvDef.FontSize = 2;
    ResizeTo(1170, 816);
    EXPECT_EQ(wnd->font().pointSize(), 18);  // (10 + 2) x 1.5
    Settle();
    // The page's children take the form's font.
    EXPECT_EQ(wnd->Grid1->font().pointSize(), 18);
    EXPECT_EQ(wnd->LogMemo->font().pointSize(), 18);

    EnvDef.FontSize = -3;
    ResizeTo(1560, 816);  // height limits: 1.5
    EXPECT_EQ(wnd->font().pointSize(), 11);  // 7 x 1.5 = 10.5, rounded
}

TEST_F(Resize, ControlsKeepTheirShareOfThePage) {
    const double share = Share(wnd->Grid2);
    const int col = wnd->Grid2->ColWidth(1);
    ResizeTo(1170, 816);
    EXPECT_NEAR(Share(wnd->Grid2), share, 0.01);
    EXPECT_NEAR(wnd->Grid2->ColWidth(1), col * 1.5, col * 0.1);
    Settle();
    // Controls of the tabs not shown follow as well.
    wnd->Page->setCurrentWidget(wnd->TabSheet3);
    QApplication::processEvents();
    EXPECT_NEAR(static_cast<double>(wnd->LogMemo->x()) / wnd->TabSheet3->width(), 240.0 / 776, 0.01);
}

TEST_F(Resize, EveryColumnOfEveryTableGrowsWithTheWindow) {
    StringGrid* grids[] = {wnd->Grid1, wnd->Grid2, wnd->Grid3, wnd->Grid4};
    std::vector<std::vector<int>> before;
    for (StringGrid* g : grids) {
        before.emplace_back();
        for (int c = 0; c < g->ColCount(); ++c) before.back().push_back(g->ColWidth(c));
    }
    // The source table shows all its columns without scrolling.
    int sources = 0;
    for (int w : before[2]) sources += w;
    EXPECT_LE(sources, wnd->Grid3->viewport()->width() + wnd->Grid3->verticalHeader()->width());
    ResizeTo(1170, 816);
    Settle();
    for (std::size_t i = 0; i < 4; ++i)
        for (int c = 0; c < grids[i]->ColCount(); ++c)
            EXPECT_NEAR(grids[i]->ColWidth(c), before[i][static_cast<std::size_t>(c)] * 1.5, 2.0)
                << grids[i]->objectName().toStdString() << " column " << c;
}

TEST_F(Resize, ASizeReachedWhileALayoutIsPendingIsLaidOutWhenItEnds) {
    const QRect designed = wnd->Grid2->geometry();
    ResizeTo(1170, 816);
    ASSERT_TRUE(wnd->ResizePending);
    const QRect large = wnd->Grid2->geometry();
    EXPECT_GT(large.width(), designed.width());
    // Dragging on: the pending layout does not follow at once...
    wnd->resize(1000, 700);
    wnd->resize(780, 544);
    QApplication::processEvents();
    EXPECT_EQ(wnd->Grid2->geometry(), large);
    // ...but the end of the pending layout catches up with the final size.
    Settle();
    EXPECT_NEAR(wnd->Grid2->width(), designed.width(), 2);
    EXPECT_EQ(wnd->font().pointSize(), 10);
}

TEST_F(Resize, ANewFontOffsetDuringAPendingLayoutIsAppliedWhenItEnds) {
    ResizeTo(900, 600);
    ASSERT_TRUE(wnd->ResizePending);
    EnvDef.FontSize = 2;
    wnd->FormResize();  // as the setup page does after changing the offset
    Settle();
    const double scale = std::min(wnd->width() / 780.0, wnd->height() / 544.0);
    EXPECT_EQ(wnd->font().pointSize(), std::lround(12 * scale));
}

TEST_F(Resize, ThePageIsNotPaintedWhileALayoutIsPending) {
    ResizeTo(1000, 700);
    EXPECT_FALSE(wnd->Page->updatesEnabled());
    Settle();
    EXPECT_TRUE(wnd->Page->updatesEnabled());
}

TEST_F(Resize, TheCaretMovesToTheEndOfTheEditBoxes) {
    wnd->DoFreq->lineEdit()->setCursorPosition(0);
    wnd->EditSC->lineEdit()->setCursorPosition(0);
    ResizeTo(900, 600);
    EXPECT_EQ(wnd->DoFreq->lineEdit()->cursorPosition(), wnd->DoFreq->currentText().size());
    EXPECT_EQ(wnd->EditSC->lineEdit()->cursorPosition(), wnd->EditSC->currentText().size());
}

TEST_F(Resize, TheViewKeepsFittingAndItsCentre) {
    wnd->Ant.Wires[0] = WireRec{0, -5, 0, 0, 5, 0, 0.001, 11, 0, 0, 0};
    wnd->Ant.Wires[1] = WireRec{0, -5, 4, 0, 5, 4, 0.001, 11, 0, 0, 0};
    wnd->Ant.WireCount = 2;
    wnd->SetAntDef();
    wnd->PrepareCalcAnt();
    wnd->Page->setCurrentWidget(wnd->TabSheet2);
    QApplication::processEvents();
    wnd->WireCenterRB->click();
    wnd->SelWirSpEd->setValue(2);
    const double zoom = ViewZoom;
    const int ref = ViewZoomRef;

    ViewCentre = ViewPoint{};
    ResizeTo(1560, 1088);
    Settle();
    // A larger image, as many more pixels per metre; the selected wire stays the centre.
    EXPECT_GT(ViewZoomRef, ref * 1.8);
    EXPECT_NEAR(ViewZoom / zoom, static_cast<double>(ViewZoomRef) / ref, 0.02);
    EXPECT_EQ(ViewZoomRef, std::min(wnd->ViewBitmap.width(), wnd->ViewBitmap.height()) / 2);
    EXPECT_DOUBLE_EQ(ViewCentre.Z, 4.0);
}
