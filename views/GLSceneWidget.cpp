#include "views/GLSceneWidget.h"

#include "views/OpenGLForm.h"

#include <GL/gl.h>
#include <QCheckBox>
#include <QGuiApplication>
#include <QScreen>
#include <QSurfaceFormat>

namespace {

void Colour(const GLColour& c) { glColor3ub(c.r, c.g, c.b); }

void CompileList(unsigned number, const GLPolyline& line) {
    glNewList(number, GL_COMPILE);
    glBegin(line.kind == GLPrimitive::Loop ? GL_LINE_LOOP : line.kind == GLPrimitive::Strip ? GL_LINE_STRIP : GL_LINES);
    for (const GLVertex& p : line.points) glVertex3d(p.u, p.v, p.w);
    glEnd();
    glEndList();
}

QSurfaceFormat LegacyFormat() {
    QSurfaceFormat f;
    f.setRenderableType(QSurfaceFormat::OpenGL);
    f.setProfile(QSurfaceFormat::CompatibilityProfile);
    f.setVersion(2, 1);
    f.setDepthBufferSize(24);
    f.setSwapBehavior(QSurfaceFormat::DoubleBuffer);
    return f;
}

}  // namespace

GLSceneWidget::GLSceneWidget(TOpenGL_Form* form) : QOpenGLWidget(form), form_(form) {
    setObjectName("GLScene");
    setFormat(LegacyFormat());
    setMouseTracking(false);
}

GLSceneWidget::~GLSceneWidget() {
    if (!context()) return;
    makeCurrent();
    glDeleteLists(AxisYList, 4);
    if (compiledFarLists_ > 0) glDeleteLists(1, compiledFarLists_);
    doneCurrent();
}

void GLSceneWidget::initializeGL() {
    glClearIndex(form_->Settings.ClearIndex != 0 ? 10.0f : 0.0f);
    glClearDepth(1.0);
    glEnable(GL_DEPTH_TEST);
    const std::vector<GLPolyline> axes = BuildAxisScene();
    for (unsigned i = 0; i < axes.size(); ++i) CompileList(AxisYList + i, axes[i]);
    compiledFarLists_ = 0;
    // A new context has none of the lists of an earlier one.
    form_->FarDirty = form_->FarDirty || form_->ListCount > 0;
    form_->AntennaDirty = true;
}

void GLSceneWidget::SetProjection() {
    // The viewport reaches half the panel below the window, as the picture
    // was always framed.
    const double dpr = devicePixelRatioF();
    const QRect outer = form_->frameGeometry();
    const int w = outer.width(), h = outer.height(), p = form_->PanelHeight();
    glViewport(0, static_cast<int>(-(p / 2) * dpr), static_cast<int>(width() * dpr),
               static_cast<int>((height() + p / 2) * dpr));
    const QScreen* screen = form_->screen() ? form_->screen() : QGuiApplication::primaryScreen();
    form_->Settings.Aspect = AspectForScreenWidth(screen ? screen->geometry().width() : 0, form_->Settings.Aspect);
    const float a = static_cast<float>(w * 1.3 * 0.966 * form_->Settings.Aspect / (h > 0 ? h : 1));
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-a, a, -1.3, 1.3, -10.0, 10.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

void GLSceneWidget::ApplyViewTransform() {
    glTranslated(form_->PanX, form_->PanY, -form_->Distance);
    glRotatef(-form_->Tilt, 1.0f, 0.0f, 0.0f);
    glRotatef(form_->Turn, 0.0f, 0.0f, 1.0f);
    glScaled(form_->Zoom, form_->Zoom, form_->Zoom);
}

void GLSceneWidget::CompilePendingLists() {
    if (form_->FarDirty) {
        if (compiledFarLists_ > 0) glDeleteLists(1, compiledFarLists_);
        const std::vector<GLPolyline>& lists = form_->FarScene.lists;
        for (unsigned i = 0; i < lists.size(); ++i) CompileList(i + 1, lists[i]);
        compiledFarLists_ = static_cast<int>(lists.size());
        form_->FarDirty = false;
    }
    if (form_->AntennaDirty) {
        glDeleteLists(AntennaList, 1);
        CompileList(AntennaList, form_->AntennaScene);
        form_->AntennaDirty = false;
    }
}

void GLSceneWidget::paintGL() {
    // A paint requested while one runs is dropped.
    if (rendering_) return;
    rendering_ = true;
    Render();
    rendering_ = false;
}

void GLSceneWidget::Render() {
    ++renders_;
    SetProjection();
    CompilePendingLists();
    const GLColour& bg = form_->Settings.Background;
    // Opaque: the widget is composed into the window, where alpha 0 would let
    // the window's own background show through.
    glClearColor(bg.r / 255.0f, bg.g / 255.0f, bg.b / 255.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    // Before the first refresh there is nothing to show.
    if (!form_->Built) return;

    glPushMatrix();
    form_->Tilt += static_cast<float>(form_->TiltIncrement);
    form_->Turn += static_cast<float>(form_->TurnIncrement);
    form_->TiltIncrement = form_->TurnIncrement = 0.0;
    ApplyViewTransform();

    glLineWidth(1.0f);
    glColor3ub(0, 0, 255);
    glCallList(AxisYList);
    glColor3ub(255, 0, 0);
    glCallList(AxisXList);
    glColor3ub(155, 200, 0);
    glCallList(AxisZList);

    if (form_->Settings.PlotsVisible) {
        Colour(form_->Settings.Plot);
        if (form_->AllCB && form_->AllCB->isChecked())
            for (int i = 1; i < form_->ListCount && i <= compiledFarLists_; ++i) glCallList(i);
        const int slice = form_->SelectedSlice;
        // A slice whose list does not exist draws nothing.
        if (slice > 0 && slice <= compiledFarLists_) {
            Colour(form_->Settings.Slice);
            glLineWidth(3.0f);
            glCallList(slice);
        }
    }
    if (form_->Settings.AntennaVisible) {
        Colour(form_->Settings.Antenna);
        glLineWidth(static_cast<float>(form_->Settings.LineWidth));
        glCallList(AntennaList);
    }
    glPopMatrix();
}
