#include "model/AntennaText.h"
#include "model/FedDipole.h"

#include <gtest/gtest.h>

#include <cstring>

#include "model/AntennaSamples.h"
#include "model/SafeFile.h"
#include "model/TaperSetTable.h"
#include "model/TextLines.h"

namespace {

class AntennaTextTest : public ::testing::Test {
protected:
    void SetUp() override {
        env = EnvRec{};
        env.Type = GroundPerfect;
        env.AntHeight = 20;
        env.Material = 1;
        env.Z0R = 50;
        env.AzEl = PackAzEl(120, 60);
        JobDef = JobRec{};
        JobDef.Wavelength = 20;
    }

    // Opens a text as a file would: into a new antenna.
    std::unique_ptr<AntDef> Parse(std::string_view text) {
        auto a = NewAntenna();
        comment.clear();
        ParseAntennaText(*a, env, text, comment);
        return a;
    }

    EnvRec env;
    std::string comment;
};

std::unique_ptr<AntDef> Dipole() {
    auto a = NewAntenna();
    CopyText(a->Name, "Dipole");
    MakeFedDipole(*a, WireRec{-5, 0, 10, 5, 0, 10, 0.001, 11, 0, 0, 0});
    a->LoadCount = 1;
    a->Loads[0].Type = LoadRX;
    CopyText(a->Loads[0].Pos, "w1c");
    a->Loads[0].A[0] = 50;
    a->Loads[0].B[0] = -25;
    return a;
}

TEST_F(AntennaTextTest, WritesTheGoldenLayout) {
    EXPECT_EQ(WriteAntennaText(*Dipole(), env, "hi"),
              "Dipole\r\n*\r\n14.15\r\n***Wires***\r\n1\r\n"
              "-5.0,\t0.0,\t10.0,\t5.0,\t0.0,\t10.0,\t0.001,\t11\r\n"
              "*** Source ***\r\n1,\t1\r\nw1c,\t0.0,\t1.0\r\n"
              "*** Load ***\r\n1,\t1\r\nw1c,\t1,\t50.0,\t-25.0\r\n"
              "*** Segmentation ***\r\n800,\t80,\t2.0,\t1\r\n"
              "*** G/H/M/R/AzEl/X ***\r\n1,\t20.0,\t1,\t50.0,\t120,\t60,\t0.0\r\n"
              "### Comment ###\r\nhi\r\n");
}

TEST_F(AntennaTextTest, WritesStackingTaperSetsPairsAndLaplaceLoads) {
    env.Z0X = -12.25;
    std::string text = WriteAntennaText(*SampleAntenna(), env, "");
    EXPECT_NE(text.find("***Wires***\r\n3,\t2,\t3,\t7.5,\t12.25,\t1\r\n"), std::string::npos);
    EXPECT_NE(text.find(",\t0.001,\t5,3\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("w3e,\t2,\t1.0,0.5,1.000e-04,3.0\r\n"), std::string::npos);
    EXPECT_NE(text.find("w2c,\t0,\t2.2,\t47.0,\t150.0\r\n"), std::string::npos);
    EXPECT_NE(text.find("$$$ Taper wire set $$$\r\n2\r\n-1.0,\t0,\t1.5,\t0.02,\t99999.9,\t0.01\r\n"),
              std::string::npos);
    EXPECT_NE(text.find(",\t-12.25\r\n"), std::string::npos);  // one decimal only where that is exact
    EXPECT_EQ(text.find("### Comment ###"), std::string::npos);
}

TEST_F(AntennaTextTest, WriteReadWriteIsByteIdentical) {
    // Every shape of stack survives, a single row or column too.
    const struct {
        int nH, nV;
    } stacks[] = {{2, 3}, {1, 3}, {2, 1}, {1, 1}};
    for (const auto& stack : stacks) {
        SCOPED_TRACE(std::to_string(stack.nH) + " x " + std::to_string(stack.nV));
        auto a = SampleAntenna();
        a->nH = stack.nH;
        a->nV = stack.nV;
        env.Type = GroundReal;
        env.Material = 8;
        env.Z0X = 3.5;
        std::string first = WriteAntennaText(*a, env, "first line\r\n*starred\r\n\r\nlast");

        EnvRec env2{};
        auto b = NewAntenna();
        std::string comment2;
        ParseAntennaText(*b, env2, first, comment2);
        EXPECT_EQ(comment2, "first line\r\n*starred\r\n\r\nlast\r\n");
        EXPECT_EQ(std::memcmp(b->Wires, a->Wires, sizeof a->Wires), 0);
        EXPECT_EQ(std::memcmp(b->Loads, a->Loads, sizeof a->Loads), 0);
        EXPECT_EQ(std::memcmp(b->TaperSets, a->TaperSets, sizeof a->TaperSets), 0);
        EXPECT_EQ(b->nH, a->nH);
        EXPECT_EQ(b->nV, a->nV);
        if (stack.nH > 1 || stack.nV > 1) {
            EXPECT_EQ(b->hSpacing, a->hSpacing);
            EXPECT_EQ(b->vSpacing, a->vSpacing);
            EXPECT_EQ(b->StackMode, a->StackMode);
        }
        EXPECT_EQ(env2.Material, 8);   // user materials travel with the antenna
        EXPECT_EQ(WriteAntennaText(*b, env2, comment2), first);
    }
}

TEST_F(AntennaTextTest, RealsOfEveryDigitFitTheirLinesAndReadBackExactly) {
    // The longest texts a real takes, on the longest lines: a full Laplace
    // load and a taper set of ten sections.
    const double longest = -2.2250738585072014e-308;
    auto a = SampleAntenna();
    a->Freq = 14.123456789012345;
    a->Wires[0].Y2 = 1.0 / 3.0;
    a->Wires[1].R = a->TaperSets[1].Key = -0.00099999999999999991;
    LoadRec& laplace = a->Loads[2];
    laplace.N = MaxLoadPairs;
    for (int k = 0; k < MaxLoadPairs; ++k) laplace.A[k] = laplace.B[k] = longest;
    TaperSet& set = a->TaperSets[1];
    for (int k = 0; k < MaxTaperSections; ++k) set.Len[k] = set.Rad[k] = -longest;
    set.Len[MaxTaperSections - 1] = TaperRestLength;  // as every read set ends
    a->SC = 4.0 / 3.0;
    env.AntHeight = 2.0 / 3.0;
    env.Z0X = -1.0 / 7.0;
    const EnvRec written = env;
    const std::string text = WriteAntennaText(*a, env, "");
    EXPECT_NE(text.find("-2.2250738585072014e-308"), std::string::npos);
    ASSERT_TRUE(IsWholeAntennaText(text));
    env = EnvRec{};
    auto b = Parse(text);
    EXPECT_EQ(b->Freq, a->Freq);
    EXPECT_EQ(std::memcmp(b->Wires, a->Wires, sizeof a->Wires), 0);
    EXPECT_EQ(std::memcmp(b->Loads, a->Loads, sizeof a->Loads), 0);
    EXPECT_EQ(std::memcmp(b->TaperSets, a->TaperSets, sizeof a->TaperSets), 0);
    EXPECT_EQ(b->SC, a->SC);
    EXPECT_EQ(env.AntHeight, written.AntHeight);
    EXPECT_EQ(env.Z0X, written.Z0X);
}

TEST_F(AntennaTextTest, ParsesAllFieldsAndFlags) {
    auto a = Parse(WriteAntennaText(*SampleAntenna(), env, ""));
    EXPECT_STREQ(a->Name, "3 el. Yagi 20m");
    EXPECT_EQ(a->Freq, 14.175);
    EXPECT_EQ(a->nH, 2);
    EXPECT_EQ(a->nV, 3);
    EXPECT_EQ(a->StackMode, 1);
    EXPECT_EQ(a->hSpacing, 7.5);
    EXPECT_EQ(a->SourceCount, 2);
    EXPECT_EQ(a->AutoVoltage, 0);
    EXPECT_STREQ(a->Sources[1].Pos, "w3b2");
    EXPECT_EQ(a->Sources[1].Phase, -90);
    EXPECT_EQ(a->UseLoads, 0);
    EXPECT_EQ(a->Loads[2].N, 2);
    EXPECT_EQ(a->Loads[2].A[1], 0.0001);
    EXPECT_EQ(a->DM1, 400);
    EXPECT_EQ(a->EC, 3);
    EXPECT_EQ(a->SC, 1.5);
    EXPECT_EQ(a->TaperSetCount, 2);
    EXPECT_EQ(a->Changed, 0);
    EXPECT_EQ(a->Edited, 1);
}

TEST_F(AntennaTextTest, FileEndingAfterTheWiresKeepsGroundAndTakesDefaults) {
    env.Type = GroundReal;
    env.AntHeight = 7;
    env.Material = 3;
    auto a = NewAntenna();
    a->DM1 = 100;
    a->SC = 1.2;
    ParseAntennaText(*a, env, "Wire\n*\n7.1\n***Wires***\n1\n0,0,0,0,0,10,0.001,-1\n", comment);
    EXPECT_EQ(a->WireCount, 1);
    EXPECT_EQ(a->Wires[0].Z2, 10);
    EXPECT_EQ(a->Wires[0].Seg, -1);
    EXPECT_EQ(a->SourceCount, 0);
    EXPECT_EQ(a->LoadCount, 0);
    EXPECT_EQ(env.Type, GroundReal);
    EXPECT_EQ(env.AntHeight, 7);
    EXPECT_EQ(env.Material, 3);
    EXPECT_DOUBLE_EQ(a->hSpacing, LightSpeedMHz / 7.1);
    EXPECT_TRUE(comment.empty());
}

TEST_F(AntennaTextTest, MissingSegmentationLineGivesItsDefaults) {
    auto a = NewAntenna();
    a->DM1 = 100;
    a->SC = 1.2;
    ParseAntennaText(*a, env, "W\n*\n7\n*\n0\n*\n0,1\n*\n0,1\n", comment);
    EXPECT_EQ(a->DM1, 800);
    EXPECT_EQ(a->DM2, 80);
    EXPECT_EQ(a->EC, 1);
    EXPECT_EQ(a->SC, 2.0);
}

TEST_F(AntennaTextTest, StackingFieldsOfTheWireCountLine) {
    auto a = Parse("A\n*\n14\n*\n5, 2, 1\n");
    EXPECT_EQ(a->WireCount, 5);
    EXPECT_EQ(a->nH, 2);
    EXPECT_EQ(a->nV, 1);
    EXPECT_EQ(a->hSpacing, 0);
    EXPECT_EQ(a->vSpacing, 0);
    EXPECT_EQ(a->StackMode, 0);

    a = Parse("A\n*\n14\n*\n5, 0, 3, 1, 1, 2\n");
    EXPECT_EQ(a->nH, 1);
    EXPECT_EQ(a->nV, 1);
    EXPECT_DOUBLE_EQ(a->hSpacing, LightSpeedMHz / 14);

    a = Parse("A\n*\n14\n*\n5, 2, 2, 1, 1, 7\n");
    EXPECT_EQ(a->StackMode, 0);   // no such stacking mode

    // A single antenna's spacing is not saved: without a frequency it is one
    // wavelength of the frequency such an antenna is shown with.
    a = Parse("A\n*\n0\n*\n1, 1, 1, 5, 5, 0\n0,0,0,0,0,1,0.001,5\n");
    EXPECT_EQ(a->hSpacing, LightSpeedMHz / UnsetFreqShownAs);
    EXPECT_EQ(Parse(WriteAntennaText(*a, env, ""))->hSpacing, a->hSpacing);
}

TEST_F(AntennaTextTest, PositionsAndSegmentationPairs) {
    auto a = Parse("A\n*\n14\n*\n1\n0,0,0,0,0,1,0.001,5,3\n*\n2,0\nw12c,0,1\nw1234567890,0,1\n");
    EXPECT_EQ(a->Wires[0].Seg, PackSegPair(5, 3));
    EXPECT_STREQ(a->Sources[0].Pos, "w12c");
    EXPECT_STREQ(a->Sources[1].Pos, "w1234567");
    EXPECT_NE(WriteAntennaText(*a, env, "").find(",\t5,3\r\n"), std::string::npos);

    a = Parse("A\n*\n14\n*\n1\n0,0,0,0,0,1,0.001,-40000,70000\n");
    EXPECT_EQ(SegPairFirst(a->Wires[0].Seg), 32767);   // both halves clamped
    EXPECT_EQ(SegPairSecond(a->Wires[0].Seg), 32767);
}

TEST_F(AntennaTextTest, SegmentationClamps) {
    auto seg = [&](const char* line) {
        std::string text = std::string("A\n*\n14\n*\n0\n*\n0,0\n*\n0,0\n*\n") + line + "\n";
        return Parse(text);
    };
    EXPECT_EQ(seg("800,80,1.0,2")->SC, 2.0);
    EXPECT_EQ(seg("800,80,3.5,2")->SC, 2.0);
    EXPECT_EQ(seg("800,80,3.0,2")->SC, 3.0);
    EXPECT_EQ(seg("800,80,3.0,0")->EC, 1);
    EXPECT_EQ(seg("800,80,3.0,")->EC, 1);
    EXPECT_EQ(seg("-400,80,1.5,-4")->DM1, 400);
    EXPECT_EQ(seg("-400,80,1.5,-4")->EC, 4);
}

TEST_F(AntennaTextTest, GroundLineClampsAndOptionalFields) {
    auto ground = [&](const char* line) {
        env.Z0R = 50;
        env.Z0X = 0;
        env.AzEl = PackAzEl(120, 60);
        Parse(std::string("A\n*\n14\n*\n0\n*\n0,0\n*\n0,0\n*\n800,80,2,1\n*\n") + line + "\n");
    };
    ground("4, 10, 9, 75, 90, 30, -5");
    EXPECT_EQ(env.Type, GroundFree);
    EXPECT_EQ(env.Material, 0);
    EXPECT_EQ(env.Z0R, 75);
    EXPECT_EQ(env.AzEl, PackAzEl(90, 30));
    EXPECT_EQ(env.Z0X, -5);

    ground("2, 10, 7, 75, 400, 200");
    EXPECT_EQ(env.Material, 7);
    EXPECT_EQ(env.AzEl, PackAzEl(359, 179));   // the rear sector stays within its range
    EXPECT_EQ(env.Z0X, 0);

    ground("1, 15");
    EXPECT_EQ(env.Type, GroundPerfect);
    EXPECT_EQ(env.AntHeight, 15);
    EXPECT_EQ(env.Material, 0);
    EXPECT_EQ(env.Z0R, 50);

    ground("1, 15, 2, abc");   // an unreadable resistance ends the line
    EXPECT_EQ(env.Material, 2);
    EXPECT_EQ(env.Z0R, 50);
    EXPECT_EQ(env.AzEl, PackAzEl(120, 60));
}

TEST_F(AntennaTextTest, CommentIsTheRestOfTheFileWithLineEnds) {
    Parse("A\n*\n14\n*\n0\n*\n0,0\n*\n0,0\n*\n800,80,2,1\n*\n0,0\nignored\n### Comment ###\nabc");
    EXPECT_EQ(comment, "abc\r\n");

    auto a = NewAntenna();
    comment = "before\r\n";
    ParseAntennaText(*a, env, "A\n*\n14\n*\n0\n*\n0,0\n*\n0,0\n*\n800,80,2,1\n*\n0,0\n###\n*x\r\n\r\ny\r\n\x1a",
                     comment);
    EXPECT_EQ(comment, "before\r\n*x\r\n\r\ny\r\n");   // appended; star lines kept; Ctrl-Z dropped
}

TEST_F(AntennaTextTest, LongCommentLinesAreKeptWhole) {
    std::string longLine(3000, 'c');
    auto b = Parse(WriteAntennaText(*Dipole(), env, longLine + "\r\nshort"));
    EXPECT_EQ(comment, longLine + "\r\nshort\r\n");
    EXPECT_EQ(b->Loads[0].A[0], 50);
}

TEST_F(AntennaTextTest, NameBeginningWithAStarSurvives) {
    auto a = Dipole();
    CopyText(a->Name, "*** my antenna");
    CopyText(a->Sources[0].Pos, "*w1");
    std::string text = WriteAntennaText(*a, env, "");
    auto b = Parse(text);
    EXPECT_STREQ(b->Name, "*** my antenna");
    EXPECT_STREQ(b->Sources[0].Pos, "*w1");
    EXPECT_EQ(b->WireCount, 1);
    EXPECT_EQ(b->Loads[0].A[0], 50);
    EXPECT_EQ(WriteAntennaText(*b, env, ""), text);
}

TEST_F(AntennaTextTest, LineBreaksAndCommasInTextFieldsDoNotShiftRecords) {
    auto a = Dipole();
    CopyText(a->Name, "two\nlines");
    CopyText(a->Sources[0].Pos, "w1,c");
    auto b = Parse(WriteAntennaText(*a, env, ""));
    EXPECT_STREQ(b->Name, "two lines");
    EXPECT_STREQ(b->Sources[0].Pos, "w1 c");
    EXPECT_EQ(b->Sources[0].Voltage, 1);
    EXPECT_EQ(b->Loads[0].B[0], -25);
}

TEST_F(AntennaTextTest, CountsAreCutToTheLimits) {
    std::string text = "A\n*\n14\n*\n600\n";
    for (int i = 0; i < 600; ++i) text += "0,0,0,0,0,1,0.001,3\n";
    text += "*\n70,1\n";
    for (int i = 0; i < 70; ++i) text += "w1c,0,1\n";
    auto a = Parse(text);
    EXPECT_EQ(a->WireCount, MaxWires);
    // The surplus wire lines are taken as the next sections' lines.
    EXPECT_EQ(a->SourceCount, 0);
}

TEST_F(AntennaTextTest, UnknownLoadTypeIsANeutralLoad) {
    auto a = Parse("A\n*\n14\n*\n0\n*\n0,0\n*\n1,1\nw1c,7,5,6\n");
    EXPECT_EQ(a->Loads[0].Type, LoadRX);
    EXPECT_EQ(a->Loads[0].A[0], 0);
    EXPECT_EQ(a->Loads[0].B[0], 0);
}

TEST_F(AntennaTextTest, LaplaceLoadReadsUpToTwelvePairs) {
    std::string line = "w1c,2";
    for (int k = 0; k < 14; ++k) line += "," + std::to_string(k + 1) + "," + std::to_string(-k - 1);
    auto a = Parse("A\n*\n14\n*\n0\n*\n0,0\n*\n1,1\n" + line + "\n");
    EXPECT_EQ(a->Loads[0].N, MaxLoadPairs);
    EXPECT_EQ(a->Loads[0].B[11], -12);
}

TEST_F(AntennaTextTest, TaperSetsAreNormalisedAndReadingGoesOn) {
    auto a = Parse("A\n*\n14\n*\n0\n*\n0,0\n*\n0,0\n*\n800,80,2,1\n*\n0,0\n"
                   "junk\n$$$\n2\n-1, 1, 1.0, 0.001, 2.0, 0\n-2, 9, 0, 0\n### c\nnote\n");
    ASSERT_EQ(a->TaperSetCount, 2);
    EXPECT_EQ(a->TaperSets[0].Type, TaperOneWay);
    EXPECT_EQ(a->TaperSets[0].Len[1], 99999.9);
    EXPECT_EQ(a->TaperSets[0].Rad[1], 0.001);
    EXPECT_EQ(a->TaperSets[1].Type, TaperSym);   // no such tapering type
    EXPECT_EQ(a->TaperSets[1].Len[0], 99999.9);
    EXPECT_EQ(a->TaperSets[1].Rad[0], 0.0008);
    EXPECT_EQ(comment, "note\r\n");
}

TEST_F(AntennaTextTest, NumbersAreExpressions) {
    auto a = Parse("A\n*\n(10+4)\n*\n1\nR/4, 0, 0, -R/4, 0, 0, 2/1000, 3*3\n");
    EXPECT_EQ(a->Freq, 14);
    EXPECT_EQ(a->Wires[0].X1, 5);
    EXPECT_EQ(a->Wires[0].R, 0.002);
    EXPECT_EQ(a->Wires[0].Seg, 9);
}

TEST_F(AntennaTextTest, ReadsAHandWrittenFile) {
    std::vector<uint8_t> bytes;
    ASSERT_EQ(ReadWholeFile(KORVA_TEST_DATA "/yagi3.kva", bytes, 1 << 16), ReadFileStatus::Ok);
    auto a = Parse(std::string(bytes.begin(), bytes.end()));
    EXPECT_STREQ(a->Name, "Three element Yagi, hand written");
    EXPECT_EQ(a->Freq, 14.1);
    ASSERT_EQ(a->WireCount, 3);
    EXPECT_EQ(a->Wires[0].R, 0.001);
    EXPECT_EQ(a->Wires[1].Y1, -2.5);          // 0-R/8 with a wavelength of 20 m
    EXPECT_EQ(a->Wires[1].Seg, -1);
    EXPECT_EQ(a->Wires[2].Y2, 2.1);
    EXPECT_EQ(a->Wires[2].Seg, PackSegPair(5, 3));
    EXPECT_STREQ(a->Sources[0].Pos, "w2c");
    EXPECT_EQ(a->Loads[0].Type, LoadRX);
    EXPECT_EQ(a->Loads[0].B[0], -15.5);
    EXPECT_EQ(env.Type, GroundReal);
    EXPECT_EQ(env.AntHeight, 12);
    ASSERT_EQ(a->TaperSetCount, 1);
    EXPECT_EQ(a->TaperSets[0].Len[0], 2);
    EXPECT_EQ(a->TaperSets[0].Len[1], 99999.9);
    EXPECT_EQ(a->TaperSets[0].Rad[1], 0.01);
    EXPECT_EQ(comment, "Reflector, driven element and director.\r\n*starred line kept\r\n");
}

TEST_F(AntennaTextTest, ReaderResetsPanAndMarksTheRecord) {
    JobDef.PanX = 3;
    JobDef.PanY = -2;
    auto a = NewAntenna();
    a->Changed = 1;
    ParseAntennaText(*a, env, "", comment);
    EXPECT_EQ(a->Changed, 0);
    EXPECT_EQ(a->Edited, 1);
    EXPECT_EQ(JobDef.PanX, 0);
    EXPECT_EQ(JobDef.PanY, 0);
}

TEST(TextLines, LineEndsCtrlZAndLongLines) {
    // The reader views the text: it must outlive the reader.
    const std::string text = std::string("a\r\nb\nc\r") + std::string(2000, 'x') + "\n\x1a";
    TextLineReader r(text);
    std::string line;
    ASSERT_TRUE(r.ReadLine(line));
    EXPECT_EQ(line, "a");
    ASSERT_TRUE(r.ReadLine(line));
    EXPECT_EQ(line, "b");
    ASSERT_TRUE(r.ReadLine(line));
    EXPECT_EQ(line.size(), TextLineMaxKept);
    EXPECT_EQ(line.substr(0, 2), "cx");
    EXPECT_FALSE(r.ReadLine(line));

    TextLineReader stars("*a\n**\nb");
    ASSERT_TRUE(stars.ReadLineSkipStars(line));
    EXPECT_EQ(line, "b");
    EXPECT_FALSE(stars.ReadLineSkipStars(line));
}

TEST(TextLines, FieldsSkipLeadingBlanksAndEndEmpty) {
    FieldSplitter f(" a,\t b ,,c");
    EXPECT_EQ(f.Next(), "a");
    EXPECT_EQ(f.Next(), "b ");
    EXPECT_EQ(f.Next(), "");
    EXPECT_EQ(f.Next(), "c");
    EXPECT_EQ(f.Next(), "");
    EXPECT_EQ(f.Next(), "");
}

}  // namespace
