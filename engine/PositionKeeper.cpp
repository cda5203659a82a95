#include "engine/PositionKeeper.h"

#include "engine/PointPlacement.h"
#include "model/PositionText.h"
#include "model/TableRows.h"
#include "model/WireGeometry.h"

#include <algorithm>
#include <cstring>

namespace {

std::unique_ptr<AntDef> AntennaOfWires(const std::vector<WireRec>& wires) {
    auto ant = std::make_unique<AntDef>();
    ant->WireCount = static_cast<int32_t>(wires.size());
    std::copy(wires.begin(), wires.end(), ant->Wires);
    return ant;
}

// From `before` to `after`, every wire keeping its number; those past the
// count after are gone.
WireRenumbering KeptNumbers(const AntDef& before, const AntDef& after) {
    WireRenumbering change(before);
    for (std::size_t w = 0; w < change.NewNumber.size(); ++w)
        if (static_cast<int>(w) >= std::clamp(after.WireCount, 0, MaxWires)) change.NewNumber[w] = 0;
    change.WireCountAfter = std::clamp(after.WireCount, 0, MaxWires);
    return change;
}

}  // namespace

struct PositionKeeper::Run {
    std::unique_ptr<AntDef> Start;
    std::vector<Holder> Holders;
    std::vector<std::string> Texts;
};

PositionKeeper::PositionKeeper() = default;
PositionKeeper::~PositionKeeper() = default;

void PositionKeeper::Take(const AntDef& ant) {
    wires_.assign(ant.Wires, ant.Wires + std::clamp(ant.WireCount, 0, MaxWires));
    known_ = true;
}

void PositionKeeper::Forget() {
    wires_.clear();
    known_ = false;
    run_.reset();
}

std::vector<std::string> PositionKeeper::Settle(AntDef& ant) {
    const int n = std::clamp(ant.WireCount, 0, MaxWires);
    if (known_ && static_cast<int>(wires_.size()) == n && std::equal(wires_.begin(), wires_.end(), ant.Wires, SameWireAsTyped))
        return {};
    if (!known_) {
        Take(ant);
        return {};
    }
    WireRenumbering change = KeptNumbers(*AntennaOfWires(wires_), ant);
    // An edit of a value changes one at a time, through shapes the user does
    // not mean to keep: a position is never removed by it, it stays and says so.
    change.Place = [place = PlaceByPoint(ant, change)](const char* text) {
        PositionPlacement placed = place(text);
        if (placed.How != PositionPlacement::Removed) return placed;
        placed.How = PositionPlacement::Unknown;
        if (!placed.Text.empty() && placed.Text.back() == ',') placed.Text.pop_back();
        return placed;
    };
    std::vector<std::string> notes = FollowWireRenumbering(ant, change);
    Take(ant);
    return notes;
}

void PositionKeeper::BeginRun(const AntDef& ant, std::vector<Holder> holders) {
    run_ = std::make_unique<Run>();
    run_->Start = std::make_unique<AntDef>(ant);
    for (const Holder& h : holders) run_->Texts.emplace_back(h.Pos, strnlen(h.Pos, PosTextSize));
    run_->Holders = std::move(holders);
}

void PositionKeeper::PlaceFromRunStart(const AntDef& ant, std::vector<std::string>* notes) {
    if (!run_) return;
    WireRenumbering change = KeptNumbers(*run_->Start, ant);
    const auto place = PlaceByPoint(ant, change);
    for (std::size_t i = 0; i < run_->Holders.size(); ++i) {
        const std::string& was = run_->Texts[i];
        const PositionPlacement placed = place(was.c_str());
        const bool moved = placed.How == PositionPlacement::Placed || placed.How == PositionPlacement::Nearest;
        CopyText(run_->Holders[i].Pos, PosTextSize, (moved ? placed.Text : was).c_str());
        if (!notes) continue;
        const std::string& name = run_->Holders[i].Name;
        if (placed.How == PositionPlacement::Nearest) notes->push_back(NearestPulseNote(name, was, placed.Text));
        else if (!moved && !placed.Text.empty())
            notes->push_back(name + " (" + was + "): " + placed.Text + "; it stays as " + was + ", check its position.");
    }
}

void PositionKeeper::PlaceRun(const AntDef& ant) { PlaceFromRunStart(ant, nullptr); }

std::vector<std::string> PositionKeeper::EndRun(const AntDef& ant) {
    std::vector<std::string> notes;
    PlaceFromRunStart(ant, &notes);
    run_.reset();
    Take(ant);
    return notes;
}
