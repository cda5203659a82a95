#include "editing/ElementView.h"

#include "draw/AntennaDrawing.h"
#include "editing/ElementDrawing.h"
#include "editing/GrpWireDlg.h"
#include "platform/Canvas.h"
#include "platform/StringGrid.h"

#include <QCheckBox>
#include <QMouseEvent>
#include <QSlider>
#include <cmath>

ElementViewAngles ElementViewState;

double TurnAngle(double angle, double delta) {
    double a = angle + delta;
    if (a >= 360.0)
        a -= 360.0;
    else if (a < 0.0)
        a += 360.0;
    return a;
}

ElementView::ElementView(TGrpWireDlg* owner) : QWidget(owner), owner_(owner) {
    setObjectName("PBox");
    setCursor(Qt::CrossCursor);
    setMouseTracking(false);
}

double ElementView::ZoomFactor(int position, int maximum) {
    return std::pow(1.05, position - maximum / 2) * ElementViewState.S;
}

ViewTransform ElementView::Transform() const {
    const QSlider* bar = owner_->TBarSC;
    const double z = ZoomFactor(bar->value(), bar->maximum());
    const int cx = static_cast<int>(std::lround(width() / 2.0 + owner_->PanX));
    const int cy = static_cast<int>(std::lround(height() / 2.0 + owner_->PanY));
    return ViewTransform::FromAngles(cx, cy, ElementViewState.A, ElementViewState.B, z, false);
}

void ElementView::FitScale() {
    const CWGroupList& groups = owner_->Table().Groups();
    if (!groups.Ant) return;
    // The fit moves the main view's centre as a side effect: keep it.
    const ViewPoint centre = ViewCentre;
    const double s = CalcViewScale(*groups.Ant, width() / 2, height() / 2);
    ViewCentre = centre;
    if (s > 0 && std::isfinite(s)) ElementViewState.S = 0.7 * s;
}

void ElementView::paintEvent(QPaintEvent*) {
    Canvas c(this);
    const ViewTransform t = Transform();
    DrawAntennaView(c, t);
    c.SetFont(owner_->font());
    c.SetFontColor(0x808080);
    const int pen = owner_->PwidtCB->isChecked() ? 2 : 1;
    const CWGroupList& groups = owner_->Table().Groups();
    DrawElementWires(c, groups, t, owner_->SelWire, pen, owner_->PickMode() ? owner_->PickVars() : nullptr);
    if (owner_->SelWire >= 0) DrawDimensionGrp(c, groups, owner_->SelWire);
}

void ElementView::mousePressEvent(QMouseEvent* event) {
    last_ = event->position().toPoint();
    if (event->button() == Qt::LeftButton) {
        rotating_ = true;
        if (owner_->PickWireAt(last_.x(), last_.y())) {
            owner_->UpdateMenu();
            update();
            if (!owner_->PickMode()) {
                const int g = owner_->Table().Groups().GroupOfWire(owner_->SelWire);
                if (g >= 0) owner_->Grid->SetRow(g + 1);
            }
        }
    } else if (event->button() == Qt::RightButton || event->button() == Qt::MiddleButton) {
        panning_ = true;
        update();
    }
}

void ElementView::mouseMoveEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    if (rotating_ && height() > 0) {
        const double k = 720.0 / height();
        ElementViewState.A = TurnAngle(ElementViewState.A, (last_.x() - p.x()) * k);
        ElementViewState.B = TurnAngle(ElementViewState.B, (last_.y() - p.y()) * k);
        update();
    } else if (panning_) {
        owner_->PanX += p.x() - last_.x();
        owner_->PanY += p.y() - last_.y();
        update();
    }
    last_ = p;
}

void ElementView::mouseReleaseEvent(QMouseEvent*) { rotating_ = panning_ = false; }
