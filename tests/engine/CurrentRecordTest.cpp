#include "engine/CurrentRecord.h"
#include "engine/EngineState.h"
#include "model/EnvDef.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

// Two pieces: piece 1 (user wire 0) pulses 1..3 at points 1..3, a pulseless
// piece 2, piece 3 (user wire 1) pulses 4..5 at points 8..9.
class CurrentTable : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(AllocEngineArrays(16), 16);
        EnvDef.PMAX = 16;
        for (int i = 0; i < 12; ++i) Engine.Points[i] = {float(i), 0.0f, 10.0f};
        ant = std::make_unique<AntDef>();
        ant->ExpWireCount = 3;
        ant->ExpWires[0].UserWire = 0;
        ant->ExpWires[0].FirstPulse = 1;
        ant->ExpWires[0].FirstPoint = 1;
        ant->ExpWires[1].UserWire = 0;
        ant->ExpWires[2].UserWire = 1;
        ant->ExpWires[2].FirstPulse = 4;
        ant->ExpWires[2].FirstPoint = 8;
        rows.assign(16, PulseCurrentRec{});
        JobDef.CurrentTable = rows.data();
    }
    void TearDown() override {
        JobDef.CurrentTable = nullptr;
        FreeEngineArrays();
    }
    std::unique_ptr<AntDef> ant;
    std::vector<PulseCurrentRec> rows;
};

}  // namespace

TEST_F(CurrentTable, StoresPulseAtItsPointWithTheUserWireOfThePiecePassed) {
    StoreCurrentRecord(*ant, 3, 5, 1.0f, -2.0f, 2.236f, -63.4f);
    const PulseCurrentRec& r = rows[4];
    EXPECT_EQ(r.Valid, 1);
    EXPECT_EQ(r.Wire, 2);
    EXPECT_EQ(r.X, 9.0f);
    EXPECT_EQ(r.Z, 10.0f);
    EXPECT_EQ(r.Re, 1.0f);
    EXPECT_EQ(r.Phase, -63.4f);
    // A pulse on piece 1 reported for piece 3 keeps the wire of piece 3.
    StoreCurrentRecord(*ant, 3, 2, 0, 0, 0, 0);
    EXPECT_EQ(rows[1].X, 2.0f);
    EXPECT_EQ(rows[1].Wire, 2);
}

TEST_F(CurrentTable, StartOfPieceIsStoredOnlyOnce) {
    StoreCurrentRecord(*ant, 3, -1, 1.0f, 0, 1.0f, 0);
    EXPECT_EQ(rows[3].Valid, 1);
    EXPECT_EQ(rows[3].X, 8.0f);
    StoreCurrentRecord(*ant, 3, -1, 7.0f, 0, 7.0f, 0);
    EXPECT_EQ(rows[3].Re, 1.0f);
}

TEST_F(CurrentTable, IgnoresPulsesAndPiecesOutOfRangeAndAMissingTable) {
    StoreCurrentRecord(*ant, 2, -1, 1, 0, 1, 0);   // pulseless piece
    StoreCurrentRecord(*ant, 9, -1, 1, 0, 1, 0);   // no such piece
    StoreCurrentRecord(*ant, 1, 17, 1, 0, 1, 0);   // beyond the table
    StoreCurrentRecord(*ant, 1, 0, 1, 0, 1, 0);
    for (const auto& r : rows) EXPECT_EQ(r.Valid, 0);
    JobDef.CurrentTable = nullptr;
    StoreCurrentRecord(*ant, 1, 1, 1, 0, 1, 0);
    EXPECT_EQ(rows[0].Valid, 0);
}
