// Start on antennas that no engine can calculate, or only just: each one
// ends in a result row or a refusal shown in red, never in a crash, a hang
// or a window left busy.
#include "MonkeyFixture.h"
#include "model/FedDipole.h"

#include <QPushButton>
#include <QRadioButton>
#include <functional>

namespace {

WireRec Wire(double x1, double y1, double z1, double x2, double y2, double z2, double r = 0.001, int seg = 11) {
    return WireRec{x1, y1, z1, x2, y2, z2, r, seg, 0, 0, 0};
}

}  // namespace

class DegenerateStart : public MonkeyTest {
protected:
    // A dipole 10 m up with one source on its centre, then the case's change.
    void Build(const std::function<void(AntDef&)>& change) {
        AntDef& a = wnd->Ant;
        MakeFedDipole(a, Wire(-5, 0, 10, 5, 0, 10));
        a.LoadCount = 0;
        change(a);
        // Another antenna, as an open gives it: no position was placed on it.
        wnd->Positions.Forget();
        wnd->SetAntDef();
        wnd->UpdateCount();
        wnd->UpdateMenuState();
    }

    // Start on the case; true when it gave a result row.
    bool Run(const std::string& name) {
        prompter.Clear();
        const int rows = Results.RowCount;
        EXPECT_TRUE(PressStart(name)) << name;
        EXPECT_TRUE(wnd->CalTrgBtn->isEnabled()) << name;
        return Results.RowCount > rows && !wnd->LogFailed();
    }
};

TEST_F(DegenerateStart, GeometryThatCannotBeCalculatedIsRefusedInRed) {
    struct Case {
        const char* name;
        std::function<void(AntDef&)> change;
    };
    const std::vector<Case> cases = {
        {"zero-length wire", [](AntDef& a) { a.Wires[0] = Wire(1, 1, 10, 1, 1, 10); }},
        {"radius 0 only", [](AntDef& a) { a.Wires[0].R = 0; }},
        {"taper key without a set", [](AntDef& a) { a.Wires[0].R = -3; }},
        {"segment count at the int limit", [](AntDef& a) { a.Wires[0].Seg = 2147483647; }},
        {"largest segmentation pair", [](AntDef& a) { a.Wires[0].Seg = PackSegPair(32767, 32767); }},
        {"wire at the largest double", [](AntDef& a) { a.Wires[0].X2 = 1.7976931348623157e308; }},
        {"wire far beyond float range", [](AntDef& a) { a.Wires[0].X1 = -1e200; }},
        {"radius far above the length", [](AntDef& a) { a.Wires[0].R = 1e6; }},
        {"tiny wire", [](AntDef& a) { a.Wires[0] = Wire(0, 0, 10, 1e-30, 0, 10, 1e-35, 1); }},
        {"frequency far too low", [](AntDef& a) { a.Freq = 1e-300; }},
        {"frequency far too high", [](AntDef& a) { a.Freq = 1e300; }},
        {"segment densities at the int limit", [](AntDef& a) {
             a.Wires[0].Seg = -1;
             a.DM1 = 2147483647;
             a.DM2 = 2147483647;
         }},
        {"end segments at the int limit", [](AntDef& a) {
             a.Wires[0].Seg = -1;
             a.EC = 2147483647;
         }},
        {"source on a wire that does not exist", [](AntDef& a) { CopyText(a.Sources[0].Pos, "w99c"); }},
        {"source on wire 0", [](AntDef& a) { CopyText(a.Sources[0].Pos, "w0b"); }},
        {"source on a pulse beyond the count", [](AntDef& a) { CopyText(a.Sources[0].Pos, "99999"); }},
        {"source offset beyond the wire", [](AntDef& a) { CopyText(a.Sources[0].Pos, "w1e+999"); }},
        {"source position of garbage", [](AntDef& a) { CopyText(a.Sources[0].Pos, "\xff\xfe?"); }},
        {"all sources at 0 V", [](AntDef& a) {
             a.AutoVoltage = 0;
             a.Sources[0].Voltage = 0;
         }},
        {"Laplace load with zero denominator", [](AntDef& a) {
             a.Loads[0] = LoadRec{};
             a.Loads[0].Type = LoadS;
             CopyText(a.Loads[0].Pos, "w1c");
             a.Loads[0].N = 1;
             a.Loads[0].A[0] = 1;
             a.LoadCount = 1;
         }},
        {"LC load of nothing", [](AntDef& a) {
             a.Loads[0] = LoadRec{};
             CopyText(a.Loads[0].Pos, "w1c");
             a.LoadCount = 1;
         }},
        {"load with a huge reactance", [](AntDef& a) {
             a.Loads[0] = LoadRec{};
             a.Loads[0].Type = LoadRX;
             CopyText(a.Loads[0].Pos, "w1c");
             a.Loads[0].B[0] = 1e300;
             a.LoadCount = 1;
         }},
        {"stack beyond the record", [](AntDef& a) {
             a.nH = 100;
             a.nV = 100;
         }},
        {"stack of huge spacing", [](AntDef& a) {
             a.nH = 2;
             a.hSpacing = 1e300;
         }},
    };
    for (const Case& c : cases) {
        Build(c.change);
        const bool calculated = Run(c.name);
        if (!calculated) {
            EXPECT_TRUE(wnd->LogFailed() || !prompter.ShownBoxes().empty()) << c.name;
        }
        if (HasFailure()) return;
    }
}

TEST_F(DegenerateStart, CoincidentWiresAndManyWiresEndInARowOrARefusal) {
    Build([](AntDef& a) {
        a.Wires[1] = a.Wires[0];
        a.WireCount = 2;
    });
    Run("two coincident wires");

    // 512 short wires in a chain: more pulses than the limit allows.
    Build([](AntDef& a) {
        for (int i = 0; i < MaxWires; ++i) a.Wires[i] = Wire(0.01 * i, 0, 10, 0.01 * (i + 1), 0, 10, 0.0001, 1);
        a.WireCount = MaxWires;
    });
    EXPECT_FALSE(Run("512 wires over the pulse limit"));
    EXPECT_TRUE(wnd->LogFailed());
}

TEST_F(DegenerateStart, AWireWhollyBelowGroundAddsNoRow) {
    Build([](AntDef& a) { a.Wires[0] = Wire(-5, 0, -3, 5, 0, -3); });
    wnd->CalcSel->Button(GroundPerfect)->click();
    TypeField(wnd->AntHeight, "0");
    const int rows = Results.RowCount;
    ASSERT_TRUE(PressStart("wire below perfect ground"));
    EXPECT_EQ(Results.RowCount, rows);
    EXPECT_TRUE(wnd->LogFailed());
}

TEST_F(DegenerateStart, ARefusedPreparationShowsTheLogInRed) {
    // First a good run leaves the log in its normal colour.
    Build([](AntDef&) {});
    ASSERT_TRUE(Run("dipole"));
    ASSERT_FALSE(wnd->LogFailed());
    // Then more pulses than allowed: the engine refuses, and says so in red.
    Build([](AntDef& a) { a.Wires[0].Seg = EnvDef.PMAX + 10; });
    EXPECT_FALSE(Run("over the pulse limit"));
    EXPECT_TRUE(wnd->LogFailed());
    EXPECT_TRUE(wnd->LogLines().join(' ').contains("EXCEEDS")) << wnd->LogLines().join('|').toStdString();
}
