#pragma once
// The 3D pattern view: the one modeless window of the program. It shows the
// engine's 3D far-field table as a wire-frame surface around the antenna,
// turned with the mouse, panned with Shift or Ctrl held, zoomed with the
// bar; the surface is compiled into display lists once per build.
#include "views/GLScene.h"
#include "views/GLViewSettings.h"

#include <QWidget>
#include <functional>

// What the view asks its owner about the engine's 3D table, which outlives
// the view: whether the table is of the antenna and settings now, and, once
// the view has computed it from the model now, that it is. Without answers
// the table is computed for every build.
struct GLTableOrigin {
    std::function<bool()> Belongs;
    std::function<void()> Computed;
};

class QAction;
class QCheckBox;
class QLabel;
class QMenu;
class QRadioButton;
class QSlider;
class QSpinBox;
class QTimer;
class GLSceneWidget;

class TOpenGL_Form : public QWidget {
    Q_OBJECT
public:
    // `model` gives the current calculation model at each antenna build (the
    // main window may replace its calculation copy while the view is open).
    TOpenGL_Form(std::function<const AntDef*()> model, const QString& fontName, GLTableOrigin origin = {});
    ~TOpenGL_Form() override;

    // ---- Scene ----
    void BuildFarFieldLists();
    void BuildAntennaList();
    void DrawScene();    // one render of the lists
    void DnSBChange();   // applies the slice spin: select, render, caption
    void FormPaint();    // render, through the slice spin when one is chosen
    void Timer2Timer();  // the full refresh: the table computed anew unless it is of the antenna now
    void VRBClick(int component);

    // ---- Commands ----
    void MastTBChange();
    void M1Click();  // step form
    void M2Click();  // centred
    void M3Click();  // show antenna
    void M4Click();  // X/Y centring
    void M5Click();  // H centring
    void x1Click(int width);
    void M7Click();  // colour form
    void M8Click();  // save picture
    // The picture of the view as on screen, caption included, without the panel.
    QImage ViewImage();

    // ---- Input (W, H the window's outer size) ----
    void FormMouseDown(Qt::MouseButton button, int x, int y);
    void FormMouseMove(int x, int y);
    void FormMouseUp();
    void FormKeyDown(int key);
    void FormKeyUp();

    void LoadSettings();
    void SaveSettings();
    void ChangeLanguage();

    // ---- Widgets (objectNames as named) ----
    GLSceneWidget* Gl = nullptr;
    QWidget* Panel = nullptr;  // bottom panel, 45 pixels
    QRadioButton *VRB = nullptr, *HRB = nullptr, *TotalRB = nullptr;
    QLabel* ZoomLabel = nullptr;
    QSlider* MastTB = nullptr;
    QCheckBox* AllCB = nullptr;
    QSpinBox* DnSB = nullptr;
    QLabel* SliceCaptionLabel = nullptr;
    QMenu* Popup = nullptr;
    QMenu* M6 = nullptr;
    QAction *M1 = nullptr, *M2 = nullptr, *M3 = nullptr, *M4 = nullptr, *M5 = nullptr, *M7 = nullptr, *M8 = nullptr;
    QAction* WidthItems[4] = {};  // x1..x4
    QTimer* Timer1 = nullptr;

    // ---- State ----
    GLViewSettings Settings;  // colours, visibility, line width, centring, box
    int Component = GLCompTotal;
    int SelectedSlice = 0;
    int ListCount = 0;  // N: far-field lists of the last build
    double Distance = 4.24;
    float Tilt = 0.0f, Turn = 0.0f;
    double TiltIncrement = 70.0, TurnIncrement = 40.0;
    double PanX = 0.0, PanY = 0.0;
    double Zoom = 1.0;
    int LastX = 0, LastY = 0;
    bool Rotating = false, Panning = false, PanMode = false;
    bool Built = false;  // the first refresh has run; only then the view paints

    // Scene data waiting to be compiled by the next render.
    GLFarFieldScene FarScene;
    GLPolyline AntennaScene;
    bool FarDirty = false, AntennaDirty = false;

    int PanelHeight() const;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void BuildPanel();
    void BuildPopup();
    void ApplyAntennaItems();
    void ShowSliceCaption(const QString& text);
    bool ComputeTable();
    // Makes the engine's table the view's own pattern, computed anew where it
    // is not (another antenna, other steps, another command's table); a
    // pattern that cannot be computed closes the view.
    void UseOwnTable();
    std::function<const AntDef*()> model_;
    GLTableOrigin origin_;
};

// The one open view, null while none is open.
extern TOpenGL_Form* OpenGL_Form;
// Angle steps of the 3D far-field table (degrees), kept for the program run.
constexpr int GLElevStepStart = 3;
constexpr int GLAzimStepStart = 6;
extern int GLElevStep;
extern int GLAzimStep;
