// Translated drawing texts are used as formats only when they fit the arguments.
#include "draw/LabelFormat.h"

#include <gtest/gtest.h>

TEST(LabelFormat, LabelsWithoutConversionGetTheValueAppended) {
    EXPECT_EQ(LabelWithInt("Wire", 3), "Wire 3");
    EXPECT_EQ(LabelWithInt("Draht %d:", 3), "Draht 3:");
    EXPECT_EQ(LabelWithInt("Bad %s", 3), "Bad %s 3");
    EXPECT_EQ(PlainLabel("100%% sure"), "100% sure");
}
