#include "platform/PrintDlgBox.h"

#include "model/EnvDef.h"
#include "platform/FormPattern.h"
#include "platform/PrintJob.h"

#include <QApplication>
#include <QDate>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <algorithm>
#include <cmath>

namespace {

// A column wider than this many characters means nothing on paper.
constexpr int MaxColumnChars = 1000;

int Round(double v) { return static_cast<int>(std::lround(v)); }

QString Text(const std::string& s) { return QString::fromUtf8(s.data(), static_cast<int>(s.size())); }

void SetPixelHeight(QPainter& p, int pixels) {
    QFont f = p.font();
    f.setPixelSize(std::max(1, pixels));
    p.setFont(f);
}

}  // namespace

TPrintDlgBox::TPrintDlgBox(QWidget* owner, const QString& fontName) : QDialog(owner) {
    setObjectName("PrintDlgBox");
    setWindowTitle("Print");
    setWindowFlag(Qt::WindowStaysOnTopHint);
    resize(260, 110);
    Stat = new QLabel(this);
    Stat->setObjectName("Stat");
    Stat->setGeometry(16, 16, 228, 24);
    AbortBtn = new QPushButton("Abort", this);
    AbortBtn->setObjectName("AbortBtn");
    AbortBtn->setGeometry(85, 60, 90, 30);
    connect(AbortBtn, &QPushButton::clicked, this, [this] { abort_ = true; });
    ApplyFormPattern(this, fontName, ScreenScale());
    setFixedSize(size());
}

void TPrintDlgBox::SetLayout(int left, int top, int right, int bottom) {
    const int m[4] = {left, top, right, bottom};
    for (int i = 0; i < 4; ++i) margins_[i] = std::clamp(m[i], 0, 100);
}

void TPrintDlgBox::SetColWidth(int col, int width) {
    if (col < 0 || col >= PrintMaxColumns) return;
    colCount_ = std::max(colCount_, col + 1);
    widths_[col] = std::clamp(width, 0, MaxColumnChars);
}

void TPrintDlgBox::SetColTitle(int col, const std::string& text) {
    if (col < 0 || col >= PrintMaxColumns) return;
    colCount_ = std::max(colCount_, col + 1);
    titles_[col] = text;
    // Titles are never shrunk: the column takes their length.
    widths_[col] = std::max(widths_[col], std::min(static_cast<int>(Text(text).size()), MaxColumnChars));
}

void TPrintDlgBox::SetCell(int row, int col, const std::string& text) {
    if (row < 0 || col < 0 || col >= colCount_) return;
    if (row >= RowCount()) cells_.resize(static_cast<std::size_t>(row) + 1);
    auto& cells = cells_[static_cast<std::size_t>(row)];
    if (cells.size() < static_cast<std::size_t>(colCount_)) cells.resize(static_cast<std::size_t>(colCount_));
    cells[static_cast<std::size_t>(col)] = text;
}

void TPrintDlgBox::ClearTable() {
    cells_.clear();
    for (auto& t : titles_) t.clear();
    std::fill(std::begin(widths_), std::end(widths_), 0);
    colCount_ = 0;
}

bool TPrintDlgBox::CalcLayout(int pageWidth, int pageHeight, double charHeightPerWidth, PrintTableLayout& l) const {
    const int left = Round(pageWidth * margins_[0] * 0.01);
    const int top = Round(pageHeight * margins_[1] * 0.01);
    const int width = Round((100 - (margins_[0] + margins_[2])) * pageWidth * 0.01);
    const int height = Round((100 - (margins_[1] + margins_[3])) * pageHeight * 0.01);
    int chars = colCount_ + 1;
    for (int c = 0; c < colCount_; ++c) chars += widths_[c];
    if (width <= 0 || height <= 0 || !(charHeightPerWidth > 0)) return false;
    l.Cw = static_cast<double>(width) / chars;
    double x = left + l.Cw;
    l.LeftRule = Round(Round(x) - 0.5 * l.Cw);
    l.ColX.clear();
    l.ColW.clear();
    for (int c = 0; c < colCount_; ++c) {
        l.ColX.push_back(Round(x));
        l.ColW.push_back(Round(widths_[c] * l.Cw));
        x += (widths_[c] + 1) * l.Cw;
    }
    l.RightRule = Round(Round(x) - 0.5 * l.Cw);
    const double h0 = charHeightPerWidth * l.Cw;
    const int lines = h0 > 0 ? Round(height / h0) : 0;
    if (lines <= 0) return false;
    l.H = height / lines;
    l.RowsPerPage = (lines - 4) / 2;
    if (l.RowsPerPage < 1 || l.H < 1) return false;
    l.PageCount = (l.RowsPerPage + RowCount() - 1) / l.RowsPerPage;
    l.Top = Round(0.5 * l.H + l.H + top + 30);
    l.Bottom = Round(l.Top + (2.0 * l.RowsPerPage + 2) * l.H);
    return true;
}

void TPrintDlgBox::DrawGridLines(QPainter& p, const PrintTableLayout& l) const {
    p.setPen(QPen(Qt::black, 1));
    for (int i = 0; i <= l.RowsPerPage; ++i) {
        const int y = Round(l.Top + 2.0 * i * l.H);
        p.drawLine(l.LeftRule, y, l.RightRule, y);
    }
    p.drawLine(l.LeftRule, l.Bottom, l.RightRule, l.Bottom);
    for (int c = 0; c < colCount_; ++c) {
        const int x = Round(l.ColX[static_cast<std::size_t>(c)] - 0.5 * l.Cw);
        p.drawLine(x, l.Top, x, l.Bottom);
    }
    p.drawLine(l.RightRule, l.Top, l.RightRule, l.Bottom);
}

void TPrintDlgBox::DrawPage(QPainter& p, const PrintTableLayout& l, int page) const {
    p.setPen(Qt::black);
    // Heading: the date and the title on the left, the page of pages on the right.
    const int hh = Round(1.5 * l.H);
    SetPixelHeight(p, hh);
    const QDate today = QDate::currentDate();
    const QString heading = QString::asprintf("%2d.%2d.%4d ", today.day(), today.month(), today.year()) + Text(Title);
    const int headY = l.Top - hh - 10;
    const QFontMetrics headMetrics = p.fontMetrics();
    p.drawText(l.LeftRule, headY + headMetrics.ascent(), heading);
    const QString pages = QString::asprintf("%d/%d", page + 1, l.PageCount);
    p.drawText(l.RightRule - headMetrics.horizontalAdvance(pages), headY + headMetrics.ascent(), pages);

    SetPixelHeight(p, l.H);
    const QFont rowFont = p.font();
    for (int c = 0; c < colCount_; ++c) {
        const QString t = Text(titles_[c]);
        const int w = p.fontMetrics().horizontalAdvance(t);
        const int colW = l.ColW[static_cast<std::size_t>(c)];
        p.drawText(l.ColX[static_cast<std::size_t>(c)] + std::max(0, (colW - w) / 2),
                   Round(l.Top + 0.5 * l.H) + p.fontMetrics().ascent(), t);
    }
    const int first = page * l.RowsPerPage;
    const int last = std::min(RowCount(), first + l.RowsPerPage);
    for (int r = first; r < last; ++r) {
        const int j = r - first;
        const int y = Round(l.Top + (2.0 * j + 3) * l.H - 0.5 * l.H);
        const auto& cells = cells_[static_cast<std::size_t>(r)];
        for (int c = 0; c < colCount_ && c < static_cast<int>(cells.size()); ++c) {
            const QString t = Text(cells[static_cast<std::size_t>(c)]);
            if (t.isEmpty()) continue;
            p.setFont(rowFont);
            const int w = p.fontMetrics().horizontalAdvance(t);
            const int colW = l.ColW[static_cast<std::size_t>(c)];
            // A text wider than its column is printed smaller, within the column.
            if (w > colW && w > 0) SetPixelHeight(p, Round(static_cast<double>(colW) * l.H / w));
            p.drawText(l.ColX[static_cast<std::size_t>(c)], y + p.fontMetrics().ascent(), t);
        }
    }
}

bool TPrintDlgBox::Pump() {
    QApplication::processEvents();
    return !abort_;
}

int TPrintDlgBox::PrintTable() {
    if (colCount_ == 0 || RowCount() == 0) return 0;
    PrintJob job;
    QWidget* owner = QApplication::activeWindow();
    if (!job.Choose(owner)) return 0;
    QPrinter& printer = job.Printer();
    printer.setDocName("KORVA-TEZ");
    abort_ = false;
    QPainter p;
    if (!p.begin(&printer)) {
        job.ReportNotStarted();
        return 0;
    }
    QFont f = p.font();
    f.setFamily(font().family());
    p.setFont(f);
    const QFontMetricsF metrics(p.font(), &printer);
    const double ratio = metrics.horizontalAdvance('A') > 0 ? metrics.height() / metrics.horizontalAdvance('A') : 0;
    const QRect page = printer.pageLayout().paintRectPixels(printer.resolution());
    PrintTableLayout& layout = Layout;
    layout = PrintTableLayout{};
    if (!CalcLayout(page.width(), page.height(), ratio, layout)) abort_ = true;

    // The caller's window waits while the box shows the progress.
    job.ShowProgress(this, owner);
    bool failed = false;
    for (int pg = 0; !abort_ && pg < layout.PageCount; ++pg) {
        if (pg > 0 && !printer.newPage()) {
            failed = true;
            break;
        }
        Stat->setText(QString::asprintf("Page : %u / %u", pg + 1, layout.PageCount));
        if (!Pump()) break;
        DrawGridLines(p, layout);
        if (!Pump()) break;
        DrawPage(p, layout, pg);
        if (AfterPage) AfterPage(pg);
        if (!Pump()) break;
    }
    if (abort_) {
        printer.abort();
        p.end();
        job.EndProgress();
        return 0;
    }
    p.end();
    return job.Finish(!failed) ? 1 : 0;
}
