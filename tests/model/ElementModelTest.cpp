// The element model: grouping by exact end points, forms, boom positions,
// resizing and write-back.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>
#include <memory>

#include "model/AntennaSamples.h"
#include "model/ElementList.h"
#include "model/EnvDef.h"

namespace {

void AddWire(AntDef& a, double x1, double y1, double z1, double x2, double y2, double z2, double r = 0.001) {
    a.Wires[a.WireCount++] = WireRec{x1, y1, z1, x2, y2, z2, r, -1, 0, 0, 0};
}

// A closed loop through the corners, one wire per side.
struct Corner {
    double X, Y, Z;
};
void AddLoop(AntDef& a, const std::vector<Corner>& c) {
    for (std::size_t i = 0; i < c.size(); ++i) {
        const Corner& p = c[i];
        const Corner& q = c[(i + 1) % c.size()];
        AddWire(a, p.X, p.Y, p.Z, q.X, q.Y, q.Z);
    }
}

// Three dipoles along Y at the given boom positions.
std::unique_ptr<AntDef> Yagi(double x0, double x1, double x2) {
    auto a = NewAntenna();
    AddWire(*a, x0, -5, 10, x0, 5, 10);
    AddWire(*a, x1, -4.8, 10, x1, 4.8, 10);
    AddWire(*a, x2, -4.6, 10, x2, 4.6, 10);
    return a;
}

}  // namespace

TEST(ElementModel, WiresTouchingOnlyNearlyAreSeparateElements) {
    auto a = NewAntenna();
    AddWire(*a, 0, 0, 0, 0, 1, 0);
    AddWire(*a, 0, 1 + 1e-9, 0, 0, 2, 0);
    AddWire(*a, 0, 2, 0, 0, 3, 0);
    auto list = std::make_unique<CWGroupList>();
    ASSERT_TRUE(list->Build(*a));
    EXPECT_EQ(list->Count, 2);
    EXPECT_EQ(list->GroupOfWire(1), list->GroupOfWire(2));
    EXPECT_NE(list->GroupOfWire(0), list->GroupOfWire(1));
}

TEST(ElementModel, SingleWireAlongYIsAnHLineWithoutLength) {
    auto a = NewAntenna();
    AddWire(*a, 0, -5, 10, 0, 5, 10);
    auto list = std::make_unique<CWGroupList>();
    ASSERT_TRUE(list->Build(*a));
    ASSERT_EQ(list->Count, 1);
    EXPECT_EQ(list->Groups[0].Form, FormHLine);
    EXPECT_STREQ(ElementFormName(list->Groups[0].Form), "H line");
    EXPECT_EQ(list->Groups[0].GetLength(), 0);
    EXPECT_EQ(list->Groups[0].Width(), 10);
}

TEST(ElementModel, IntervalsAndPositionsMeasureFromTheBase) {
    auto a = Yagi(2, -1, 0);  // sorted by boom position whatever the wire order
    auto list = std::make_unique<CWGroupList>();
    ASSERT_TRUE(list->Build(*a));
    ASSERT_EQ(list->Count, 3);
    EXPECT_EQ(list->Base, 1);
    EXPECT_DOUBLE_EQ(list->Intervals[0], 1);
    EXPECT_DOUBLE_EQ(list->Intervals[1], 0);
    EXPECT_DOUBLE_EQ(list->Intervals[2], 2);
    EXPECT_DOUBLE_EQ(list->PosOf(0), 0);
    EXPECT_DOUBLE_EQ(list->PosOf(1), 1);
    EXPECT_DOUBLE_EQ(list->PosOf(2), 3);
    EXPECT_DOUBLE_EQ(list->PosOfWire(0), 2);
    EXPECT_DOUBLE_EQ(list->PosOfWire(1), -1);
}

TEST(ElementModel, MovingAnElementKeepsTheBaseAndWritesBack) {
    auto a = Yagi(-1, 0, 2);
    auto list = std::make_unique<CWGroupList>();
    ASSERT_TRUE(list->Build(*a));
    list->SetPos(2, 4);   // third element 4 m from the first
    list->WriteBack();
    EXPECT_DOUBLE_EQ(a->Wires[2].X1, 3);
    EXPECT_DOUBLE_EQ(a->Wires[1].X1, 0);
    EXPECT_DOUBLE_EQ(a->Wires[0].X1, -1);
    EXPECT_EQ(a->WireCount, 3);
    EXPECT_EQ(a->Wires[2].FirstPulse, 1);
}

TEST(ElementModel, WidthEndsFromZeroAndAcrossZero) {
    auto a = NewAntenna();
    AddWire(*a, 0, 0, 10, 0, 2, 10);
    AddWire(*a, 5, -1, 10, 5, 3, 10);
    auto list = std::make_unique<CWGroupList>();
    ASSERT_TRUE(list->Build(*a));
    list->Groups[0].SetWidthEnds(4);
    EXPECT_DOUBLE_EQ(list->Groups[0].YMin, 0);
    EXPECT_DOUBLE_EQ(list->Groups[0].YMax, 4);
    list->Groups[1].SetWidthEnds(8);
    EXPECT_DOUBLE_EQ(list->Groups[1].YMin, -2);
    EXPECT_DOUBLE_EQ(list->Groups[1].YMax, 6);
}

TEST(ElementModel, ClosedFormsAreRecognised) {
    auto a = NewAntenna();
    AddLoop(*a, {{0, -1, 9}, {0, 1, 9}, {0, 1, 11}, {0, -1, 11}});              // V quad
    AddLoop(*a, {{3, -1, 10}, {3, 0, 9}, {3, 1, 10}, {3, 0, 11}});              // V rhomb
    AddLoop(*a, {{6, 0, 11}, {6, -1, 9}, {6, 1, 9}});                          // V trian, apex up
    AddLoop(*a, {{9, 0, 9}, {9, 1, 11}, {9, -1, 11}});                         // V trian, apex down
    AddLoop(*a, {{12, -1, 10}, {14, -1, 10}, {14, 1, 10}, {12, 1, 10}});        // H quad
    auto list = std::make_unique<CWGroupList>();
    ASSERT_TRUE(list->Build(*a));
    ASSERT_EQ(list->Count, 5);
    EXPECT_EQ(list->Groups[0].Form, FormVQuad);
    EXPECT_EQ(list->Groups[1].Form, FormVRhomb);
    EXPECT_EQ(list->Groups[2].Form, FormVTrian);
    EXPECT_EQ(list->Groups[3].Form, FormVTrianDown);
    EXPECT_EQ(list->Groups[4].Form, FormHQuad);
    EXPECT_DOUBLE_EQ(list->Groups[0].GetLength(), 8);
    // A horizontal loop's "height" is its extent along the boom.
    EXPECT_DOUBLE_EQ(list->Groups[4].Height(), 2);
    EXPECT_DOUBLE_EQ(list->Groups[4].GetLength(), 8);
}

TEST(ElementModel, PerimeterChangeKeepsTheFormsProportions) {
    auto a = NewAntenna();
    AddLoop(*a, {{0, -1, 9}, {0, 1, 9}, {0, 1, 12}, {0, -1, 12}});  // 2 wide, 3 high
    auto list = std::make_unique<CWGroupList>();
    ASSERT_TRUE(list->Build(*a));
    CWGroup& g = list->Groups[0];
    g.SetLengthEnds(20);
    EXPECT_NEAR(g.GetLength(), 20, 1e-12);
    EXPECT_NEAR(g.Width(), 4, 1e-12);
    EXPECT_NEAR(g.Height(), 6, 1e-12);
    g.SetLengthScaled(10);
    EXPECT_NEAR(g.GetLength(), 10, 1e-12);
}

TEST(ElementModel, DeletingAnElementRenumbersTheWiresOnWriteBack) {
    auto a = Yagi(-1, 0, 2);
    auto list = std::make_unique<CWGroupList>();
    ASSERT_TRUE(list->Build(*a));
    list->DeleteGroup(0);
    list->WriteBack();
    EXPECT_EQ(a->WireCount, 2);
    EXPECT_DOUBLE_EQ(a->Wires[0].Y1, -4.8);
    EXPECT_DOUBLE_EQ(a->Wires[1].Y1, -4.6);
    EXPECT_DOUBLE_EQ(a->Wires[1].X1, 2);
}

TEST(ElementModel, DeletingTheBaseKeepsTheOthersInPlace) {
    auto a = Yagi(-1, 0, 2);
    auto list = std::make_unique<CWGroupList>();
    ASSERT_TRUE(list->Build(*a));
    list->DeleteGroup(1);
    list->WriteBack();
    ASSERT_EQ(a->WireCount, 2);
    EXPECT_DOUBLE_EQ(a->Wires[0].X1, -1);
    EXPECT_DOUBLE_EQ(a->Wires[1].X1, 2);
}

TEST(ElementModel, CopiedAndInsertedElementsTakeANeighboursInterval) {
    auto a = Yagi(-1, 0, 2);
    auto list = std::make_unique<CWGroupList>();
    ASSERT_TRUE(list->Build(*a));
    ASSERT_TRUE(list->CopyGroup(3, FormHLine));
    ASSERT_TRUE(list->AddGroup(1));
    EXPECT_EQ(list->Count, 5);
    EXPECT_EQ(list->Base, 2);
    list->WriteBack();
    EXPECT_EQ(a->WireCount, 5);
    // The copy goes 2 m past the last element; the insert below the base
    // takes the 1 m gap of its lower neighbour and pushes element 0 back.
    EXPECT_DOUBLE_EQ(a->Wires[0].X1, -2);
    EXPECT_DOUBLE_EQ(a->Wires[4].X1, -1);
    EXPECT_DOUBLE_EQ(a->Wires[1].X1, 0);
    EXPECT_DOUBLE_EQ(a->Wires[2].X1, 2);
    EXPECT_DOUBLE_EQ(a->Wires[3].X1, 4);
}

TEST(ElementModel, NewFormsAreBuiltAndSized) {
    JobDef.Wavelength = 20;
    auto a = NewAntenna();
    auto list = std::make_unique<CWGroupList>();
    ASSERT_TRUE(list->Build(*a));
    ASSERT_TRUE(list->ChangeForm(0, FormVQuad));
    ASSERT_EQ(list->Count, 1);
    EXPECT_EQ(list->Groups[0].Form, FormVQuad);
    EXPECT_NEAR(list->Groups[0].GetLength(), 20, 1e-9);
    ASSERT_TRUE(list->ChangeForm(0, FormVOcta));
    EXPECT_EQ(list->Groups[0].Form, FormVOcta);
    EXPECT_NEAR(list->Groups[0].GetLength(), 20, 1e-9);
    ASSERT_TRUE(list->ChangeForm(0, FormVTrian));
    EXPECT_EQ(list->Groups[0].Form, FormVTrian);
    EXPECT_NEAR(list->Groups[0].GetLength(), 20, 1e-9);
    ASSERT_TRUE(list->ChangeForm(0, FormTwoSquares));
    EXPECT_EQ(list->Groups[0].Count(), 7);
    list->WriteBack();
    EXPECT_EQ(a->WireCount, 7);
    JobDef.Wavelength = 0;
}

TEST(ElementModel, TooManySeparateElementsAreRefused) {
    auto a = NewAntenna();
    for (int i = 0; i < 300; ++i) AddWire(*a, i, -1, 10, i, 1, 10);
    auto list = std::make_unique<CWGroupList>();
    EXPECT_FALSE(list->Build(*a));
    EXPECT_EQ(list->Count, 0);
    list->WriteBack();
    EXPECT_EQ(a->WireCount, 300);
}

// A size set to 0 draws an element together to one point; a size set on it
// again lays its wires out along that size's axis, symmetric about the
// point, one after another: the dipole of two halves is whole again. An
// element with extent only elsewhere has nothing to scale from and stays.
TEST(ElementModel, AnElementDrawnTogetherToAPointGrowsAgain) {
    struct Case {
        const char* name;
        bool halves;                // a dipole of two halves fed in the middle, else one wire
        void (CWGroup::*set)(double);
        double (*extent)(const CWGroup&);
    } cases[] = {
        {"width, ends", false, &CWGroup::SetWidthEnds, [](const CWGroup& g) { return g.YMax - g.YMin; }},
        {"width, scaled", true, &CWGroup::SetWidthScaled, [](const CWGroup& g) { return g.YMax - g.YMin; }},
        {"height, ends", true, &CWGroup::SetHeightEnds, [](const CWGroup& g) { return g.ZMax - g.ZMin; }},
        {"height, scaled", false, &CWGroup::SetHeightScaled, [](const CWGroup& g) { return g.ZMax - g.ZMin; }},
        {"length, ends", true, &CWGroup::SetLengthEnds, [](const CWGroup& g) { return g.XExtent(); }},
    };
    for (const Case& c : cases) {
        auto a = NewAntenna();
        if (c.halves) {
            AddWire(*a, 2, -5, 10, 2, 0, 10);
            AddWire(*a, 2, 0, 10, 2, 5, 10);
        } else {
            AddWire(*a, 2, -5, 10, 2, 5, 10);
        }
        auto list = std::make_unique<CWGroupList>();
        ASSERT_TRUE(list->Build(*a));
        CWGroup& g = list->Groups[0];
        g.SetWidthEnds(0);
        ASSERT_EQ(g.YMax - g.YMin, 0) << c.name;
        (g.*c.set)(9);
        EXPECT_NEAR(c.extent(g), 9, 1e-12) << c.name;
        list->WriteBack();
        const WireRec& first = a->Wires[0];
        const WireRec& last = a->Wires[a->WireCount - 1];
        // The ends lie on the line through the point, symmetric about it.
        EXPECT_NEAR(first.X1 + first.Y1 + first.Z1 + last.X2 + last.Y2 + last.Z2, 2 * (2 + 0 + 10), 1e-12) << c.name;
        if (c.halves) {
            EXPECT_TRUE(first.X2 == a->Wires[1].X1 && first.Y2 == a->Wires[1].Y1 && first.Z2 == a->Wires[1].Z1)
                << c.name << ": the halves stay joined";
        }
        ASSERT_TRUE(list->Build(*a));
        EXPECT_EQ(list->Count, 1) << c.name;
    }
    auto a = NewAntenna();
    AddWire(*a, 0, 0, 9, 0, 0, 11);   // a vertical line has no width to scale
    auto list = std::make_unique<CWGroupList>();
    ASSERT_TRUE(list->Build(*a));
    list->Groups[0].SetWidthEnds(4);
    list->WriteBack();
    EXPECT_EQ(a->Wires[0].Y1, 0);
    EXPECT_EQ(a->Wires[0].Y2, 0);
}
