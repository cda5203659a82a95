// Every antenna of examples/ opens and calculates, and agrees with an
// independent NEC-2 program (nec2c) on the same geometry.
//
// How the nec2c figures were obtained: each example's wires written as GW
// cards (same ends, radius and segment count), the source as EX 0 with 1 V on
// the fed segment, FR at 14.2 MHz and a full-sphere RP at 1-degree steps; the
// gain is the largest total gain of that pattern. NEC-2 puts a source on a
// segment's centre, this engine on the joint of two segments, so a
// centre-fed wire has one segment more (an odd count, fed on its middle
// segment) in the NEC-2 deck.
//
// Resistance and gain agree from few segments on and are held tightly. The
// reactance of this engine converges more slowly with the segment count than
// NEC-2's (a few ohms on a dipole at 20 segments, some 20 ohms on a quad loop
// at 20 segments per side), so it is held loosely. Cases that differ from
// that rule say why.
#include "MainWndFixture.h"

#include <QPushButton>

namespace {

struct Example {
    const char* File;
    double R, X, Gain;           // nec2c: ohm, ohm, dBi
    double RTolerance = 0.02;    // relative
    double XTolerance = 8.0;     // ohm
    double GainTolerance = 0.1;  // dB
};

void PrintTo(const Example& e, std::ostream* os) { *os << e.File; }

const Example Examples[] = {
    {"dipole.kva", 71.94, -0.84, 2.14},
    // Parasitic elements: their phase follows their reactance, so the driven
    // element's resistance converges as slowly as the reactance does (31.9
    // ohm at 22 segments, 31.3 at 88; nec2c 30.8 there).
    {"yagi3.kva", 31.00, 7.47, 8.41, 0.04},
    // Over real ground the engine finds the currents with a perfect ground's
    // image and uses the ground's constants for the far field only: its
    // impedance is that of nec2c over perfect ground (GN 1), while the gain
    // is nec2c's over the real ground (GN 2, permittivity 13, 0.005 S/m).
    // That gain is divided by the input power of the perfect-ground currents
    // (R 25.6 against nec2c's 23.9 over real ground), which costs 0.3 dB.
    // Fed on the junction's pulse, the resistance stays some 3 % below
    // nec2c's at any segmentation (25.6 ohm at 20 segments a wire, 25.7 at 80).
    {"vertical-radials.kva", 26.44, -4.81, 0.48, 0.035, 12.0, 0.4},
    // The same for the quad's reflector loop, more so (67 ohm at 20 segments
    // per side, 83 at 60, 86.4 at 120): the example has 120.
    {"quad2.kva", 88.89, 19.26, 7.69, 0.035, 5.0},
    {"stacked-yagis.kva", 35.80, 9.70, 10.80, 0.04},
};

class ExamplesTest : public MainWndTest, public ::testing::WithParamInterface<Example> {};

TEST_P(ExamplesTest, OpensAndCalculatesAsNec2Does) {
    const Example& e = GetParam();
    Open({"korva", QStringLiteral(KORVA_TEST_DATA "/../../examples/") + e.File});
    ASSERT_GT(wnd->Ant.WireCount, 0) << e.File;
    wnd->CalTrgBtn->click();
    QApplication::processEvents();
    ASSERT_EQ(Results.RowCount, 1) << wnd->LogLines().join("\n").toStdString();
    EXPECT_FALSE(wnd->LogFailed());
    EXPECT_TRUE(prompter.ShownBoxes().empty());
    const double r = wnd->Grid1->Cells(2, 1).toDouble(), x = wnd->Grid1->Cells(3, 1).toDouble();
    const double gain = wnd->Grid1->Cells(6, 1).toDouble();
    EXPECT_NEAR(r, e.R, e.R * e.RTolerance) << e.File;
    EXPECT_NEAR(x, e.X, e.XTolerance) << e.File;
    EXPECT_NEAR(gain, e.Gain, e.GainTolerance) << e.File;
}

INSTANTIATE_TEST_SUITE_P(Examples, ExamplesTest, ::testing::ValuesIn(Examples),
                         [](const ::testing::TestParamInfo<Example>& info) {
                             std::string name = info.param.File;
                             name = name.substr(0, name.find('.'));
                             for (char& c : name)
                                 if (c == '-') c = '_';
                             return name;
                         });

}  // namespace
