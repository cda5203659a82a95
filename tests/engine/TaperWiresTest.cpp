#include "ExpansionFixture.h"
#include "engine/TaperWires.h"

namespace {

class TaperWires : public Expansion {
protected:
    TaperSet set{};
    WireRec sections[MaxTaperWireSections];

    void SymmetricSet() {
        set.Key = -1;
        set.Type = TaperSym;
        set.Len[0] = 2.0;
        set.Len[1] = 1.0;
        set.Len[2] = 99999.9;
        set.Rad[0] = 0.02;
        set.Rad[1] = 0.015;
        set.Rad[2] = 0.01;
    }
    std::vector<double> Lengths(int count) const {
        std::vector<double> v;
        for (int i = 0; i < count; ++i) v.push_back(WireLength(sections[i]));
        return v;
    }
};

void ExpectLengths(const std::vector<double>& got, const std::vector<double>& want) {
    ASSERT_EQ(got.size(), want.size());
    for (size_t i = 0; i < got.size(); ++i) EXPECT_NEAR(got[i], want[i], 1e-12) << "section " << i;
}

}  // namespace

TEST_F(TaperWires, SpanOfTheCentreAndItsPairs) {
    SymmetricSet();
    EXPECT_EQ(TaperSetSpan(set, 0), 2.0);
    EXPECT_EQ(TaperSetSpan(set, 1), 4.0);
    set.Len[1] = 0;
    EXPECT_EQ(TaperSetSpan(set, 1), 1e20);
    EXPECT_EQ(TaperSetSpan(set, 0), 2.0);
}

TEST_F(TaperWires, SymmetricSetOnA7mWire) {
    SymmetricSet();
    const int w = AddWire({0, -3.5, 10}, {0, 3.5, 10}, -1, 0);
    const int c = TaperSections(sections, *ant, set, ant->Wires[w]);
    ASSERT_EQ(c, 5);
    ExpectLengths(Lengths(c), {1.5, 1.0, 2.0, 1.0, 1.5});
    const double radii[] = {0.01, 0.015, 0.02, 0.015, 0.01};
    for (int i = 0; i < c; ++i) EXPECT_EQ(sections[i].R, radii[i]);
    EXPECT_EQ(sections[4].Y2, 3.5);
    for (int i = 1; i < c; ++i) EXPECT_EQ(sections[i].Y1, sections[i - 1].Y2);
    // Outer sections get fixed counts at 20 m / 80, the centre stays automatic.
    EXPECT_EQ(sections[0].Seg, 6);
    EXPECT_EQ(sections[1].Seg, 4);
    EXPECT_EQ(sections[2].Seg, 0);
}

TEST_F(TaperWires, WireWithinTheCentreSectionIsOneSection) {
    SymmetricSet();
    const int w = AddWireAlongX(1.5, -1, -1);
    ASSERT_EQ(TaperSections(sections, *ant, set, ant->Wires[w]), 1);
    EXPECT_EQ(sections[0].R, 0.02);
    EXPECT_EQ(sections[0].X2, 1.5);
    EXPECT_EQ(sections[0].Seg, -1);
}

TEST_F(TaperWires, OneWaySetEndingEarlyStretchesItsLastRadius) {
    set.Key = -2;
    set.Type = TaperOneWay;
    set.Len[0] = 1.0;
    set.Len[1] = 1.0;
    set.Rad[0] = 0.003;
    set.Rad[1] = 0.002;
    const int w = AddWireAlongX(5.0, 0, -2);
    const int c = TaperSections(sections, *ant, set, ant->Wires[w]);
    ASSERT_EQ(c, 3);
    ExpectLengths(Lengths(c), {1.0, 1.0, 3.0});
    EXPECT_EQ(sections[2].R, 0.002);
    EXPECT_EQ(sections[2].X2, 5.0);
}

TEST_F(TaperWires, ShortFirstSectionTakesTheFineGrading) {
    set.Key = -2;
    set.Type = TaperOneWay;
    set.Len[0] = 0.1;  // shorter than 20 m / 80
    set.Len[1] = 1.0;
    set.Rad[0] = set.Rad[1] = 0.002;
    const int w = AddWireAlongX(5.0, -2, -2);
    const int c = TaperSections(sections, *ant, set, ant->Wires[w]);
    ASSERT_EQ(c, 3);
    EXPECT_EQ(sections[0].Seg, -1);
    EXPECT_EQ(sections[1].Seg, -2);
    EXPECT_EQ(sections[2].Seg, 0);
}

TEST_F(TaperWires, StarTypesGradeBothOuterSections) {
    SymmetricSet();
    set.Type = TaperSymStar;
    const int w = AddWireAlongX(7.0, -1, -1);
    const int c = TaperSections(sections, *ant, set, ant->Wires[w]);
    ASSERT_EQ(c, 5);
    EXPECT_EQ(sections[0].Seg, -2);
    EXPECT_EQ(sections[4].Seg, -3);
    EXPECT_EQ(sections[2].Seg, 0);
    set.Type = TaperSym;  // plain types keep the wire's code everywhere
    TaperSections(sections, *ant, set, ant->Wires[w]);
    EXPECT_EQ(sections[0].Seg, -1);
    EXPECT_EQ(sections[4].Seg, -1);
}

TEST_F(TaperWires, ZeroLengthWireIsOneSection) {
    set.Key = -2;
    set.Type = TaperOneWay;
    set.Len[0] = 1.0;
    set.Rad[0] = 0.004;
    const int w = AddWire({1, 1, 1}, {1, 1, 1}, -2, 3);
    ASSERT_EQ(TaperSections(sections, *ant, set, ant->Wires[w]), 1);
    EXPECT_EQ(sections[0].R, 0.004);
}
