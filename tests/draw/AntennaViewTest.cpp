// The antenna view and the far-field plots inside the main window: picking,
// panning, turning, zoom on resize and the readout on the plot tab.
#include "DrawTestSupport.h"
#include "app/MainWndFixture.h"
#include "model/EnvDef.h"
#include "model/ResultStore.h"
#include "draw/PolarPlot.h"
#include "platform/StringGrid.h"

#include <QApplication>
#include <QLabel>
#include <QSlider>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class AntennaView : public MainWndTest {
protected:
    // A straight-on view (+Y right, +Z up) at 10 pixels per metre around the image centre.
    void FrontView() {
        wnd->Page->setCurrentWidget(wnd->TabSheet2);
        QApplication::processEvents();
        wnd->ViewAzimuth = 0;
        wnd->ViewElevation = 0;
        ViewCentreOn = false;
        JobDef.PanX = JobDef.PanY = 0;
        wnd->TBarSC->setValue(wnd->TBarSC->maximum() / 2);
        ViewZoom = 10.0;
        ViewZoomRef = 0;
        wnd->DrawAntenna();
    }
    QPoint Centre() const { return QPoint(wnd->ViewBitmap.width() / 2, wnd->ViewBitmap.height() / 2); }
    void SetWires(std::initializer_list<std::array<double, 6>> wires) {
        wnd->Ant.WireCount = 0;
        for (const auto& w : wires) AddWire(wnd->Ant, w[0], w[1], w[2], w[3], w[4], w[5]);
        wnd->SetAntDef();
    }
};

}  // namespace

TEST_F(AntennaView, APickNeedsAWireWithinEightPixels) {
    SetWires({{0, -5, 0, 0, 5, 0}, {0, 0, 1, 0, 0, 5}});
    FrontView();
    const QPoint c = Centre();
    EXPECT_TRUE(wnd->PickWire(c.x() + 20, c.y() - 8));  // above the horizontal wire
    EXPECT_EQ(wnd->Grid2->Row(), 1);
    EXPECT_FALSE(wnd->PickWire(c.x() + 20, c.y() - 9));
    EXPECT_TRUE(wnd->PickWire(c.x() - 8, c.y() - 30));  // beside the vertical wire
    EXPECT_EQ(wnd->Grid2->Row(), 2);
    EXPECT_FALSE(wnd->PickWire(c.x() - 9, c.y() - 30));
}

TEST_F(AntennaView, AWireOfAStackedCopySelectsItsOriginal) {
    SetWires({{0, -5, 0, 0, 5, 0}, {0, -5, 2, 0, 5, 2}});
    auto* stacked = new AntDef(wnd->Ant);
    for (int copy = 1; copy < 3; ++copy) {
        AddWire(*stacked, 0, -5, 4.0 * copy, 0, 5, 4.0 * copy);
        AddWire(*stacked, 0, -5, 4.0 * copy + 2, 0, 5, 4.0 * copy + 2);
    }
    wnd->CalcAnt = stacked;  // owned by the window from here
    FrontView();
    const QPoint c = Centre();
    ASSERT_TRUE(wnd->PickWire(c.x() + 10, c.y() - 100));  // wire 6 at z = 10
    EXPECT_EQ(wnd->Grid2->Row(), 2);
    ASSERT_TRUE(wnd->PickWire(c.x() + 10, c.y() - 80));   // wire 5 at z = 8
    EXPECT_EQ(wnd->Grid2->Row(), 1);
}

TEST_F(AntennaView, AClickWithoutMovingSelectsTheWire) {
    SetWires({{0, -5, 0, 0, 5, 0}, {0, 0, 1, 0, 0, 5}});
    FrontView();
    const QPoint c = Centre();
    QTest::mouseClick(wnd->ViewImage, Qt::LeftButton, Qt::NoModifier, QPoint(c.x() + 2, c.y() - 30));
    EXPECT_EQ(wnd->SelWirSpEd->value(), 2);
    EXPECT_EQ(wnd->Grid2->Row(), 2);
}

TEST_F(AntennaView, DraggingTurnsTheViewAndCtrlPans) {
    SetWires({{0, -5, 0, 0, 5, 0}});
    FrontView();
    const int h = wnd->ViewBitmap.height();
    QTest::mousePress(wnd->ViewImage, Qt::LeftButton, Qt::NoModifier, QPoint(100, 100));
    QTest::mouseMove(wnd->ViewImage, QPoint(100 + h / 8, 100));
    QTest::mouseRelease(wnd->ViewImage, Qt::LeftButton, Qt::NoModifier, QPoint(100 + h / 8, 100));
    // An eighth of the height to the right turns the azimuth back by 90 degrees.
    EXPECT_NEAR(wnd->ViewAzimuth, 270.0, 720.0 / h);
    EXPECT_EQ(JobDef.PanX, 0.0);

    wnd->FormKeyDown(Qt::Key_Control);
    QTest::mousePress(wnd->ViewImage, Qt::LeftButton, Qt::NoModifier, QPoint(100, 100));
    QTest::mouseMove(wnd->ViewImage, QPoint(130, 90));
    EXPECT_EQ(JobDef.PanX, 30.0);
    EXPECT_EQ(JobDef.PanY, -10.0);
    const double azimuth = wnd->ViewAzimuth;
    // Letting go of Ctrl ends the panning; the drag goes on as a turn.
    wnd->FormKeyUp(Qt::Key_Control);
    QTest::mouseMove(wnd->ViewImage, QPoint(140, 90));
    QTest::mouseRelease(wnd->ViewImage, Qt::LeftButton, Qt::NoModifier, QPoint(140, 90));
    EXPECT_EQ(JobDef.PanX, 30.0);
    EXPECT_NE(wnd->ViewAzimuth, azimuth);
}

TEST_F(AntennaView, CtrlPressedDuringADragPansFromWhereThePointerIs) {
    SetWires({{0, -5, 0, 0, 5, 0}});
    FrontView();
    QTest::mousePress(wnd->ViewImage, Qt::LeftButton, Qt::NoModifier, QPoint(100, 100));
    QTest::mouseMove(wnd->ViewImage, QPoint(150, 100));
    wnd->FormKeyDown(Qt::Key_Control);
    wnd->FormKeyDown(Qt::Key_Control);  // held keys repeat
    QTest::mouseMove(wnd->ViewImage, QPoint(160, 95));
    EXPECT_EQ(JobDef.PanX, 10.0);
    EXPECT_EQ(JobDef.PanY, -5.0);
    QTest::mouseRelease(wnd->ViewImage, Qt::LeftButton, Qt::NoModifier, QPoint(160, 95));
    wnd->FormKeyUp(Qt::Key_Control);
}

TEST_F(AntennaView, ResizingKeepsTheAntennaRelativeSize) {
    SetWires({{0, -5, 0, 0, 5, 0}});
    FrontView();
    wnd->FitView();
    const double zoom = ViewZoom;
    const QSize size = wnd->ViewImage->size();
    wnd->ViewImage->resize(size * 2);
    wnd->DrawAntenna();
    EXPECT_NEAR(ViewZoom, 2 * zoom, zoom * 0.02);
    EXPECT_EQ(ViewZoomRef, std::min(wnd->ViewBitmap.width(), wnd->ViewBitmap.height()) / 2);
}

TEST_F(AntennaView, TheZoomBarMagnifiesBySixPercentAStep) {
    SetWires({{0, -5, 0, 0, 5, 0}});
    FrontView();
    wnd->TBarSC->setValue(wnd->TBarSC->maximum());
    EXPECT_NEAR(wnd->CurrentViewTransform().scale, 10.0 * std::pow(1.06, 85), 1e-9);
}

TEST_F(AntennaView, TheViewShowsWiresSourcesAndTheLegend) {
    SetWires({{0, -5, 0, 0, 5, 0}});
    FrontView();
    const QPoint c = Centre();
    const QImage& img = wnd->ViewBitmap;
    EXPECT_EQ(PixelAt(img, c.x() + 30, c.y()), ClBlack);
    EXPECT_GT(CountColour(img, ClRed, 0, 0, 12, 40), 10);  // legend marks
    EXPECT_FALSE(wnd->ViewImage->pixmap().isNull());
}

TEST_F(AntennaView, PopupCentresTheViewOnTheClick) {
    SetWires({{0, -5, 0, 0, 5, 0}});
    FrontView();
    wnd->LastClick = QPoint(40, 30);
    wnd->K29Click();
    EXPECT_EQ(JobDef.PanX, 40 - wnd->ViewBitmap.width() / 2);
    EXPECT_EQ(JobDef.PanY, 30 - wnd->ViewBitmap.height() / 2);
    EXPECT_EQ(wnd->LastClick, QPoint(0, 0));
    wnd->OrgBtnClick();
    EXPECT_EQ(JobDef.PanX, 0.0);
    EXPECT_FALSE(ViewCentreOn);
}

TEST_F(AntennaView, ADoubleClickDuringACalculationDoesNothing) {
    SetWires({{0, -5, 0, 0, 5, 0}});
    FrontView();
    JobDef.Busy = 1;
    wnd->ViewImageDblClick();
    EXPECT_FALSE(wnd->ViewState.DoubleClicked);
    JobDef.Busy = 0;
}

TEST_F(AntennaView, PlotPressReadsOutUnlessBothFieldsAreShown) {
    Results.AngleStep = 1;
    Results.HasFarField = 1;
    for (int i = 0; i < 360; ++i) Results.AzCut[2][i] = 0.0f;
    for (int i = 0; i < 181; ++i) Results.ElevCut[2][i] = 0.0f;
    PatternMaxGain = 0.0;
    wnd->Page->setCurrentWidget(wnd->TabSheet4);
    QApplication::processEvents();
    ShowResultsOfThisAntenna();
    JobDef.WaveSel = 2;
    wnd->RedrawPlots();
    const QImage before = wnd->DNBitmap.copy();
    QTest::mousePress(wnd->DNImage, Qt::LeftButton, Qt::NoModifier,
                      QPoint(PatternGeometry.AzCentreX, PatternGeometry.CentreY - PatternGeometry.Radius / 2));
    EXPECT_TRUE(wnd->ViewState.ReadoutActive);
    EXPECT_NE(wnd->DNBitmap, before);
    QTest::mouseRelease(wnd->DNImage, Qt::LeftButton);

    JobDef.WaveSel = 3;
    wnd->DNBitmap.fill(Qt::red);
    QTest::mousePress(wnd->DNImage, Qt::LeftButton, Qt::NoModifier, QPoint(20, 20));
    EXPECT_EQ(PixelAt(wnd->DNBitmap, 5, 5), ClRed);
    QTest::mouseRelease(wnd->DNImage, Qt::LeftButton);
}
