// Stacking repeats the antenna side by side and in layers, shares the source
// voltage out over the copies, renumbers the wire references of every copy
// and refuses stacks that would not fit the record.
#include "model/StackedAnt.h"
#include "model/FedDipole.h"

#include <cstring>
#include <gtest/gtest.h>
#include <memory>
#include <string>

namespace {

std::unique_ptr<AntDef> OneWire(double y = 0.0, double z = 10.0) {
    auto a = std::make_unique<AntDef>();
    std::memset(a.get(), 0, sizeof(AntDef));
    MakeFedDipole(*a, WireRec{-5, y, z, 5, y, z, 0.001, 11, 0, 0, 0});
    a->nH = 1;
    a->nV = 1;
    return a;
}

}  // namespace

TEST(StackedAnt, SideBySideCopiesAreCentredOnTheOriginal) {
    auto a = OneWire(0.0);
    a->nH = 2;
    a->hSpacing = 6;
    auto out = std::make_unique<AntDef>();
    std::string err;
    ASSERT_TRUE(BuildStackedAntenna(*a, *out, err));
    ASSERT_EQ(out->WireCount, 2);
    EXPECT_DOUBLE_EQ(out->Wires[0].Y1, -3);
    EXPECT_DOUBLE_EQ(out->Wires[1].Y2, 3);
}

TEST(StackedAnt, LayersFollowTheStackMode) {
    const double expect[3][3] = {{5, 10, 15}, {10, 15, 20}, {0, 5, 10}};
    for (int mode = 0; mode < 3; ++mode) {
        auto a = OneWire(0.0, 10.0);
        a->nV = 3;
        a->vSpacing = 5;
        a->StackMode = mode;
        auto out = std::make_unique<AntDef>();
        std::string err;
        ASSERT_TRUE(BuildStackedAntenna(*a, *out, err));
        ASSERT_EQ(out->WireCount, 3);
        for (int m = 0; m < 3; ++m) EXPECT_DOUBLE_EQ(out->Wires[m].Z1, expect[mode][m]) << "mode " << mode;
    }
}

TEST(StackedAnt, TwoByTwoSharesTheVoltageAndRenumbersSources) {
    auto a = OneWire();
    a->nH = 2;
    a->nV = 2;
    a->hSpacing = 4;
    a->vSpacing = 4;
    auto out = std::make_unique<AntDef>();
    std::string err;
    ASSERT_TRUE(BuildStackedAntenna(*a, *out, err));
    EXPECT_EQ(out->WireCount, 4);
    ASSERT_EQ(out->SourceCount, 4);
    const char* names[4] = {"w1c", "w2c", "w3c", "w4c"};
    for (int i = 0; i < 4; ++i) {
        EXPECT_STREQ(out->Sources[i].Pos, names[i]);
        EXPECT_DOUBLE_EQ(out->Sources[i].Voltage, 0.25);
    }
}

// Every copy names the wire the original names as the resolution reads it; a
// plain pulse number names no wire, and the resolution counts it in each
// copy's own pulses.
TEST(StackedAnt, RenumberingReadsPositionsAsTheResolutionDoes) {
    const struct {
        const char* pos;
        int offset;
        const char* expected;
    } cases[] = {
        {"3", 4, "3"},          {"W2e1", 4, "W6e1"}, {"w1b", 0, "w1b"},  {"w12b+3", 4, "w16b+3"},
        {"w0c", 4, "w5c"},      {"w", 4, "w5"},      {" w1c", 4, "w5c"}, {"\tW2e", 4, "W6e"},
        {"x3", 4, "x3"},        {"", 4, ""},
        // A wire number that grows past what the antenna text carries
        // shortens the offset, never the text.
        {"w9b+0001", 1, "w10b+1"}, {"w9e-0003", 1, "w10e-3"}, {"w99c+000", 1, "w100c"}, {"w9b+0x1", 1, "w10b+0x1"},
    };
    for (const auto& c : cases) {
        char pos[PosTextSize] = {};
        CopyText(pos, c.pos);
        RenumberWireRef(pos, c.offset);
        EXPECT_STREQ(pos, c.expected) << '"' << c.pos << "\" + " << c.offset;
    }
}

TEST(StackedAnt, LoadsAreCopiedWithTheirWireShift) {
    auto a = OneWire();
    a->LoadCount = 1;
    CopyText(a->Loads[0].Pos, "w1e");
    a->Loads[0].A[0] = 7;
    a->nH = 3;
    a->hSpacing = 12;
    auto out = std::make_unique<AntDef>();
    std::string err;
    ASSERT_TRUE(BuildStackedAntenna(*a, *out, err));
    ASSERT_EQ(out->LoadCount, 3);
    EXPECT_STREQ(out->Loads[2].Pos, "w3e");
    EXPECT_DOUBLE_EQ(out->Loads[2].A[0], 7);
}

TEST(StackedAnt, StacksBeyondTheRecordAreRefusedByName) {
    auto a = OneWire();
    a->WireCount = 200;
    a->nH = 3;
    auto out = std::make_unique<AntDef>();
    out->WireCount = 17;
    std::string err;
    EXPECT_FALSE(BuildStackedAntenna(*a, *out, err));
    EXPECT_NE(err.find("512"), std::string::npos);
    EXPECT_EQ(out->WireCount, 17);

    auto s = OneWire();
    s->SourceCount = 20;
    s->nV = 4;
    EXPECT_FALSE(BuildStackedAntenna(*s, *out, err));
    EXPECT_NE(err.find("64"), std::string::npos);

    auto l = OneWire();
    l->LoadCount = 51;
    l->nH = 2;
    EXPECT_FALSE(BuildStackedAntenna(*l, *out, err));
    EXPECT_NE(err.find("100"), std::string::npos);
}

TEST(StackedAnt, CountsBelowOneCountAsOne) {
    auto a = OneWire();
    a->nH = 0;
    a->nV = -3;
    EXPECT_EQ(StackCountH(*a), 1);
    EXPECT_EQ(StackCountV(*a), 1);
    auto out = std::make_unique<AntDef>();
    std::string err;
    ASSERT_TRUE(BuildStackedAntenna(*a, *out, err));
    EXPECT_EQ(out->WireCount, 1);
    EXPECT_DOUBLE_EQ(out->Sources[0].Voltage, 1.0);
}
