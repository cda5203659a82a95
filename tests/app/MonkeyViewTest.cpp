// The monkey on the View and far-field tabs: clicks, drags and double clicks
// on the antenna view and the plots, the bars, boxes and choices beside
// them, keys, window sizes from a sliver to a wall, and Start in between,
// on antennas with and without results.
#include "MonkeyFixture.h"
#include "platform/Printing.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>

class MonkeyView : public MonkeyTest {
protected:
    void SetUp() override {
        MonkeyTest::SetUp();
        pdf_ = std::make_unique<PdfPrintSetup>(TempPath("plots.pdf").toStdString());
        printScope_ = std::make_unique<ScopedPrintSetup>(*pdf_);
    }
    void TearDown() override {
        printScope_.reset();
        MonkeyTest::TearDown();
    }

    QPoint RandomPoint(const QWidget* w) {
        // Mostly inside, sometimes just outside the picture.
        const int width = std::max(1, w->width()), height = std::max(1, w->height());
        return QPoint(Pick(width + 40) - 20, Pick(height + 40) - 20);
    }

    void Mouse(QWidget* w) {
        const Qt::MouseButton button = Chance(70) ? Qt::LeftButton : Qt::RightButton;
        const QPoint a = RandomPoint(w), b = RandomPoint(w);
        switch (Pick(3)) {
            case 0: QTest::mouseClick(w, button, {}, a); break;
            case 1: QTest::mouseDClick(w, button, {}, a); break;
            default:
                QTest::mousePress(w, button, Chance(30) ? Qt::ShiftModifier : Qt::NoModifier, a);
                for (int i = 0; i < 3; ++i) QTest::mouseMove(w, a + (b - a) * (i + 1) / 3);
                QTest::mouseRelease(w, button, {}, b);
        }
        // A popup opened by the right button: pick one of its enabled items or none.
        if (QWidget* popup = QApplication::activePopupWidget()) {
            if (auto* menu = qobject_cast<QMenu*>(popup); menu && Chance(50)) {
                std::vector<QAction*> items;
                for (QAction* a : menu->actions())
                    if (a->isEnabled() && !a->isSeparator() && !a->menu() && !a->objectName().isEmpty())
                        items.push_back(a);
                menu->close();
                if (!items.empty()) PickOf(items)->trigger();
            }
        }
    }

    bool RandomViewAction() {
        std::string what;
        switch (Pick(15)) {
            case 0:
            case 1:
                what = "mouse on the view";
                wnd->Page->setCurrentWidget(wnd->TabSheet2);
                Mouse(wnd->ViewImage);
                break;
            case 2:
            case 3:
                what = "mouse on the plots";
                wnd->Page->setCurrentWidget(wnd->TabSheet4);
                Mouse(wnd->DNImage);
                break;
            case 4: {
                QSlider* bar = Chance(50) ? wnd->TBarSC : wnd->TBarCur;
                what = "bar " + bar->objectName().toStdString();
                bar->setValue(bar->minimum() + Pick(bar->maximum() - bar->minimum() + 1));
                break;
            }
            case 5:
                what = "selected wire";
                wnd->SelWirSpEd->setValue(Pick(wnd->SelWirSpEd->maximum() + 2));
                break;
            case 6: {
                QRadioButton* rb = PickOf(std::vector<QRadioButton*>{wnd->CenterRb, wnd->FullWRb, wnd->WireCenterRB});
                what = "centre " + rb->objectName().toStdString();
                rb->click();
                break;
            }
            case 7: {
                QCheckBox* box = PickOf(std::vector<QCheckBox*>{wnd->DspCur, wnd->DspPlus, wnd->LnThickCB, wnd->OrientCB});
                what = "box " + box->objectName().toStdString();
                box->click();
                break;
            }
            case 8: {
                const int i = Pick(wnd->WaveSel->Items().size());
                what = "field " + std::to_string(i);
                if (QRadioButton* b = wnd->WaveSel->Button(i)) b->click();
                break;
            }
            case 9: {
                QPushButton* b = Chance(50) ? wnd->OrgBtn : wnd->AllViewBtn;
                what = "button " + b->objectName().toStdString();
                if (b->isEnabled()) b->click();
                break;
            }
            case 10: {
                what = "keys";
                const Qt::Key key = PickOf(std::vector<Qt::Key>{Qt::Key_Control, Qt::Key_Shift, Qt::Key_Left,
                                                                Qt::Key_Up, Qt::Key_PageDown, Qt::Key_Escape});
                QTest::keyPress(wnd.get(), key);
                if (Chance(70)) QTest::keyRelease(wnd.get(), key);
                break;
            }
            case 11: {
                const QSize size = PickOf(std::vector<QSize>{{1, 1}, {60, 40}, {200, 900}, {780, 544}, {1170, 816},
                                                             {2600, 1900}, {5000, 300}});
                what = "size " + std::to_string(size.width()) + "x" + std::to_string(size.height());
                wnd->resize(size);
                QTest::qWait(Chance(75) ? 0 : 120);  // let the re-layout timer run sometimes
                break;
            }
            case 12: {
                // Print and save the picture of whatever is shown, even nothing.
                if (Chance(50)) {
                    what = "print";
                    pdf_->Cancel = Chance(20);
                    if (wnd->PrintBtn->isEnabled()) wnd->PrintBtn->click();
                } else {
                    what = "save image";
                    prompter.AnswerFile(PickOf(std::vector<QString>{TempPath("view.jpg"), TempPath("view"),
                                                                    TempPath("view.bmp"), UnwritablePath("v.jpg"),
                                                                    QString()})
                                            .toStdString());
                    prompter.AnswerMessage(Chance(50) ? BoxYes : BoxNo);
                    if (wnd->SavImBtn->isEnabled()) wnd->SavImBtn->click();
                }
                break;
            }
            default:
                what = "Start";
                RepairFields();
                if (!PressStart("view monkey")) return false;
                break;
        }
        CloseMenus();
        QApplication::processEvents();
        if (!CheckInvariants(what)) return false;
        prompter.Clear();
        return true;
    }

    std::unique_ptr<PdfPrintSetup> pdf_;
    std::unique_ptr<ScopedPrintSetup> printScope_;
};

TEST_F(MonkeyView, ClicksDragsBarsAndSizesOnTheViewAndPlots) {
    // A new antenna without wires, then the dipole before and after Start.
    Seed(41);
    for (int i = 0; i < 40; ++i)
        if (!RandomViewAction()) return;
    OpenDipole();
    for (unsigned seed : {42u, 43u}) {
        Seed(seed);
        for (int i = 0; i < 80; ++i)
            if (!RandomViewAction()) return;
    }
    wnd->resize(780, 544);
}

TEST_F(MonkeyView, DegenerateAntennasAreDrawn) {
    // Antennas that every drawing must survive: one point, a wire at the
    // largest double, a tiny one, a huge one, 512 wires.
    const std::vector<std::vector<WireRec>> antennas = {
        {WireRec{1, 1, 1, 1, 1, 1, 0.001, 5, 0, 0, 0}},
        {WireRec{0, 0, 0, 1.7976931348623157e308, 0, 0, 0.001, 5, 0, 0, 0}},
        {WireRec{0, 0, 0, 1e-300, 1e-300, 0, 1e-300, 1, 0, 0, 0}},
        {WireRec{-1e200, 0, 0, 1e200, 0, 1e200, 1e100, 5, 0, 0, 0}},
        std::vector<WireRec>(MaxWires, WireRec{0, 0, 0, 0, 0, 1, 0.001, 1, 0, 0, 0}),
    };
    Seed(51);
    for (const auto& wires : antennas) {
        AntDef& a = wnd->Ant;
        a.WireCount = static_cast<int>(wires.size());
        for (std::size_t i = 0; i < wires.size(); ++i) a.Wires[i] = wires[i];
        a.SourceCount = 1;
        CopyText(a.Sources[0].Pos, "w1c");
        wnd->AntChanged();
        for (int i = 0; i < 25; ++i)
            if (!RandomViewAction()) return;
    }
    wnd->resize(780, 544);
}
