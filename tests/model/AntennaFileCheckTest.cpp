// The first lines that make a text an antenna file.
#include "model/AntennaFileCheck.h"

#include <gtest/gtest.h>

TEST(AntennaFileCheck, WrittenAndHandWrittenHeadersPass) {
    EXPECT_TRUE(HasAntennaHeader("Dipole\r\n*\r\n14.15\r\n***Wires***\r\n1\r\n"));
    EXPECT_TRUE(HasAntennaHeader("Dipole\n14.15\n1, 2, 1, 5.0, 0.0, 0\n"));
    // A name that begins with "*" is still the name.
    EXPECT_TRUE(HasAntennaHeader("*star*\n*\n299.792458/20\n0\n"));
    // Expressions and trailing words read as the reader reads them.
    EXPECT_TRUE(HasAntennaHeader("x\n*\n7.05 MHz\n2 wires\n"));
    EXPECT_TRUE(HasAntennaHeader("x\n*\n0\n0\n"));
}

TEST(AntennaFileCheck, TextsWithoutFrequencyOrWireCountFail) {
    EXPECT_FALSE(HasAntennaHeader(""));
    EXPECT_FALSE(HasAntennaHeader("only a name"));
    EXPECT_FALSE(HasAntennaHeader("name\n*\n14.15\n"));
    EXPECT_FALSE(HasAntennaHeader("name\n*\n\n1\n"));
    EXPECT_FALSE(HasAntennaHeader("name\n*\nfourteen\n1\n"));
    EXPECT_FALSE(HasAntennaHeader("name\n*\n-14\n1\n"));
    EXPECT_FALSE(HasAntennaHeader("name\n*\n1e999\n1\n"));
    EXPECT_FALSE(HasAntennaHeader("name\n*\n14\n   \n"));
    EXPECT_FALSE(HasAntennaHeader("name\n*\n14\nwires\n"));
    EXPECT_FALSE(HasAntennaHeader("Dear Sir,\nthank you.\nYours\n"));
}
