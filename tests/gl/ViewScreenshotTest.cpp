// Screenshots of the View tab and the far-field tab after Start on a
// 3-element Yagi over real ground, saved into the build folder for review.
#include "ScreenshotPath.h"
#include "app/MainWndFixture.h"
#include "model/EnvDef.h"
#include "model/ResultStore.h"
#include "draw/PatternPanel.h"
#include "platform/Canvas.h"
#include "platform/RadioGroup.h"

#include <QCheckBox>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTabWidget>

namespace {

class YagiScreenshots : public MainWndTest {
protected:
    void SetUp() override {
        MainWndTest::SetUp();
        wnd->resize(1024, 768);
        // The re-layout ends on a timer after the last size change.
        QTest::qWait(400);
    }
    // Reflector, driven element and director along X, 15 m above real ground.
    void MakeYagi() {
        AntDef& a = wnd->Ant;
        const double lengths[3] = {10.9, 10.2, 9.7};
        const double xs[3] = {-4.2, 0.0, 3.4};
        a.WireCount = 3;
        for (int i = 0; i < 3; ++i) {
            WireRec& w = a.Wires[i];
            w = WireRec{};
            w.X1 = w.X2 = xs[i];
            w.Y1 = -lengths[i] / 2;
            w.Y2 = lengths[i] / 2;
            w.Z1 = w.Z2 = 15.0;
            w.R = 0.01;
            w.Seg = -1;
        }
        a.SourceCount = 1;
        a.Sources[0] = SourceRec{};
        CopyText(a.Sources[0].Pos, "w2c");
        a.Sources[0].Voltage = 1.0;
        wnd->SetAntDef();
        wnd->CalcSel->Button(GroundReal)->click();
        QApplication::processEvents();
    }
    static int Count(const QImage& img, WinColor c) {
        int n = 0;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                if (FromQColor(img.pixelColor(x, y)) == c) ++n;
        return n;
    }
};

}  // namespace

TEST_F(YagiScreenshots, ViewAndFarFieldTabsAfterStart) {
    MakeYagi();
    wnd->UpdateMenuState();
    ASSERT_TRUE(wnd->CalTrgBtn->isEnabled());
    wnd->CalTrgBtn->click();
    QApplication::processEvents();
    ASSERT_TRUE(Results.HasFarField) << wnd->LogLines().join("\n").toStdString();
    EXPECT_EQ(EnvDef.Type, GroundReal);

    wnd->Page->setCurrentWidget(wnd->TabSheet2);
    QApplication::processEvents();
    if (!wnd->DspCur->isChecked()) wnd->DspCur->click();
    wnd->TBarCur->setValue(36);  // about 1.5 m of stand-off for the feed current
    QApplication::processEvents();
    // The elements in the picture, with their currents standing off them.
    const QImage& view = wnd->ViewBitmap;
    const int w = view.width(), h = view.height();
    int black = 0, blue = 0;
    for (int y = h / 4; y < 3 * h / 4; ++y)
        for (int x = w / 4; x < 3 * w / 4; ++x) {
            const WinColor c = FromQColor(view.pixelColor(x, y));
            black += c == ClBlack;
            blue += c == ClBlue;
        }
    EXPECT_GT(black, 200);
    EXPECT_GT(blue, 300);
    const QPixmap viewShot = wnd->grab();
    ASSERT_FALSE(viewShot.isNull());
    EXPECT_TRUE(viewShot.save(ShotPath("view_tab.png")));

    wnd->Page->setCurrentWidget(wnd->TabSheet4);
    QApplication::processEvents();
    // The curves and the result lines add to the bare grid.
    QImage bare = wnd->DNBitmap.copy();
    {
        Canvas c(&bare);
        c.SetFont(wnd->font());
        DrawPatternImage(c, false);
    }
    EXPECT_GT(wnd->DNBitmap.size().width() * wnd->DNBitmap.size().height() - Count(wnd->DNBitmap, ClWhite),
              bare.width() * bare.height() - Count(bare, ClWhite) + 500);
    const QPixmap farField = wnd->grab();
    ASSERT_FALSE(farField.isNull());
    EXPECT_TRUE(farField.save(ShotPath("far_field_tab.png")));
}
