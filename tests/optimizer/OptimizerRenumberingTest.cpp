// The optimizer's references into the antenna (rows, band sources, the
// current goal's position) follow the deletions and insertions of the wire,
// source and load tables through the antenna's renumbering, as its own
// sources and loads follow their wires.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "model/EnvDef.h"
#include "model/TableRows.h"
#include "optimizer/OptimizerState.h"

namespace {

// Rows as the test sees them: kind, item and the row they were before (the
// Value each row was given).
struct RowSeen {
    int kind, item, was;
};

// The follower registered for one antenna while the case runs.
class FollowerScope {
public:
    FollowerScope(AntDef& ant, CACal& cal) : ant_(ant) {
        SetWireReferenceFollower(ant, [&cal](const AntDef& a, const WireRenumbering& change,
                                             const EntryRenumbering& entries, std::vector<std::string>& notes) {
            cal.FollowWireRenumbering(a, change, entries, notes);
        });
    }
    ~FollowerScope() { SetWireReferenceFollower(ant_, {}); }
    FollowerScope(const FollowerScope&) = delete;
    FollowerScope& operator=(const FollowerScope&) = delete;

private:
    AntDef& ant_;
};

std::vector<std::string> PositionsOf(const ACalBandRec& band) {
    std::vector<std::string> out;
    for (const SourceRec& s : band.Sources)
        if (s.Pos[0]) out.emplace_back(s.Pos);
    return out;
}

}  // namespace

// The antenna of the table edits' test: three wires of 9 pulses each (1, 10,
// 19), each its own element; sources w2c, 15, W1e; loads w3b+1, 5, " w0c".
// The optimizer has two bands, the current goal at w3c, and seven rows: wire
// 1, wire 3 in polar form, element 2, load 1 (w3b+1), source 1 (w2c), the
// height linked to the element row, and load 2 (5); wire 1's upper limit is
// the source row.
TEST(OptimizerRenumbering, RowsBandsAndTheCurrentGoalFollowTheirWiresSourcesAndLoads) {
    constexpr int Fixed = -1;
    const auto Wires = EditTable::Wires, Sources = EditTable::Sources, Loads = EditTable::Loads;
    const struct {
        EditTable table;
        bool remove;
        int row;
        std::vector<RowSeen> rows;
        int heightLink;     // the height row's link after the edit
        int wireLimitFrom;  // wire 1's upper limit: bound to this row (from 0), or Fixed
        std::vector<std::string> band1, band2;
        const char* current;
        std::vector<std::string> notes;  // the optimizer's, in order
    } cases[] = {
        {Wires, true, 1,
         {{KindWirePolar, 1, 2}, {KindElement, 0, 3}, {KindLoad, 0, 4}, {KindSource, 0, 5}, {KindHeight, 0, 6},
          {KindLoad, 1, 7}},
         1, Fixed, {"w1c", "15"}, {"w2b+1"}, "w2c",
         {"Band 1 source 2 at pulse 15", "Band 2 source 1 (W1e) was on the deleted wire 1 and is removed.",
          "Optimization line 1 (wire 1) was on the deleted wire 1 and is removed."}},
        {Wires, true, 3, {{KindWire, 0, 1}, {KindElement, 1, 3}, {KindSource, 0, 5}, {KindHeight, 0, 6}, {KindLoad, 0, 7}},
         1, 2, {"w2c", "15"}, {"W1e"}, "",
         {"Band 2 source 2 (w3b+1) was on the deleted wire 3 and is removed.",
          "The current goal (w3c) was on the deleted wire 3 and is removed.",
          "Optimization line 2 (wire 3) was on the deleted wire 3 and is removed.",
          "Optimization line 4 (load 1): it was on a deleted wire; the line is removed."}},
        {Wires, true, 2, {{KindWire, 0, 1}, {KindWirePolar, 1, 2}, {KindLoad, 0, 4}, {KindHeight, 0, 6}, {KindLoad, 1, 7}},
         LinkFree, Fixed, {"15"}, {"W1e", "w2b+1"}, "w2c",
         {"Band 1 source 1 (w2c) was on the deleted wire 2 and is removed.", "Band 1 source 1 at pulse 15",
          "Optimization line 3 (element 2): its wires were deleted; the line is removed.",
          "Optimization line 5 (source 1): it was on a deleted wire; the line is removed."}},
        {Wires, false, 2,
         {{KindWire, 0, 1}, {KindWirePolar, 3, 2}, {KindElement, 1, 3}, {KindLoad, 0, 4}, {KindSource, 0, 5},
          {KindHeight, 0, 6}, {KindLoad, 1, 7}},
         2, 4, {"w3c", "15"}, {"W1e", "w4b+1"}, "w4c", {"Band 1 source 2 at pulse 15"}},
        {Wires, false, 1,
         {{KindWire, 1, 1}, {KindWirePolar, 3, 2}, {KindElement, 1, 3}, {KindLoad, 0, 4}, {KindSource, 0, 5},
          {KindHeight, 0, 6}, {KindLoad, 1, 7}},
         2, 4, {"w3c", "15"}, {"W2e", "w4b+1"}, "w4c", {"Band 1 source 2 at pulse 15"}},
        // Sources and loads: the wires, bands and current goal stay.
        {Loads, true, 1,
         {{KindWire, 0, 1}, {KindWirePolar, 2, 2}, {KindElement, 1, 3}, {KindSource, 0, 5}, {KindHeight, 0, 6},
          {KindLoad, 0, 7}},
         2, 3, {"w2c", "15"}, {"W1e", "w3b+1"}, "w3c",
         {"Optimization line 4 (load 1): it was deleted; the line is removed."}},
        {Loads, false, 1,
         {{KindWire, 0, 1}, {KindWirePolar, 2, 2}, {KindElement, 1, 3}, {KindLoad, 1, 4}, {KindSource, 0, 5},
          {KindHeight, 0, 6}, {KindLoad, 2, 7}},
         2, 4, {"w2c", "15"}, {"W1e", "w3b+1"}, "w3c", {}},
        {Loads, true, 3,
         {{KindWire, 0, 1}, {KindWirePolar, 2, 2}, {KindElement, 1, 3}, {KindLoad, 0, 4}, {KindSource, 0, 5},
          {KindHeight, 0, 6}, {KindLoad, 1, 7}},
         2, 4, {"w2c", "15"}, {"W1e", "w3b+1"}, "w3c", {}},
        {Sources, true, 1,
         {{KindWire, 0, 1}, {KindWirePolar, 2, 2}, {KindElement, 1, 3}, {KindLoad, 0, 4}, {KindHeight, 0, 6},
          {KindLoad, 1, 7}},
         2, Fixed, {"w2c", "15"}, {"W1e", "w3b+1"}, "w3c",
         {"Optimization line 5 (source 1): it was deleted; the line is removed."}},
        {Sources, false, 1,
         {{KindWire, 0, 1}, {KindWirePolar, 2, 2}, {KindElement, 1, 3}, {KindLoad, 0, 4}, {KindSource, 1, 5},
          {KindHeight, 0, 6}, {KindLoad, 1, 7}},
         2, 4, {"w2c", "15"}, {"W1e", "w3b+1"}, "w3c", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.table == Wires ? "wire" : c.table == Sources ? "source" : "load") +
                     (c.remove ? " delete " : " insert ") + std::to_string(c.row));
        auto ant = std::make_unique<AntDef>();
        for (int i = 0; i < 3; ++i) {
            ant->Wires[i] = WireRec{double(i), 0, 0, double(i), 0, 1, 0.001, 9, 1 + 9 * i, 9, 0};
            CopyText(ant->Sources[i].Pos, std::vector<const char*>{"w2c", "15", "W1e"}[i]);
            CopyText(ant->Loads[i].Pos, std::vector<const char*>{"w3b+1", "5", " w0c"}[i]);
        }
        ant->WireCount = ant->SourceCount = ant->LoadCount = 3;

        auto cal = std::make_unique<CACal>();
        cal->BandCount = 2;
        for (int i = 0; i < 2; ++i) {
            CopyText(cal->Bands[0].Sources[i].Pos, std::vector<const char*>{"w2c", "15"}[i]);
            CopyText(cal->Bands[1].Sources[i].Pos, std::vector<const char*>{"W1e", "w3b+1"}[i]);
        }
        CopyText(cal->CurrentPos, "w3c");
        const RowSeen rows[] = {{KindWire, 0, 1},   {KindWirePolar, 2, 2}, {KindElement, 1, 3}, {KindLoad, 0, 4},
                                {KindSource, 0, 5}, {KindHeight, 0, 6},    {KindLoad, 1, 7}};
        for (const RowSeen& r : rows) {
            cal->SetRowCount(cal->RowCount() + 1);
            ACalVarRec& row = cal->Row(cal->RowCount() - 1);
            row.Kind = r.kind;
            row.Item = r.item;
            row.Value = r.was;
        }
        cal->Row(5).Link = 2;
        cal->Row(0).MaxFrom = LimitFromRow | 4;
        for (int i = 0; i < cal->RowCount(); ++i) {
            cal->BestValues[i] = 10.0 * (i + 1);
            cal->Log[0].Values[i] = 100.0 * (i + 1);
        }

        std::vector<std::string> notes;
        {
            FollowerScope scope(*ant, *cal);
            ASSERT_TRUE(c.remove ? DeleteTableEntry(*ant, c.table, c.row, &notes)
                                 : InsertTableEntry(*ant, c.table, c.row, &notes));
        }

        ASSERT_EQ(cal->RowCount(), static_cast<int>(c.rows.size()));
        for (std::size_t k = 0; k < c.rows.size(); ++k) {
            const ACalVarRec& row = cal->Row(k);
            EXPECT_EQ(row.Kind, c.rows[k].kind) << "row " << k + 1;
            EXPECT_EQ(row.Item, c.rows[k].item) << "row " << k + 1;
            // The row's own values, and those of the logged and the best point, moved with it.
            EXPECT_EQ(row.Value, c.rows[k].was) << "row " << k + 1;
            EXPECT_EQ(cal->BestValues[k], 10.0 * c.rows[k].was) << "row " << k + 1;
            EXPECT_EQ(cal->Log[0].Values[k], 100.0 * c.rows[k].was) << "row " << k + 1;
        }
        for (int k = 0; k < cal->RowCount(); ++k) {
            if (cal->Row(k).Kind == KindHeight) {
                EXPECT_EQ(cal->Row(k).Link, c.heightLink);
            }
        }
        if (c.rows.front().kind == KindWire) {
            EXPECT_EQ(cal->Row(0).MaxFrom, c.wireLimitFrom == Fixed ? 0 : (LimitFromRow | c.wireLimitFrom));
            // A limit bound to a removed row keeps the value it had.
            EXPECT_EQ(cal->Row(0).Max, c.wireLimitFrom == Fixed ? 5.0 : 0.0);
        }
        EXPECT_EQ(PositionsOf(cal->Bands[0]), c.band1);
        EXPECT_EQ(PositionsOf(cal->Bands[1]), c.band2);
        EXPECT_STREQ(cal->CurrentPos, c.current);

        std::vector<std::string> own;
        for (const std::string& n : notes)
            if (n.rfind("Band", 0) == 0 || n.rfind("Optimization", 0) == 0 || n.rfind("The current", 0) == 0)
                own.push_back(n);
        ASSERT_EQ(own.size(), c.notes.size());
        for (std::size_t i = 0; i < own.size(); ++i)
            EXPECT_EQ(own[i].rfind(c.notes[i], 0), 0u) << own[i] << " / " << c.notes[i];
    }
}

// Nothing renumbered, nothing followed: the search writes its element model
// back through the same routine at every point it calculates.
TEST(OptimizerRenumbering, AWriteBackThatKeepsEveryNumberChangesNothing) {
    auto ant = std::make_unique<AntDef>();
    for (int i = 0; i < 2; ++i) ant->Wires[i] = WireRec{double(i), 0, 0, double(i), 0, 1, 0.001, 9, 1 + 9 * i, 9, 0};
    ant->WireCount = 2;
    auto cal = std::make_unique<CACal>();
    cal->SetRowCount(1);
    cal->Row(0).Kind = KindElement;
    cal->Row(0).Item = 1;
    CopyText(cal->CurrentPos, "w2c");
    FollowerScope scope(*ant, *cal);
    EnvRec env{};
    (void)cal->Attach(*ant, env);
    cal->Groups().Wires[1].X1 = cal->Groups().Wires[1].X2 = -5;  // the element moves before the other
    cal->Groups().WriteBack();
    EXPECT_EQ(std::as_const(*cal).Row(0).Item, 1);
    EXPECT_STREQ(cal->CurrentPos, "w2c");
}
