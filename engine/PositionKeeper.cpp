#include "engine/PositionKeeper.h"

#include "engine/PointPlacement.h"
#include "engine/PulseLayout.h"
#include "model/NumberText.h"
#include "model/PositionText.h"
#include "model/ScopedValue.h"
#include "model/TableRows.h"
#include "model/WireGeometry.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <optional>
#include <type_traits>

namespace {

// From `before` to `after`, every wire keeping its number; those past the
// count after are gone.
WireRenumbering KeptNumbers(const AntDef& before, const AntDef& after) {
    WireRenumbering change(before);
    for (std::size_t w = 0; w < change.NewNumber.size(); ++w)
        if (static_cast<int>(w) >= std::clamp(after.WireCount, 0, MaxWires)) change.NewNumber[w] = 0;
    change.WireCountAfter = std::clamp(after.WireCount, 0, MaxWires);
    return change;
}

bool SamePoint(const Point3D& p, const Point3D& q) {
    // Both layouts work out the points from end points in double: only
    // rounding tells a pulse that stands there from one that does not.
    const double scale = 1.0 + std::fabs(p.X) + std::fabs(p.Y) + std::fabs(p.Z);
    return std::hypot(p.X - q.X, p.Y - q.Y, p.Z - q.Z) <= 1e-9 * scale;
}

std::string TextOf(const char* pos) { return {pos, strnlen(pos, PosTextSize)}; }

bool NamesWire(const std::string& text) { return SplitPosition(text.c_str()).Names == PositionRef::Wire; }

// Every position of `ant` and its holders, each with the name the keeper
// knows it by.
template <class Ant>
auto PositionsOf(Ant& ant, const std::vector<PositionKeeper::Holder>& others) {
    using Text = std::conditional_t<std::is_const_v<Ant>, const char*, char*>;
    std::vector<std::pair<Text, std::string>> list;
    for (int i = 0; i < std::clamp(ant.SourceCount, 0, MaxSources); ++i)
        list.emplace_back(ant.Sources[i].Pos, EntryName("Source", i + 1));
    for (int i = 0; i < std::clamp(ant.LoadCount, 0, MaxLoads); ++i)
        list.emplace_back(ant.Loads[i].Pos, EntryName("Load", i + 1));
    for (const PositionKeeper::Holder& h : others) list.emplace_back(h.Pos, h.Name);
    return list;
}

// The line of a position that a run at `frequency` puts elsewhere than the
// calculation frequency does; empty when it stands at the same point there
// or names no pulse at the calculation frequency.
std::string ElsewhereNote(const std::string& name, const char* pos, const PulseLayout& atRun, double frequency,
                          const PulseLayout& atCalculation, double calculation) {
    const std::string text = TextOf(pos);
    const std::optional<Point3D> here = atRun.PointNamed(text.c_str());
    const std::optional<Point3D> there = atCalculation.PointNamed(text.c_str());
    if (!there || (here && SamePoint(*here, *there))) return {};
    return name + " (" + text + "): at " + DblToStr(frequency) +
           " MHz the pulses are laid out for that frequency, and it stands elsewhere than at the calculation "
           "frequency " + DblToStr(calculation) + " MHz.";
}

// The wires' pulse numbers as the preparation will give them on `layout`
// (a wire with none keeps 0 and 0).
void NumberPulsesAsLaidOut(AntDef& ant, const PulseLayout& layout) {
    const int wires = std::clamp(ant.WireCount, 0, MaxWires);
    for (int w = 0; w < wires; ++w) ant.Wires[w].FirstPulse = ant.Wires[w].PulseCount = 0;
    long long pulse = 1;
    for (const PulseRun& run : layout.Runs) {
        if (run.Wire >= 0 && run.Wire < wires) {
            WireRec& w = ant.Wires[run.Wire];
            if (w.FirstPulse == 0) w.FirstPulse = static_cast<int32_t>(std::min<long long>(pulse, INT32_MAX));
            w.PulseCount = static_cast<int32_t>(std::min<long long>(w.PulseCount + run.Count(), INT32_MAX));
        }
        pulse += run.Count();
    }
}

}  // namespace

struct PositionKeeper::Run {
    std::unique_ptr<AntDef> Start;
    std::vector<Holder> Holders;
    std::vector<std::string> Texts;
    std::vector<std::string> Elsewhere;
};

PositionKeeper::PositionKeeper() = default;
PositionKeeper::~PositionKeeper() = default;

void PositionKeeper::TakeLayout(const AntDef& ant) {
    laidOut_ = LayoutFieldsOf(ant);
    ground_ = GroundOfLayout();
    followed_ = false;
}

void PositionKeeper::Take(const AntDef& ant) {
    const std::vector<Holder> others = Others();
    TakeLayout(ant);
    slots_.clear();
    PulseLayout layout;
    if (!LayOutPulses(ant, layout)) return;  // taken at the first layout that tells their points
    for (const auto& [pos, name] : PositionsOf(ant, others)) {
        const std::string text = TextOf(pos);
        slots_[name] = {AnchorOf(layout, text), text};
    }
}

void PositionKeeper::Forget() {
    laidOut_.reset();
    slots_.clear();
    run_.reset();
}

std::vector<std::string> PositionKeeper::Settle(AntDef& ant) {
    if (!laidOut_) {
        Take(ant);
        return {};
    }
    const std::vector<Holder> others = Others();
    const auto positions = PositionsOf(ant, others);
    const bool sameLayout = SameLayoutFields(*laidOut_, ant) && ground_ == GroundOfLayout();
    const bool allHeld = std::all_of(positions.begin(), positions.end(), [&](const auto& p) {
        const auto slot = slots_.find(p.second);
        return slot != slots_.end() && slot->second.Written == TextOf(p.first);
    });
    if (sameLayout && allHeld && !followed_) return {};

    PulseLayout before, now;
    const bool beforeKnown = LayOutPulsesOver(*laidOut_, ground_, before);
    const bool nowKnown = LayOutPulses(ant, now);
    // A text typed since names the user's point as the pulses stood then.
    for (const auto& [pos, name] : positions) {
        const std::string text = TextOf(pos);
        const auto slot = slots_.find(name);
        if (slot != slots_.end() && slot->second.Written == text) continue;
        if (beforeKnown || nowKnown) slots_[name] = {AnchorOf(beforeKnown ? before : now, text), text};
        else slots_.erase(name);
    }
    // A wire moved by an edit that keeps every number (a typed cell, the
    // optimizer's value column) takes its points along.
    const int wiresKept = std::min(std::clamp(laidOut_->WireCount, 0, MaxWires), std::clamp(ant.WireCount, 0, MaxWires));
    for (auto& [name, slot] : slots_)
        if (slot.Anchor.Wire >= 0 && slot.Anchor.Wire < wiresKept)
            CarryAnchor(slot.Anchor, laidOut_->Wires[slot.Anchor.Wire], ant.Wires[slot.Anchor.Wire]);

    std::vector<std::string> notes;
    WireRenumbering kept = KeptNumbers(*laidOut_, ant);
    if (!nowKnown) {
        // No point is known now: the texts stay, and those whose pulses may
        // lie elsewhere say so.
        const auto place = PlaceByPoint(*laidOut_, ground_, ant, kept);
        for (const auto& [pos, name] : positions) {
            const std::string text = TextOf(pos);
            if (NamesWire(text)) {
                const std::string line = PlacementNote(name, text, place(text.c_str()));
                if (!line.empty()) notes.push_back(line);
            }
        }
    } else {
        for (const auto& [pos, name] : positions) {
            const std::string text = TextOf(pos);
            const auto slot = slots_.find(name);
            if (slot == slots_.end() || !NamesWire(text)) continue;
            const PositionPlacement placed = PlaceAnchor(now, ant, slot->second.Anchor);
            const bool moves = placed.How == PositionPlacement::Placed || placed.How == PositionPlacement::Nearest;
            if (moves) CopyText(pos, PosTextSize, placed.Text.c_str());
            // Where only an edit's own text gave way to the user's point, the
            // edit has said where it went.
            if (sameLayout && (!moves || placed.Text == text)) continue;
            std::string line = PlacementNote(name, text, placed);
            // Back from the nearest pulse of a layout before to the pulse at
            // its point: it moves, and says so.
            if (placed.How == PositionPlacement::Placed && beforeKnown) {
                // Where it stood, carried along its wire as the point was.
                PositionAnchor was = AnchorOf(before, text);
                if (was.Wire >= 0 && was.Wire < wiresKept)
                    CarryAnchor(was, laidOut_->Wires[was.Wire], ant.Wires[was.Wire]);
                if (was.Wire >= 0 && !SamePoint(was.Point, slot->second.Anchor.Point))
                    line = name + " (" + text + "): a pulse stands at its point again after the edit; it goes back "
                                                "there, " + placed.Text + ".";
            }
            if (!line.empty()) notes.push_back(line);
        }
    }
    // The antenna's followers (the optimizer's rows on a wire the ground
    // turned, a plain pulse number whose pulse moved) see the change, with
    // every position where it stands now.
    kept.Place = [](const char* text) { return PositionPlacement{PositionPlacement::Placed, text}; };
    std::vector<std::string> followed;
    {
        const ScopedValue<bool> settling(settling_, true);
        followed = FollowWireRenumbering(ant, kept);
    }
    notes.insert(notes.end(), followed.begin(), followed.end());
    // What is written now, a follower's renaming included.
    for (const auto& [pos, name] : PositionsOf(ant, others))
        if (const auto slot = slots_.find(name); slot != slots_.end()) slot->second.Written = TextOf(pos);
    TakeLayout(ant);
    return notes;
}

void PositionKeeper::Follow(const AntDef& ant, const WireRenumbering& change, const EntryRenumbering& entries) {
    if (settling_) return;
    if (!laidOut_) {
        Take(ant);
        return;
    }
    const std::vector<Holder> others = Others();
    // Entries keep their points under their new numbers.
    std::map<std::string, Slot> renamed;
    for (auto& [name, slot] : slots_) {
        std::string now = name;
        for (const auto& [kind, numbers] : {std::pair{"Source", &entries.NewSource}, std::pair{"Load", &entries.NewLoad}}) {
            const std::string prefix = std::string(kind) + " ";
            if (numbers->empty() || name.rfind(prefix, 0) != 0) continue;
            const long long number = std::atoll(name.c_str() + prefix.size());
            if (number < 1 || number > static_cast<long long>(numbers->size())) continue;
            const int to = (*numbers)[static_cast<std::size_t>(number - 1)];
            now = to >= 1 ? EntryName(kind, to) : std::string();
        }
        if (!now.empty()) renamed[now] = std::move(slot);
    }
    slots_ = std::move(renamed);
    // Points go with their wires: renumbered, or carried along one moved.
    for (auto it = slots_.begin(); it != slots_.end();) {
        PositionAnchor& anchor = it->second.Anchor;
        const auto old = static_cast<std::size_t>(anchor.Wire);
        const bool follows = anchor.Wire >= 0 && old < change.NewNumber.size() && !change.IsCut(old) &&
                             change.NewNumber[old] >= 1 && change.NewNumber[old] <= std::clamp(ant.WireCount, 0, MaxWires);
        char text[PosTextSize] = {};
        CopyText(text, anchor.Text.c_str());
        const int now = follows ? change.NewNumber[old] : 0;
        if (!follows || (now != anchor.Wire + 1 && !SetPositionWire(text, PosTextSize, now))) {
            // Known again from what the edit wrote.
            it = slots_.erase(it);
            continue;
        }
        anchor.Text = text;
        anchor.Wire = now - 1;
        if (old < change.Before.size()) CarryAnchor(anchor, change.Before[old], ant.Wires[anchor.Wire]);
        ++it;
    }
    PulseLayout layout;
    const bool known = LayOutPulses(ant, layout);
    for (const auto& [pos, name] : PositionsOf(ant, others)) {
        const std::string text = TextOf(pos);
        const auto slot = slots_.find(name);
        // Held where the edit wrote what it makes of the text last placed;
        // any other was given since, and is the user's point now.
        bool held = false;
        if (slot != slots_.end()) {
            char expected[PosTextSize] = {};
            CopyText(expected, slot->second.Written.c_str());
            std::vector<std::string> unused;
            held = FollowPosition(expected, PosTextSize, change, name, unused).empty() && TextOf(expected) == text;
        }
        if (held) slot->second.Written = text;
        else if (known) slots_[name] = {AnchorOf(layout, text), text};
        else if (slot != slots_.end()) slots_.erase(slot);
    }
    TakeLayout(ant);
    followed_ = true;
}

void PositionKeeper::Accept(const AntDef& ant) {
    for (const auto& [pos, name] : PositionsOf(ant, Others()))
        if (const auto slot = slots_.find(name); slot != slots_.end()) slot->second.Written = TextOf(pos);
    TakeLayout(ant);
}

std::vector<std::string> PositionKeeper::PlaceForText(AntDef& ant, const std::vector<Holder>& others) const {
    const std::unique_ptr<AntDef> before = LayoutFieldsOf(laidOut_ ? *laidOut_ : ant);
    const LayoutGround groundBefore = laidOut_ ? ground_ : GroundOfLayout();
    ant.CalcFreq = ant.Freq;
    PulseLayout design;
    const bool designKnown = LayOutPulses(ant, design);
    // A file keeps the wires' pulse numbers of the last preparation: those
    // of the layout it is read with (a stacked antenna's are its copies').
    if (designKnown && ant.nH <= 1 && ant.nV <= 1) NumberPulsesAsLaidOut(ant, design);
    const auto positions = PositionsOf(ant, others);
    const bool allHeld = std::all_of(positions.begin(), positions.end(), [&](const auto& p) {
        const auto slot = slots_.find(p.second);
        return slot != slots_.end() && slot->second.Written == TextOf(p.first);
    });
    if (SameLayoutFields(*before, ant) && groundBefore == GroundOfLayout() && allHeld && !followed_) return {};

    const std::string where = "at the design frequency " + DblToStr(ant.Freq) + " MHz, which the antenna is read back at";
    PulseLayout beforeLayout;
    const bool beforeKnown = LayOutPulsesOver(*before, groundBefore, beforeLayout);
    if (!designKnown) {
        const auto place = PlaceByPoint(*before, groundBefore, ant, WireRenumbering(*before));
        std::vector<std::string> notes;
        for (const auto& [pos, name] : positions) {
            const std::string text = TextOf(pos);
            if (!NamesWire(text)) continue;
            const std::string line = PlacementNote(name, text, place(text.c_str()), where);
            if (!line.empty()) notes.push_back(line);
        }
        return notes;
    }
    const int wiresKept = std::min(std::clamp(before->WireCount, 0, MaxWires), std::clamp(ant.WireCount, 0, MaxWires));
    std::vector<std::string> notes;
    for (const auto& [pos, name] : positions) {
        const std::string text = TextOf(pos);
        if (!NamesWire(text)) continue;
        const auto slot = slots_.find(name);
        std::optional<PositionAnchor> anchor;
        if (slot != slots_.end() && slot->second.Written == text) anchor = slot->second.Anchor;
        else if (beforeKnown) anchor = AnchorOf(beforeLayout, text);
        if (!anchor) continue;
        if (anchor->Wire >= 0 && anchor->Wire < wiresKept)
            CarryAnchor(*anchor, before->Wires[anchor->Wire], ant.Wires[anchor->Wire]);
        const PositionPlacement placed = PlaceAnchor(design, ant, *anchor);
        if (placed.How == PositionPlacement::Placed || placed.How == PositionPlacement::Nearest)
            CopyText(pos, PosTextSize, placed.Text.c_str());
        const std::string line = PlacementNote(name, text, placed, where);
        if (!line.empty()) notes.push_back(line);
    }
    return notes;
}

void PositionKeeper::BeginFrequencyRun() { saidInFrequencyRun_.clear(); }

std::vector<std::string> PositionKeeper::SettleAtRunFrequency(AntDef& ant) {
    if (!laidOut_) return {};
    const double runFrequency = LayoutFrequency(ant);
    std::vector<std::string> notes;
    {
        const ScopedValue<double> calculation(ant.CalcFreq, LayoutFrequency(*laidOut_));
        notes = Settle(ant);
    }
    if (runFrequency == LayoutFrequency(*laidOut_)) return notes;
    PulseLayout atRun, atCalculation;
    if (!LayOutPulses(ant, atRun) || !LayOutPulses(*laidOut_, atCalculation)) return notes;
    auto check = [&](const std::string& name, const char* pos) {
        std::string line = ElsewhereNote(name, pos, atRun, runFrequency, atCalculation, LayoutFrequency(*laidOut_));
        if (!line.empty() && saidInFrequencyRun_.insert(name + " (" + pos).second) notes.push_back(std::move(line));
    };
    for (int i = 0; i < std::clamp(ant.SourceCount, 0, MaxSources); ++i)
        check(EntryName("Source", i + 1), ant.Sources[i].Pos);
    for (int i = 0; i < std::clamp(ant.LoadCount, 0, MaxLoads); ++i)
        check(EntryName("Load", i + 1), ant.Loads[i].Pos);
    return notes;
}

void PositionKeeper::BeginRun(const AntDef& ant, std::vector<Holder> holders, const std::vector<double>& frequencies) {
    run_ = std::make_unique<Run>();
    run_->Start = std::make_unique<AntDef>(ant);
    for (const Holder& h : holders) run_->Texts.push_back(TextOf(h.Pos));
    run_->Holders = std::move(holders);

    // Where the run's frequencies put a position elsewhere, said once at its end.
    const double calculation = LayoutFrequency(ant);
    PulseLayout atCalculation;
    if (!LayOutPulses(ant, atCalculation)) return;
    // A text given since the last placing is the user's point as the run
    // starts from it.
    for (std::size_t i = 0; i < run_->Holders.size(); ++i) {
        const auto slot = slots_.find(run_->Holders[i].Name);
        if (slot == slots_.end() || slot->second.Written != run_->Texts[i])
            slots_[run_->Holders[i].Name] = {AnchorOf(atCalculation, run_->Texts[i]), run_->Texts[i]};
    }
    auto layout = LayoutFieldsOf(ant);
    for (std::size_t i = 0; i < run_->Holders.size(); ++i) {
        const Holder& h = run_->Holders[i];
        for (const double f : h.Freq != 0 ? std::vector<double>{h.Freq} : frequencies) {
            layout->CalcFreq = f;
            PulseLayout atRun;
            if (f == calculation || !LayOutPulses(*layout, atRun)) continue;
            std::string line = ElsewhereNote(h.Name, run_->Texts[i].c_str(), atRun, f, atCalculation, calculation);
            if (line.empty()) continue;
            run_->Elsewhere.push_back(std::move(line));
            break;
        }
    }
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
        const std::string line = PlacementNote(run_->Holders[i].Name, was, placed);
        if (!line.empty()) notes->push_back(line);
    }
}

void PositionKeeper::PlaceRun(const AntDef& ant) { PlaceFromRunStart(ant, nullptr); }

std::vector<std::string> PositionKeeper::EndRun(const AntDef& ant) {
    std::vector<std::string> notes;
    PlaceFromRunStart(ant, &notes);
    if (!run_) {
        TakeLayout(ant);
        return notes;
    }
    notes.insert(notes.end(), run_->Elsewhere.begin(), run_->Elsewhere.end());
    // The points went with the wires the run moved.
    const AntDef& start = *run_->Start;
    const int wiresKept = std::min(std::clamp(start.WireCount, 0, MaxWires), std::clamp(ant.WireCount, 0, MaxWires));
    for (auto& [name, slot] : slots_)
        if (slot.Anchor.Wire >= 0 && slot.Anchor.Wire < wiresKept)
            CarryAnchor(slot.Anchor, start.Wires[slot.Anchor.Wire], ant.Wires[slot.Anchor.Wire]);
    std::set<std::string> placed;
    for (const Holder& h : run_->Holders) {
        placed.insert(h.Name);
        if (const auto slot = slots_.find(h.Name); slot != slots_.end()) slot->second.Written = TextOf(h.Pos);
    }
    // What the run wrote in place of others (the bands' sources the antenna
    // is left with) is where the user now finds them.
    PulseLayout layout;
    if (LayOutPulses(ant, layout))
        for (const auto& [pos, name] : PositionsOf(ant, Others())) {
            const std::string text = TextOf(pos);
            const auto slot = slots_.find(name);
            if (!placed.count(name) && (slot == slots_.end() || slot->second.Written != text))
                slots_[name] = {AnchorOf(layout, text), text};
        }
    run_.reset();
    TakeLayout(ant);
    return notes;
}
