#pragma once
// The drawing surface of every antenna, pattern and chart routine: a thin
// QPainter wrapper with the vocabulary those routines use (pen, brush, font,
// move/line, rectangle, ellipse, pie, text by its top-left corner, text
// extent, single pixels). Colours are Windows values 0x00BBGGRR, as they are
// kept in records and settings; they are converted to Qt here only.
// Painting is aliased so that lines and single pixels land on whole pixels.
#include <QColor>
#include <QFont>
#include <QPainter>
#include <QString>
#include <cstdint>
#include <memory>
#include <string>

class QPaintDevice;

using WinColor = uint32_t;

constexpr WinColor ClBlack = 0x000000;
constexpr WinColor ClMaroon = 0x000080;
constexpr WinColor ClGreen = 0x008000;
constexpr WinColor ClOlive = 0x008080;
constexpr WinColor ClNavy = 0x800000;
constexpr WinColor ClPurple = 0x800080;
constexpr WinColor ClTeal = 0x808000;
constexpr WinColor ClGray = 0x808080;
constexpr WinColor ClSilver = 0xC0C0C0;
constexpr WinColor ClRed = 0x0000FF;
constexpr WinColor ClLime = 0x00FF00;
constexpr WinColor ClBlue = 0xFF0000;
constexpr WinColor ClMagenta = 0xFF00FF;
constexpr WinColor ClWhite = 0xFFFFFF;

QColor ToQColor(WinColor c);
WinColor FromQColor(const QColor& c);

enum class PenStyle { Solid, Dot, Clear };
enum class BrushStyle { Solid, Clear };

class Canvas {
public:
    // Paints on the device until the canvas is destroyed or End() is called.
    explicit Canvas(QPaintDevice* device);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    // Finishes painting; the device may then be read. Idempotent.
    void End();
    bool Active() const;

    int Width() const { return width_; }
    int Height() const { return height_; }

    // Pen, brush and font state, as a canvas object of the drawing routines keeps it.
    void SetPenColor(WinColor c);
    WinColor PenColor() const { return penColor_; }
    void SetPenWidth(int w);
    int PenWidth() const { return penWidth_; }
    void SetPenStyle(PenStyle s);
    void SetBrushColor(WinColor c);
    WinColor BrushColor() const { return brushColor_; }
    void SetBrushStyle(BrushStyle s);
    void SetFontColor(WinColor c);
    WinColor FontColor() const { return fontColor_; }
    void SetFontName(const QString& name);
    QString FontName() const { return font_.family(); }
    void SetFontPointSize(int points);
    // Character cell height in pixels.
    void SetFontPixelHeight(int pixels);
    int FontPixelHeight() const;
    void SetFont(const QFont& f);
    QFont Font() const { return font_; }
    // Transparent text leaves the background; opaque text fills its cell with the brush colour.
    void SetTextTransparent(bool transparent) { textTransparent_ = transparent; }
    bool TextTransparent() const { return textTransparent_; }

    // Lines: the current position moves to the end of every line.
    void MoveTo(int x, int y);
    void LineTo(int x, int y);
    void Line(int x1, int y1, int x2, int y2);
    int PenX() const { return posX_; }
    int PenY() const { return posY_; }

    // Shapes within the box from (x1, y1) to (x2, y2), the right and bottom edges excluded,
    // outlined with the pen and filled with the brush.
    void Rectangle(int x1, int y1, int x2, int y2);
    void Ellipse(int x1, int y1, int x2, int y2);
    // The sector of the ellipse in the box, counter-clockwise from the radial through
    // (x3, y3) to the radial through (x4, y4).
    void Pie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);
    // Fills the box with the brush colour, no outline.
    void FillRect(int x1, int y1, int x2, int y2);
    void FillRect(int x1, int y1, int x2, int y2, WinColor c);

    void SetPixel(int x, int y, WinColor c);

    // Text with its top-left corner at (x, y), in the font colour.
    void TextOut(int x, int y, const QString& text);
    void TextOut(int x, int y, const std::string& text);
    void TextOut(int x, int y, const char* text);
    int TextWidth(const QString& text) const;
    int TextWidth(const std::string& text) const;
    int TextWidth(const char* text) const;
    int TextHeight(const QString& text) const;
    int TextHeight(const char* text) const;

    QPainter& Painter() { return *painter_; }

private:
    void ApplyPen();
    void ApplyBrush();
    bool Drawing() const { return painter_ && painter_->isActive(); }

    std::unique_ptr<QPainter> painter_;
    int width_ = 0;
    int height_ = 0;
    WinColor penColor_ = ClBlack;
    int penWidth_ = 1;
    PenStyle penStyle_ = PenStyle::Solid;
    WinColor brushColor_ = ClWhite;
    BrushStyle brushStyle_ = BrushStyle::Solid;
    WinColor fontColor_ = ClBlack;
    QFont font_;
    bool textTransparent_ = false;
    int posX_ = 0;
    int posY_ = 0;
};
