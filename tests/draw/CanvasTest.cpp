// The canvas converts Windows colours, places text by its top-left corner and
// draws lines, boxes and pixels on whole pixels.
#include "platform/Canvas.h"

#include <QImage>
#include <gtest/gtest.h>

namespace {

QImage WhiteImage(int w, int h) {
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(Qt::white);
    return img;
}

WinColor At(const QImage& img, int x, int y) { return FromQColor(img.pixelColor(x, y)); }

}  // namespace

TEST(Canvas, ColoursAreWindowsValues) {
    EXPECT_EQ(ToQColor(ClRed), QColor(255, 0, 0));
    EXPECT_EQ(ToQColor(ClBlue), QColor(0, 0, 255));
    EXPECT_EQ(ToQColor(ClGreen), QColor(0, 128, 0));
    EXPECT_EQ(FromQColor(QColor(0x12, 0x34, 0x56)), 0x563412u);
}

TEST(Canvas, LinesAndPixelsLandOnWholePixels) {
    QImage img = WhiteImage(40, 40);
    {
        Canvas c(&img);
        c.SetPenColor(ClRed);
        c.Line(5, 10, 30, 10);
        c.SetPixel(3, 3, ClBlue);
        c.SetPenColor(ClGreen);
        c.MoveTo(20, 20);
        c.LineTo(20, 35);
        EXPECT_EQ(c.PenX(), 20);
        EXPECT_EQ(c.PenY(), 35);
    }
    EXPECT_EQ(At(img, 5, 10), ClRed);
    EXPECT_EQ(At(img, 29, 10), ClRed);
    EXPECT_EQ(At(img, 17, 9), ClWhite);
    EXPECT_EQ(At(img, 17, 11), ClWhite);
    EXPECT_EQ(At(img, 3, 3), ClBlue);
    EXPECT_EQ(At(img, 4, 3), ClWhite);
    EXPECT_EQ(At(img, 20, 25), ClGreen);
}

TEST(Canvas, RectangleExcludesRightAndBottomEdges) {
    QImage img = WhiteImage(30, 30);
    {
        Canvas c(&img);
        c.SetPenColor(ClBlack);
        c.SetBrushColor(ClLime);
        c.Rectangle(5, 5, 15, 12);
    }
    EXPECT_EQ(At(img, 5, 5), ClBlack);
    EXPECT_EQ(At(img, 14, 11), ClBlack);
    EXPECT_EQ(At(img, 15, 11), ClWhite);
    EXPECT_EQ(At(img, 14, 12), ClWhite);
    EXPECT_EQ(At(img, 10, 8), ClLime);
}

TEST(Canvas, TextStartsAtItsTopLeftCorner) {
    QImage img = WhiteImage(200, 60);
    int w = 0, h = 0;
    {
        Canvas c(&img);
        c.SetFontPixelHeight(16);
        c.SetFontColor(ClBlack);
        c.SetTextTransparent(true);
        c.TextOut(50, 20, "WWW");
        w = c.TextWidth("WWW");
        h = c.TextHeight("WWW");
    }
    ASSERT_GT(w, 10);
    ASSERT_GE(h, 14);
    int minX = 999, minY = 999, maxX = -1, maxY = -1;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (At(img, x, y) != ClWhite) {
                minX = std::min(minX, x);
                minY = std::min(minY, y);
                maxX = std::max(maxX, x);
                maxY = std::max(maxY, y);
            }
    EXPECT_GE(minX, 50);
    EXPECT_LE(minX, 53);
    EXPECT_GE(minY, 20);
    EXPECT_LT(maxY, 20 + h);
    EXPECT_LE(maxX, 50 + w);
}

TEST(Canvas, OpaqueTextFillsItsCellWithTheBrush) {
    QImage img = WhiteImage(100, 40);
    {
        Canvas c(&img);
        c.SetBrushColor(ClSilver);
        c.SetTextTransparent(false);
        c.TextOut(10, 10, "i");
    }
    EXPECT_EQ(At(img, 10, 10), ClSilver);
}

TEST(Canvas, PieCoversOnlyItsSector) {
    QImage img = WhiteImage(60, 60);
    {
        Canvas c(&img);
        c.SetPenColor(ClBlack);
        c.SetBrushColor(ClBlue);
        // Upper half disc: from the right end of the diameter to the left end.
        c.Pie(10, 10, 51, 51, 51, 30, 10, 30);
    }
    EXPECT_EQ(At(img, 30, 18), ClBlue);
    EXPECT_EQ(At(img, 30, 42), ClWhite);
}

TEST(Canvas, AnEmptyDeviceDrawsNothing) {
    QImage img;
    Canvas c(&img);
    EXPECT_FALSE(c.Active());
    c.Line(0, 0, 10, 10);
    c.TextOut(0, 0, "x");
    c.Rectangle(0, 0, 5, 5);
}

TEST(Canvas, InvalidUtf8IsShownAsWindows1252) {
    QImage img = WhiteImage(100, 30);
    Canvas c(&img);
    const std::string latin = "Gr\xF6\xDF" "e";
    EXPECT_EQ(c.TextWidth(latin), c.TextWidth(QString::fromLatin1(latin.c_str())));
    EXPECT_EQ(c.TextWidth(std::string("\xC3\xB6")), c.TextWidth(QString::fromUtf8("\xC3\xB6")));
}
