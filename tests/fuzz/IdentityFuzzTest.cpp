// Seeded random edit sequences over the wire, source and load tables with
// keeps and restores in between, built with AddressSanitizer and UBSan. Each
// wire and entry carries a tag in a field no edit touches; after every step
// a tag keeps the identity it was given and no two tags share one, and every
// reference held by number (as the optimizer's rows hold them) still names
// the tag it was made on, or went with a line in the log. Then the same for
// the optimizer's own element rows through table edits, divides, typed
// elements, keeps, restores and optimization logs saved and opened.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "model/AntennaNormalForm.h"
#include "model/EntryIdentity.h"
#include "model/EnvDefaults.h"
#include "model/ModelImage.h"
#include "model/TableRows.h"
#include "model/WireGeometry.h"
#include "optimizer/KeptAntenna.h"
#include "optimizer/OptLogFile.h"

#include <cmath>
#include <cstdio>
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
        for (int e = 0; e < cal->Groups.Count; ++e) {
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
        int rowsBefore = cal->RowCount;
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
            if (cal->RowCount < rowsBefore) {
                for (int r = 0; r < rowsBefore; ++r)
                    if (SaysLine(pending, r)) ++removed;
                ASSERT_FALSE(pending.empty()) << trace << ": rows went without a line";
            }
            rowsBefore = cal->RowCount;
            pending.clear();
            for (int r = 0; r < cal->RowCount; ++r) {
                const std::set<int> now = TagsOfElement(*ant, cal->Rows[r].Item);
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

}  // namespace
