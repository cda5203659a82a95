// Seeded random edit sequences over the wire, source and load tables with
// keeps and restores in between, built with AddressSanitizer and UBSan. Each
// wire and entry carries a tag in a field no edit touches; after every step
// a tag keeps the identity it was given and no two tags share one, and every
// reference held by number (as the optimizer's rows hold them) still names
// the tag it was made on, or went with a line in the log.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "model/EntryIdentity.h"
#include "model/TableRows.h"
#include "model/WireGeometry.h"

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
        SetWireReferenceFollower(ant_, [this](const AntDef&, const WireRenumbering& change,
                                              const EntryRenumbering& entries, std::vector<std::string>& notes) {
            holder_.Follow(change, entries, notes);
        });
        RenewIdentities(ant_);
    }
    ~IdentityChecker() {
        SetWireReferenceFollower(ant_, {});
        ForgetIdentities(ant_);
    }
    IdentityChecker(const IdentityChecker&) = delete;
    IdentityChecker& operator=(const IdentityChecker&) = delete;

    int NextTag() { return ++tags_; }
    void Hold(Reference::Kind kind, int number, int tag) { holder_.Refs.push_back({kind, number, tag}); }

    // Every tag keeps its identity; no identity stands for two tags.
    void CheckIdentities(const std::string& trace) {
        const AntennaIdentities& ids = IdentitiesOf(ant_);
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
        keptIds_ = IdentitiesOf(ant_);
    }
    void Restore() {
        if (!kept_) return;
        const auto before = std::make_unique<AntDef>(ant_);
        const AntennaIdentities idsBefore = IdentitiesOf(ant_);
        ant_ = *kept_;
        SetIdentities(ant_, keptIds_);
        const IdentityChange change = ChangeByIdentity(*before, idsBefore, keptIds_);
        std::vector<std::string> notes;
        holder_.Follow(change.Wires, change.Entries, notes);
    }
    int Removed() const { return holder_.Removed; }
    int Held() const { return static_cast<int>(holder_.Refs.size()); }

private:
    AntDef& ant_;
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

}  // namespace
