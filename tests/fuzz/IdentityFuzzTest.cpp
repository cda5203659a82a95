// Seeded random edit sequences over the wire, source and load tables with
// keeps and restores in between, built with AddressSanitizer and UBSan. Each
// wire and entry carries a tag in a field no edit touches; after every step
// a tag keeps the identity it was given and no two tags share one, and every
// reference held by number (as the optimizer's rows hold them) still names
// the tag it was made on, or went with a line in the log. Then the same for
// the optimizer's own element rows through table edits, divides, typed
// elements, keeps, restores and optimization logs saved and opened. And
// positions (sources, loads, band sources, the current goal) through blank
// rows inserted and typed, the optimizer's value column and multi-band runs:
// none names a point of another wire or another antenna without a line.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "CountedRunHost.h"

#include "engine/PointPlacement.h"
#include "engine/PositionKeeper.h"
#include "engine/PulseLayout.h"
#include "engine/WireExpansion.h"
#include "model/AntennaNormalForm.h"
#include "model/AntennaText.h"
#include "model/EntryIdentity.h"
#include "model/EnvDef.h"
#include "model/EnvDefaults.h"
#include "model/ModelImage.h"
#include "model/PositionText.h"
#include "model/ResultStore.h"
#include "model/TableRows.h"
#include "model/WireGeometry.h"
#include "optimizer/KeptAntenna.h"
#include "optimizer/OptLogFile.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <set>
#include <unistd.h>

namespace {

// Tags: a wire's in its unused field, a source's in its voltage, a load's in
// its last coefficient.
int WireTag(const AntDef& a, int i) { return a.Wires[i].Unused; }
int SourceTag(const AntDef& a, int i) { return static_cast<int>(a.Sources[i].Voltage); }
int LoadTag(const AntDef& a, int i) { return static_cast<int>(a.Loads[i].B[MaxLoadPairs - 1]); }

// References by number (from 1) and the tag each was made on.
struct Reference {
    enum Kind { Wire, Source, Load } What;
    int Number;
    int Tag;
};

struct Holder {
    std::vector<Reference> Refs;
    int Removed = 0;
    void Follow(const WireRenumbering& change, const EntryRenumbering& entries, std::vector<std::string>& notes) {
        std::vector<Reference> kept;
        for (Reference r : Refs) {
            const std::vector<int>& map = r.What == Reference::Wire     ? change.NewNumber
                                          : r.What == Reference::Source ? entries.NewSource
                                                                        : entries.NewLoad;
            if (r.Number <= static_cast<int>(map.size())) r.Number = map[static_cast<std::size_t>(r.Number - 1)];
            if (r.Number == 0) {
                notes.push_back("reference removed");
                ++Removed;
                continue;
            }
            kept.push_back(r);
        }
        Refs = kept;
    }
};

class IdentityChecker {
public:
    explicit IdentityChecker(AntDef& ant) : ant_(ant) {
        // As an owner of a record does: its identities follow its renumberings.
        SetWireReferenceFollower(ant_, [this](const AntDef& a, const WireRenumbering& change,
                                              const EntryRenumbering& entries, std::vector<std::string>& notes) {
            ids_.Follow(a, change, entries);
            holder_.Follow(change, entries, notes);
        });
    }
    ~IdentityChecker() { SetWireReferenceFollower(ant_, {}); }
    IdentityChecker(const IdentityChecker&) = delete;
    IdentityChecker& operator=(const IdentityChecker&) = delete;

    int NextTag() { return ++tags_; }
    void Hold(Reference::Kind kind, int number, int tag) { holder_.Refs.push_back({kind, number, tag}); }

    // Every tag keeps its identity; no identity stands for two tags.
    void CheckIdentities(const std::string& trace) {
        ids_.FitTo(ant_);
        const AntennaIdentities& ids = ids_;
        auto check = [&](const std::vector<EntryId>& list, int count, int (*tag)(const AntDef&, int), int kind) {
            ASSERT_EQ(static_cast<int>(list.size()), count) << trace;
            std::map<EntryId, int> seen;
            for (int i = 0; i < count; ++i) {
                const int t = tag(ant_, i);
                const auto [at, fresh] = idOfTag_[kind].emplace(t, list[static_cast<std::size_t>(i)]);
                ASSERT_EQ(at->second, list[static_cast<std::size_t>(i)]) << trace << ": tag " << t << " changed identity";
                ASSERT_TRUE(seen.emplace(list[static_cast<std::size_t>(i)], t).second) << trace << ": identity shared";
            }
        };
        check(ids.Wires, ant_.WireCount, WireTag, 0);
        check(ids.Sources, ant_.SourceCount, SourceTag, 1);
        check(ids.Loads, ant_.LoadCount, LoadTag, 2);
    }
    // Every reference names what it was made on.
    void CheckReferences(const std::string& trace) const {
        for (const Reference& r : holder_.Refs) {
            const int tag = r.What == Reference::Wire     ? WireTag(ant_, r.Number - 1)
                            : r.What == Reference::Source ? SourceTag(ant_, r.Number - 1)
                                                          : LoadTag(ant_, r.Number - 1);
            ASSERT_EQ(tag, r.Tag) << trace << ": a reference of kind " << r.What << " now names " << r.Number;
        }
    }

    // The Edit menu's keep and restore: a restore gives back the antenna and
    // its identities, and the references made since follow by identity.
    void Keep() {
        kept_ = std::make_unique<AntDef>(ant_);
        ids_.FitTo(ant_);
        keptIds_ = ids_;
    }
    void Restore() {
        if (!kept_) return;
        const auto before = std::make_unique<AntDef>(ant_);
        ids_.FitTo(ant_);
        const AntennaIdentities idsBefore = ids_;
        ant_ = *kept_;
        ids_ = keptIds_;
        const IdentityChange change = ChangeByIdentity(*before, idsBefore, keptIds_);
        std::vector<std::string> notes;
        holder_.Follow(change.Wires, change.Entries, notes);
    }
    int Removed() const { return holder_.Removed; }
    int Held() const { return static_cast<int>(holder_.Refs.size()); }

private:
    AntDef& ant_;
    AntennaIdentities ids_;
    Holder holder_;
    int tags_ = 0;
    std::map<int, EntryId> idOfTag_[3];
    std::unique_ptr<AntDef> kept_;
    AntennaIdentities keptIds_;
};

WireRec TaggedWire(int tag, double x) { return WireRec{x, -5, 10, x, 5, 10, 0.001, 5, 0, 0, tag}; }

// Divides a wire in two as the wire editor does: the first piece keeps its
// row and its identity, the second is a new wire at the end.
void Divide(AntDef& ant, int wire, int newTag) {
    if (ant.WireCount >= MaxWires) return;
    WireRenumbering change(ant);
    WireRec& first = ant.Wires[wire - 1];
    WireRec second = first;
    first.Y2 = second.Y1 = (first.Y1 + first.Y2) / 2;
    second.Unused = newTag;
    ant.Wires[ant.WireCount++] = second;
    change.Pieces[static_cast<std::size_t>(wire - 1)] = {wire, ant.WireCount};
    FollowWireRenumbering(ant, change);
}

TEST(IdentityFuzz, RandomEditsKeepsAndRestoresKeepEveryReferenceOnWhatItWasMadeOn) {
    constexpr int Sequences = 400;
    std::mt19937 rnd(0x43);
    auto pick = [&](int n) { return static_cast<int>(rnd() % static_cast<unsigned>(std::max(n, 1))); };
    int restores = 0, removed = 0, held = 0;
    for (int n = 0; n < Sequences; ++n) {
        auto ant = std::make_unique<AntDef>();
        ant->Freq = 14.2;
        IdentityChecker check(*ant);
        for (int w = 1 + pick(5); w > 0; --w) ant->Wires[ant->WireCount++] = TaggedWire(check.NextTag(), w);
        auto addSource = [&] {
            SourceRec& s = ant->Sources[ant->SourceCount++];
            s = SourceRec{};
            CopyText(s.Pos, "w1c");
            s.Voltage = check.NextTag();
        };
        auto addLoad = [&] {
            LoadRec& l = ant->Loads[ant->LoadCount++];
            l = LoadRec{};
            CopyText(l.Pos, "w1b");
            l.B[MaxLoadPairs - 1] = check.NextTag();
        };
        for (int s = pick(3); s > 0; --s) addSource();
        for (int l = pick(3); l > 0; --l) addLoad();
        for (int step = 0; step < 12; ++step) {
            const std::string trace = "sequence " + std::to_string(n) + " step " + std::to_string(step);
            std::vector<std::string> notes;
            switch (pick(11)) {
            case 0: DeleteTableEntry(*ant, EditTable::Wires, 1 + pick(ant->WireCount), &notes); break;
            case 1:
                if (const int row = 1 + pick(ant->WireCount);
                    InsertTableEntry(*ant, EditTable::Wires, row, &notes))
                    ant->Wires[row - 1] = TaggedWire(check.NextTag(), -row);
                break;
            case 2:
                if (ant->WireCount > 0) Divide(*ant, 1 + pick(ant->WireCount), check.NextTag());
                break;
            case 3:  // typed into the table's empty row
                if (ant->WireCount < MaxWires) ant->Wires[ant->WireCount++] = TaggedWire(check.NextTag(), 20);
                break;
            case 4: DeleteTableEntry(*ant, EditTable::Sources, 1 + pick(ant->SourceCount), &notes); break;
            case 5:
                if (const int row = 1 + pick(ant->SourceCount);
                    InsertTableEntry(*ant, EditTable::Sources, row, &notes))
                    ant->Sources[row - 1].Voltage = check.NextTag();
                else if (ant->SourceCount == 0)
                    addSource();
                break;
            case 6: DeleteTableEntry(*ant, EditTable::Loads, 1 + pick(ant->LoadCount), &notes); break;
            case 7:
                if (ant->LoadCount < MaxLoads) addLoad();
                break;
            case 8: check.Keep(); break;
            case 9:
                check.Restore();
                ++restores;
                break;
            default: {  // a reference made on what is there now
                const int kind = pick(3);
                const int count = kind == 0 ? ant->WireCount : kind == 1 ? ant->SourceCount : ant->LoadCount;
                if (count == 0) break;
                const int number = 1 + pick(count);
                const int tag = kind == 0 ? WireTag(*ant, number - 1)
                                : kind == 1 ? SourceTag(*ant, number - 1)
                                            : LoadTag(*ant, number - 1);
                check.Hold(static_cast<Reference::Kind>(kind), number, tag);
                break;
            }
            }
            check.CheckIdentities(trace);
            check.CheckReferences(trace);
            if (HasFatalFailure()) return;
        }
        removed += check.Removed();
        held += check.Held();
    }
    // The sequences reach what they are for.
    EXPECT_GT(restores, Sequences / 2);
    EXPECT_GT(removed, Sequences / 10);
    EXPECT_GT(held, Sequences / 4);
}

// An element of the Yagi-like antennas below: a wire across the boom at X,
// its tag in its radius, which its pieces keep, through files too.
WireRec ElementWire(int tag, double x) { return WireRec{x, -5, 10, x, 5, 10, 0.001 + tag * 1e-6, 9, 0, 0, 0}; }
int TagOf(const WireRec& w) { return static_cast<int>(std::lround((w.R - 0.001) * 1e6)); }

// The tags of the wires of element `e` of `ant`.
std::set<int> TagsOfElement(AntDef& ant, int e) {
    auto list = std::make_unique<CWGroupList>();
    std::set<int> tags;
    if (!list->Build(ant)) return tags;
    for (int w = 0; w < ant.WireCount; ++w)
        if (list->GroupOfWire(w) == e) tags.insert(TagOf(ant.Wires[w]));
    return tags;
}

bool SaysLine(const std::vector<std::string>& notes, int row) {
    const std::string start = "Optimization line " + std::to_string(row + 1) + " ";
    return std::any_of(notes.begin(), notes.end(), [&](const std::string& n) { return n.rfind(start, 0) == 0; });
}

TEST(IdentityFuzz, ElementRowsNameTheirElementThroughEditsKeepsRestoresAndLogs) {
    constexpr int Sequences = 300;
    std::mt19937 rnd(0x4343);
    auto pick = [&](int n) { return static_cast<int>(rnd() % static_cast<unsigned>(std::max(n, 1))); };
    const EnvRec ground = EnvDef;
    InitEnvironmentDefaults(1ull << 30);
    EnvDef.Type = GroundFree;
    std::string folder = (std::filesystem::temp_directory_path() / "korva-identities-XXXXXX").string();
    ASSERT_NE(::mkdtemp(folder.data()), nullptr);
    const std::string log = folder + "/rows.kvo";
    int restores = 0, logs = 0, removed = 0, followed = 0;
    for (int n = 0; n < Sequences; ++n) {
        auto ant = std::make_unique<AntDef>();
        ant->Freq = 14.2;
        ant->nH = ant->nV = 1;
        SetDefaultSegmentation(*ant);
        AntennaIdentities ids;
        int tags = 0;
        for (int e = 0; e < 3 + pick(3); ++e) ant->Wires[ant->WireCount++] = ElementWire(++tags, 3.0 * e);
        CopyText(ant->Sources[0].Pos, "w1c");
        ant->SourceCount = 1;
        auto cal = std::make_unique<CACal>();
        // As the window does: renumbering edits reach the rows at once.
        SetWireReferenceFollower(*ant, [&cal, &ids](const AntDef& a, const WireRenumbering& change,
                                                    const EntryRenumbering& entries, std::vector<std::string>& notes) {
            ids.Follow(a, change, entries);
            cal->FollowWireRenumbering(a, change, entries, notes);
        });
        auto attach = [&] {
            ids.FitTo(*ant);
            return cal->Attach(*ant, EnvDef, &ids);
        };
        std::vector<std::string> notes = attach();
        // The band an optimization starts with: the design frequency and its feed.
        cal->BandCount = 1;
        cal->Bands[0].Freq = ant->Freq;
        cal->Bands[0].Sources[0] = ant->Sources[0];
        // A row on each element's width, and what each was made on.
        std::vector<std::set<int>> madeOn;
        for (int e = 0; e < cal->Groups().Count; ++e) {
            ACalVarRec width;
            width.Kind = KindElement;
            width.Item = e;
            width.Field = ElWidth;
            cal->AddElementVar(e, ElWidth, cal->GetElementValue(width), 10);
            madeOn.push_back(TagsOfElement(*ant, e));
        }
        KeptAntenna kept;
        std::string comment;
        // The rows and log lines since the last check.
        int rowsBefore = cal->RowCount();
        std::vector<std::string> pending;
        for (int step = 0; step < 10; ++step) {
            const std::string trace = "sequence " + std::to_string(n) + " step " + std::to_string(step);
            std::vector<std::string> lines;
            bool prepared = false;
            switch (pick(8)) {
            case 0: DeleteTableEntry(*ant, EditTable::Wires, 1 + pick(ant->WireCount), &lines); break;
            case 1: {  // an element typed into the empty row, behind, between or on another one
                if (ant->WireCount >= MaxWires) break;
                ant->Wires[ant->WireCount++] = ElementWire(++tags, 1.5 * (pick(9) - 2));
                break;
            }
            case 2: {  // a wire divided: its pieces stay in its element
                if (ant->WireCount == 0 || ant->WireCount >= MaxWires) break;
                const int w = 1 + pick(ant->WireCount);
                WireRenumbering change(*ant);
                WireRec& first = ant->Wires[w - 1];
                WireRec second = first;
                first.Y2 = second.Y1 = (first.Y1 + first.Y2) / 2;
                ant->Wires[ant->WireCount++] = second;
                change.Pieces[static_cast<std::size_t>(w - 1)] = {w, ant->WireCount};
                lines = FollowWireRenumbering(*ant, change);
                break;
            }
            case 3: kept = KeepAntenna(*ant, ids, EnvDef, comment, cal.get(), lines); break;
            case 4:
                if (kept.Text.empty()) break;
                lines = RestoreKeptAntenna(kept, *ant, ids, EnvDef, comment, cal.get());
                ++restores;
                break;
            case 5: {  // the log saved (the rows following first, as the window does) and opened
                lines = attach();
                ASSERT_EQ(SaveOptLog(log, *ant, TakeModelEnvFields(EnvDef), "", *cal), OptLogStatus::Ok) << trace;
                auto opened = std::make_unique<AntDef>();
                ModelEnvFields env = TakeModelEnvFields(EnvDef);
                auto state = std::make_unique<CACal>();
                std::string refusal;
                ASSERT_EQ(OpenOptLog(log, *opened, env, comment, *state, nullptr, &refusal), OptLogStatus::Ok)
                    << trace << ": " << refusal << ReadRefusalReason(*opened);
                ids = {};
                *ant = *opened;
                cal = std::move(state);
                const std::vector<std::string> attached = attach();
                lines.insert(lines.end(), attached.begin(), attached.end());
                ++logs;
                break;
            }
            default: {  // a preparation: the rows follow what is pending, and are checked
                const std::vector<std::string> attached = attach();
                lines.insert(lines.end(), attached.begin(), attached.end());
                prepared = true;
                break;
            }
            }
            pending.insert(pending.end(), lines.begin(), lines.end());
            if (!prepared) continue;
            // A row that went said so; the others vary the element they were
            // made on, or what is left of it.
            if (cal->RowCount() < rowsBefore) {
                for (int r = 0; r < rowsBefore; ++r)
                    if (SaysLine(pending, r)) ++removed;
                ASSERT_FALSE(pending.empty()) << trace << ": rows went without a line";
            }
            rowsBefore = cal->RowCount();
            pending.clear();
            for (int r = 0; r < cal->RowCount(); ++r) {
                const std::set<int> now = TagsOfElement(*ant, cal->Row(r).Item);
                ASSERT_FALSE(now.empty()) << trace << ": row " << r + 1 << " names no element";
                // Which element it was made on: the one of its first tag.
                const auto made = std::find_if(madeOn.begin(), madeOn.end(), [&](const std::set<int>& tagsMade) {
                    return tagsMade.count(*now.begin()) != 0;
                });
                ASSERT_NE(made, madeOn.end()) << trace << ": row " << r + 1 << " names an element made since";
                for (int t : now)
                    ASSERT_TRUE(made->count(t)) << trace << ": row " << r + 1 << " now holds wire tag " << t;
                ++followed;
            }
        }
        SetWireReferenceFollower(*ant, {});
    }
    unlink(log.c_str());
    rmdir(folder.c_str());
    EnvDef = ground;
    std::printf("rows checked %d times; %d removed with a line; %d restores, %d logs\n", followed, removed, restores,
                logs);
    EXPECT_GT(restores, Sequences / 3);
    EXPECT_GT(logs, Sequences / 2);
    EXPECT_GT(removed, Sequences / 10);
}

// ---- Positions through blank rows, the value column and multi-band runs ----

// A position and what it stood for before a step: its wire's identity and
// its point (none when it named no pulse).
struct PositionSeen {
    std::string Name;
    std::string Text;
    EntryId Wire = 0;
    std::optional<Point3D> Point;
};

struct PositionRun : CountedRunHost {
    PositionKeeper& Keeper;
    AntDef& Ant;
    PositionRun(PositionKeeper& keeper, AntDef& ant) : Keeper(keeper), Ant(ant) {}
    void PlacePositions() override { Keeper.PlaceRun(Ant); }
};

class PositionChecker {
public:
    PositionChecker(AntDef& ant, AntennaIdentities& ids, CACal& cal) : ant_(ant), ids_(ids), cal_(cal) {}

    // Every position of the antenna and of the optimizer, named as the log names it.
    std::vector<std::pair<std::string, const char*>> Positions() const {
        std::vector<std::pair<std::string, const char*>> all;
        for (int i = 0; i < ant_.SourceCount; ++i) all.emplace_back("Source " + std::to_string(i + 1), ant_.Sources[i].Pos);
        for (int i = 0; i < ant_.LoadCount; ++i) all.emplace_back("Load " + std::to_string(i + 1), ant_.Loads[i].Pos);
        for (int b = 0; b < cal_.BandCount; ++b)
            for (int i = 0; i < BandSources && cal_.Bands[b].Sources[i].Pos[0] != '\0'; ++i)
                all.emplace_back("Band " + std::to_string(b + 1) + " source " + std::to_string(i + 1),
                                 cal_.Bands[b].Sources[i].Pos);
        if (cal_.CurrentPos[0] != '\0') all.emplace_back("The current goal", cal_.CurrentPos);
        return all;
    }
    std::map<std::string, PositionSeen> Look() const {
        std::map<std::string, PositionSeen> seen;
        PulseLayout layout;
        const bool laidOut = LayOutPulses(ant_, layout);
        ids_.FitTo(ant_);
        for (const auto& [name, pos] : Positions()) {
            PositionSeen p{name, std::string(pos, strnlen(pos, PosTextSize)), 0, std::nullopt};
            const PositionRef ref = SplitPosition(pos);
            if (ref.Names == PositionRef::Wire && ref.Number <= ant_.WireCount)
                p.Wire = ids_.Wires[static_cast<std::size_t>(ref.Number - 1)];
            if (laidOut) p.Point = layout.PointNamed(pos);
            seen[name] = p;
        }
        return seen;
    }
    // A position whose line the log does not hold names a pulse of the wire
    // it named (or a junction of that wire) and, where that wire kept its
    // place, the same point.
    void Check(const std::map<std::string, PositionSeen>& before, const std::vector<WireRec>& wiresBefore,
               const AntennaIdentities& idsBefore, const std::vector<std::string>& notes, const std::string& trace) {
        const auto now = Look();
        // Its own line, or for the antenna's sources the line of a run whose
        // bands left it others, naming what it had.
        auto said = [&](const std::string& name, const std::string& text) {
            const std::string own = name + " (" + text + ")";
            const bool source = name.rfind("Source ", 0) == 0;
            return std::any_of(notes.begin(), notes.end(), [&](const std::string& n) {
                return n.find(own) != std::string::npos ||
                       (source && n.rfind("The bands fed the antenna", 0) == 0 && n.find(text + " (") != std::string::npos);
            });
        };
        for (const auto& [name, was] : before) {
            const auto at = now.find(name);
            if (at == now.end() || !was.Point || said(name, was.Text)) continue;
            const PositionSeen& is = at->second;
            if (is.Text == was.Text && is.Wire == was.Wire && is.Point && SamePoint(*is.Point, *was.Point)) continue;
            ++checked_;
            // Where its wire is now, and whether it kept its place.
            const auto heir = std::find(ids_.Wires.begin(), ids_.Wires.end(), was.Wire);
            const auto old = std::find(idsBefore.Wires.begin(), idsBefore.Wires.end(), was.Wire);
            if (heir == ids_.Wires.end()) continue;  // its wire went: its line is its entry's
            const WireRec& wire = ant_.Wires[heir - ids_.Wires.begin()];
            const bool kept = old != idsBefore.Wires.end() && SameWireEnds(wire, wiresBefore[static_cast<std::size_t>(old - idsBefore.Wires.begin())]);
            ASSERT_TRUE(is.Point) << trace << ": " << name << " (" << was.Text << ") names no pulse as " << is.Text;
            const bool atEnd = SamePoint(*is.Point, WireEnd1(wire)) || SamePoint(*is.Point, WireEnd2(wire));
            ASSERT_TRUE(is.Wire == was.Wire || atEnd)
                << trace << ": " << name << " (" << was.Text << ") went to another wire as " << is.Text;
            if (kept) {
                ASSERT_TRUE(SamePoint(*is.Point, *was.Point))
                    << trace << ": " << name << " (" << was.Text << ") moved to " << is.Text;
            }
        }
    }
    int Checked() const { return checked_; }

private:
    static bool SamePoint(const Point3D& a, const Point3D& b) {
        return std::fabs(a.X - b.X) + std::fabs(a.Y - b.Y) + std::fabs(a.Z - b.Z) < 1e-9 * (1 + std::fabs(a.X) + std::fabs(a.Y) + std::fabs(a.Z));
    }
    AntDef& ant_;
    AntennaIdentities& ids_;
    CACal& cal_;
    int checked_ = 0;
};

// A blank row inserted (an edit in progress); sometimes typed cell by cell,
// each cell settled as the window settles a typed cell.
void InsertBlankRow(AntDef& ant, PositionKeeper& keeper, std::mt19937& rnd, std::vector<std::string>& notes) {
    const int row = 1 + static_cast<int>(rnd() % static_cast<unsigned>(std::max(ant.WireCount, 1)));
    if (!InsertTableEntry(ant, EditTable::Wires, row, &notes, PlaceByPoint) || rnd() % 3 == 0) return;
    const double x = 1.5 * static_cast<int>(rnd() % 9) - 3;
    const double cells[6] = {x, -5, 10, x, 5, 10};
    WireRec& w = ant.Wires[row - 1];
    double* fields[6] = {&w.X1, &w.Y1, &w.Z1, &w.X2, &w.Y2, &w.Z2};
    for (int c = 0; c < 6; ++c) {
        *fields[c] = cells[c];
        const std::vector<std::string> lines = keeper.Settle(ant);
        notes.insert(notes.end(), lines.begin(), lines.end());
    }
}

// The optimizer dialog's value column: a row's value written into the antenna
// at once (the rows attached when the dialog opens), the positions settled
// when the dialog returns.
void TypeIntoValueColumn(CACal& cal, AntDef& ant, EnvRec& env, AntennaIdentities& ids, PositionKeeper& keeper,
                         std::mt19937& rnd, std::vector<std::string>& notes) {
    ids.FitTo(ant);
    const std::vector<std::string> attached = cal.Attach(ant, env, &ids);
    notes.insert(notes.end(), attached.begin(), attached.end());
    if (cal.RowCount() == 0) return;
    const int row = static_cast<int>(rnd() % static_cast<unsigned>(cal.RowCount()));
    cal.SetValue(row, cal.GetValue(row) * (0.6 + 0.1 * static_cast<int>(rnd() % 9)));
    cal.Groups().WriteBack();
    const std::vector<std::string> lines = keeper.Settle(ant);
    notes.insert(notes.end(), lines.begin(), lines.end());
}

// A run over two bands with their own feeds, stopped after a few points.
void RunTwoBands(CACal& cal, AntDef& ant, EnvRec& env, AntennaIdentities& ids, PositionKeeper& keeper,
                 std::mt19937& rnd, std::vector<std::string>& notes) {
    if (cal.RowCount() == 0 || ant.SourceCount == 0) return;
    ids.FitTo(ant);
    const std::vector<std::string> attached = cal.Attach(ant, env, &ids);
    notes.insert(notes.end(), attached.begin(), attached.end());
    if (!cal.Prepare().Ok()) return;
    std::vector<PositionKeeper::Holder> holders;
    for (int i = 0; i < ant.LoadCount; ++i) holders.push_back({ant.Loads[i].Pos, "Load " + std::to_string(i + 1)});
    const std::vector<PositionKeeper::Holder> held = PositionsHeldBy(&cal);
    holders.insert(holders.end(), held.begin(), held.end());
    const auto start = std::make_unique<AntDef>(ant);
    keeper.BeginRun(ant, holders);
    PositionRun host(keeper, ant);
    host.StopAt = 2 + static_cast<int>(rnd() % 6);
    JobDef.StopRequest = 0;
    cal.Optimize(host);
    JobDef.StopRequest = 0;
    const std::vector<std::string> lines = keeper.EndRun(ant);
    notes.insert(notes.end(), lines.begin(), lines.end());
    // The bands put their own feeds into the antenna: the window says so.
    if (const std::string left = cal.SourcesLeftNote(*start, ant); !left.empty()) notes.push_back(left);
}

// An antenna whose identities, the layout its positions were placed
// against and the optimizer's rows follow it as the window's do. Populate,
// once its wires are in, gives it sources and loads, two bands at its
// calculation frequency with sources of their own, and a current goal, each
// at a position `position` writes.
struct FollowedAntenna {
    std::unique_ptr<AntDef> Ant = std::make_unique<AntDef>();
    AntennaIdentities Ids;
    PositionKeeper Keeper;
    std::unique_ptr<CACal> Cal = std::make_unique<CACal>();
    FollowedAntenna() {
        Ant->Freq = Ant->CalcFreq = 14.2;
        Ant->nH = Ant->nV = 1;
        SetDefaultSegmentation(*Ant);
    }
    ~FollowedAntenna() { SetWireReferenceFollower(*Ant, {}); }
    FollowedAntenna(const FollowedAntenna&) = delete;
    FollowedAntenna& operator=(const FollowedAntenna&) = delete;

    template <class Pick, class Position>
    void Populate(Pick& pick, Position& position) {
        for (int s = 0; s < 1 + pick(2); ++s) position(Ant->Sources[Ant->SourceCount++].Pos);
        for (int l = 0; l < pick(3); ++l) {
            Ant->Loads[Ant->LoadCount].Type = LoadRX;
            position(Ant->Loads[Ant->LoadCount++].Pos);
        }
        SetWireReferenceFollower(*Ant, [this](const AntDef& a, const WireRenumbering& change,
                                              const EntryRenumbering& entries, std::vector<std::string>& notes) {
            Ids.Follow(a, change, entries);
            Cal->FollowWireRenumbering(a, change, entries, notes);
            if (change.Place || change.Renumbers(a.WireCount) || entries.Renumbers()) Keeper.Follow(a, change, entries);
        });
        Keeper.KeepBeside([this] { return PositionsHeldBy(Cal.get()); });
        Keeper.Take(*Ant);
        Ids.FitTo(*Ant);
        std::vector<std::string> unused = Cal->Attach(*Ant, EnvDef, &Ids);
        Cal->BandCount = 2;
        for (int b = 0; b < 2; ++b) {
            Cal->Bands[b].Freq = Ant->CalcFreq;
            for (int s = 0; s < Ant->SourceCount; ++s) {
                Cal->Bands[b].Sources[s] = Ant->Sources[s];
                position(Cal->Bands[b].Sources[s].Pos);
            }
        }
        position(Cal->CurrentPos);
    }
};

TEST(IdentityFuzz, PositionsThroughBlankRowsTheValueColumnAndBandRunsNameNoOtherWireUnsaid) {
    constexpr int Sequences = 120;
    std::mt19937 rnd(0x4349);
    auto pick = [&](int n) { return static_cast<int>(rnd() % static_cast<unsigned>(std::max(n, 1))); };
    const EnvRec ground = EnvDef;
    InitEnvironmentDefaults(1ull << 30);
    EnvDef.Type = GroundFree;
    JobDef.OptLog = 0;
    Results.RowCount = 0;
    Results.PushRow();
    int checked = 0, runs = 0, blanks = 0;
    for (int n = 0; n < Sequences; ++n) {
        FollowedAntenna world;
        auto& ant = world.Ant;
        AntennaIdentities& ids = world.Ids;
        PositionKeeper& keeper = world.Keeper;
        auto& cal = world.Cal;
        // A wire ending at the origin first, as verticals and radials do.
        if (pick(2) == 0) ant->Wires[ant->WireCount++] = WireRec{10, 0, 0, 0, 0, 0, 0.001, 10, 0, 0, 0};
        for (int e = 0; e < 2 + pick(3); ++e)
            ant->Wires[ant->WireCount++] = WireRec{3.0 * e, -5, 10, 3.0 * e, 5, 10, 0.001, pick(2) ? 11 : -1, 0, 0, 0};
        const char* texts[] = {"c", "b+1", "e+2", "c-2", "c3", "b"};
        auto position = [&](char (&pos)[PosTextSize]) {
            const std::string text = "w" + std::to_string(1 + pick(ant->WireCount)) + texts[pick(6)];
            CopyText(pos, text.c_str());
        };
        // The bands at the design frequency: a wire segmented by the
        // wavelength keeps its pulses, so a point is a point of the edit alone.
        world.Populate(pick, position);
        cal->SetGoals(1, 0, 0, 0, 0, 0, 0);
        for (int e = 0; e < cal->Groups().Count; ++e) {
            ACalVarRec width;
            width.Kind = KindElement;
            width.Item = e;
            width.Field = ElWidth;
            const int row = cal->AddElementVar(e, ElWidth, cal->GetElementValue(width), 10);
            if (row >= 0) cal->Row(row).Max = 30;
        }
        PositionChecker check(*ant, ids, *cal);
        for (int step = 0; step < 8; ++step) {
            const std::string trace = "sequence " + std::to_string(n) + " step " + std::to_string(step);
            const auto before = check.Look();
            const std::vector<WireRec> wiresBefore(ant->Wires, ant->Wires + ant->WireCount);
            const AntennaIdentities idsBefore = ids;
            std::vector<std::string> notes;
            switch (pick(4)) {
            case 0:
                InsertBlankRow(*ant, keeper, rnd, notes);
                ++blanks;
                break;
            case 1: TypeIntoValueColumn(*cal, *ant, EnvDef, ids, keeper, rnd, notes); break;
            case 2:
                RunTwoBands(*cal, *ant, EnvDef, ids, keeper, rnd, notes);
                ++runs;
                break;
            default: {  // a typed cell that may break a joint
                if (ant->WireCount == 0) break;
                ant->Wires[pick(ant->WireCount)].Y2 += pick(2) ? 0.5 : -0.5;
                const std::vector<std::string> lines = keeper.Settle(*ant);
                notes.insert(notes.end(), lines.begin(), lines.end());
                break;
            }
            }
            check.Check(before, wiresBefore, idsBefore, notes, trace);
            if (HasFatalFailure()) break;
        }
        checked += check.Checked();
        if (HasFatalFailure()) break;
    }
    EnvDef = ground;
    std::printf("positions moved and checked %d times; %d blank rows, %d band runs\n", checked, blanks, runs);
    EXPECT_GT(checked, Sequences);
    EXPECT_GT(runs, Sequences / 2);
}

}  // namespace

// ---- Positions and rows through every field the pulse layout reads ----

namespace {

// Removes the follower of an antenna before the antenna goes.
struct Unfollow {
    const AntDef& Ant;
    ~Unfollow() { SetWireReferenceFollower(Ant, {}); }
};

// A tapered set (sections from the centre) and parallel dipoles of 10.24 m
// beside it, `least` and up to two more, each tapered or not and segmented
// by one of the codes at random.
template <class Pick>
void AddTaperedDipoles(AntDef& ant, int least, Pick& pick) {
    ant.TaperSetCount = 1;
    ant.TaperSets[0] = TaperSet{-0.001, {1.8, 1.8}, {0.015, 0.0125, 0.01}, TaperSymStar, 0};
    const int32_t codes[] = {-1, 0, -2, -3, 11, 12, -4};
    for (int e = 0; e < least + pick(3); ++e)
        ant.Wires[ant.WireCount++] = WireRec{3.0 * e, -5.12, 10, 3.0 * e, 5.12, 10, pick(4) ? 0.001 : -0.001,
                                             codes[pick(7)], 0, 0, 0};
}

// Every position with its point on the layout of `ant` (none where it names
// no pulse), by the name the log gives it.
std::map<std::string, std::pair<std::string, std::optional<Point3D>>> PointsOf(const AntDef& ant, const CACal& cal) {
    std::map<std::string, std::pair<std::string, std::optional<Point3D>>> points;
    PulseLayout layout;
    const bool laidOut = LayOutPulses(ant, layout);
    auto add = [&](const std::string& name, const char* pos) {
        const std::string text(pos, strnlen(pos, PosTextSize));
        points[name] = {text, laidOut ? layout.PointNamed(text.c_str()) : std::nullopt};
    };
    for (int i = 0; i < ant.SourceCount; ++i) add("Source " + std::to_string(i + 1), ant.Sources[i].Pos);
    for (int i = 0; i < ant.LoadCount; ++i) add("Load " + std::to_string(i + 1), ant.Loads[i].Pos);
    for (int b = 0; b < cal.BandCount; ++b)
        for (int i = 0; i < BandSources && cal.Bands[b].Sources[i].Pos[0] != '\0'; ++i)
            add("Band " + std::to_string(b + 1) + " source " + std::to_string(i + 1), cal.Bands[b].Sources[i].Pos);
    if (cal.CurrentPos[0] != '\0') add("The current goal", cal.CurrentPos);
    return points;
}

}  // namespace

TEST(IdentityFuzz, PositionsAndRowsKeepTheirPointThroughEveryFieldThePulseLayoutReads) {
    constexpr int Sequences = 150;
    std::mt19937 rnd(0x5501);
    auto pick = [&](int n) { return static_cast<int>(rnd() % static_cast<unsigned>(std::max(n, 1))); };
    const EnvRec ground = EnvDef;
    InitEnvironmentDefaults(1ull << 30);
    EnvDef.AntHeight = 0;
    int moved = 0, said = 0, turns = 0;
    std::map<std::string, int> changes;
    for (int n = 0; n < Sequences; ++n) {
        EnvDef.Type = pick(2) ? GroundPerfect : GroundFree;
        FollowedAntenna world;
        auto& ant = world.Ant;
        PositionKeeper& keeper = world.Keeper;
        auto& cal = world.Cal;
        AddTaperedDipoles(*ant, 2, pick);
        // A sloping wire hanging above the ground that a typed Z2 puts on it.
        const int vertical = ant->WireCount;
        ant->Wires[ant->WireCount++] = WireRec{-3, 0, 5.5, -4, 1, 0.5, 0.001, pick(2) ? 10 : -1, 0, 0, 0};
        const char* texts[] = {"c", "b+1", "e-2", "c-2", "c+3", "b+4", "e", "c1"};
        auto position = [&](char (&pos)[PosTextSize]) {
            const std::string text = "w" + std::to_string(1 + pick(ant->WireCount)) + texts[pick(8)];
            CopyText(pos, text.c_str());
        };
        world.Populate(pick, position);
        // Rows on the ends of wires, the vertical's top among them.
        cal->AddVar(KindWire, vertical, 1, LinkFree, 5.5, 10);
        for (int r = 0; r < 2; ++r) {
            const int wire = pick(ant->WireCount), field = pick(4);
            const WireRec& w = ant->Wires[wire];
            const double value[4] = {w.Y1, w.Z1, w.Y2, w.Z2};
            cal->AddVar(KindWire, wire, field, LinkFree, value[field], 10);
        }
        // And a polar one on the sloping wire: length, azimuth or zenith.
        double polar[3] = {};
        WireLenAzEl(polar[0], polar[1], polar[2], ant->Wires[vertical]);
        const int polarField = pick(9);
        cal->AddVar(KindWirePolar, vertical, polarField, LinkFree, polar[polarField / 3], 10);
        for (int step = 0; step < 6; ++step) {
            const std::string trace = "sequence " + std::to_string(n) + " step " + std::to_string(step);
            const int kind = pick(9);
            if (kind == 8) {
                // The vertical's lower end typed onto the ground or back, a
                // wire edit settled as a typed cell; the turn follows below.
                WireRec& w = ant->Wires[vertical];
                double& low = w.Z1 < w.Z2 ? w.Z1 : w.Z2;
                low = low == 0.0 ? 0.5 : 0.0;
                (void)keeper.Settle(*ant);
            }
            const auto before = PointsOf(*ant, *cal);
            // What each row reads, less its own value for a polar row: a
            // turn mirrors its zenith (the value with the geometry).
            std::vector<double> rowValues;
            for (int r = 0; r < cal->RowCount(); ++r)
                rowValues.push_back(cal->GetValue(r) - (cal->Row(r).Kind == KindWirePolar ? cal->Row(r).Value : 0.0));
            bool turned = false;
            // Each field the layout reads, changed as its field or dialog does.
            const std::pair<const char*, std::function<void()>> fields[] = {
                {"design frequency", [&] { ant->Freq = ant->CalcFreq = 7.0 + 0.1 * pick(300); }},
                {"calculation frequency", [&] { ant->CalcFreq = 7.0 + 0.1 * pick(300); }},
                {"DM1", [&] { ant->DM1 = 100 + 100 * pick(10); }},
                {"DM2", [&] { ant->DM2 = 20 + 10 * pick(10); }},
                {"EC", [&] { ant->EC = 1 + pick(4); }},
                {"SC", [&] { ant->SC = 1.2 + 0.2 * pick(9); }},
                {"taper set", [&] { ant->TaperSets[0].Len[pick(2)] = 0.5 + 0.5 * pick(6); }},
                {"ground", [&] { EnvDef.Type = EnvDef.Type == GroundFree ? GroundPerfect : GroundFree; }},
                // The preparation's turn, as the window passes it through the keeper.
                {"ground turn", [&] { turned = !TurnGroundedWires(*ant).empty(); }},
            };
            const std::string change = fields[kind].first;
            fields[kind].second();
            ++changes[change];
            turns += turned ? 1 : 0;
            const std::vector<std::string> notes = keeper.Settle(*ant);
            const auto now = PointsOf(*ant, *cal);
            for (const auto& [name, was] : before) {
                if (!was.second) continue;
                const auto at = now.find(name);
                ASSERT_NE(at, now.end()) << trace << ": " << name << " went";
                const std::string own = name + " (" + was.first + ")";
                if (std::any_of(notes.begin(), notes.end(), [&](const std::string& l) { return l.find(own) != std::string::npos; })) {
                    ++said;
                    continue;
                }
                const auto& is = at->second.second;
                ASSERT_TRUE(is) << trace << " (" << change << "): " << own << " names no pulse as " << at->second.first;
                const double scale = 1 + std::fabs(was.second->X) + std::fabs(was.second->Y) + std::fabs(was.second->Z);
                ASSERT_LT(std::hypot(is->X - was.second->X, is->Y - was.second->Y, is->Z - was.second->Z), 1e-9 * scale)
                    << trace << " (" << change << "): " << own << " moved unsaid to " << at->second.first;
                if (at->second.first != was.first) ++moved;
            }
            // A row varies the same coordinate of the same end of its wire.
            ASSERT_EQ(cal->RowCount(), static_cast<int>(rowValues.size())) << trace;
            for (int r = 0; r < cal->RowCount(); ++r) {
                const ACalVarRec& row = cal->Row(r);
                const double reads = cal->GetValue(r) - (row.Kind == KindWirePolar ? row.Value : 0.0);
                const bool mirrored = turned && row.Kind == KindWirePolar && row.Field / 3 == 2;
                const double was = rowValues[static_cast<std::size_t>(r)];
                ASSERT_NEAR(reads, mirrored ? -was : was, 1e-9 * (1 + std::fabs(row.Value)))
                    << trace << " (" << change << "): row " << r + 1 << " field " << cal->Row(r).Field;
            }
        }
        if (HasFatalFailure()) break;
    }
    EnvDef = ground;
    std::printf("positions renamed at their point %d times, moved with a line %d times; %d turns\n", moved, said, turns);
    for (const auto& [change, count] : changes) EXPECT_GT(count, Sequences / 10) << change;
    EXPECT_GT(moved, Sequences / 4);
    EXPECT_GT(said, Sequences);
    EXPECT_GT(turns, Sequences / 10);
}

// ---- Layout inputs changed and changed back ----

// Every field the layout reads changed at random, each change settled, then
// each typed back to its value in any order: every position stands where
// it stood, with the text it was given (no line excuses a move), and the
// antenna file a save writes is the one of before.
TEST(IdentityFuzz, LayoutInputsChangedAndChangedBackGiveBackTheSameAntenna) {
    constexpr int Sequences = 150;
    std::mt19937 rnd(0x6301);
    auto pick = [&](int n) { return static_cast<int>(rnd() % static_cast<unsigned>(std::max(n, 1))); };
    const EnvRec ground = EnvDef;
    InitEnvironmentDefaults(1ull << 30);
    int changed = 0, moved = 0;
    for (int n = 0; n < Sequences; ++n) {
        EnvDef.Type = pick(2) ? GroundPerfect : GroundFree;
        EnvDef.AntHeight = 0;
        FollowedAntenna world;
        auto& ant = world.Ant;
        PositionKeeper& keeper = world.Keeper;
        AddTaperedDipoles(*ant, 1, pick);
        // A vertical standing on the ground, where its end has a pulse
        // unless the added height lifts it.
        if (pick(2)) ant->Wires[ant->WireCount++] = WireRec{-3, 0, 0, -3, 0, 5, 0.001, pick(2) ? 10 : -1, 0, 0, 0};
        const char* texts[] = {"c", "b+1", "e-2", "c-2", "c+3", "b+4", "e", "c7", "b"};
        auto position = [&](char (&pos)[PosTextSize]) {
            CopyText(pos, ("w" + std::to_string(1 + pick(ant->WireCount)) + texts[pick(9)]).c_str());
        };
        world.Populate(pick, position);
        (void)keeper.Settle(*ant);
        const auto first = PointsOf(*ant, *world.Cal);
        auto savedText = [&] {
            auto saved = std::make_unique<AntDef>(*ant);
            (void)keeper.PlaceForText(*saved);
            return WriteAntennaText(*saved, EnvDef, "");
        };
        const std::string fileBefore = savedText();

        // Each input with its value typed back.
        struct Input {
            const char* Name;
            std::function<void()> Change, Back;
        };
        const AntDef was = *ant;
        const EnvRec envWas = EnvDef;
        const std::vector<Input> inputs = {
            {"calculation frequency", [&] { ant->CalcFreq = 7.0 + 0.1 * pick(220); }, [&] { ant->CalcFreq = was.CalcFreq; }},
            {"DM1", [&] { ant->DM1 = 100 + 100 * pick(12); }, [&] { ant->DM1 = was.DM1; }},
            {"DM2", [&] { ant->DM2 = 10 + 5 * pick(16); }, [&] { ant->DM2 = was.DM2; }},
            {"EC", [&] { ant->EC = 1 + pick(4); }, [&] { ant->EC = was.EC; }},
            {"SC", [&] { ant->SC = 1.2 + 0.2 * pick(9); }, [&] { ant->SC = was.SC; }},
            {"taper set", [&] { ant->TaperSets[0].Len[0] = 0.5 + 0.5 * pick(6); },
             [&] { ant->TaperSets[0].Len[0] = was.TaperSets[0].Len[0]; }},
            {"ground", [&] { EnvDef.Type = EnvDef.Type == GroundFree ? GroundPerfect : GroundFree; },
             [&] { EnvDef.Type = envWas.Type; }},
            {"added height", [&] { EnvDef.AntHeight = 0.5 * (1 + pick(6)); }, [&] { EnvDef.AntHeight = envWas.AntHeight; }},
        };
        std::vector<int> order;
        std::string trace = "sequence " + std::to_string(n) + ":";
        for (int step = 0; step < 1 + pick(5); ++step) {
            const int input = pick(static_cast<int>(inputs.size()));
            inputs[static_cast<std::size_t>(input)].Change();
            (void)keeper.Settle(*ant);
            const auto points = PointsOf(*ant, *world.Cal);
            if (std::any_of(first.begin(), first.end(), [&](const auto& p) {
                    return !points.count(p.first) || points.at(p.first).first != p.second.first;
                }))
                ++moved;
            order.push_back(input);
            trace += std::string(" ") + inputs[static_cast<std::size_t>(input)].Name;
        }
        std::shuffle(order.begin(), order.end(), rnd);
        for (const int input : order) {
            inputs[static_cast<std::size_t>(input)].Back();
            (void)keeper.Settle(*ant);
        }
        ++changed;
        const auto now = PointsOf(*ant, *world.Cal);
        for (const auto& [name, was] : first) {
            ASSERT_TRUE(now.count(name)) << trace << ": " << name << " went";
            EXPECT_EQ(now.at(name).first, was.first) << trace << ": " << name;
        }
        EXPECT_EQ(savedText(), fileBefore) << trace;
        if (HasFailure()) break;
    }
    EnvDef = ground;
    std::printf("%d sequences changed and changed back, %d steps moved a position\n", changed, moved);
    EXPECT_EQ(changed, Sequences);
    EXPECT_GT(moved, Sequences / 2);
}

// ---- Positions through saves and opens at another calculation frequency ----

// An antenna file and an optimization log are read at the design frequency.
// Saved while the calculation frequency is another, started or only typed
// (after random changes of what the layout reads), opened, and set to that calculation frequency
// again: each position (the log's band sources and current goal among them)
// stands at its point, or a line of the save or of the open names it.
TEST(IdentityFuzz, PositionsSavedAtAnotherCalculationFrequencyOpenAtTheirPointsOrSaySo) {
    constexpr int Sequences = 150;
    std::mt19937 rnd(0x5902);
    auto pick = [&](int n) { return static_cast<int>(rnd() % static_cast<unsigned>(std::max(n, 1))); };
    const EnvRec ground = EnvDef;
    InitEnvironmentDefaults(1ull << 30);
    EnvDef.AntHeight = 0;
    // No optimizer: the antenna's own positions alone.
    const auto noRows = std::make_unique<CACal>();
    noRows->CurrentPos[0] = '\0';
    int kept = 0, renamed = 0, said = 0, logs = 0;
    for (int n = 0; n < Sequences; ++n) {
        EnvDef.Type = pick(2) ? GroundPerfect : GroundFree;
        auto ant = std::make_unique<AntDef>();
        ResetToNewAntenna(*ant);
        ant->Freq = ant->CalcFreq = 14.2;
        AddTaperedDipoles(*ant, 1, pick);
        // A vertical standing on the ground, where its end has a pulse.
        if (pick(2)) ant->Wires[ant->WireCount++] = WireRec{-3, 0, 0, -3, 0, 5, 0.001, pick(2) ? 10 : -1, 0, 0, 0};
        const char* texts[] = {"c", "b+1", "e-2", "c-2", "c+3", "b+4", "e", "c1", "b"};
        auto position = [&](char (&pos)[PosTextSize]) {
            CopyText(pos, ("w" + std::to_string(1 + pick(ant->WireCount)) + texts[pick(9)]).c_str());
        };
        for (int i = 0; i < 1 + pick(2); ++i) position(ant->Sources[ant->SourceCount++].Pos);
        for (int i = 0; i < pick(3); ++i) {
            ant->Loads[ant->LoadCount].Type = LoadRX;
            ant->Loads[ant->LoadCount].A[0] = 10;
            position(ant->Loads[ant->LoadCount++].Pos);
        }
        // Opened (so that it holds what a text carries), then changed as the
        // fields and dialogs change it, each change settled; the last one
        // leaves the calculation frequency off the design frequency.
        {
            EnvRec env = EnvDef;
            std::string comment;
            const std::string typed = WriteAntennaText(*ant, EnvDef, "");
            ASSERT_TRUE(ReadAntennaFile(typed, *ant, env, comment)) << typed;
        }
        // The optimizer's band sources and current goal, followed as the
        // window follows them.
        AntennaIdentities ids;
        auto cal = std::make_unique<CACal>();
        SetWireReferenceFollower(*ant, [&ids, &cal](const AntDef& a, const WireRenumbering& change,
                                                    const EntryRenumbering& entries, std::vector<std::string>& lines) {
            ids.Follow(a, change, entries);
            cal->FollowWireRenumbering(a, change, entries, lines);
        });
        const Unfollow unfollow{*ant};
        ids.FitTo(*ant);
        (void)cal->Attach(*ant, EnvDef, &ids);
        cal->BandCount = 1 + pick(2);
        for (int b = 0; b < cal->BandCount; ++b) {
            cal->Bands[b].Freq = ant->Freq;
            for (int i = 0; i < 1 + pick(2); ++i) {
                cal->Bands[b].Sources[i] = SourceRec{};
                cal->Bands[b].Sources[i].Voltage = 1;
                position(cal->Bands[b].Sources[i].Pos);
            }
        }
        if (pick(2)) position(cal->CurrentPos);
        else cal->CurrentPos[0] = '\0';
        PositionKeeper keeper;
        keeper.KeepBeside([&cal] { return PositionsHeldBy(cal.get()); });
        keeper.Take(*ant);
        for (int step = 0; step < pick(3); ++step) {
            switch (pick(4)) {
            case 0: ant->Freq = ant->CalcFreq = 7.0 + 0.1 * pick(300); break;
            case 1: ant->DM1 = 100 + 100 * pick(10); break;
            case 2: ant->EC = 1 + pick(4); break;
            default: ant->TaperSets[0].Len[0] = 0.5 + 0.5 * pick(6); break;  // the last is the rest of the wire
            }
            (void)keeper.Settle(*ant);
        }
        // The calculation frequency set off the design frequency: started,
        // or only typed (its field taken by the save command, the positions
        // still where the last start put them).
        double calc = 0;
        do calc = 7.0 + 0.1 * pick(300);
        while (calc == ant->Freq);
        const bool typedOnly = pick(3) == 0;
        if (!typedOnly) {
            ant->CalcFreq = calc;
            (void)keeper.Settle(*ant);
        }
        const auto beforeText = PointsOf(*ant, *noRows);
        const auto beforeLog = PointsOf(*ant, *cal);
        ant->CalcFreq = calc;
        const std::string trace = "sequence " + std::to_string(n) + " at " + std::to_string(calc) +
                                  (typedOnly ? " MHz typed" : " MHz") + ", designed for " + std::to_string(ant->Freq);

        // Each position a file keeps stands at its point once the file is
        // opened and set to the calculation frequency again, or a line of the
        // save or of the open names it.
        using Points = decltype(PointsOf(*ant, *cal));
        auto expectKept = [&](const std::string& file, const Points& before, const Points& inFile, const Points& now,
                              const std::vector<std::string>& notes) {
            for (const auto& [name, was] : before) {
                auto line = [&](const std::string& named) {
                    const std::string own = name + " (" + named + ")";
                    return std::any_of(notes.begin(), notes.end(), [&](const std::string& l) { return l.find(own) != std::string::npos; });
                };
                if (line(was.first) || line(inFile.at(name).first)) {
                    ++said;
                    continue;
                }
                const auto& is = now.at(name);
                if (!was.second) {
                    ASSERT_FALSE(is.second) << trace << ", " << file << ": " << name << " (" << was.first
                                            << ") names a pulse unsaid as " << is.first;
                    continue;
                }
                ASSERT_TRUE(is.second) << trace << ", " << file << ": " << name << " (" << was.first
                                       << ") names no pulse as " << is.first;
                const double scale = 1 + std::fabs(was.second->X) + std::fabs(was.second->Y) + std::fabs(was.second->Z);
                ASSERT_LT(std::hypot(is.second->X - was.second->X, is.second->Y - was.second->Y, is.second->Z - was.second->Z),
                          1e-9 * scale)
                    << trace << ", " << file << ": " << name << " (" << was.first << ") saved as "
                    << inFile.at(name).first << " moved unsaid to " << is.first;
                ++kept;
                if (inFile.at(name).first != was.first) ++renamed;
            }
        };

        // Saved as the window saves an antenna file, opened as Open reads
        // it, and the calculation frequency typed again.
        {
            auto saved = std::make_unique<AntDef>(*ant);
            std::vector<std::string> notes = keeper.PlaceForText(*saved);
            const auto inFile = PointsOf(*saved, *noRows);
            const std::string text = WriteAntennaText(*saved, EnvDef, "");
            auto opened = std::make_unique<AntDef>();
            EnvRec env = EnvDef;
            std::string comment;
            ASSERT_TRUE(ReadAntennaFile(text, *opened, env, comment)) << trace;
            ASSERT_EQ(LayoutFrequency(*opened), ant->Freq) << trace;
            PositionKeeper reopened;
            reopened.Take(*opened);
            opened->CalcFreq = ant->CalcFreq;
            const std::vector<std::string> settled = reopened.Settle(*opened);
            notes.insert(notes.end(), settled.begin(), settled.end());
            expectKept("antenna file", beforeText, inFile, PointsOf(*opened, *noRows), notes);
        }
        if (HasFatalFailure()) break;

        // The same through an optimization log, which keeps the band sources
        // and the current goal besides.
        {
            auto saved = std::make_unique<AntDef>(*ant);
            const std::unique_ptr<CACal> state = CopyOfLoggedState(*cal);
            ASSERT_TRUE(state) << trace;
            std::vector<std::string> notes = keeper.PlaceForText(*saved, PositionsHeldBy(state.get()));
            const auto inFile = PointsOf(*saved, *state);
            const std::vector<uint8_t> bytes = BuildOptLogImage(*saved, TakeModelEnvFields(EnvDef), "", *state);
            auto opened = std::make_unique<AntDef>();
            auto openedCal = std::make_unique<CACal>();
            ModelEnvFields env = TakeModelEnvFields(EnvDef);
            std::string comment;
            ASSERT_EQ(ParseOptLogImage(bytes, *opened, env, comment, *openedCal), OptLogStatus::Ok) << trace;
            ASSERT_EQ(LayoutFrequency(*opened), ant->Freq) << trace;
            AntennaIdentities openedIds;
            SetWireReferenceFollower(*opened, [&openedIds, &openedCal](const AntDef& a, const WireRenumbering& change,
                                                                       const EntryRenumbering& entries,
                                                                       std::vector<std::string>& lines) {
                openedIds.Follow(a, change, entries);
                openedCal->FollowWireRenumbering(a, change, entries, lines);
            });
            const Unfollow unfollowOpened{*opened};
            openedIds.FitTo(*opened);
            (void)openedCal->Attach(*opened, EnvDef, &openedIds);
            PositionKeeper reopened;
            reopened.KeepBeside([&openedCal] { return PositionsHeldBy(openedCal.get()); });
            reopened.Take(*opened);
            opened->CalcFreq = ant->CalcFreq;
            const std::vector<std::string> settled = reopened.Settle(*opened);
            notes.insert(notes.end(), settled.begin(), settled.end());
            expectKept("optimization log", beforeLog, inFile, PointsOf(*opened, *openedCal), notes);
            ++logs;
        }
        if (HasFatalFailure()) break;
    }
    EnvDef = ground;
    std::printf("positions kept their point %d times (written anew %d times), said %d times, %d logs\n", kept, renamed,
                said, logs);
    EXPECT_EQ(logs, Sequences);
    EXPECT_GT(kept, Sequences / 2);
    EXPECT_GT(renamed, 0);
    EXPECT_GT(said, Sequences / 2);
}
