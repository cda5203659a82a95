#pragma once
// The small up-down button beside a number field: its upper and lower
// halves report a press with the direction, and the release.
#include <QWidget>

class UpDownButton : public QWidget {
    Q_OBJECT
public:
    explicit UpDownButton(QWidget* parent = nullptr);
signals:
    void Pressed(int direction);  // +1 upper half, -1 lower half
    void Released();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
};
