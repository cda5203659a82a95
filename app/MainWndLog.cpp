// The calculation log on the Calculate tab and the window's error reports.
#include "app/MainWnd.h"
#include "platform/Prompter.h"

#include <QPlainTextEdit>
#include <algorithm>

void TMainWnd::AddLogLine(const QString& line) {
    if (LogMemo) LogMemo->appendPlainText(line);
}

void TMainWnd::AddLogLines(const std::vector<std::string>& lines) {
    for (const std::string& line : lines) AddLogLine(QString::fromStdString(line));
}

void TMainWnd::AddPositionLines(const std::vector<std::string>& lines) {
    for (const std::string& line : lines) {
        // A line held is in the log already.
        if (std::find(HeldPositionLines.begin(), HeldPositionLines.end(), line) != HeldPositionLines.end()) continue;
        HeldPositionLines.push_back(line);
        AddLogLine(QString::fromStdString(line));
    }
}

void TMainWnd::ClearLog() {
    if (LogMemo) LogMemo->clear();
    AddLogLines(HeldPositionLines);
}

void TMainWnd::PositionLinesShown() { HeldPositionLines.clear(); }

void TMainWnd::SetLogFailed(bool failed) {
    if (!LogMemo) return;
    QPalette pal = LogMemo->palette();
    pal.setColor(QPalette::Text, failed ? QColor(255, 0, 0) : palette().color(QPalette::Text));
    LogMemo->setPalette(pal);
}

bool TMainWnd::LogFailed() const {
    return LogMemo && LogMemo->palette().color(QPalette::Text) == QColor(255, 0, 0);
}

QStringList TMainWnd::LogLines() const {
    if (!LogMemo) return {};
    QStringList lines = LogMemo->toPlainText().split('\n');
    if (lines.size() == 1 && lines[0].isEmpty()) lines.clear();
    return lines;
}

void TMainWnd::ShowError(const QString& text) { ErrorBox("%s", text.toUtf8().constData()); }

void TMainWnd::EngineNotice(const std::string& text) {
    if (Notices != NoticeState::Armed) return;
    Notices = NoticeState::Shown;
    InfoBox("%s", text.c_str());
}
