#include "views/GLColForm.h"
#include "platform/CommandGuard.h"

#include "platform/FormPattern.h"
#include "model/EnvDef.h"
#include "model/LanguageFile.h"
#include "model/LanguageState.h"
#include "platform/TextCodec.h"
#include "views/OpenGLForm.h"

#include <QCheckBox>
#include <QLabel>
#include <QPalette>
#include <QRadioButton>
#include <QSlider>

TGLColForm::TGLColForm(QWidget* owner) : QDialog(owner, Qt::Dialog | Qt::WindowStaysOnTopHint) {
    setObjectName("GLColForm");
    setWindowTitle("GLColForm");
    QFont f = font();
    f.setPointSize(std::max(4, 10 + EnvDef.FontSize));
    setFont(f);
    setFixedSize(330, 230);
    auto bar = [this](const char* labelName, QLabel*& label, const char* text, const char* colour, const char* name,
                      QSlider*& slider, int y) {
        label = new QLabel(text, this);
        label->setObjectName(labelName);
        label->setGeometry(10, y, 80, 22);
        // A palette, not a style sheet: a style sheet would fix the label's
        // font before the form is scaled.
        label->setAutoFillBackground(true);
        QPalette palette = label->palette();
        palette.setColor(QPalette::Window, QColor(QString::fromLatin1(colour)));
        label->setPalette(palette);
        slider = new QSlider(Qt::Horizontal, this);
        slider->setObjectName(name);
        slider->setRange(0, 51);
        slider->setGeometry(95, y, 220, 22);
    };
    bar("RLabel", RLabel, "Red", "red", "RColV", RColV, 10);
    bar("GLabel", GLabel, "Green", "lime", "GColV", GColV, 40);
    bar("BLabel", BLabel, "Blue", "#4080ff", "BColV", BColV, 70);
    ConnectGuarded(RColV, &QSlider::valueChanged, this, [this] { RColVChange(); });
    ConnectGuarded(GColV, &QSlider::valueChanged, this, [this] { GColVChange(); });
    ConnectGuarded(BColV, &QSlider::valueChanged, this, [this] { BColVChange(); });

    FontCb = new QCheckBox("Black font", this);
    FontCb->setObjectName("FontCb");
    FontCb->setGeometry(10, 105, 200, 22);
    ConnectGuarded(FontCb, &QCheckBox::clicked, this, [this] { FontCbClick(); });
    auto radio = [this](const char* name, const char* text, int tag, int x, int y) {
        auto* rb = new QRadioButton(text, this);
        rb->setObjectName(name);
        rb->setProperty("tag", tag);
        rb->setGeometry(x, y, 150, 22);
        ConnectGuarded(rb, &QRadioButton::clicked, this, [this, tag] { RBPClick(tag); });
        return rb;
    };
    RBP = radio("RBP", "Plot", 1, 10, 140);
    RBSP = radio("RBSP", "Selecte plot", 2, 170, 140);
    RBBG = radio("RBBG", "Background", 3, 10, 170);
    RBAN = radio("RBAN", "Antenna", 4, 170, 170);
    RBP->setChecked(true);
    ApplyFormPattern(this, owner ? owner->font().family() : QString(), ScreenScale());
    ChangeLanguage();
    Target = 1;
    SetVValue();
}

void TGLColForm::ChangeLanguage() {
    std::vector<std::string> lines;
    std::string error;
    if (!LanguageIsActive() || !FindFormSection(LanguageText, "GLColForm", 6, lines, error)) return;
    setWindowTitle(DisplayQString(lines[0]));
    RBAN->setText(DisplayQString(lines[1]));
    RBBG->setText(DisplayQString(lines[2]));
    RBSP->setText(DisplayQString(lines[3]));
    RBP->setText(DisplayQString(lines[4]));
    FontCb->setText(DisplayQString(lines[5]));
}

GLColour* TGLColForm::TargetColour() const {
    if (!OpenGL_Form) return nullptr;
    GLViewSettings& s = OpenGL_Form->Settings;
    switch (Target) {
    case 2: return &s.Slice;
    case 3: return &s.Background;
    case 4: return &s.Antenna;
    default: return &s.Plot;
    }
}

void TGLColForm::RedrawView() {
    if (OpenGL_Form) OpenGL_Form->FormPaint();
}

void TGLColForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FormShow();
}

void TGLColForm::FormShow() {
    guard_ = true;
    FontCb->setChecked(OpenGL_Form && OpenGL_Form->Settings.BlackFont);
    guard_ = false;
}

void TGLColForm::FontCbClick() {
    if (guard_ || !OpenGL_Form) return;
    OpenGL_Form->Settings.BlackFont = FontCb->isChecked();
    RedrawView();
}

void TGLColForm::RBPClick(int target) {
    Target = target;
    SetVValue();
}

void TGLColForm::SetVValue() {
    const GLColour* c = TargetColour();
    if (!c) return;
    RColV->setValue(c->r / 5);
    GColV->setValue(c->g / 5);
    BColV->setValue(c->b / 5);
}

void TGLColForm::ComponentChange(QSlider* bar, QLabel* label, const char* name, uint8_t GLColour::*byte) {
    GLColour* c = TargetColour();
    if (guard_ || !c) return;
    c->*byte = static_cast<uint8_t>(bar->value() * 5);
    label->setText(QString(name) + " " + QString::number(c->*byte));
    RedrawView();
}

void TGLColForm::RColVChange() { ComponentChange(RColV, RLabel, "Red", &GLColour::r); }
void TGLColForm::GColVChange() { ComponentChange(GColV, GLabel, "Green", &GLColour::g); }
void TGLColForm::BColVChange() { ComponentChange(BColV, BLabel, "Blue", &GLColour::b); }
