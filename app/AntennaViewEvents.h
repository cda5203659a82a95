#pragma once
// Event routing of the antenna view and the far-field plots.
#include <QObject>

class TMainWnd;

class AntennaViewEvents : public QObject {
    Q_OBJECT
public:
    explicit AntennaViewEvents(TMainWnd* owner);
    ~AntennaViewEvents() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool Route(QObject* watched, QEvent* event);
    bool ViewEvent(QEvent* event);
    bool PlotEvent(QEvent* event);
    TMainWnd* owner_;
};
