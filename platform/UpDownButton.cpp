#include "platform/UpDownButton.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>

UpDownButton::UpDownButton(QWidget* parent) : QWidget(parent) {}

void UpDownButton::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    emit Pressed(event->position().y() <= height() / 2.0 ? +1 : -1);
}

void UpDownButton::mouseReleaseEvent(QMouseEvent*) { emit Released(); }

void UpDownButton::paintEvent(QPaintEvent*) {
    QPainter p(this);
    QStyleOption option;
    option.initFrom(this);
    const int half = height() / 2;
    option.rect = QRect(0, 0, width(), half);
    style()->drawPrimitive(QStyle::PE_IndicatorSpinUp, &option, &p, this);
    option.rect = QRect(0, half, width(), height() - half);
    style()->drawPrimitive(QStyle::PE_IndicatorSpinDown, &option, &p, this);
}
