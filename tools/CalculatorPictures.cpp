#include "tools/CalculatorPictures.h"

#include "model/CheckedFormat.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QWidget>
#include <algorithm>
#include <cmath>
#include <string>

namespace {

// A painter on the box in its design coordinates, scaled to the box's size,
// with the box's font taken back to its design size (the form scaled it):
// text and lines grow together. It notes where each text goes.
class DesignPicture {
public:
    DesignPicture(QWidget* box, int width, int height) : p_(box) {
        p_.fillRect(box->rect(), Qt::white);
        scale_ = std::max(1e-3, std::min(box->width() / double(width), box->height() / double(height)));
        p_.scale(scale_, scale_);
        QFont f = box->font();
        if (f.pointSizeF() > 0)
            f.setPointSizeF(f.pointSizeF() / scale_);
        else if (f.pixelSize() > 0)
            f.setPixelSize(std::max(1, static_cast<int>(std::lround(f.pixelSize() / scale_))));
        p_.setFont(f);
        p_.setPen(Qt::black);
        p_.setBrush(Qt::NoBrush);
    }

    QFontMetricsF Metrics() const { return QFontMetricsF(p_.font()); }
    void Line(double x1, double y1, double x2, double y2) {
        p_.drawLine(QPointF(x1, y1), QPointF(x2, y2));
        NoteLine(x1, y1, x2, y2);
    }
    void Box(double left, double top, double width, double height) {
        p_.drawRect(QRectF(left, top, width, height));
        const double right = left + width, bottom = top + height;
        NoteLine(left, top, right, top);
        NoteLine(right, top, right, bottom);
        NoteLine(right, bottom, left, bottom);
        NoteLine(left, bottom, left, top);
    }
    void Dot(double x, double y, double radius, bool filled) {
        p_.setBrush(filled ? Qt::black : Qt::white);
        p_.drawEllipse(QPointF(x, y), radius, radius);
        p_.setBrush(Qt::NoBrush);
    }
    // Text on the baseline y from x.
    void Text(const char* name, double x, double y, const QString& text) {
        p_.drawText(QPointF(x, y), text);
        const QFontMetricsF fm = Metrics();
        Note(name, QRectF(x, y - fm.ascent(), fm.horizontalAdvance(text), fm.height()));
    }
    // Text whose middle stands at (x, y).
    void CentredText(const char* name, double x, double y, const QString& text) {
        const QFontMetricsF fm = Metrics();
        Text(name, x - fm.horizontalAdvance(text) / 2, y + (fm.ascent() - fm.descent()) / 2, text);
    }

    std::vector<PanelPart> Parts;

private:
    // The design rectangle in the box's pixels, edges included.
    void Note(const char* name, const QRectF& r) {
        PanelPart part;
        part.Name = name;
        part.Box = PixelsOf(r);
        Parts.push_back(part);
    }
    // A line in the box's pixels, with the pixels its pen covers.
    void NoteLine(double x1, double y1, double x2, double y2) {
        PanelPart part;
        part.Name = "line";
        part.IsLine = true;
        part.X1 = x1 * scale_, part.Y1 = y1 * scale_, part.X2 = x2 * scale_, part.Y2 = y2 * scale_;
        const double half = p_.pen().widthF() / 2;
        const QRectF ends(QPointF(std::min(x1, x2), std::min(y1, y2)), QPointF(std::max(x1, x2), std::max(y1, y2)));
        part.Box = PixelsOf(ends.adjusted(-half, -half, half, half));
        Parts.push_back(part);
    }
    ScreenRect PixelsOf(const QRectF& r) const {
        return {static_cast<int32_t>(std::floor(r.left() * scale_)), static_cast<int32_t>(std::floor(r.top() * scale_)),
                static_cast<int32_t>(std::ceil(r.right() * scale_)) - 1,
                static_cast<int32_t>(std::ceil(r.bottom() * scale_)) - 1};
    }

    QPainter p_;
    double scale_ = 1;
};

QString Q(const std::string& s) { return QString::fromStdString(s); }

}  // namespace

// Wires at y 30 and 120 from x 10 to 290; the series element in the upper
// wire at x 110, the shunt element at x 30 (topology 0) or 180 (topology 1),
// interrupted around y 75. Each element's letter stands in its gap. The
// series element's value and reactance stand on one line above the upper
// wire, where no wire runs (below it the shunt element's wire may pass);
// the shunt element's stand one above the other beside its gap.
std::vector<PanelPart> PaintLMatch(QWidget* box, const LMatchCalc& m) {
    DesignPicture pic(box, LMatchPictureWidth, LMatchPictureHeight);
    const double w = 6.283185307179586 * m.F;
    if (w == 0 || m.R * m.Z == 0) return {};
    const QFontMetricsF fm = pic.Metrics();
    const double cw = fm.horizontalAdvance('C'), ch = fm.height();
    auto letter = [&](const char* name, double x, double y, char kind) {
        pic.Text(name, x - cw / 2, y + ch / 3, QString(QChar(kind)));
    };
    auto amount = [](char kind, double value) {
        return Q(kind == 'C' ? FormatInCLocale("%.1f %s", value, "pF") : FormatInCLocale("%.2f %s", value, "uH"));
    };
    auto ohms = [](double reactance) { return Q(FormatInCLocale("%.2lf Ohm", reactance)); };
    pic.Line(10, 120, 290, 120);
    if (m.V2 != 0) {
        pic.Line(10, 30, 110 - cw, 30);
        pic.Line(110 + cw, 30, 290, 30);
        letter("series element", 110, 30, m.K2);
        const double left = 110 + cw + 4, baseline = 30 - 3 - fm.descent();
        const QString value = amount(m.K2, m.V2);
        pic.Text("series value", left, baseline, value);
        pic.Text("series reactance", left + fm.horizontalAdvance(value) + cw, baseline, ohms(m.X2));
    } else {
        pic.Line(10, 30, 290, 30);
    }
    if (m.V1 != 0) {
        const double x = m.Topology == 0 ? 30 : 180;
        pic.Line(x, 30, x, 75 - ch);
        pic.Line(x, 75 + ch, x, 120);
        letter("shunt element", x, 75, m.K1);
        pic.Text("shunt value", x + cw + 4, 75 - 4, amount(m.K1, m.V1));
        pic.Text("shunt reactance", x + cw + 4, 75 + ch, ohms(m.X1));
    }
    return pic.Parts;
}

// The two wires of the line at y 24 and 94, the input terminals at x 40, the
// parallel element at x 130, the load at x 440; L1 is measured below.
std::vector<PanelPart> PaintStubMatch(QWidget* box) {
    DesignPicture pic(box, StubMatchPictureWidth, StubMatchPictureHeight);
    const double top = 24, bottom = 94, middle = (top + bottom) / 2;
    const double input = 40, element = 130, load = 440;
    const double halfWidth = 7, halfHeight = 15;  // of an element's box
    const QFontMetricsF fm = pic.Metrics();

    for (double y : {top, bottom}) {
        pic.Line(input + 3, y, load, y);
        pic.Dot(input, y, 3, false);
        pic.Dot(element, y, 2, true);
    }
    pic.Text("input", input - 10 - fm.horizontalAdvance("Zi"), middle + (fm.ascent() - fm.descent()) / 2, "Zi");
    // An element across the wires at x: a box in the middle, its name to the right.
    auto across = [&](const char* name, double x, const QString& text) {
        pic.Line(x, top, x, middle - halfHeight);
        pic.Line(x, middle + halfHeight, x, bottom);
        pic.Box(x - halfWidth, middle - halfHeight, 2 * halfWidth, 2 * halfHeight);
        pic.Text(name, x + halfWidth + 6, middle + (fm.ascent() - fm.descent()) / 2, text);
    };
    across("parallel element", element, "XS / L2");
    across("load", load, "R+jX");
    pic.CentredText("line impedance", (element + load) / 2, middle, "Zo");

    // The length L1 from the element to the load, its name in a gap.
    const double y = bottom + 16, centre = (element + load) / 2;
    const double gap = fm.horizontalAdvance("L1") / 2 + 6;
    pic.Line(element, bottom + 6, element, y + 6);
    pic.Line(load, bottom + 6, load, y + 6);
    pic.Line(element, y, centre - gap, y);
    pic.Line(centre + gap, y, load, y);
    for (double x : {element, load}) {
        const double in = x == element ? 6 : -6;
        pic.Line(x, y, x + in, y - 3);
        pic.Line(x, y, x + in, y + 3);
    }
    pic.CentredText("line length", centre, y, "L1");
    return pic.Parts;
}
