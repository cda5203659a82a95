// "3 Dimension": opens and closes the 3D pattern view, refreshes it after
// each successful Start, and closes it with the main window or once the
// pattern it shows no longer belongs to the antenna. The engine's 3D table
// outlives the view: its origin is the View3D holder's, stamped when the
// view computes it, and a view reuses it only while it belongs.
#include "app/MainWnd.h"
#include "platform/Prompter.h"
#include "views/OpenGLForm.h"

#include <QPushButton>

bool Closed3DViewByButton = false;

void TMainWnd::Btn3DClick() {
    if (OpenGL_Form) {
        Closed3DViewByButton = true;
        OpenGL_Form->close();
        unsetCursor();
        UpdateMenuState();
        return;
    }
    // The view calculates on the model prepared for the antenna shown.
    if (RefuseResultsOfAFile() || !PatternOfThisAntenna(ResultUse::ComputeFrom)) return;
    Closed3DViewByButton = false;
    // The application owns the view; it reads the calculation copy anew at
    // each build, as stacking may replace it.
    const GLTableOrigin table{[this] { return ResultsBelongToAntenna(ResultHolder::View3D, ResultUse::Show); },
                              [this] { Origin.Computed(ResultHolder::View3D); }};
    OpenGL_Form =
        new TOpenGL_Form([this] { return static_cast<const AntDef*>(CalcAnt); }, font().family(), table);
    ConnectGuarded(OpenGL_Form, &QObject::destroyed, this, [this] {
        if (!Closing) UpdateMenuState();
    });
    OpenGL_Form->show();
    UpdateMenuState();
}

void TMainWnd::Refresh3DView() {
    if (OpenGL_Form && OpenGL_Form->Built) OpenGL_Form->Timer2Timer();
}

void TMainWnd::Close3DView() {
    if (OpenGL_Form) OpenGL_Form->close();
}

void TMainWnd::Connect3DView() {
    ConnectGuarded(Btn3D, &QPushButton::clicked, this, [this] { Btn3DClick(); });
}
