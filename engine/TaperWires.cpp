#include "engine/TaperWires.h"

#include "engine/Segmentation.h"
#include "engine/WireExpansion.h"
#include "model/WireGeometry.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double NoSpan = 1e20;
// A section past the list's end with radius 0 takes this (metres).
constexpr double FirstSectionRadius = 0.008;

bool IsOneWay(const TaperSet& set) { return (set.Type & 1) != 0; }
bool IsStarType(const TaperSet& set) { return (set.Type & 2) != 0; }

double EntryRadius(const TaperSet& set, int i) {
    if (i >= MaxTaperSections) return set.Rad[MaxTaperSections - 1];
    if (set.Len[i] != 0) return set.Rad[i];
    return i == 0 ? FirstSectionRadius : set.Rad[i - 1];
}

int SectionCode(const TaperSet& set, int seg) {
    if (IsStarType(set)) return seg >= 0 ? seg : 0;
    return (seg == -2 || seg == -3) ? 0 : seg;
}

// Lays sections one after another from end 1 of the wire.
class SectionLayout {
public:
    SectionLayout(WireRec (&out)[MaxTaperWireSections], const WireRec& wire, int code)
        : out_(out), wire_(wire), code_(code) {
        WireVector(unit_, WireEnd1(wire), WireEnd2(wire), length_);
        if (length_ > 0) unit_ = {unit_.X / length_, unit_.Y / length_, unit_.Z / length_};
        rest_ = length_;
        current_ = WireEnd1(wire);
    }
    double Rest() const { return rest_; }
    int Count() const { return count_; }
    double SectionLength(int i) const { return lengths_[i]; }

    void Add(double length, double radius) {
        if (count_ >= MaxTaperWireSections) return;
        along_ += length;
        rest_ -= length;
        // Float noise must not leave a sliver of a section at the far end.
        if (std::fabs(rest_) <= 1e-9 * length_) rest_ = 0;
        const Point3D start = WireEnd1(wire_);
        const Point3D next = rest_ == 0 ? WireEnd2(wire_)
                                        : Point3D{start.X + unit_.X * along_, start.Y + unit_.Y * along_,
                                                  start.Z + unit_.Z * along_};
        WireRec& s = out_[count_];
        s = wire_;
        s.X1 = current_.X;
        s.Y1 = current_.Y;
        s.Z1 = current_.Z;
        s.X2 = next.X;
        s.Y2 = next.Y;
        s.Z2 = next.Z;
        s.R = radius;
        s.Seg = code_;
        lengths_[count_++] = length;
        current_ = next;
    }
    // The last section ends exactly at end 2 of the wire.
    void CloseAtEnd2() {
        if (count_ == 0) return;
        WireRec& last = out_[count_ - 1];
        last.X2 = wire_.X2;
        last.Y2 = wire_.Y2;
        last.Z2 = wire_.Z2;
        lengths_[count_ - 1] = WireLength(last);
    }

private:
    WireRec (&out_)[MaxTaperWireSections];
    const WireRec& wire_;
    int code_;
    Point3D unit_{}, current_{};
    double length_ = 0, rest_ = 0, along_ = 0;
    double lengths_[MaxTaperWireSections]{};
    int count_ = 0;
};

void LaySymmetric(SectionLayout& layout, const TaperSet& set, int n, double length) {
    const double half = (length - TaperSetSpan(set, n - 1)) / 2;
    layout.Add(half, EntryRadius(set, n));
    for (int i = n - 1; i >= 1; --i) layout.Add(set.Len[i], EntryRadius(set, i));
    for (int i = 0; i <= n; ++i) {
        const double rest = layout.Rest();
        if (rest == 0) break;
        double s = (i == n || i >= MaxTaperSections || set.Len[i] == 0) ? rest : std::min(set.Len[i], rest);
        layout.Add(s, EntryRadius(set, i));
    }
}

void LayOneWay(SectionLayout& layout, const TaperSet& set) {
    for (int i = 0; i < MaxTaperSections && layout.Rest() != 0; ++i) {
        const double rest = layout.Rest();
        const double s = set.Len[i] == 0 ? rest : std::min(set.Len[i], rest);
        layout.Add(s, EntryRadius(set, i));
    }
}

// Graded codes for the end sections of a wire with a negative code.
void GradeEndSections(WireRec* s, int c, const SectionLayout& layout, const TaperSet& set, int seg, double t) {
    const bool startShort = layout.SectionLength(0) < t;
    const bool endShort = layout.SectionLength(c - 1) < t;
    if (seg == -2) {
        if (startShort) {
            s[0].Seg = -1;
            if (c > 1) s[1].Seg = -2;
        } else {
            s[0].Seg = -2;
        }
        return;
    }
    if (seg == -3) {
        if (c > 1 && endShort) {
            s[c - 2].Seg = -3;
            s[c - 1].Seg = -1;
        } else {
            s[c - 1].Seg = -3;
        }
        return;
    }
    if (c == 1) {
        s[0].Seg = seg;
        return;
    }
    if (!IsStarType(set)) return;
    if (startShort) {
        s[0].Seg = -1;
        s[1].Seg = c < 4 ? -1 : -2;
    } else {
        s[0].Seg = -2;
    }
    if (endShort) {
        s[c - 2].Seg = c < 4 ? -1 : -3;
        s[c - 1].Seg = -1;
    } else {
        s[c - 1].Seg = -3;
    }
}

// Outer sections of the symmetric layout get fixed counts; the centre keeps
// the automatic mode.
void FixOuterCounts(WireRec* s, int c, const SectionLayout& layout, double t) {
    for (int i = 0; i < c; ++i) {
        if (s[i].Seg != 0 || i == c / 2) continue;
        const double len = layout.SectionLength(i);
        int n = std::max(1, SegmentCount(len / t));
        if (n <= 4 && 0.85 * len / n > t) n += 1;
        s[i].Seg = n;
    }
}

}  // namespace

double TaperSetSpan(const TaperSet& set, int k) {
    k = std::min(k, MaxTaperSections - 1);
    double pairs = 0;
    for (int i = 1; i <= k; ++i) {
        if (set.Len[i] == 0) return NoSpan;
        pairs += set.Len[i];
    }
    return set.Len[0] + 2 * pairs;
}

int TaperSections(WireRec (&sections)[MaxTaperWireSections], const AntDef& ant, const TaperSet& set,
                  const WireRec& wire) {
    const double length = WireLength(wire);
    const bool symmetric = !IsOneWay(set);
    SectionLayout layout(sections, wire, SectionCode(set, wire.Seg));

    if (symmetric) {
        int n = 0;
        while (n < MaxTaperSections && TaperSetSpan(set, n) < length) ++n;
        if (n == 0) {
            sections[0] = wire;
            sections[0].R = set.Rad[0];
            return 1;
        }
        LaySymmetric(layout, set, n, length);
    } else {
        LayOneWay(layout, set);
    }

    const int c = layout.Count();
    if (c == 0) {
        sections[0] = wire;
        sections[0].R = set.Rad[0];
        return 1;
    }
    layout.CloseAtEnd2();
    const double t = ant.Wavelength / ant.DM2;
    if (wire.Seg < 0) GradeEndSections(sections, c, layout, set, wire.Seg, t);
    if (symmetric && c >= 3) FixOuterCounts(sections, c, layout, t);
    return c;
}

void ExpandTaperWire(AntDef& ant, const TaperSet& set, int wireIndex, const WireRec& wire) {
    WireRec sections[MaxTaperWireSections];
    const int count = TaperSections(sections, ant, set, wire);
    for (int i = 0; i < count; ++i) ExpandWire(ant, wireIndex, sections[i]);
}
