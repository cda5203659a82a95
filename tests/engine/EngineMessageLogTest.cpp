#include "engine/EngineMessageLog.h"
#include "engine/EngineState.h"
#include "model/Messages.h"

#include <gtest/gtest.h>

namespace {

class EngineMessageLog : public ::testing::Test {
protected:
    void SetUp() override {
        ApplyDefaultMessages();
        SetEngineLog(&log);
        JobDef.Interactive = 1;
    }
    void TearDown() override {
        JobDef.Interactive = 0;
        SetEngineLog(nullptr);
        ApplyDefaultMessages();
    }
    std::vector<std::string> log;
};

}  // namespace

TEST_F(EngineMessageLog, FormatsTheTableEntries) {
    LogEngineMessage(EngWaveLength, 20.0);
    LogEngineMessage(EngTotalPulse, 31);
    LogEngineMessage(EngWireUnderGround, 3, -1.5);
    LogEngineMessage(EngNoFatalError);
    EXPECT_EQ(log, (std::vector<std::string>{"WAVE LENGTH = 20.000(m)", "TOTAL PULSE = 31",
                                             "WIRE 3 IS UNDER GROUND. HIGHT = -1.50 M", "No FATAL ERROR(S)"}));
}

TEST_F(EngineMessageLog, UsesATranslationThatFitsAndTheDefaultOtherwise) {
    CopyText(EngineMessages[EngTotalPulse], "IMPULSE GESAMT: %d");
    EXPECT_EQ(EngineMessageText(EngTotalPulse, 12), "IMPULSE GESAMT: 12");
    CopyText(EngineMessages[EngTotalPulse], "IMPULSE GESAMT: %s");  // would read a string that is not there
    EXPECT_EQ(EngineMessageText(EngTotalPulse, 12), "TOTAL PULSE = 12");
    CopyText(EngineMessages[EngNoPulses], "KEINE IMPULSE %d");
    EXPECT_EQ(EngineMessageText(EngNoPulses), "NUMBER OF PULSES IS ZERO...");
    EXPECT_EQ(EngineMessageText(99), "");
}

TEST_F(EngineMessageLog, SilentWhileNotInteractive) {
    JobDef.Interactive = 0;
    LogEngineMessage(EngFillMatrix);
    EXPECT_TRUE(log.empty());
}
