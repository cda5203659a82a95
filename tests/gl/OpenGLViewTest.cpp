// The 3D pattern view on a real OpenGL context (Mesa under Xvfb): opened
// from the far-field tab after Start, rendered, read back, refreshed by the
// next Start, saved as a picture and closed with its button.
#include "ScreenshotPath.h"
#include "app/MainWndFixture.h"
#include "app/OptimizerRowsFixture.h"
#include "engine/FarField3D.h"
#include "engine/EngineState.h"
#include "model/ResultStore.h"
#include "model/EnvDef.h"
#include "platform/FormPattern.h"
#include "platform/IniFile.h"
#include "platform/RadioGroup.h"
#include "views/FarSetDlg.h"
#include "views/GLSceneWidget.h"
#include "views/OpenGLForm.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QTabWidget>
#include <functional>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>

namespace {

class OpenGLView : public MainWndTest {
protected:
    void SetUp() override {
        MainWndTest::SetUp();
        Results.RowCount = 0;
        Results.RingIndex = 0;
        Results.HasFarField = 0;
        GLElevStep = 3;
        GLAzimStep = 6;
        Open({"korva", QString(KORVA_TEST_DATA) + "/dipole.kva"});
        ASSERT_EQ(wnd->Ant.WireCount, 1);
    }
    void TearDown() override {
        if (OpenGL_Form) OpenGL_Form->close();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        MainWndTest::TearDown();
    }
    void Start() {
        wnd->CalTrgBtn->click();
        QApplication::processEvents();
        ASSERT_TRUE(Results.HasFarField) << wnd->LogLines().join("\n").toStdString();
    }
    void OpenView() {
        wnd->Page->setCurrentWidget(wnd->TabSheet4);
        QApplication::processEvents();
        ASSERT_TRUE(wnd->Btn3D->isEnabled());
        wnd->Btn3D->click();
        ASSERT_NE(OpenGL_Form, nullptr);
        // A view that fails to build closes: the case fails, the run goes on.
        QTRY_VERIFY_WITH_TIMEOUT(!OpenGL_Form || OpenGL_Form->Built, 3000);
        QApplication::processEvents();
        ASSERT_NE(OpenGL_Form, nullptr) << "the view closed instead of showing its pattern";
    }
    static int CountNear(const QImage& img, QColor c, int tolerance = 8) {
        int n = 0;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x) {
                const QColor p = img.pixelColor(x, y);
                if (std::abs(p.red() - c.red()) <= tolerance && std::abs(p.green() - c.green()) <= tolerance &&
                    std::abs(p.blue() - c.blue()) <= tolerance)
                    ++n;
            }
        return n;
    }
};

// The Yagi with rows on the widths of its reflector and director.
class OpenGLViewOfRows : public OptimizerRowsSteps<OpenGLView> {};

}  // namespace

TEST_F(OpenGLView, OpensAfterStartAndDrawsSurfaceAxesAndAntenna) {
    ASSERT_NO_FATAL_FAILURE(Start());
    ASSERT_NO_FATAL_FAILURE(OpenView());
    EXPECT_EQ(OpenGL_Form->ListCount, 92);
    EXPECT_EQ(OpenGL_Form->DnSB->maximum(), 91);
    EXPECT_FALSE(wnd->ACalBtn->isEnabled());
    EXPECT_EQ(Engine.FarField3D.size(), 31u * 61u);

    OpenGL_Form->x1Click(4);
    const QImage frame = OpenGL_Form->Gl->grabFramebuffer();
    ASSERT_FALSE(frame.isNull());
    EXPECT_NEAR(OpenGL_Form->Tilt, 70.0f, 1e-3f);
    EXPECT_NEAR(OpenGL_Form->Turn, 40.0f, 1e-3f);
    EXPECT_GT(CountNear(frame, QColor(255, 255, 255)), frame.width() * frame.height() / 2);
    EXPECT_GT(CountNear(frame, QColor(200, 200, 200)), 200);  // the surface
    EXPECT_GT(CountNear(frame, QColor(0, 140, 255)), 20);     // the antenna
    EXPECT_GT(CountNear(frame, QColor(255, 0, 0)), 20);       // the X axis
    EXPECT_TRUE(frame.save(ShotPath("view3d.png")));

    // Without "All" and a slice only the axes and the antenna remain.
    OpenGL_Form->AllCB->click();
    const QImage bare = OpenGL_Form->Gl->grabFramebuffer();
    EXPECT_EQ(CountNear(bare, QColor(200, 200, 200), 2), 0);
    EXPECT_GT(CountNear(bare, QColor(0, 140, 255)), 20);

    // A slice is drawn in its colour and named.
    OpenGL_Form->DnSB->setValue(32);
    const QImage slice = OpenGL_Form->Gl->grabFramebuffer();
    EXPECT_GT(CountNear(slice, QColor(150, 200, 0)), 50);
    EXPECT_EQ(OpenGL_Form->SliceCaptionLabel->text(), "Azimuth angle 0 deg");
    EXPECT_TRUE(OpenGL_Form->SliceCaptionLabel->isVisible());
    OpenGL_Form->DnSB->setValue(500);
    EXPECT_EQ(OpenGL_Form->SelectedSlice, 91);

    OpenGL_Form->DnSB->setValue(31);
    EXPECT_TRUE(OpenGL_Form->grab().save(ShotPath("view3d_slice.png")));
}

TEST_F(OpenGLView, DragTurnsShiftPansAndReleasingShiftTurnsAgain) {
    ASSERT_NO_FATAL_FAILURE(Start());
    ASSERT_NO_FATAL_FAILURE(OpenView());
    OpenGL_Form->Gl->grabFramebuffer();
    const float turn = OpenGL_Form->Turn;
    const int w = OpenGL_Form->frameGeometry().width();
    OpenGL_Form->FormMouseDown(Qt::LeftButton, 100, 100);
    OpenGL_Form->FormMouseMove(90, 100);
    OpenGL_Form->Gl->grabFramebuffer();
    EXPECT_NEAR(OpenGL_Form->Turn - turn, 10 * 900.0 / w, 1e-3);

    OpenGL_Form->FormKeyDown(Qt::Key_Shift);
    EXPECT_TRUE(OpenGL_Form->Panning);
    OpenGL_Form->FormMouseMove(80, 100);
    EXPECT_NEAR(OpenGL_Form->PanX, -10 * 2.8 / w, 1e-9);
    OpenGL_Form->FormKeyUp();
    EXPECT_TRUE(OpenGL_Form->Rotating);
    OpenGL_Form->FormMouseUp();
    EXPECT_FALSE(OpenGL_Form->Rotating || OpenGL_Form->Panning);
    OpenGL_Form->M2Click();
    EXPECT_EQ(OpenGL_Form->PanX, 0.0);
}

TEST_F(OpenGLView, NextStartRefreshesTheOpenViewAndTheButtonClosesIt) {
    ASSERT_NO_FATAL_FAILURE(Start());
    ASSERT_NO_FATAL_FAILURE(OpenView());
    GLElevStep = 10;
    GLAzimStep = 36;
    ASSERT_NO_FATAL_FAILURE(Start());
    ASSERT_NE(OpenGL_Form, nullptr) << "the next Start closed the view";
    EXPECT_EQ(OpenGL_Form->ListCount, 10 + 11);

    wnd->Btn3D->click();
    EXPECT_EQ(OpenGL_Form, nullptr);
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QApplication::processEvents();
    IniFile ini(SettingsPath().toStdString());
    EXPECT_TRUE(ini.SectionExists("GLForm"));
}

// The angle/gain table command fills the engine's one 3D table too: the open
// view goes on drawing its own pattern whichever component is chosen next,
// whatever grid the table had, the view's size in another order included.
TEST_F(OpenGLView, AnAngleGainTableLeavesTheViewItsOwnPattern) {
    struct Grid {
        const char* name;
        QString zenithCount, azimuthCount, azimuthStep;  // empty: the dialog's default
        std::size_t points;
    };
    const Grid grids[] = {
        {"default grid", "", "", "", 10u * 36u},
        {"4 x 8", "4", "8", "", 4u * 8u},
        {"31 x 61, the view's size, azimuth outer", "31", "61", "6", 31u * 61u},
    };
    ASSERT_NO_FATAL_FAILURE(Start());
    ASSERT_NO_FATAL_FAILURE(OpenView());
    const std::size_t own = Engine.FarField3D.size();
    for (const Grid& g : grids) {
        const ScopedModalRoutine answer([&](QDialog& shown) {
            auto* d = dynamic_cast<TFarSetDlg*>(&shown);
            if (!d) return int(QDialog::Rejected);
            d->EditName->setText(TempPath("angles.csv"));
            if (!g.zenithCount.isEmpty()) d->EditZN->setText(g.zenithCount);
            if (!g.azimuthCount.isEmpty()) d->EditAN->setText(g.azimuthCount);
            if (!g.azimuthStep.isEmpty()) d->EditAW->setText(g.azimuthStep);
            return int(QDialog::Accepted);
        });
        wnd->K32->trigger();
        ASSERT_EQ(Engine.FarField3D.size(), g.points) << g.name << ": the table was not computed";
        for (QRadioButton* component : {OpenGL_Form->HRB, OpenGL_Form->VRB, OpenGL_Form->TotalRB}) {
            component->click();
            ASSERT_NE(OpenGL_Form, nullptr) << g.name;
            EXPECT_EQ(OpenGL_Form->ListCount, 92) << g.name << ", " << component->text().toStdString();
        }
        EXPECT_EQ(Engine.FarField3D.size(), own) << g.name;
        const QImage frame = OpenGL_Form->Gl->grabFramebuffer();
        EXPECT_GT(CountNear(frame, QColor(200, 200, 200)), 200) << g.name << ": the surface is gone";
    }
}

// After an edit no valid results are shown: the view of the old pattern
// closes when the antenna is prepared again (at once after a command, at the
// next change of tab after an edit of a table or a field).
TEST_F(OpenGLView, AnEditedAntennaClosesTheViewOfItsOldPattern) {
    struct Case {
        const char* how;
        std::function<void()> edit;
    };
    const Case cases[] = {
        {"axis exchange command",
         [this] {
             prompter.AnswerMessage(BoxYes);
             wnd->KXY1->trigger();
         }},
        {"table edit and a change of tab",
         [this] {
             wnd->Page->setCurrentWidget(wnd->TabSheet1);
             QApplication::processEvents();
             Type(wnd->Grid2, 3, 1, "12");
             wnd->Page->setCurrentWidget(wnd->TabSheet2);
             QApplication::processEvents();
         }},
        // The view closes when the results stop belonging, whatever comes next.
        {"table edit",
         [this] {
             wnd->Page->setCurrentWidget(wnd->TabSheet1);
             QApplication::processEvents();
             Type(wnd->Grid2, 5, 1, "6");
             UntilIdle();
         }},
        {"ground chosen",
         [this] {
             wnd->Page->setCurrentWidget(wnd->TabSheet3);
             QApplication::processEvents();
             wnd->CalcSel->Button(GroundPerfect)->click();
             UntilIdle();
         }},
        {"frequency typed and a change of tab",
         [this] {
             wnd->Page->setCurrentWidget(wnd->TabSheet1);
             QApplication::processEvents();
             wnd->Freq->lineEdit()->selectAll();
             QTest::keyClicks(wnd->Freq->lineEdit(), "7.1");
             wnd->Page->setCurrentWidget(wnd->TabSheet2);
             QApplication::processEvents();
         }},
    };
    for (const Case& c : cases) {
        ASSERT_NO_FATAL_FAILURE(Start());
        ASSERT_NO_FATAL_FAILURE(OpenView());
        c.edit();
        EXPECT_EQ(OpenGL_Form, nullptr) << c.how;
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        if (OpenGL_Form) OpenGL_Form->close();
    }
}

TEST_F(OpenGLView, PictureKeepsANameThatContainsBmp) {
    ASSERT_NO_FATAL_FAILURE(Start());
    ASSERT_NO_FATAL_FAILURE(OpenView());
    const QString name = TempPath("view.bmp.old");
    prompter.AnswerFile(name.toStdString(), 1);
    OpenGL_Form->M8Click();
    QImage saved(name, "BMP");
    ASSERT_FALSE(saved.isNull());
    EXPECT_EQ(saved.height(), OpenGL_Form->height() - OpenGL_Form->PanelHeight());

    prompter.AnswerFile(TempPath("Shot").toStdString(), 0);
    OpenGL_Form->M8Click();
    EXPECT_TRUE(QFileInfo::exists(TempPath("shot.jpg")));
}

TEST_F(OpenGLView, MainWindowCloseClosesTheView) {
    ASSERT_NO_FATAL_FAILURE(Start());
    ASSERT_NO_FATAL_FAILURE(OpenView());
    wnd->close();
    EXPECT_EQ(OpenGL_Form, nullptr);
}

TEST_F(OpenGLView, PictureShowsTheBackgroundColourAndTheCaption) {
    ASSERT_NO_FATAL_FAILURE(Start());
    ASSERT_NO_FATAL_FAILURE(OpenView());
    OpenGL_Form->Settings.Background = GLColour{0, 0, 0};
    OpenGL_Form->Settings.BlackFont = false;
    OpenGL_Form->DnSB->setValue(1);
    const QImage image = OpenGL_Form->ViewImage();
    EXPECT_EQ(image.pixelColor(image.width() - 3, image.height() - 3), QColor(0, 0, 0));
    EXPECT_EQ(OpenGL_Form->SliceCaptionLabel->text(), "Elevation angle 0 deg");
    // White caption on the black view.
    EXPECT_GT(CountNear(image.copy(0, 0, 200, 30), QColor(255, 255, 255), 40), 5);
}

// The engine's table outlives the view: a view opened after the antenna
// changed (here by an optimization, which Start did not see) computes the
// pattern of the antenna now instead of showing the one it kept.
TEST_F(OpenGLViewOfRows, AViewOpenedAfterAnOptimizationShowsTheAntennaItLeft) {
    OpenYagiWithRows();
    Type(wnd->Grid2, 2, 1, "-4.5");
    Type(wnd->Grid2, 5, 1, "4.5");
    ASSERT_NO_FATAL_FAILURE(Start());
    ASSERT_NO_FATAL_FAILURE(OpenView());
    wnd->Btn3D->click();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    const double before = Engine.FarField3DMaxGain;
    RunOptimizationStoppedEarly({}, 12);
    ASSERT_GT(Results.Row(0)->Ga, before + 1.0) << "the run left the gain where it was";
    ASSERT_NO_FATAL_FAILURE(OpenView());
    const std::vector<FarField3DPoint> shown = Engine.FarField3D;
    const double shownMax = Engine.FarField3DMaxGain;
    int elevationStep = GLElevStep, azimuthStep = GLAzimStep;
    ASSERT_TRUE(CalcPattern3DForView(elevationStep, azimuthStep));
    ASSERT_EQ(shown.size(), Engine.FarField3D.size());
    // Both tables are computed from one model on one grid: equal but for
    // the float rounding of the threads.
    EXPECT_NEAR(shownMax, Engine.FarField3DMaxGain, 1e-3);
    double largest = 0;
    for (std::size_t i = 0; i < shown.size(); ++i)
        largest = std::max(largest, std::abs(double(shown[i].Gtotal) - Engine.FarField3D[i].Gtotal));
    EXPECT_LT(largest, 1e-2);
}
