// The scene of the 3D pattern view: the far-field and antenna lists, the
// render, the slice highlight and the refresh after a calculation.
#include "engine/FarField3D.h"
#include "platform/Prompter.h"
#include "platform/WaitCursor.h"
#include "views/GLSceneWidget.h"
#include "views/OpenGLForm.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTimer>

namespace {

// The engine keeps one 3D table, which the angle/gain table command also
// fills: only a table laid out on the view's grid, ring by ring from the
// horizon, is the view's.
bool TableOnTheViewGrid() {
    if (GLElevStep <= 0 || GLAzimStep <= 0) return false;
    const int rings = 90 / GLElevStep + 1, perRing = 360 / GLAzimStep + 1;
    const auto& table = Engine.FarField3D;
    if (table.size() != static_cast<std::size_t>(rings) * static_cast<std::size_t>(perRing)) return false;
    for (std::size_t i = 0; i < table.size(); ++i) {
        const int ring = static_cast<int>(i) / perRing, k = static_cast<int>(i) % perRing;
        if (table[i].Zenith != static_cast<float>(90 - ring * GLElevStep) ||
            table[i].Azimuth != static_cast<float>(k * GLAzimStep))
            return false;
    }
    return true;
}

}  // namespace

void TOpenGL_Form::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (Built) return;
    setCursor(Qt::WaitCursor);
    Timer1->start();
}

void TOpenGL_Form::BuildFarFieldLists() {
    FarScene = BuildFarFieldScene(Engine.FarField3D, Engine.FarField3DMaxGain, Component);
    FarDirty = true;
    ListCount = static_cast<int>(FarScene.lists.size());
    // List N, the meridian at 360, lies on the one at 0 and is not offered.
    const QSignalBlocker block(DnSB);
    DnSB->setMaximum(std::max(0, ListCount - 1));
}

void TOpenGL_Form::DrawScene() {
    if (Gl) Gl->update();
}

void TOpenGL_Form::FormPaint() {
    if (DnSB->value() != 0)
        DnSBChange();
    else
        DrawScene();
}

void TOpenGL_Form::ShowSliceCaption(const QString& text) {
    if (text.isEmpty()) {
        SliceCaptionLabel->hide();
        return;
    }
    QPalette pal = SliceCaptionLabel->palette();
    pal.setColor(QPalette::WindowText, Settings.BlackFont ? Qt::black : Qt::white);
    SliceCaptionLabel->setPalette(pal);
    SliceCaptionLabel->setText(text);
    SliceCaptionLabel->adjustSize();
    SliceCaptionLabel->show();
    SliceCaptionLabel->raise();
}

void TOpenGL_Form::DnSBChange() {
    if (DnSB->text().isEmpty()) return;
    SelectedSlice = std::min(DnSB->value(), DnSB->maximum());
    DrawScene();
    ShowSliceCaption(QString::fromStdString(SliceCaption(SelectedSlice, GLElevStep, GLAzimStep)));
}

void TOpenGL_Form::VRBClick(int component) {
    Component = component;
    // The table command may have written the engine's table since the last
    // build: the lists are built from the view's own pattern only.
    UseOwnTable();
    BuildFarFieldLists();
    FormPaint();
}

bool TOpenGL_Form::ComputeTable() {
    if (!CalcPattern3DForView(GLElevStep, GLAzimStep)) return false;
    if (origin_.Computed) origin_.Computed();
    return true;
}

void TOpenGL_Form::UseOwnTable() {
    if (origin_.Belongs && origin_.Belongs() && TableOnTheViewGrid()) return;
    bool computed = false;
    {
        WaitCursor hourglass;
        computed = ComputeTable();
    }
    if (computed) return;
    ErrorBox("The 3D far field could not be calculated.");
    QTimer::singleShot(0, this, [this] { close(); });
}

void TOpenGL_Form::Timer2Timer() {
    Timer1->stop();
    UseOwnTable();
    BuildFarFieldLists();
    BuildAntennaList();
    Built = true;
    FormPaint();
    unsetCursor();
}
