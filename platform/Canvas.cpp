#include "platform/Canvas.h"
#include "platform/TextCodec.h"

#include <QFontMetrics>
#include <QPaintDevice>
#include <algorithm>
#include <cmath>
#include <numbers>

QColor ToQColor(WinColor c) {
    return QColor(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF), static_cast<int>((c >> 16) & 0xFF));
}

WinColor FromQColor(const QColor& c) {
    return static_cast<WinColor>(c.red()) | (static_cast<WinColor>(c.green()) << 8) |
           (static_cast<WinColor>(c.blue()) << 16);
}


Canvas::Canvas(QPaintDevice* device) {
    if (!device) return;
    width_ = device->width();
    height_ = device->height();
    if (width_ <= 0 || height_ <= 0) return;
    painter_ = std::make_unique<QPainter>();
    if (!painter_->begin(device)) {
        painter_.reset();
        return;
    }
    painter_->setRenderHint(QPainter::Antialiasing, false);
    font_ = painter_->font();
    ApplyPen();
    ApplyBrush();
}

Canvas::~Canvas() { End(); }

void Canvas::End() {
    if (painter_ && painter_->isActive()) painter_->end();
    painter_.reset();
}

bool Canvas::Active() const { return Drawing(); }

void Canvas::ApplyPen() {
    if (!Drawing()) return;
    if (penStyle_ == PenStyle::Clear) {
        painter_->setPen(Qt::NoPen);
        return;
    }
    QPen pen(ToQColor(penColor_));
    pen.setWidth(std::max(1, penWidth_));
    pen.setStyle(penStyle_ == PenStyle::Dot ? Qt::DotLine : Qt::SolidLine);
    // Round ends put both end points of a thin line on the image, whatever its direction.
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    painter_->setPen(pen);
}

void Canvas::ApplyBrush() {
    if (!Drawing()) return;
    if (brushStyle_ == BrushStyle::Clear)
        painter_->setBrush(Qt::NoBrush);
    else
        painter_->setBrush(ToQColor(brushColor_));
}

void Canvas::SetPenColor(WinColor c) {
    penColor_ = c & 0xFFFFFF;
    ApplyPen();
}

void Canvas::SetPenWidth(int w) {
    penWidth_ = std::max(1, w);
    ApplyPen();
}

void Canvas::SetPenStyle(PenStyle s) {
    penStyle_ = s;
    ApplyPen();
}

void Canvas::SetBrushColor(WinColor c) {
    brushColor_ = c & 0xFFFFFF;
    brushStyle_ = BrushStyle::Solid;
    ApplyBrush();
}

void Canvas::SetBrushStyle(BrushStyle s) {
    brushStyle_ = s;
    ApplyBrush();
}

void Canvas::SetFontColor(WinColor c) { fontColor_ = c & 0xFFFFFF; }

void Canvas::SetFontName(const QString& name) {
    font_.setFamily(name);
    if (Drawing()) painter_->setFont(font_);
}

void Canvas::SetFontPointSize(int points) {
    font_.setPointSize(std::max(1, points));
    if (Drawing()) painter_->setFont(font_);
}

void Canvas::SetFontPixelHeight(int pixels) {
    font_.setPixelSize(std::max(1, pixels));
    if (Drawing()) painter_->setFont(font_);
}

int Canvas::FontPixelHeight() const {
    if (font_.pixelSize() > 0) return font_.pixelSize();
    return QFontMetrics(font_).height();
}

void Canvas::SetFont(const QFont& f) {
    font_ = f;
    if (Drawing()) painter_->setFont(font_);
}

void Canvas::MoveTo(int x, int y) {
    posX_ = x;
    posY_ = y;
}

void Canvas::LineTo(int x, int y) {
    if (Drawing() && penStyle_ != PenStyle::Clear) {
        if (x == posX_ && y == posY_)
            painter_->drawPoint(x, y);
        else
            painter_->drawLine(posX_, posY_, x, y);
    }
    posX_ = x;
    posY_ = y;
}

void Canvas::Line(int x1, int y1, int x2, int y2) {
    MoveTo(x1, y1);
    LineTo(x2, y2);
}

void Canvas::Rectangle(int x1, int y1, int x2, int y2) {
    if (!Drawing()) return;
    if (x2 < x1) std::swap(x1, x2);
    if (y2 < y1) std::swap(y1, y2);
    if (x2 - x1 < 1 || y2 - y1 < 1) return;
    if (brushStyle_ == BrushStyle::Solid) painter_->fillRect(x1, y1, x2 - x1, y2 - y1, ToQColor(brushColor_));
    if (penStyle_ != PenStyle::Clear) {
        painter_->save();
        painter_->setBrush(Qt::NoBrush);
        painter_->drawRect(x1, y1, x2 - x1 - 1, y2 - y1 - 1);
        painter_->restore();
    }
}

void Canvas::Ellipse(int x1, int y1, int x2, int y2) {
    if (!Drawing()) return;
    if (x2 < x1) std::swap(x1, x2);
    if (y2 < y1) std::swap(y1, y2);
    painter_->drawEllipse(x1, y1, std::max(0, x2 - x1 - 1), std::max(0, y2 - y1 - 1));
}

void Canvas::Pie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
    if (!Drawing()) return;
    if (x2 < x1) std::swap(x1, x2);
    if (y2 < y1) std::swap(y1, y2);
    const double cx = (x1 + x2) / 2.0;
    const double cy = (y1 + y2) / 2.0;
    const double toDeg = 180.0 / std::numbers::pi;
    const double start = std::atan2(cy - y3, x3 - cx) * toDeg;
    const double end = std::atan2(cy - y4, x4 - cx) * toDeg;
    double span = end - start;
    while (span <= 0) span += 360.0;
    const QRect box(x1, y1, std::max(0, x2 - x1 - 1), std::max(0, y2 - y1 - 1));
    painter_->drawPie(box, static_cast<int>(std::lround(start * 16)), static_cast<int>(std::lround(span * 16)));
}

void Canvas::FillRect(int x1, int y1, int x2, int y2) { FillRect(x1, y1, x2, y2, brushColor_); }

void Canvas::FillRect(int x1, int y1, int x2, int y2, WinColor c) {
    if (!Drawing()) return;
    if (x2 < x1) std::swap(x1, x2);
    if (y2 < y1) std::swap(y1, y2);
    painter_->fillRect(x1, y1, x2 - x1, y2 - y1, ToQColor(c));
}

void Canvas::SetPixel(int x, int y, WinColor c) {
    if (!Drawing()) return;
    painter_->fillRect(x, y, 1, 1, ToQColor(c));
}

void Canvas::TextOut(int x, int y, const QString& text) {
    if (!Drawing() || text.isEmpty()) return;
    const QFontMetrics fm(font_, painter_->device());
    if (!textTransparent_)
        painter_->fillRect(x, y, fm.horizontalAdvance(text), fm.height(), ToQColor(brushColor_));
    painter_->save();
    painter_->setFont(font_);
    painter_->setPen(ToQColor(fontColor_));
    painter_->drawText(x, y + fm.ascent(), text);
    painter_->restore();
}

void Canvas::TextOut(int x, int y, const std::string& text) {
    TextOut(x, y, DisplayQString(text));
}

void Canvas::TextOut(int x, int y, const char* text) {
    if (text) TextOut(x, y, DisplayQString(text));
}

int Canvas::TextWidth(const QString& text) const {
    if (Drawing()) return QFontMetrics(font_, painter_->device()).horizontalAdvance(text);
    return QFontMetrics(font_).horizontalAdvance(text);
}

int Canvas::TextWidth(const std::string& text) const {
    return TextWidth(DisplayQString(text));
}

int Canvas::TextWidth(const char* text) const {
    return text ? TextWidth(DisplayQString(text)) : 0;
}

int Canvas::TextHeight(const QString&) const {
    if (Drawing()) return QFontMetrics(font_, painter_->device()).height();
    return QFontMetrics(font_).height();
}

int Canvas::TextHeight(const char*) const { return TextHeight(QString()); }
