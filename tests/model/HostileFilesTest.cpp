// Files built to mislead the readers: cut records, counts beyond their lines
// or limits, stack counts whose products overflow, positions that change
// meaning over a save and segmentation values one format repaired and the
// other did not. Each must be refused, or read the same in every format.
#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "model/AntennaSamples.h"
#include "model/AntennaText.h"
#include "model/FarFieldFile.h"
#include "model/PositionText.h"
#include "model/SafeFile.h"
#include "model/StackedAnt.h"

namespace {

std::string Fixture(const char* name) {
    std::vector<uint8_t> bytes;
    EXPECT_EQ(ReadWholeFile(std::string(KORVA_TEST_DATA) + "/" + name, bytes, 1 << 20), ReadFileStatus::Ok) << name;
    return std::string(bytes.begin(), bytes.end());
}

std::string Text(const AntDef& ant) {
    EnvRec env{};
    env.Z0R = 50;
    return WriteAntennaText(ant, env, "");
}

std::unique_ptr<AntDef> ReadText(const std::string& text) {
    auto ant = NewAntenna();
    EnvRec env{};
    std::string comment;
    ParseAntennaText(*ant, env, text, comment);
    return ant;
}

// The text with the first `find` replaced by `by`.
std::string Replaced(std::string text, const std::string& find, const std::string& by) {
    const std::size_t at = text.find(find);
    EXPECT_NE(at, std::string::npos) << find;
    return at == std::string::npos ? text : text.replace(at, find.size(), by);
}

const char* const Head = "x\r\n*\r\n14.15\r\n***Wires***\r\n";
const char* const Wire = "0,0,0,0,0,5,0.001,5\r\n";

}  // namespace

TEST(HostileFiles, OnlyTextsThatReadAsTheirAntennaAreWhole) {
    const std::string h = Head, w = Wire;
    const struct {
        std::string text;
        bool whole;
        const char* what;
    } cases[] = {
        {Text(*SampleAntenna()), true, "every kind of record, written by the program"},
        {Text(*NewAntenna()), true, "a new antenna"},
        {Fixture("yagi3.kva"), true, "hand-written yagi"},
        {Fixture("dipole.kva"), true, "hand-written dipole"},
        {h + "2\r\n" + w + w, true, "the file ends after its wires"},
        {h + "1\r\n" + w + "*** Source ***\r\n1,1\r\nw1c,0,1\r\n*** Load ***\r\n1,1\r\nw1c,2\r\n", true,
         "a Laplace load without pairs"},
        {h + "1,3,2,4,4,0\r\n" + w, true, "a stack within the limits"},
        {h + "1\r\n" + w + "*** Source ***\r\n1,1\r\n$$$w1c,0,1\r\n*** Load ***\r\n1,1\r\n ###,1,50,0\r\n", true,
         "positions that begin like section marks"},
        {Fixture("hostile/cut-wire.kva"), false, "cut inside a wire record"},
        {Fixture("hostile/load-count-short.kva"), false, "one load fewer than counted"},
        {Fixture("hostile/stack-bomb.kva"), false, "stack counts whose product overflows"},
        {h + "0,2147483647,2147483647,1,1,0\r\n", false, "a stack of no wires, INT_MAX x INT_MAX"},
        {h + "1,600,1,1,1,0\r\n" + w, false, "more copies than wires allowed"},
        {h + "3\r\n" + w + w, false, "the file ends inside the wires"},
        {h + "3\r\n" + w + w + "*** Source ***\r\n1,1\r\nw1c,0,1\r\n", false, "two wires where three are counted"},
        {h + "1\r\n" + w.substr(0, 15) + "\r\n*** Source ***\r\n0,1\r\n", false, "a wire without its segments"},
        {h + "600\r\n" + w, false, "a wire count beyond the record"},
        {Replaced(Text(*SampleAntenna()), "$$$ Taper wire set $$$\r\n2", "$$$ Taper wire set $$$\r\n999999"), false,
         "a taper set count beyond the record"},
        {h + "1\r\n" + w + "*** Source ***\r\n1,1\r\nw1c,0\r\n", false, "a source without its voltage"},
        {h + "1\r\n" + w + "*** Source ***\r\n2,1\r\nw1c,0,1\r\n*** Load ***\r\n0,0\r\n", false,
         "one source fewer than counted"},
        {h + "1\r\n" + w + "*** Source ***\r\n0,1\r\n*** Load ***\r\n1,1\r\nw1c,0,1,2\r\n", false,
         "an LC load without its Q"},
        {h + "1\r\n" + w + "*** Source ***\r\n0,1\r\n*** Load ***\r\n1,1\r\nw1c,2,1,2,3\r\n", false,
         "a Laplace load with half a pair"},
        {h + "1\r\n" + w + "*** Source ***\r\n0,1\r\n*** Load ***\r\n1,1\r\nw1c\r\n", false, "a load without a type"},
        // A field that does not read, records beyond their count.
        {h + "1\r\n0-R/4,0,10,R/4,0,10,0.001,21\r\n", true, "a wire of expressions"},
        {h + "1\r\n-R/4,0,10,R/4,0,10,0.001,21\r\n", false, "a coordinate that does not read"},
        {h + "1\r\n0,0,0,0,0,5,0.001,5x\r\n", true, "a number followed by letters reads as the number"},
        {h + "1\r\n0,0,0,0,0,5,0.001,x5\r\n", false, "segments that do not read"},
        {h + "1\r\n" + w + "*** Source ***\r\n1,1\r\nw1c,0,1\r\n*** Load ***\r\n0,1\r\n*** Segmentation ***\r\n"
                                "800,80,2,1\r\n*** G ***\r\n0,10,0,fifty,120,60,0\r\n",
         false, "a reference resistance that does not read"},
        {h + "1\r\n" + w + w + "*** Source ***\r\n0,1\r\n", false, "two wires where one is counted"},
        {h + "1\r\n" + w + "*** Source ***\r\n0,1\r\nw1c,0,1\r\n*** Load ***\r\n0,1\r\n", false,
         "a source where none is counted"},
        {h + "1\r\n" + w + "\r\n*** Source ***\r\n0,1\r\n", false, "a blank line taken as the source count"},
        {Text(*SampleAntenna()) + "### Comment ###\r\nx\r\n", true, "taper sets followed by a comment"},
        {Replaced(Text(*SampleAntenna()), "$$$ Taper wire set $$$\r\n2", "$$$ Taper wire set $$$\r\n3"), false,
         "a taper set short of its count"},
        {Replaced(Text(*SampleAntenna()), "$$$ Taper wire set $$$\r\n2", "$$$ Taper wire set $$$\r\n1"), false,
         "a taper set beyond its count"},
        // What a save would write as another antenna.
        {"x\r\n*\r\n0-14\r\n***Wires***\r\n1\r\n" + w, false, "a negative frequency"},
        {h + "1\r\n" + w + "*** Source ***\r\n1,1\r\nw1c\xEF\xBC\x8C" "2,0,1\r\n", false,
         "a full-width comma in a position"},
        {WriteAntennaText(*NewAntenna(), EnvRec{}, std::string("nul \0 byte\r\n", 12)), false, "a NUL byte in the comment"},
    };
    for (const auto& c : cases) EXPECT_EQ(IsWholeAntennaText(c.text), c.whole) << c.what;
}

TEST(HostileFiles, StacksThatCannotBeBuiltAreRefusedAtOnce) {
    const struct {
        int wires;
        int nH, nV;
        double hSpacing, vSpacing;
        const char* message;  // empty when the stack is built
    } cases[] = {
        {5, 1963393264, 1627390209, 1, 1, "the limit is 512"},
        {0, INT_MAX, INT_MAX, 1, 1, "the limit is 512"},
        {0, 513, 1, 1, 1, "the limit is 512"},
        {1, 2, 1, 0, 0, "horizontal spacing is 0"},
        {1, 1, 3, 5, 0, "vertical spacing is 0"},
        {1, 2, 1, 5, 0, ""},  // a spacing the stack does not use may be 0
        {0, 512, 1, 1, 1, ""},
    };
    for (const auto& c : cases) {
        auto ant = NewAntenna();
        ant->WireCount = c.wires;
        for (int i = 0; i < c.wires; ++i) ant->Wires[i] = WireRec{-5, 2.0 * i, 10, 5, 2.0 * i, 10, 0.001, 11, 0, 0, 0};
        ant->nH = c.nH;
        ant->nV = c.nV;
        ant->hSpacing = c.hSpacing;
        ant->vSpacing = c.vSpacing;
        auto out = NewAntenna();
        std::string error;
        const bool built = BuildStackedAntenna(*ant, *out, error);
        EXPECT_EQ(built, *c.message == 0) << c.nH << " x " << c.nV << ": " << error;
        if (!built) {
            EXPECT_NE(error.find(c.message), std::string::npos) << error;
            EXPECT_EQ(out->WireCount, 0);
        }
    }
}

TEST(HostileFiles, FarFieldImagesRefuseStacksAndRepairSegmentationAsTheText) {
    auto stacked = NewAntenna();
    stacked->nH = stacked->nV = INT_MAX;
    auto bomb = SampleAntenna();
    bomb->nH = 1963393264;
    bomb->nV = 1627390209;
    FarFieldContents c;
    c.Ant = NewAntenna();
    c.Results = std::make_unique<CResult>();
    for (const AntDef* a : {stacked.get(), bomb.get()})
        EXPECT_EQ(ParseFarFieldImage(BuildFarFieldImage(*a, ModelEnvFields{}, "", CResult()), c),
                  FarFieldStatus::InvalidFormat);

    // Values the engine refuses: the image gives what the text gives.
    auto bad = SampleAntenna();
    bad->DM1 = -400;
    bad->DM2 = -60;
    bad->EC = 0;
    bad->SC = 0.5;
    bad->Wires[0].Seg = static_cast<int32_t>(0x80030000u);  // pair 0,3
    bad->Wires[1].Seg = static_cast<int32_t>(0x80000007u);  // pair 7,0
    bad->Wires[2].Seg = INT32_MIN;                            // pair 0,0
    ASSERT_EQ(ParseFarFieldImage(BuildFarFieldImage(*bad, ModelEnvFields{}, "", CResult()), c), FarFieldStatus::Ok);
    const auto fromText = ReadText(Text(*bad));
    EXPECT_EQ(Text(*c.Ant), Text(*fromText));
    EXPECT_EQ(c.Ant->DM1, 400);
    EXPECT_EQ(c.Ant->EC, 1);
    EXPECT_EQ(c.Ant->SC, 2.0);
    EXPECT_EQ(c.Ant->Wires[0].Seg, PackSegPair(1, 3));
    EXPECT_EQ(c.Ant->Wires[1].Seg, 7);
    EXPECT_EQ(c.Ant->Wires[2].Seg, 0);
}

TEST(HostileFiles, PositionsAndSegmentCodesReadTheSameAfterASave) {
    const struct {
        const char* field;
        const char* pos;
    } positions[] = {
        {"\xC2\xA0w1c", "w1c"},        // no-break space
        {"\xFF" "3", "3"},             // a byte that folds into a blank
        {"\xE3\x80\x80\xC2\xA0w1b", "w1b"},  // ideographic and no-break space
        {" \t*x", "*x"},
    };
    const struct {
        const char* fields;
        int32_t seg;
    } segs[] = {{"-20000", SegPairLimit}, {"-99999999999", SegPairLimit}, {"-10000", -10000}, {"-7", -7}, {"5,3", PackSegPair(5, 3)}};
    const std::string h = Head;
    for (const auto& p : positions) {
        const std::string text =
            h + "1\r\n" + Wire + "*** Source ***\r\n1,1\r\n" + p.field + ",0,1\r\n*** Load ***\r\n1,1\r\n" + p.field +
            ",1,5,0\r\n";
        auto once = ReadText(text);
        EXPECT_STREQ(once->Sources[0].Pos, p.pos) << p.pos;
        EXPECT_STREQ(once->Loads[0].Pos, p.pos) << p.pos;
        auto twice = ReadText(Text(*once));
        EXPECT_STREQ(twice->Sources[0].Pos, p.pos) << p.pos;
    }
    for (const auto& s : segs) {
        auto once = ReadText(h + "1\r\n0,0,0,0,0,5,0.001," + s.fields + "\r\n");
        EXPECT_EQ(once->Wires[0].Seg, s.seg) << s.fields;
        EXPECT_EQ(ReadText(Text(*once))->Wires[0].Seg, s.seg) << s.fields;
    }

    // A position held with a leading blank (from a far-field file) names the
    // pulse it names once saved as text.
    auto ant = NewAntenna();
    ant->WireCount = 1;
    ant->Wires[0].FirstPulse = 4;
    ant->Wires[0].PulseCount = 5;
    for (const char* pos : {" w1c", "\tw1b", " 3"}) EXPECT_EQ(ParseSourcePos(*ant, pos), ParseSourcePos(*ant, pos + 1)) << pos;
}
