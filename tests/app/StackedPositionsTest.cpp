// Sources and loads of a stacked antenna, through Start: a position that
// names no wire of the antenna is reported and ignored in every copy, and
// a plain pulse number beyond the antenna's pulses refused, as without a
// stack; neither ever feeds or loads the next copy's wires.
#include "MainWndFixture.h"

#include <QPushButton>
#include <vector>

namespace {

WireRec Wire(double y) { return WireRec{-5, y, 10, 5, y, 10, 0.001, 11, 0, 0, 0}; }

}  // namespace

TEST_F(MainWndTest, APositionBeyondTheWiresIsIgnoredInEveryCopyOfAStack) {
    const struct {
        const char* what;
        std::vector<const char*> sources, loads;
        const char* message;  // in every log, stacked or not
        bool calculated;
    } cases[] = {
        {"the only source beyond the wires", {"w3c"}, {}, "SOURCE 1 (w3c) LIES ON NO PULSE - IGNORED", false},
        {"a second source beyond the wires", {"w1c", "w3c"}, {}, "SOURCE 2 (w3c) LIES ON NO PULSE - IGNORED", true},
        {"a load beyond the wires", {"w1c"}, {"w4b"}, "LOAD 1 (w4b) LIES ON NO PULSE - IGNORED", true},
        {"positions on the wires", {"w2c"}, {"w1b"}, nullptr, true},
        // 20 pulses: a plain pulse number beyond them names none of the
        // antenna's, and in a stack none of its own copy's.
        {"a source beyond the pulses", {"21"}, {}, "PULSE NUMBER EXCEEDS NUMBER OF PULSES", false},
        {"a load beyond the pulses", {"w1c"}, {"25"}, "PULSE NUMBER EXCEEDS NUMBER OF PULSES", false},
        {"plain pulse numbers on the pulses", {"15"}, {"20"}, nullptr, true},
    };
    const struct {
        int nH, nV;
    } stacks[] = {{1, 1}, {2, 1}, {1, 2}, {2, 3}};
    for (const auto& c : cases) {
        for (const auto& stack : stacks) {
            SCOPED_TRACE(std::string(c.what) + ", stack " + std::to_string(stack.nH) + " x " +
                         std::to_string(stack.nV));
            AntDef& a = wnd->Ant;
            a.WireCount = 2;
            a.Wires[0] = Wire(0);
            a.Wires[1] = Wire(3);
            a.SourceCount = static_cast<int>(c.sources.size());
            for (std::size_t i = 0; i < c.sources.size(); ++i) {
                a.Sources[i] = SourceRec{};
                CopyText(a.Sources[i].Pos, c.sources[i]);
                a.Sources[i].Voltage = 1.0;
            }
            a.LoadCount = static_cast<int>(c.loads.size());
            a.UseLoads = 1;
            for (std::size_t i = 0; i < c.loads.size(); ++i) {
                a.Loads[i] = LoadRec{};
                a.Loads[i].Type = LoadRX;
                a.Loads[i].A[0] = 10;
                CopyText(a.Loads[i].Pos, c.loads[i]);
            }
            a.nH = stack.nH;
            a.nV = stack.nV;
            a.hSpacing = 20;
            a.vSpacing = 20;
            wnd->SetAntDef();
            wnd->UpdateCount();
            wnd->UpdateMenuState();
            prompter.Clear();
            const int rows = Results.RowCount;
            wnd->CalTrgBtn->click();
            QApplication::processEvents();
            const QString log = wnd->LogLines().join('|');
            EXPECT_EQ(Results.RowCount > rows && !wnd->LogFailed(), c.calculated) << log.toStdString();
            if (c.message) {
                EXPECT_TRUE(log.contains(c.message)) << log.toStdString();
            } else {
                EXPECT_FALSE(log.contains("LIES ON NO PULSE")) << log.toStdString();
            }
        }
    }
}
