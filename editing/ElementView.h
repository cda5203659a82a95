#pragma once
// The picture of the element table's View tab: turned with the left button,
// panned with the right or middle one, zoomed by the dialog's track bar; a
// left click selects the wire under the mouse.
#include "draw/Projection.h"

#include <QWidget>

class TGrpWireDlg;

// The view's angles and fitting scale live for the whole program run.
struct ElementViewAngles {
    double A = 220.0;   // degrees
    double B = -30.0;   // degrees
    double S = 22.0;    // pixels per metre at the middle zoom
};
extern ElementViewAngles ElementViewState;

// Turns an angle by the mouse move and brings it back into [0, 360) once.
double TurnAngle(double angle, double delta);

class ElementView : public QWidget {
    Q_OBJECT
public:
    explicit ElementView(TGrpWireDlg* owner);

    // Zoom factor of a track bar position (the middle gives S exactly).
    static double ZoomFactor(int position, int maximum);
    // The transform of the picture as it is drawn now.
    ViewTransform Transform() const;
    // S from the antenna being edited, for the picture's size.
    void FitScale();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    TGrpWireDlg* owner_;
    bool rotating_ = false, panning_ = false;
    QPoint last_;
};
