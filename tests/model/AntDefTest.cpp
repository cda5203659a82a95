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
    const struct {
        const char* what;
        const char* source;
        const char* kept;  // in a field of 5 bytes
    } cases[] = {
        {"plain text", "abcdefgh", "abcd"},
        {"no text", nullptr, ""},
        {"a UTF-8 character that would be split goes whole", "abc\xC3\xA8xy", "abc"},
        // A whole two-byte character, then a byte that continues nothing:
        // a name in another code page, cut where it is.
        {"a stray continuation byte after a whole character", "ab\xC3\xA8\xA8xyz", "ab\xC3\xA8"},
    };
    for (const auto& c : cases) {
        char buf[5];
        std::memset(buf, 'x', sizeof buf);
        CopyText(buf, c.source);
        EXPECT_STREQ(buf, c.kept) << c.what;
    }
}
