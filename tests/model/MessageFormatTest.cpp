#include "model/MessageFormat.h"

#include <gtest/gtest.h>

TEST(FormatMessageArg, PutsTheArgumentAtTheFirstPercentS) {
    EXPECT_EQ(FormatMessageArg("Can not load %s", "/a/b.kva"), "Can not load /a/b.kva");
    EXPECT_EQ(FormatMessageArg("Invalid format of file %s.", "x.kvb"), "Invalid format of file x.kvb.");
    EXPECT_EQ(FormatMessageArg("no argument", "x"), "no argument");
    EXPECT_EQ(FormatMessageArg(nullptr, "x"), "");
}

TEST(FormatMessageArg, KeepsOtherPercentSequencesOfATranslationAsText) {
    EXPECT_EQ(FormatMessageArg("%d%% %s %s %n", "f"), "%d% f %s %n");
    EXPECT_EQ(FormatMessageArg("100%", "f"), "100%");
    // An argument holding '%' is not interpreted either.
    EXPECT_EQ(FormatMessageArg("open %s", "/home/ham/50%s.kva"), "open /home/ham/50%s.kva");
}
