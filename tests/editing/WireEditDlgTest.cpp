// The single-wire editor: the kept point it suggests, polar edits around it,
// rounding of typed coordinates and writing back with connected ends.
#include "DialogScript.h"
#include "TypedNumbers.h"
#include "editing/WireDefinition.h"
#include "editing/WireEditDlg.h"
#include "model/EnvDef.h"
#include "platform/RadioGroup.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <memory>

namespace {

WireRec Wire(double x1, double y1, double z1, double x2, double y2, double z2) {
    return WireRec{x1, y1, z1, x2, y2, z2, 0.001, 10, 0, 0, 0};
}

// The antenna whose taper sets a typed radius is checked against: one set keyed -1 m.
const AntDef& TaperedAntenna() {
    static const auto ant = [] {
        auto a = std::make_unique<AntDef>();
        a->TaperSetCount = 1;
        a->TaperSets[0].Key = -1.0;
        return a;
    }();
    return *ant;
}

}  // namespace

TEST(WireDefinition, KeptPointFollowsTheWiresPosition) {
    EXPECT_EQ(PresetKeptPoint(Wire(0, 0, 0, 0, 0, 10)), KeepStart);
    EXPECT_EQ(PresetKeptPoint(Wire(-5, 0, 10, 5, 0, 10)), KeepMiddle);
    EXPECT_EQ(PresetKeptPoint(Wire(3, 2, 0, 3, 0, 0)), KeepEnd);
    EXPECT_EQ(PresetKeptPoint(Wire(1, 1, 1, 2, 2, 2)), KeepStart);
}

TEST(WireDefinition, LengthChangesAroundTheKeptPoint) {
    const WireRec orig = Wire(-5, 0, 10, 5, 0, 10);
    WireRec work = orig;
    double length = 0, az = 0, zen = 0;
    CartesianToPolar(orig, length, az, zen);
    EXPECT_DOUBLE_EQ(length, 10);
    EXPECT_DOUBLE_EQ(zen, 90);
    PolarToCartesian(work, orig, 12, az, zen, KeepMiddle);
    EXPECT_NEAR(work.X1, -6, 1e-12);
    EXPECT_NEAR(work.X2, 6, 1e-12);
    EXPECT_NEAR(work.Z2, 10, 1e-12);
    PolarToCartesian(work, orig, 12, az, zen, KeepEnd);
    EXPECT_NEAR(work.X1, -7, 1e-12);
    EXPECT_NEAR(work.X2, 5, 1e-12);
}

TEST(WireDefinition, WritingBackMovesConnectedEndsOnlyWhenAsked) {
    WireRec wires[2] = {Wire(0, 0, 0, 1, 0, 5), Wire(1, 0, 5, 2, 0, 5)};
    WireRec work = wires[0];
    work.X2 = 1.5;
    ASSERT_TRUE(ApplyWireEdit(wires, 2, 0, work, true));
    EXPECT_DOUBLE_EQ(wires[1].X1, 1.5);
    work.X2 = 3;
    ASSERT_TRUE(ApplyWireEdit(wires, 2, 0, work, false));
    EXPECT_DOUBLE_EQ(wires[1].X1, 1.5);
    EXPECT_FALSE(ApplyWireEdit(wires, 2, 0, wires[0], true));
    EXPECT_FALSE(ApplyWireEdit(wires, 2, 2, work, true));
}

using WireEditor = DialogScriptTest;

TEST_F(WireEditor, TypedCoordinatesAreRoundedAndLengthFollows) {
    JobDef.InWavelengths = 0;
    WireRec wires[1] = {Wire(-5, 0, 10, 5, 0, 10)};
    Then<TWireEditDlg>([](TWireEditDlg& d) {
        EXPECT_EQ(d.windowTitle(), "Wire definition - Wire No.1");
        EXPECT_EQ(d.BaseSel->ItemIndex(), KeepMiddle);
        EXPECT_EQ(d.EditLen->text(), "10.00000");
        d.EditLen->setText("12");
        EXPECT_EQ(d.EditX1->text(), "-6.0000");
        d.EditY1->setText("1.23456");
        EXPECT_DOUBLE_EQ(d.WorkWire.Y1, 1.2346);
        d.EditY1->setText("0.00004");
        EXPECT_DOUBLE_EQ(d.WorkWire.Y1, 0);
        // A coordinate typed with at most four decimals is stored as typed.
        for (const char* typed : TypedNumbers) {
            if (TypedDecimals(typed) > 4) continue;
            d.EditY1->setText(typed);
            EXPECT_EQ(d.WorkWire.Y1, QString(typed).toDouble()) << typed;
        }
        d.ChkRmd->click();  // toggled, restored on the way out
        return QDialog::Accepted;
    });
    EXPECT_EQ(TWireEditDlg(nullptr).Execute(wires, 0, 1, TaperedAntenna()), 1);
    EXPECT_DOUBLE_EQ(wires[0].X1, -6);
    EXPECT_DOUBLE_EQ(wires[0].X2, 6);
    EXPECT_EQ(JobDef.InWavelengths, 0);
}

TEST_F(WireEditor, OkWithoutChangeAndResetReturnNothing) {
    JobDef.InWavelengths = 0;
    WireRec wires[1] = {Wire(0, 0, 0, 0, 0, 10)};
    Then<TWireEditDlg>([](TWireEditDlg& d) {
        EXPECT_FALSE(d.InitBtn->isEnabled());
        d.EditZ2->setText("11");
        EXPECT_TRUE(d.InitBtn->isEnabled());
        d.InitBtnClick();
        EXPECT_EQ(d.EditZ2->text(), "10.0000");
        return QDialog::Accepted;
    });
    EXPECT_EQ(TWireEditDlg(nullptr).Execute(wires, 0, 1, TaperedAntenna()), 0);
    EXPECT_DOUBLE_EQ(wires[0].Z2, 10);
    EXPECT_EQ(TWireEditDlg(nullptr).Execute(wires, 1, 1, TaperedAntenna()), 0);  // no such wire
}

TEST_F(WireEditor, AFieldThatDoesNotReadIsReportedAndChangesNothing) {
    JobDef.InWavelengths = 0;
    WireRec wires[1] = {Wire(0, 0, 0, 0, 0, 10)};
    struct Case {
        QLineEdit* TWireEditDlg::*field;
        const char* text;
        bool reported;
    };
    const Case cases[] = {
        {&TWireEditDlg::EditZ2, "abc", true}, {&TWireEditDlg::EditZ2, "-", false}, {&TWireEditDlg::EditZ2, "", false},
        {&TWireEditDlg::EditLen, "-", true},  {&TWireEditDlg::EditR, "q1", true},  {&TWireEditDlg::EditSeg, "abc", true},
        {&TWireEditDlg::EditSeg, "", false}, {&TWireEditDlg::EditR, "-", false},
    };
    Then<TWireEditDlg>([&](TWireEditDlg& d) {
        for (const Case& c : cases) {
            prompter.Clear();
            (d.*c.field)->setText(c.text);
            EXPECT_EQ(prompter.ShownBoxes().size(), c.reported ? 1u : 0u) << c.text;
        }
        return QDialog::Accepted;
    });
    EXPECT_EQ(TWireEditDlg(nullptr).Execute(wires, 0, 1, TaperedAntenna()), 0);
    EXPECT_DOUBLE_EQ(wires[0].Z2, 10);
    EXPECT_EQ(wires[0].Seg, 10);
}
