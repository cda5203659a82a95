// The window of the 3D pattern view: creation, panel, popup menu, settings
// and language. The scene is built in OpenGLFormScene.cpp, input is handled
// in OpenGLFormInput.cpp.
#include "views/OpenGLForm.h"
#include "platform/CommandGuard.h"

#include "platform/SettingsPath.h"
#include "model/EnvDef.h"
#include "model/LanguageFile.h"
#include "model/LanguageState.h"
#include "platform/IniFile.h"
#include "platform/TextCodec.h"
#include "platform/WindowBox.h"
#include "views/GLSceneWidget.h"
#include "platform/IntegerSpin.h"

#include <QActionGroup>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QRadioButton>
#include <QScreen>
#include <QSlider>
#include <QSpinBox>
#include <QTimer>

TOpenGL_Form* OpenGL_Form = nullptr;
int GLElevStep = GLElevStepStart;
int GLAzimStep = GLAzimStepStart;

namespace {

constexpr int PanelPixels = 45;

}  // namespace

TOpenGL_Form::TOpenGL_Form(std::function<const AntDef*()> model, const QString& fontName, GLTableOrigin origin)
    : QWidget(nullptr, Qt::Window | Qt::WindowStaysOnTopHint), model_(std::move(model)), origin_(std::move(origin)) {
    setObjectName("OpenGL_Form");
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle("3D Far field");
    setMinimumSize(510, 365);
    resize(640, 520);
    QFont f = font();
    if (!fontName.isEmpty()) f.setFamily(fontName);
    f.setPointSize(std::max(4, 10 + EnvDef.FontSize));
    setFont(f);

    Gl = new GLSceneWidget(this);
    BuildPanel();
    BuildPopup();
    SliceCaptionLabel = new QLabel(this);
    SliceCaptionLabel->setObjectName("SliceCaption");
    SliceCaptionLabel->setAttribute(Qt::WA_TranslucentBackground);
    SliceCaptionLabel->move(5, 5);
    SliceCaptionLabel->hide();

    Settings.Left = x();
    Settings.Top = y();
    Settings.Width = width();
    Settings.Height = height();
    LoadSettings();

    Timer1 = new QTimer(this);
    Timer1->setInterval(100);
    ConnectGuarded(Timer1, &QTimer::timeout, this, [this] { Timer2Timer(); });

    // Tilt and turn start at 0 and reach 70 and 40 with the first render.
    Tilt = Turn = 0.0f;
    TiltIncrement = 70.0;
    TurnIncrement = 40.0;
    SelectedSlice = 0;
    Component = GLCompTotal;
    ChangeLanguage();

    // Shift and Ctrl reach the view before the control that has the focus.
    installEventFilter(this);
    for (QWidget* w : findChildren<QWidget*>()) w->installEventFilter(this);
    setCursor(Qt::WaitCursor);
}

TOpenGL_Form::~TOpenGL_Form() {
    if (OpenGL_Form == this) OpenGL_Form = nullptr;
}

int TOpenGL_Form::PanelHeight() const { return PanelPixels; }

void TOpenGL_Form::BuildPanel() {
    Panel = new QWidget(this);
    Panel->setObjectName("Panel1");
    Panel->setAutoFillBackground(true);
    QFont pf = font();
    Panel->setFont(pf);
    QPalette pal = Panel->palette();
    pal.setColor(QPalette::WindowText, Qt::black);
    Panel->setPalette(pal);

    auto radio = [this](const char* name, const char* text, int tag, int x) {
        auto* rb = new QRadioButton(text, Panel);
        rb->setObjectName(name);
        rb->setProperty("tag", tag);
        rb->setGeometry(x, 12, 60, 22);
        ConnectGuarded(rb, &QRadioButton::clicked, this, [this, tag] { VRBClick(tag); });
        return rb;
    };
    VRB = radio("VRB", "V", GLCompV, 8);
    HRB = radio("HRB", "H", GLCompH, 60);
    TotalRB = radio("TotalRB", "Total", GLCompTotal, 112);
    TotalRB->setChecked(true);

    ZoomLabel = new QLabel("Zoom", Panel);
    ZoomLabel->setObjectName("Label1");
    ZoomLabel->setGeometry(185, 14, 50, 20);
    MastTB = new QSlider(Qt::Horizontal, Panel);
    MastTB->setObjectName("MastTB");
    MastTB->setRange(0, 50);
    MastTB->setToolTip("Zoom");
    MastTB->setGeometry(235, 10, 150, 26);
    MastTB->setValue(MastTB->maximum() / 3);
    ConnectGuarded(MastTB, &QSlider::valueChanged, this, [this] { MastTBChange(); });

    AllCB = new QCheckBox("All", Panel);
    AllCB->setObjectName("AllCB");
    AllCB->setChecked(true);
    AllCB->setToolTip("all plots");
    AllCB->setGeometry(395, 12, 50, 22);
    ConnectGuarded(AllCB, &QCheckBox::clicked, this, [this] { FormPaint(); });

    DnSB = new IntegerSpin(Panel);
    DnSB->setObjectName("DnSB");
    DnSB->setRange(0, 0);
    DnSB->setGeometry(450, 10, 55, 26);
    ConnectGuarded(DnSB, &QSpinBox::valueChanged, this, [this] { DnSBChange(); });
}

void TOpenGL_Form::BuildPopup() {
    Popup = new QMenu(this);
    Popup->setObjectName("PopupMenu1");
    auto item = [this](const char* name, const char* text, void (TOpenGL_Form::*handler)()) {
        QAction* a = Popup->addAction(text);
        a->setObjectName(name);
        ConnectGuarded(a, &QAction::triggered, this, [this, handler] { (this->*handler)(); });
        return a;
    };
    M1 = item("M1", "3D Setup", &TOpenGL_Form::M1Click);
    M2 = item("M2", "Centred", &TOpenGL_Form::M2Click);
    Popup->addSeparator();
    M3 = item("M3", "Show antenna", &TOpenGL_Form::M3Click);
    M3->setCheckable(true);
    M3->setChecked(true);
    M4 = item("M4", "X/2 and Y/2 = middle point", &TOpenGL_Form::M4Click);
    M4->setCheckable(true);
    M5 = item("M5", "H = middle point", &TOpenGL_Form::M5Click);
    M5->setCheckable(true);
    M6 = Popup->addMenu("Width of lines");
    M6->setObjectName("M6");
    auto* widths = new QActionGroup(this);
    for (int i = 0; i < 4; ++i) {
        QAction* a = M6->addAction(QString("x%1").arg(i + 1));
        a->setObjectName(QString("x%1").arg(i + 1));
        a->setProperty("tag", i + 1);
        a->setCheckable(true);
        widths->addAction(a);
        ConnectGuarded(a, &QAction::triggered, this, [this, i] { x1Click(i + 1); });
        WidthItems[i] = a;
    }
    Popup->addSeparator();
    M7 = item("M7", "Colors", &TOpenGL_Form::M7Click);
    M8 = item("M8", "Save image as...", &TOpenGL_Form::M8Click);
}

void TOpenGL_Form::ApplyAntennaItems() {
    for (QAction* a : {M4, M5}) a->setEnabled(M3->isChecked());
    M6->setEnabled(M3->isChecked());
    M6->menuAction()->setEnabled(M3->isChecked());
}

void TOpenGL_Form::LoadSettings() {
    IniFile ini(SettingsFilePath());
    ReadGLViewSettings(ini, Settings);
    if (Settings.Width > 0 && Settings.Height > 0)
        PlaceFrame(*this, QRect(Settings.Left, Settings.Top, Settings.Width, Settings.Height), minimumSize());
    if (Settings.Maximized) setWindowState(Qt::WindowMaximized);
    M3->setChecked(Settings.AntennaVisible);
    ApplyAntennaItems();
    M5->setChecked(Settings.HCentre);
    M4->setChecked(Settings.XYCentre);
    WidthItems[Settings.LineWidth - 1]->setChecked(true);
}

void TOpenGL_Form::SaveSettings() {
    Settings.Maximized = isMaximized();
    if (HasNormalBox(*this)) {
        const QRect box = FrameBox(*this);
        Settings.Left = box.x();
        Settings.Top = box.y();
        Settings.Width = box.width();
        Settings.Height = box.height();
    }
    IniFile ini(SettingsFilePath());
    WriteGLViewSettings(ini, Settings);
    // The main window writes the file again when it closes and reports a
    // file that cannot be written; the view's box is not worth a second box.
    ini.UpdateFile();
}

void TOpenGL_Form::ChangeLanguage() {
    static const char* const Defaults[] = {"Zoom", "All", "all plots", "Setup", "Centred", "Show antenna",
                                           "X/2 and Y/2 = middle point", "H/2 = middle point", "Width of lines",
                                           "Colors", "Save image as..."};
    std::vector<std::string> lines;
    std::string error;
    const bool fromFile = LanguageIsActive() && FindFormSection(LanguageText, "OpenGL_Form", 12, lines, error);
    auto text = [&](int i) {
        return fromFile ? DisplayQString(lines[static_cast<std::size_t>(i) + 1]) : QString(Defaults[i]);
    };
    if (fromFile) setWindowTitle(DisplayQString(lines[0]));
    ZoomLabel->setText(text(0));
    AllCB->setText(text(1));
    AllCB->setToolTip(text(2));
    M1->setText(text(3));
    M2->setText(text(4));
    M3->setText(text(5));
    M4->setText(text(6));
    M5->setText(text(7));
    M6->setTitle(text(8));
    M7->setText(text(9));
    M8->setText(text(10));
    ZoomLabel->setFont(Panel->font());
}

void TOpenGL_Form::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Gl->setGeometry(rect());
    Panel->setGeometry(0, height() - PanelPixels, width(), PanelPixels);
    Rotating = false;
    DrawScene();
}

void TOpenGL_Form::contextMenuEvent(QContextMenuEvent* event) {
    if (Panel->geometry().contains(event->pos())) return;
    Popup->popup(event->globalPos());
}

void TOpenGL_Form::closeEvent(QCloseEvent* event) {
    Timer1->stop();
    SaveSettings();
    model_ = nullptr;
    origin_ = {};
    if (OpenGL_Form == this) OpenGL_Form = nullptr;
    event->accept();
}

void TOpenGL_Form::M2Click() {
    PanX = PanY = 0.0;
    DrawScene();
}

void TOpenGL_Form::M3Click() {
    // The item toggles its own check when triggered.
    Settings.AntennaVisible = M3->isChecked();
    ApplyAntennaItems();
    DrawScene();
}

void TOpenGL_Form::M4Click() {
    Settings.XYCentre = M4->isChecked();
    BuildAntennaList();
    DrawScene();
}

void TOpenGL_Form::M5Click() {
    Settings.HCentre = M5->isChecked();
    BuildAntennaList();
    DrawScene();
}

void TOpenGL_Form::x1Click(int width) {
    Settings.LineWidth = std::clamp(width, 1, 4);
    WidthItems[Settings.LineWidth - 1]->setChecked(true);
    DrawScene();
}

void TOpenGL_Form::MastTBChange() {
    Zoom = ZoomFactor(MastTB->value(), MastTB->maximum());
    FormPaint();
}

void TOpenGL_Form::BuildAntennaList() {
    const AntDef* ant = model_ ? model_() : nullptr;
    AntennaScene = ant ? BuildAntennaScene(*ant, Settings.XYCentre, Settings.HCentre) : GLPolyline{};
    AntennaDirty = true;
}
