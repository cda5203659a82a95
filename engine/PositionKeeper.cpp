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

// The line of a position that a run at `frequency` puts elsewhere than the
// calculation frequency does; empty when it stands at the same point there
// or names no pulse at the calculation frequency.
std::string ElsewhereNote(const std::string& name, const char* pos, const PulseLayout& atRun, double frequency,
                          const PulseLayout& atCalculation, double calculation) {
    const std::string text(pos, strnlen(pos, PosTextSize));
    const std::optional<Point3D> here = atRun.PointNamed(text.c_str());
    const std::optional<Point3D> there = atCalculation.PointNamed(text.c_str());
    if (!there || (here && SamePoint(*here, *there))) return {};
    return name + " (" + text + "): at " + DblToStr(frequency) +
           " MHz the pulses are laid out for that frequency, and it stands elsewhere than at the calculation "
           "frequency " + DblToStr(calculation) + " MHz.";
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

void PositionKeeper::Take(const AntDef& ant) {
    laidOut_ = LayoutFieldsOf(ant);
    ground_ = GroundOfLayout();
}

void PositionKeeper::Forget() {
    laidOut_.reset();
    run_.reset();
}

std::vector<std::string> PositionKeeper::Settle(AntDef& ant) {
    if (!laidOut_) {
        Take(ant);
        return {};
    }
    if (SameLayoutFields(*laidOut_, ant) && ground_ == GroundOfLayout()) return {};
    WireRenumbering change = KeptNumbers(*laidOut_, ant);
    // An edit of a value changes one at a time, through shapes the user does
    // not mean to keep: a position is never removed by it, it stays and says so.
    change.Place = [place = PlaceByPoint(*laidOut_, ground_, ant, change)](const char* text) {
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

std::vector<std::string> PositionKeeper::PlaceForText(AntDef& ant, const std::vector<Holder>& others) const {
    const std::unique_ptr<AntDef> before = LayoutFieldsOf(laidOut_ ? *laidOut_ : ant);
    const LayoutGround groundBefore = laidOut_ ? ground_ : GroundOfLayout();
    ant.CalcFreq = ant.Freq;
    if (SameLayoutFields(*before, ant) && groundBefore == GroundOfLayout()) return {};
    const WireRenumbering change = KeptNumbers(*before, ant);
    const auto place = PlaceByPoint(*before, groundBefore, ant, change);
    const std::string readAt = "the antenna is read back at the design frequency " + DblToStr(ant.Freq) + " MHz";
    std::vector<std::string> notes;
    auto placeEntry = [&](char* pos, const std::string& name) {
        const std::string was(pos, strnlen(pos, PosTextSize));
        const PositionPlacement placed = place(was.c_str());
        switch (placed.How) {
        case PositionPlacement::Nearest:
            notes.push_back(name + " (" + was + "): " + readAt + ", where no pulse stands at its point; it is " +
                            "written at the nearest one of its wire, " + placed.Text + ".");
            [[fallthrough]];
        case PositionPlacement::Placed: CopyText(pos, PosTextSize, placed.Text.c_str()); break;
        case PositionPlacement::Removed:
            notes.push_back(name + " (" + was + "): " + readAt + ", where it would not name the pulse it names " +
                            "now; it is written as " + was + ", check its position.");
            break;
        case PositionPlacement::Unknown:
            if (!placed.Text.empty())
                notes.push_back(name + " (" + was + "): " + placed.Text + "; it is written as " + was +
                                ", check its position.");
            break;
        }
    };
    for (int i = 0; i < std::clamp(ant.SourceCount, 0, MaxSources); ++i)
        placeEntry(ant.Sources[i].Pos, "Source " + std::to_string(i + 1));
    for (int i = 0; i < std::clamp(ant.LoadCount, 0, MaxLoads); ++i)
        placeEntry(ant.Loads[i].Pos, "Load " + std::to_string(i + 1));
    for (const Holder& h : others) placeEntry(h.Pos, h.Name);
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
        check("Source " + std::to_string(i + 1), ant.Sources[i].Pos);
    for (int i = 0; i < std::clamp(ant.LoadCount, 0, MaxLoads); ++i)
        check("Load " + std::to_string(i + 1), ant.Loads[i].Pos);
    return notes;
}

void PositionKeeper::BeginRun(const AntDef& ant, std::vector<Holder> holders, const std::vector<double>& frequencies) {
    run_ = std::make_unique<Run>();
    run_->Start = std::make_unique<AntDef>(ant);
    for (const Holder& h : holders) run_->Texts.emplace_back(h.Pos, strnlen(h.Pos, PosTextSize));
    run_->Holders = std::move(holders);

    // Where the run's frequencies put a position elsewhere, said once at its end.
    const double calculation = LayoutFrequency(ant);
    PulseLayout atCalculation;
    if (!LayOutPulses(ant, atCalculation)) return;
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
    if (run_) notes.insert(notes.end(), run_->Elsewhere.begin(), run_->Elsewhere.end());
    run_.reset();
    Take(ant);
    return notes;
}
