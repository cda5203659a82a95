#include "model/Messages.h"

#include "model/HeaderConstants.h"

#include <cmath>
#include <cstring>
#include <gtest/gtest.h>

namespace {

class MessageTables : public ::testing::Test {
protected:
    void SetUp() override { InitMessageTables(); }
    void TearDown() override { ApplyDefaultMessages(); }
};

TEST_F(MessageTables, BuffersAreEmptyUntilFilled) {
    EXPECT_STREQ(MainMessages[0], "");
    EXPECT_STREQ(EngineMessages[16], "");
    EXPECT_STREQ(CsvHeaders[0], "");
}

TEST_F(MessageTables, DefaultsFillEveryBufferVerbatim) {
    ApplyDefaultMessages();
    EXPECT_STREQ(MainMessages[MsgRestoreTemp], "restoremes Restore data?");
    EXPECT_STREQ(MainMessages[MsgAllCoordsChange], "All X-,Y- and Z- coordinates will be change.\r\n\r\nMake it?");
    EXPECT_STREQ(MainMessages[9], "Cahge radius of wires?");
    EXPECT_STREQ(PolarNames[1], "Hori.");
    EXPECT_STREQ(OptWireMessages[8],
                 "Line(%d): different value in association (%d)\r\n\r\nSet correct value of association?");
    EXPECT_STREQ(OptWireMessages[9], "No description for this R(Taper wire set)");
    EXPECT_STREQ(ResultColumnHeads[3], "jX (Ohm)");
    EXPECT_STREQ(ResultColumnHeads[11], "Polar.");
    EXPECT_STREQ(GroundNames[2], "Real");
    EXPECT_STREQ(ResultColumnHints[1], "Winn vs 1/2LW Dipol in the free spasce");
    EXPECT_STREQ(PlotTexts[14], "(For elev.angle %.1f dg Peak:%.1f dBi)");
    EXPECT_STREQ(EngineMessages[14], "FATAL ERROR!!! TEST ANTENNA DEFINITION!");
    EXPECT_STREQ(EngineMessages[15], "WIRE %d IS UNDER GROUND. HIGHT = %.2f M");
    EXPECT_STREQ(EngineMessages[16], "CONNECT WITH GND: ON");
    EXPECT_STREQ(CsvHeaders[CsvAngleGain], "ZENITH(DEG),AZIMUTH(DEG),VERT(dBi),HORI(dBi),TOTAL(dBi)");
    EXPECT_STREQ(ViewLabels[LabelLoad], "Load");
    EXPECT_STREQ(OptButtonCaptions[1], "Abort");
    EXPECT_STREQ(NotDefinedText, "Not defined");
    EXPECT_STREQ(EmptyRowText, "");
}

TEST_F(MessageTables, EveryDefaultFitsItsBuffer) {
    ApplyDefaultMessages();
    for (int i = 0; i < MainMessageCount; ++i) EXPECT_STREQ(MainMessages[i], DefaultMainMessages[i]);
    for (int i = 0; i < ResultColumnHeadCount; ++i) EXPECT_STREQ(ResultColumnHeads[i], DefaultResultColumnHeads[i]);
    for (int i = 0; i < PlotTextCount; ++i) EXPECT_STREQ(PlotTexts[i], DefaultPlotTexts[i]);
    for (int i = 0; i < EngineMessageCount; ++i) EXPECT_STREQ(EngineMessages[i], DefaultEngineMessages[i]);
    for (int i = 0; i < CsvHeaderCount; ++i) EXPECT_STREQ(CsvHeaders[i], DefaultCsvHeaders[i]);
    for (int i = 0; i < ViewLabelCount; ++i) EXPECT_STREQ(ViewLabels[i], DefaultViewLabels[i]);
}

TEST_F(MessageTables, LongTextIsCutToTheBuffer) {
    const char* texts[] = {"a text far longer than ten characters"};
    FillMessageBuffer(GroundNames, texts, 1);
    EXPECT_STREQ(GroundNames[0], "a text fa");
    EXPECT_STREQ(GroundNames[1], "");
}

TEST(HeaderConstants, MagicsEndInCtrlZ) {
    ASSERT_EQ(HeaderResMagic.size(), 14u);
    ASSERT_EQ(HeaderOptMagic.size(), 14u);
    EXPECT_EQ(HeaderResMagic.substr(0, 13), "KORVA Res2.00");
    EXPECT_EQ(HeaderOptMagic.substr(0, 13), "KORVA Opt2.00");
    EXPECT_EQ(HeaderResMagic.back(), '\x1A');
    EXPECT_EQ(HeaderOptMagic.back(), '\x1A');
    EXPECT_EQ(ResHeader, HeaderResMagic);
}

TEST(HeaderConstants, TrigonometricValues) {
    EXPECT_DOUBLE_EQ(Cos30, std::sqrt(3.0) / 2);
    EXPECT_DOUBLE_EQ(Sin15, std::sin(M_PI / 12));
    EXPECT_DOUBLE_EQ(Cos15, std::cos(M_PI / 12));
    EXPECT_DOUBLE_EQ(Tan15, 2 - std::sqrt(3.0));
    EXPECT_DOUBLE_EQ(Tan22_5, std::sqrt(2.0) - 1);
    EXPECT_DOUBLE_EQ(Sin22_5, std::sin(M_PI / 8));
    EXPECT_DOUBLE_EQ(Cos22_5, std::cos(M_PI / 8));
}

}  // namespace
