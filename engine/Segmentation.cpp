#include "engine/Segmentation.h"

#include "engine/EngineError.h"
#include "engine/WireExpansion.h"
#include "model/NumberText.h"

#include <cmath>
#include <string>
#include <vector>

namespace {

// One step of a graded end: Segs segments of equal length, Length in all.
struct GradedStep {
    double Length;
    int Segs;
};

enum class GradedLayout { BothEnds, AtEnd1, AtEnd2 };

[[noreturn]] void Refuse(int wireIndex, const std::string& what) {
    throw EngineError("WIRE " + std::to_string(wireIndex + 1) + ": " + what);
}

void CheckWavelength(const AntDef& ant, int wireIndex) {
    if (!(ant.Wavelength > 0) || !std::isfinite(ant.Wavelength))
        Refuse(wireIndex, "WAVE LENGTH " + DblToStr(ant.Wavelength) + " CANNOT BE SEGMENTED");
}

void CheckDensity(double density, int wireIndex) {
    // A density of 0 or below has no segment length; the splits would never end.
    if (!(density > 0)) Refuse(wireIndex, "SEGMENT DENSITY " + DblToStr(density) + " MUST BE ABOVE 0");
}

void CheckGrading(const AntDef& ant, int wireIndex) {
    // With SC at 1 or below the graded steps would never reach the middle density.
    if (!(ant.SC > 1) || !std::isfinite(ant.SC)) Refuse(wireIndex, "SC = " + DblToStr(ant.SC) + " MUST BE ABOVE 1");
    if (ant.EC < 1) Refuse(wireIndex, "EC = " + std::to_string(ant.EC) + " MUST BE AT LEAST 1");
}

// Walks along a wire: points at a distance from end 1, end 2 itself at or
// beyond the wire's length, each piece starting exactly where the last ended.
class PieceChain {
public:
    PieceChain(AntDef& ant, const Point3D& end1, const Point3D& end2, double r, int wireIndex)
        : ant_(ant), end2_(end2), current_(end1), r_(r), wireIndex_(wireIndex) {
        WireVector(unit_, end1, end2, length_);
        if (length_ > 0) unit_ = {unit_.X / length_, unit_.Y / length_, unit_.Z / length_};
        start_ = end1;
    }
    double Length() const { return length_; }
    void Add(double length, int segs) {
        along_ += length;
        const Point3D next = along_ >= length_ ? end2_
                                               : Point3D{start_.X + unit_.X * along_, start_.Y + unit_.Y * along_,
                                                         start_.Z + unit_.Z * along_};
        AddWirePiece(ant_, current_, next, r_, segs, wireIndex_);
        current_ = next;
    }
    void AddToEnd(int segs) {
        AddWirePiece(ant_, current_, end2_, r_, segs, wireIndex_);
        current_ = end2_;
    }

private:
    AntDef& ant_;
    Point3D end2_, current_, start_, unit_{};
    double length_ = 0, along_ = 0, r_;
    int wireIndex_;
};

void SplitGraded(AntDef& ant, const Point3D& end1, const Point3D& end2, double r, int startDensity, int wireIndex,
                 GradedLayout layout) {
    CheckWavelength(ant, wireIndex);
    const double d1 = startDensity == 1 ? ant.DM1 : startDensity;
    double d2 = ant.DM2;
    CheckDensity(d1, wireIndex);
    CheckDensity(d2, wireIndex);
    CheckGrading(ant, wireIndex);
    r = std::fabs(r);
    const double lambda = ant.Wavelength;
    PieceChain chain(ant, end1, end2, r, wireIndex);
    const double length = chain.Length();

    if (lambda / d1 > length) {
        chain.AddToEnd(1);
        return;
    }
    std::vector<GradedStep> steps;
    double rest = 0;
    int middle = 0;
    for (;;) {
        if (d2 >= d1) {
            SplitWireAuto(ant, end1, end2, r, std::trunc(d1), wireIndex);
            return;
        }
        steps.clear();
        double covered = 0;
        // Once the steps cover the wire the rest is negative whatever follows,
        // and more steps than pieces fit in the table cannot be calculated.
        for (double d = d1; d > d2 && covered <= length && steps.size() <= MaxExpWires; d /= ant.SC) {
            const int segs = steps.empty() ? ant.EC : 1;
            const double stepLength = segs * lambda / d;
            steps.push_back({stepLength, segs});
            covered += stepLength;
        }
        if (layout == GradedLayout::BothEnds) {
            rest = length - 2 * covered;
            middle = SegmentCount(rest / (lambda / d2));
            middle -= middle % 2;
            if (rest > 0 && middle >= 2) break;
            d2 *= 2;
        } else {
            rest = length - covered;
            middle = SegmentCount(rest / (lambda / d2));
            if (rest > 0 && middle >= 1) break;
            d2 *= 1.25;
        }
    }

    const int k = static_cast<int>(steps.size());
    switch (layout) {
        case GradedLayout::BothEnds:
            for (const GradedStep& s : steps) chain.Add(s.Length, s.Segs);
            if (middle <= 4 && lambda / d2 < 0.85 * rest / middle) middle += 2;
            chain.Add(rest, middle);
            for (int j = k - 1; j >= 1; --j) chain.Add(steps[j].Length, 1);
            chain.AddToEnd(ant.EC);
            break;
        case GradedLayout::AtEnd1:
            for (const GradedStep& s : steps) chain.Add(s.Length, s.Segs);
            if (lambda / ant.DM2 < 0.85 * rest / middle) middle += 1;
            chain.AddToEnd(middle);
            break;
        case GradedLayout::AtEnd2:
            if (lambda / ant.DM2 < 0.85 * rest / middle) middle += 1;
            chain.Add(rest, middle);
            for (int j = k - 1; j >= 1; --j) chain.Add(steps[j].Length, 1);
            chain.AddToEnd(ant.EC);
            break;
    }
}

}  // namespace

int SegmentCount(double ratio) {
    if (!(ratio > 0)) return 0;
    if (ratio >= MaxSegmentsPerPiece) return MaxSegmentsPerPiece;
    return static_cast<int>(ratio);
}

void SplitWireAuto(AntDef& ant, const Point3D& end1, const Point3D& end2, double r, double density, int wireIndex) {
    CheckWavelength(ant, wireIndex);
    CheckDensity(density, wireIndex);
    r = std::fabs(r);
    Point3D v;
    double length;
    WireVector(v, end1, end2, length);
    const double segment = ant.Wavelength / density;
    int n = SegmentCount(length / segment);
    n -= n % 2;
    while (n != 0 && length / n < 4 * r) n -= 2;  // a segment must be at least four radii long
    if (n == 0) n = 4;
    if (n <= 4 && segment < 0.85 * length / n) n += 2;
    AddWirePiece(ant, end1, end2, r, n, wireIndex);
}

void SplitWireN(AntDef& ant, const Point3D& end1, const Point3D& end2, double r, int startDensity, int wireIndex) {
    SplitGraded(ant, end1, end2, r, startDensity, wireIndex, GradedLayout::BothEnds);
}

void SplitWireTaper1(AntDef& ant, const Point3D& end1, const Point3D& end2, double r, int startDensity,
                     int wireIndex) {
    SplitGraded(ant, end1, end2, r, startDensity, wireIndex, GradedLayout::AtEnd1);
}

void SplitWireTaper2(AntDef& ant, const Point3D& end1, const Point3D& end2, double r, int startDensity,
                     int wireIndex) {
    SplitGraded(ant, end1, end2, r, startDensity, wireIndex, GradedLayout::AtEnd2);
}
