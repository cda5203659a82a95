#include "model/AntDef.h"

#include <cstring>
#include <gtest/gtest.h>

TEST(SegPair, PacksAndUnpacksBothDensities) {
    int32_t v = PackSegPair(5, 3);
    EXPECT_TRUE(IsSegPair(v));
    EXPECT_EQ(static_cast<uint32_t>(v), 0x80000000u | (3u << 16) | 5u);
    EXPECT_EQ(SegPairFirst(v), 5);
    EXPECT_EQ(SegPairSecond(v), 3);
    EXPECT_FALSE(IsSegPair(-10000));
    EXPECT_TRUE(IsSegPair(PackSegPair(1, 1)));
    EXPECT_TRUE(IsSegPair(PackSegPair(32767, 32767)));
}

TEST(SegPair, ClampsToTheFifteenBitRange) {
    int32_t v = PackSegPair(0, 40000);
    EXPECT_EQ(SegPairFirst(v), 1);
    EXPECT_EQ(SegPairSecond(v), 32767);
}

TEST(CopyText, TruncatesAndTerminates) {
    char buf[5];
    std::memset(buf, 'x', sizeof buf);
    CopyText(buf, "abcdefgh");
    EXPECT_STREQ(buf, "abcd");
    CopyText(buf, nullptr);
    EXPECT_STREQ(buf, "");
}
