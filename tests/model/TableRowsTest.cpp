// Deleting and inserting rows of the wire, source and load tables: the
// shifts, what a new entry holds, and the limits at both ends.
#include "model/TableRows.h"

#include "engine/PointPlacement.h"
#include "model/EnvDef.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

std::unique_ptr<AntDef> Wires(int count) {
    auto ant = std::make_unique<AntDef>();
    for (int i = 0; i < count; ++i)
        ant->Wires[i] = WireRec{double(i), 0, 0, double(i), 0, 1, 0.001 * (i + 1), 10 + i, 0, 0, 0};
    ant->WireCount = count;
    return ant;
}

}  // namespace

TEST(TableRows, DeletingAWireMovesTheRestUpAndClearsTheFreedSlot) {
    auto ant = Wires(3);
    ASSERT_TRUE(DeleteTableEntry(*ant, EditTable::Wires, 2));
    ASSERT_EQ(ant->WireCount, 2);
    EXPECT_DOUBLE_EQ(ant->Wires[0].X1, 0.0);
    EXPECT_DOUBLE_EQ(ant->Wires[1].X1, 2.0);
    EXPECT_EQ(ant->Wires[1].Seg, 12);
    EXPECT_DOUBLE_EQ(ant->Wires[2].R, 0.0);
    EXPECT_EQ(ant->Wires[2].Seg, 0);
}

TEST(TableRows, DeletingTheLastRowEmptiesTheTable) {
    auto ant = Wires(1);
    ASSERT_TRUE(DeleteTableEntry(*ant, EditTable::Wires, 1));
    EXPECT_EQ(ant->WireCount, 0);
    EXPECT_DOUBLE_EQ(ant->Wires[0].Z2, 0.0);
    // Nothing is left to delete; the empty row and the header take nothing.
    EXPECT_FALSE(DeleteTableEntry(*ant, EditTable::Wires, 1));
    EXPECT_FALSE(DeleteTableEntry(*ant, EditTable::Wires, 0));
    EXPECT_EQ(ant->WireCount, 0);
}

TEST(TableRows, DeletingALoadClearsAllItsCoefficients) {
    auto ant = std::make_unique<AntDef>();
    ant->LoadCount = 2;
    ant->Loads[0].Type = LoadRX;
    ant->Loads[1].Type = LoadS;
    ant->Loads[1].N = 12;
    for (int k = 0; k < MaxLoadPairs; ++k) ant->Loads[1].A[k] = ant->Loads[1].B[k] = k + 1;
    ASSERT_TRUE(DeleteTableEntry(*ant, EditTable::Loads, 1));
    ASSERT_EQ(ant->LoadCount, 1);
    EXPECT_EQ(ant->Loads[0].Type, LoadS);
    EXPECT_DOUBLE_EQ(ant->Loads[0].B[11], 12.0);
    EXPECT_EQ(ant->Loads[1].N, 0);
    for (int k = 0; k < MaxLoadPairs; ++k) EXPECT_EQ(ant->Loads[1].A[k] + ant->Loads[1].B[k], 0.0);
}

TEST(TableRows, AnInsertedWireBorrowsRadiusAndSegmentationFromANeighbour) {
    auto ant = Wires(2);
    ASSERT_TRUE(InsertTableEntry(*ant, EditTable::Wires, 2));
    ASSERT_EQ(ant->WireCount, 3);
    const WireRec& w = ant->Wires[1];
    EXPECT_EQ(w.X1 + w.Y1 + w.Z1 + w.X2 + w.Y2 + w.Z2, 0.0);
    EXPECT_DOUBLE_EQ(w.R, 0.001);   // the wire above
    EXPECT_EQ(w.Seg, 10);
    EXPECT_DOUBLE_EQ(ant->Wires[2].X1, 1.0);

    // At the top it takes those of the wire that was first.
    auto top = Wires(2);
    ASSERT_TRUE(InsertTableEntry(*top, EditTable::Wires, 1));
    EXPECT_DOUBLE_EQ(top->Wires[0].R, 0.001);
    EXPECT_EQ(top->Wires[0].Seg, 10);
    EXPECT_DOUBLE_EQ(top->Wires[1].X1, 0.0);
    EXPECT_DOUBLE_EQ(top->Wires[1].Z2, 1.0);
}

TEST(TableRows, InsertionNeedsAnEntryAndStopsOneShortOfCapacity) {
    auto empty = std::make_unique<AntDef>();
    EXPECT_FALSE(InsertTableEntry(*empty, EditTable::Wires, 1));
    EXPECT_EQ(empty->WireCount, 0);

    auto ant = Wires(MaxWires - 1);
    EXPECT_FALSE(InsertTableEntry(*ant, EditTable::Wires, 1));
    EXPECT_EQ(ant->WireCount, MaxWires - 1);
    EXPECT_FALSE(InsertTableEntry(*ant, EditTable::Wires, MaxWires));  // the empty row
    ant->WireCount = MaxWires - 2;
    EXPECT_TRUE(InsertTableEntry(*ant, EditTable::Wires, MaxWires - 2));
    EXPECT_EQ(ant->WireCount, MaxWires - 1);

    auto sources = std::make_unique<AntDef>();
    sources->SourceCount = MaxSources - 1;
    EXPECT_FALSE(InsertTableEntry(*sources, EditTable::Sources, 3));
    sources->SourceCount = MaxSources - 2;
    CopyText(sources->Sources[2].Pos, "w3c");
    sources->Sources[2].Voltage = 1;
    EXPECT_TRUE(InsertTableEntry(*sources, EditTable::Sources, 3));
    EXPECT_STREQ(sources->Sources[2].Pos, "");
    EXPECT_DOUBLE_EQ(sources->Sources[2].Voltage, 0.0);
    EXPECT_STREQ(sources->Sources[3].Pos, "w3c");

    auto loads = std::make_unique<AntDef>();
    loads->LoadCount = MaxLoads - 1;
    EXPECT_FALSE(InsertTableEntry(*loads, EditTable::Loads, 1));
    loads->LoadCount = 1;
    loads->Loads[0].Type = LoadS;
    loads->Loads[0].A[5] = 3;
    EXPECT_TRUE(InsertTableEntry(*loads, EditTable::Loads, 1));
    EXPECT_EQ(loads->Loads[0].Type, LoadLC);
    EXPECT_EQ(loads->Loads[0].A[5], 0.0);
    EXPECT_EQ(loads->Loads[1].Type, LoadS);
}

TEST(TableRows, ACountOutOfRangeNeverLetsAShiftLeaveTheTable) {
    auto ant = Wires(2);
    ant->WireCount = MaxWires + 40;
    EXPECT_FALSE(InsertTableEntry(*ant, EditTable::Wires, 1));
    EXPECT_TRUE(DeleteTableEntry(*ant, EditTable::Wires, MaxWires));
    EXPECT_EQ(ant->WireCount, MaxWires - 1);
    ant->SourceCount = -3;
    EXPECT_FALSE(DeleteTableEntry(*ant, EditTable::Sources, 1));
    EXPECT_FALSE(InsertTableEntry(*ant, EditTable::Sources, 1));
}

// Sources and loads stay on their wires through every deletion and insertion
// of wires; those on a deleted wire go, and plain pulse numbers whose pulse
// moved are reported. Three wires of 9 pulses each (1, 10, 19) unless the
// pulses are not known or a row gives another count.
TEST(TableRows, SourcesAndLoadsFollowTheirWiresThroughDeletionAndInsertion) {
    const struct {
        bool remove;
        int row;
        bool pulsesKnown;
        std::vector<const char*> sources, loads, notes;
        int pulsesPerWire = 9;
        std::vector<const char*> givenSources = {"w2c", "15", "W1e"};
    } cases[] = {
        {true, 1, true, {"w1c", "15"}, {"w2b+1", "5"},
         {"Source 2 at pulse 15", "Source 3 (W1e) was on the deleted wire 1", "Load 2 at pulse 5",
          "Load 3 ( w0c) was on the deleted wire 1"}},
        {true, 3, true, {"w2c", "15", "W1e"}, {"5", " w0c"}, {"Load 1 (w3b+1) was on the deleted wire 3"}},
        {true, 2, true, {"15", "W1e"}, {"w2b+1", "5", " w0c"}, {"Source 1 (w2c) was on the deleted wire 2", "Source 1 at pulse 15"}},
        {false, 2, true, {"w3c", "15", "W1e"}, {"w4b+1", "5", " w0c"}, {"Source 2 at pulse 15"}},
        {false, 1, true, {"w3c", "15", "W2e"}, {"w4b+1", "5", "w2c"}, {"Source 2 at pulse 15", "Load 2 at pulse 5"}},
        // Without a numbering every plain pulse may have moved.
        {true, 3, false, {"w2c", "15", "W1e"}, {"5", " w0c"},
         {"Source 2 at pulse 15", "Load 1 (w3b+1) was on the deleted wire 3", "Load 1 at pulse 5"}},
        // Wires at 1, 8 and 15: the first moved pulse itself has moved.
        {true, 3, true, {"w2c", "15", "W1e"}, {"5", " w0c"},
         {"Source 2 at pulse 15", "Load 1 (w3b+1) was on the deleted wire 3"}, 7},
        // A wire beyond the last names no pulse, and none after the edit.
        {false, 2, true, {"w5c", "w10b", "w4e+1"}, {"w4b+1", "5", " w0c"}, {}, 9, {"w4c", " w9b", "w3e+1"}},
        {true, 2, true, {"w4c", " w9b", "w2e+1"}, {"w2b+1", "5", " w0c"}, {}, 9, {"w4c", " w9b", "w3e+1"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE((c.remove ? "delete " : "insert ") + std::to_string(c.row) + (c.pulsesKnown ? "" : " unnumbered"));
        auto ant = Wires(3);
        for (int i = 0; i < 3; ++i) {
            ant->Wires[i].FirstPulse = c.pulsesKnown ? 1 + c.pulsesPerWire * i : 0;
            ant->Wires[i].PulseCount = c.pulsesKnown ? c.pulsesPerWire : 0;
        }
        const char* loads[] = {"w3b+1", "5", " w0c"};
        ant->SourceCount = ant->LoadCount = 3;
        for (int i = 0; i < 3; ++i) {
            CopyText(ant->Sources[i].Pos, c.givenSources[static_cast<std::size_t>(i)]);
            ant->Sources[i].Voltage = i + 1;
            CopyText(ant->Loads[i].Pos, loads[i]);
        }
        std::vector<std::string> notes;
        ASSERT_TRUE(c.remove ? DeleteTableEntry(*ant, EditTable::Wires, c.row, &notes)
                             : InsertTableEntry(*ant, EditTable::Wires, c.row, &notes));
        ASSERT_EQ(ant->SourceCount, static_cast<int>(c.sources.size()));
        for (std::size_t i = 0; i < c.sources.size(); ++i) EXPECT_STREQ(ant->Sources[i].Pos, c.sources[i]);
        ASSERT_EQ(ant->LoadCount, static_cast<int>(c.loads.size()));
        for (std::size_t i = 0; i < c.loads.size(); ++i) EXPECT_STREQ(ant->Loads[i].Pos, c.loads[i]);
        // A removed entry takes its own values along.
        if (ant->SourceCount == 2 && c.row == 1) {
            EXPECT_DOUBLE_EQ(ant->Sources[1].Voltage, 2.0);
        }
        ASSERT_EQ(notes.size(), c.notes.size());
        for (std::size_t i = 0; i < notes.size(); ++i)
            EXPECT_EQ(notes[i].rfind(c.notes[i], 0), 0u) << notes[i] << " / " << c.notes[i];
    }
}

// A wire number that grows by a digit must not push a position past what the
// antenna text carries (it would be cut there, naming another pulse): the
// shortest text naming the same pulse is written, and where the pulses are
// not known or no text fits, the entry goes with a line for the log. Wire 99
// has `pulses` pulses; a wire inserted in front makes it wire 100.
TEST(TableRows, PositionsStayWithinWhatTheAntennaTextCarries) {
    const struct {
        int pulses;
        const char* given;
        const char* placed;  // nullptr: removed
    } cases[] = {
        {149, "w99b+100", "w100c+26"},
        {149, "w99e-03", "w100e-03"},
        {149, "W99c+070", "W100c+70"},
        {149, "w99b+140", "w100e+8"},
        {0, "w99b+100", nullptr},
        {600, "w99b+150", nullptr},  // 150 pulses from the beginning, the centre and 449 from the end
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.given) + " on " + std::to_string(c.pulses) + " pulses");
        auto ant = Wires(99);
        ant->Wires[98].FirstPulse = c.pulses > 0 ? 1000 : 0;
        ant->Wires[98].PulseCount = c.pulses;
        ant->SourceCount = 1;
        CopyText(ant->Sources[0].Pos, c.given);
        std::vector<std::string> notes;
        ASSERT_TRUE(InsertTableEntry(*ant, EditTable::Wires, 1, &notes));
        if (c.placed) {
            ASSERT_EQ(ant->SourceCount, 1);
            EXPECT_STREQ(ant->Sources[0].Pos, c.placed);
            EXPECT_TRUE(notes.empty());
        } else {
            EXPECT_EQ(ant->SourceCount, 0);
            ASSERT_EQ(notes.size(), 1u);
            EXPECT_EQ(notes[0].rfind("Source 1 (" + std::string(c.given) + ") cannot be written in 8 characters", 0),
                      0u) << notes[0];
        }
    }
}

// A stacked copy names its wires beyond the original's, where the antenna
// text may not carry the position: the copy taken as the antenna writes the
// shortest text naming the same pulse, or removes the entry and says so.
TEST(TableRows, AStackedCopyTakenAsTheAntennaFitsItsPositions) {
    auto ant = Wires(150);
    for (int i = 0; i < 150; ++i) {
        ant->Wires[i].FirstPulse = 1 + 149 * i;
        ant->Wires[i].PulseCount = 149;
    }
    ant->Wires[10].PulseCount = 4000;
    ant->SourceCount = 4;
    CopyText(ant->Sources[0].Pos, "w149b+100");
    CopyText(ant->Sources[1].Pos, "w150b+0074");  // the centre
    CopyText(ant->Sources[2].Pos, "w150e+1000");  // no pulse
    CopyText(ant->Sources[3].Pos, "w11b+1000");   // no text of 8 characters names it
    ant->LoadCount = 1;
    CopyText(ant->Loads[0].Pos, "w2c");
    const std::vector<std::string> notes = FitPositionsToField(*ant);
    ASSERT_EQ(ant->SourceCount, 2);
    EXPECT_STREQ(ant->Sources[0].Pos, "w149c+26");
    EXPECT_STREQ(ant->Sources[1].Pos, "w150c");
    EXPECT_STREQ(ant->Loads[0].Pos, "w2c");
    ASSERT_EQ(notes.size(), 2u);
    EXPECT_EQ(notes[0], "Source 3 (w150e+1000) cannot be written in 8 characters and is removed.");
    EXPECT_EQ(notes[1], "Source 4 (w11b+1000) cannot be written in 8 characters and is removed.");
}

// Given the pulse layout, the row edits keep each position at its point in
// space. Wire 1 runs from x = 4 m to the joint at 5 m, where wire 2 goes on
// along X and wire 3 along Y, 1 m each and 4 segments; the joint's pulses
// belong to wires 2 and 3, the later ones. A position that named no pulse
// names none after the edit.
TEST(TableRows, RowEditsKeepPositionsAtTheirPointInSpace) {
    const struct {
        bool remove;
        int row;
        int wires;
        std::vector<std::pair<const char*, const char*>> sources;  // given, placed
        std::vector<const char*> notes;
    } cases[] = {
        {true, 1, 3,
         {{"w2b", "w2b"}, {"w3b", "w2b"}, {"w2c", "w1c"}, {"w2b+1", "w1b"}, {"w3c-3", "w2c-3"}, {"w3e+3", "w2e+3"}},
         {}},
        // Without wire 1 no joint is left: the nearest pulse, and the log says so.
        {true, 1, 2, {{"w2b", "w1b"}, {"w2e", "w1e"}},
         {"Source 1 (w2b): no pulse stands at its point after the edit; it goes to the nearest one of its wire, w1b."}},
        {false, 1, 3, {{"w2b", "w3b"}, {"w4c", "w5c"}, {"w3c-3", "w4c-3"}, {"w1e", "w2e"}}, {}},
        {false, 3, 3, {{"w3b", "w4b"}, {"w3e+3", "w4e+3"}, {" w0c", " w0c"}}, {}},
    };
    const int ground = EnvDef.Type;
    EnvDef.Type = GroundFree;
    for (const auto& c : cases) {
        SCOPED_TRACE((c.remove ? "delete " : "insert ") + std::to_string(c.row) + " of " + std::to_string(c.wires));
        auto ant = std::make_unique<AntDef>();
        ant->Freq = 14.2;
        const WireRec wires[] = {{4, 0, 0, 5, 0, 0, 0.001, 4, 0, 0, 0},
                                 {5, 0, 0, 6, 0, 0, 0.001, 4, 0, 0, 0},
                                 {5, 0, 0, 5, 1, 0, 0.001, 4, 0, 0, 0}};
        for (int i = 0; i < c.wires; ++i) ant->Wires[i] = wires[i];
        ant->WireCount = c.wires;
        ant->SourceCount = static_cast<int>(c.sources.size());
        for (std::size_t i = 0; i < c.sources.size(); ++i) CopyText(ant->Sources[i].Pos, c.sources[i].first);
        std::vector<std::string> notes;
        ASSERT_TRUE(c.remove ? DeleteTableEntry(*ant, EditTable::Wires, c.row, &notes, PlaceByPoint)
                             : InsertTableEntry(*ant, EditTable::Wires, c.row, &notes, PlaceByPoint));
        ASSERT_EQ(ant->SourceCount, static_cast<int>(c.sources.size()));
        for (std::size_t i = 0; i < c.sources.size(); ++i)
            EXPECT_STREQ(ant->Sources[i].Pos, c.sources[i].second) << c.sources[i].first;
        EXPECT_EQ(notes, std::vector<std::string>(c.notes.begin(), c.notes.end()));
    }
    EnvDef.Type = ground;
}

// Whatever else keeps numbers of an antenna's wires is told of each edit of
// that antenna, after its sources and loads, with what they did.
TEST(TableRows, TheAntennasFollowerHearsOfItsEditsOnly) {
    auto ant = Wires(3), other = Wires(3);
    ant->SourceCount = ant->LoadCount = 2;
    CopyText(ant->Sources[0].Pos, "w3c");
    CopyText(ant->Sources[1].Pos, "w2c");
    CopyText(ant->Loads[0].Pos, "w1b");
    CopyText(ant->Loads[1].Pos, "w3e");
    int calls = 0;
    EntryRenumbering heard;
    std::vector<int> wires;
    SetWireReferenceFollower(*ant, [&](const AntDef& a, const WireRenumbering& change,
                                       const EntryRenumbering& entries, std::vector<std::string>& notes) {
        ++calls;
        EXPECT_EQ(&a, ant.get());
        EXPECT_EQ(a.SourceCount, 1);  // after the antenna's own entries
        heard = entries;
        wires = change.NewNumber;
        notes.push_back("followed");
    });
    std::vector<std::string> notes;
    ASSERT_TRUE(DeleteTableEntry(*other, EditTable::Wires, 1));
    EXPECT_EQ(calls, 0);
    ASSERT_TRUE(DeleteTableEntry(*ant, EditTable::Wires, 2, &notes));
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(wires, (std::vector<int>{1, 0, 2}));
    EXPECT_EQ(heard.NewSource, (std::vector<int>{1, 0}));
    EXPECT_EQ(heard.NewLoad, (std::vector<int>{1, 2}));
    ASSERT_FALSE(notes.empty());
    EXPECT_EQ(notes.back(), "followed");
    SetWireReferenceFollower(*ant, {});
    ASSERT_TRUE(InsertTableEntry(*ant, EditTable::Wires, 1));
    EXPECT_EQ(calls, 1);
}
