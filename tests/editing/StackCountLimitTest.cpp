// Stack counts at the int limit are refused, not multiplied past 64 bits.
#include "editing/StackCheck.h"

#include <gtest/gtest.h>
#include <climits>
#include <memory>

TEST(StackCountLimit, HugeCountsAreTooManyWires) {
    auto ant = std::make_unique<AntDef>();
    ant->WireCount = 3;
    ant->Wires[0] = WireRec{0, 0, 0, 0, 0, 1, 0.001, 5, 0, 0, 0};
    EXPECT_EQ(CheckStack(*ant, INT_MAX, INT_MAX, 10, 10), StackVerdict::TooManyWires);
    EXPECT_EQ(CheckStack(*ant, INT_MAX, 1, 10, 10), StackVerdict::TooManyWires);
    // More copies than wires allowed, even of no wires at all.
    ant->WireCount = 0;
    ant->SourceCount = 1;
    EXPECT_EQ(CheckStack(*ant, INT_MAX, INT_MAX, 10, 10), StackVerdict::TooManyWires);
    ant->WireCount = 1;
    EXPECT_EQ(CheckStack(*ant, MaxSources + 1, 1, 10, 10), StackVerdict::TooManySources);
}
