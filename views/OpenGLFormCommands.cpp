// The popup commands of the 3D pattern view that open a form or a file
// dialog: steps, colours and the picture.
#include "platform/FormPattern.h"
#include "platform/PictureSave.h"
#include "platform/Prompter.h"
#include "views/AVEZForm.h"
#include "views/GLColForm.h"
#include "views/OpenGLForm.h"

#include <QApplication>
#include <QWidget>

void TOpenGL_Form::M1Click() {
    const int elev = GLElevStep, azim = GLAzimStep;
    {
        TAVEZForm form(this);
        ShowModal(form);
    }
    if (elev == GLElevStep && azim == GLAzimStep) {
        DrawScene();
        return;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    // A failed table leaves an empty surface; the next calculation rebuilds it.
    ComputeTable();
    BuildFarFieldLists();
    QApplication::restoreOverrideCursor();
    FormPaint();
}

void TOpenGL_Form::M7Click() {
    {
        TGLColForm form(this);
        ShowModal(form);
    }
    FormPaint();
}

QImage TOpenGL_Form::ViewImage() {
    return grab(QRect(0, 0, width(), height() - PanelHeight())).toImage();
}

void TOpenGL_Form::M8Click() {
    const QImage image = ViewImage();
    int filter = 0;
    FileDialogRequest request;
    request.caption = "Save image as...";
    request.filter = "*.jpg (*.jpg);;*.bmp (*.bmp)";
    request.fileName = "Noname";
    request.chosenFilter = &filter;
    const std::string chosen = CurrentPrompter().SaveFileName(request);
    if (chosen.empty()) return;
    SaveChosenPicture(image, chosen, filter);
}
