// Identities belong to whoever owns a record beside it: a copy made with
// them names the same wires, and a record that takes a freed record's place
// in memory starts with identities of its own.
#include <gtest/gtest.h>

#include "model/EntryIdentity.h"

#include <algorithm>
#include <memory>
#include <new>

namespace {

void ThreeWires(AntDef& ant) {
    ant.WireCount = 3;
    for (int w = 0; w < 3; ++w) ant.Wires[w] = WireRec{3.0 * w, -5, 10, 3.0 * w, 5, 10, 0.001, 9, 0, 0, 0};
}

TEST(EntryIdentity, ACopyCarriesThemAndAFreedPlaceInMemoryPassesNoneOn) {
    alignas(AntDef) static unsigned char storage[sizeof(AntDef)];
    auto* first = new (storage) AntDef();
    ThreeWires(*first);
    AntennaIdentities ids = AntennaIdentities::FreshFor(*first);

    // The copy, kept with its identities, through a deletion of wire 1 of the
    // original: its wires 2 and 3 are the original's 1 and 2.
    const auto copy = std::make_unique<AntDef>(*first);
    const AntennaIdentities copied = ids;
    WireRenumbering change(*first);
    std::copy(first->Wires + 1, first->Wires + 3, first->Wires);
    first->WireCount = 2;
    change.NewNumber = {0, 1, 2};
    ids.Follow(*first, change, {});
    EXPECT_EQ(ChangeByIdentity(*copy, copied, ids).Wires.NewNumber, (std::vector<int>{0, 1, 2}));

    // A new record where the first was: nothing of the first's.
    first->~AntDef();
    auto* second = new (storage) AntDef();
    ThreeWires(*second);
    const AntennaIdentities fresh = AntennaIdentities::FreshFor(*second);
    EXPECT_EQ(ChangeByIdentity(*copy, copied, fresh).Wires.NewNumber, (std::vector<int>{0, 0, 0}));
    second->~AntDef();
}

}  // namespace
