#pragma once
// The colour form of the 3D view: the four colours of the view and the
// colour of its caption font, changed live while the bars move.
#include "views/GLViewSettings.h"

#include <QDialog>

class QCheckBox;
class QLabel;
class QRadioButton;
class QSlider;

class TGLColForm : public QDialog {
    Q_OBJECT
public:
    explicit TGLColForm(QWidget* owner);

    void FormShow();
    void FontCbClick();
    void RBPClick(int target);
    void SetVValue();
    void RColVChange();
    void GColVChange();
    void BColVChange();
    void ChangeLanguage();

    QLabel *RLabel = nullptr, *GLabel = nullptr, *BLabel = nullptr;
    QCheckBox* FontCb = nullptr;
    QRadioButton *RBP = nullptr, *RBSP = nullptr, *RBBG = nullptr, *RBAN = nullptr;
    QSlider *RColV = nullptr, *GColV = nullptr, *BColV = nullptr;
    int Target = 1;  // 1 plot, 2 selected slice, 3 background, 4 antenna

protected:
    void showEvent(QShowEvent* event) override;

private:
    GLColour* TargetColour() const;
    void RedrawView();
    // The target colour's byte := the bar's position x 5, shown in the label.
    void ComponentChange(QSlider* bar, QLabel* label, const char* name, uint8_t GLColour::*byte);
    bool guard_ = false;
};
