// The program opened with an example on its command line, as
// `make run ARGS=examples/yagi3.kva` does, then Start: a screenshot of the
// Calculate tab with the results table and the log, saved into the build folder.
#include "ScreenshotPath.h"
#include "app/MainWndFixture.h"
#include "model/ResultStore.h"

#include <QPixmap>
#include <QPushButton>
#include <QTabWidget>

namespace {

class CalculateScreenshot : public MainWndTest {};

}  // namespace

TEST_F(CalculateScreenshot, CommandLineYagiExampleThenStart) {
    Results.RowCount = 0;
    Results.RingIndex = 0;
    Results.HasFarField = 0;
    Open({"korva", QString(KORVA_TEST_DATA) + "/../../examples/yagi3.kva"});
    wnd->resize(1024, 768);
    QTest::qWait(400);  // the re-layout ends on a timer after the last size change
    ASSERT_EQ(wnd->Ant.WireCount, 3);
    EXPECT_STREQ(wnd->Ant.Name, "3-element Yagi 14.2 MHz");

    wnd->Page->setCurrentWidget(wnd->TabSheet3);
    QApplication::processEvents();
    ASSERT_TRUE(wnd->CalTrgBtn->isEnabled());
    wnd->CalTrgBtn->click();
    QApplication::processEvents();

    ASSERT_EQ(Results.RowCount, 1) << wnd->LogLines().join("\n").toStdString();
    EXPECT_EQ(wnd->Grid1->Cells(1, 1), "14.2");
    ASSERT_FALSE(wnd->LogLines().isEmpty());
    EXPECT_TRUE(wnd->LogLines().last().endsWith(" sec"));
    EXPECT_FALSE(wnd->LogFailed());

    const QPixmap shot = wnd->grab();
    ASSERT_FALSE(shot.isNull());
    EXPECT_TRUE(shot.save(ShotPath("yagi_example_calculate_tab.png")));
}
