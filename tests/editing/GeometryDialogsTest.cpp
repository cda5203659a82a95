// The geometry dialogs driven as a user fills them: presets, parsing of the
// fields, steps of the up-down buttons and the refusals of the stack dialog.
#include "DialogScript.h"
#include "TypedNumberLists.h"
#include "editing/MoveDlgBox.h"
#include "editing/RotWireDlg.h"
#include "editing/StackDlgBox.h"
#include "editing/ValRepDlg.h"
#include "editing/WireScaleDlg.h"
#include "model/EnvDef.h"
#include "model/LanguageState.h"
#include "platform/RadioGroup.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

namespace {

std::unique_ptr<AntDef> AntWith(std::initializer_list<WireRec> wires, double freq = 14.0) {
    auto ant = std::make_unique<AntDef>();
    for (const WireRec& w : wires) ant->Wires[ant->WireCount++] = w;
    ant->Freq = ant->CalcFreq = freq;
    ant->nH = ant->nV = 1;
    return ant;
}

WireRec Wire(double x1, double y1, double z1, double x2, double y2, double z2) {
    return WireRec{x1, y1, z1, x2, y2, z2, 0.001, 10, 0, 0, 0};
}

}  // namespace

using MoveDialog = DialogScriptTest;

TEST_F(MoveDialog, ColumnZ1PresetsTheDistanceThatBringsTheWireDown) {
    auto ant = AntWith({Wire(0, 0, 10.5, 0, 0, 20), Wire(1, 0, 12, 2, 0, 12)});
    Then<TMoveDlgBox>([](TMoveDlgBox& d) {
        EXPECT_EQ(d.VectSel->ItemIndex(), 2);
        EXPECT_EQ(d.EditLen->text(), "-10.500");
        EXPECT_FALSE(d.ChkWith->isEnabled());
        return QDialog::Accepted;
    });
    TMoveDlgBox dialog(nullptr);
    EXPECT_EQ(dialog.Execute(*ant, 1, 3), 1);
    EXPECT_DOUBLE_EQ(ant->Wires[0].Z1, 0.0);
    EXPECT_DOUBLE_EQ(ant->Wires[1].Z1, 1.5);
    // A coordinate of 0 presets a distance of 0, without a sign.
    Then<TMoveDlgBox>([](TMoveDlgBox& d) {
        EXPECT_EQ(d.EditLen->text(), "0.000");
        return QDialog::Rejected;
    });
    EXPECT_EQ(dialog.Execute(*ant, 1, 1), 0);
}

TEST_F(MoveDialog, SelectedWireDragsConnectedEndsOnlyWhenAsked) {
    auto ant = AntWith({Wire(0, 0, 0, 1, 0, 5), Wire(1, 0, 5, 2, 0, 5)});
    Then<TMoveDlgBox>([](TMoveDlgBox& d) {
        d.ChkAll->click();
        EXPECT_TRUE(d.ChkWith->isEnabled());
        d.ChkWith->setChecked(true);
        d.EditLen->setText("1");
        return QDialog::Accepted;
    });
    TMoveDlgBox dialog(nullptr);
    ASSERT_EQ(dialog.Execute(*ant, 1, 0), 1);
    EXPECT_DOUBLE_EQ(ant->Wires[0].X2, 2.0);
    EXPECT_DOUBLE_EQ(ant->Wires[1].X1, 2.0);
}

TEST_F(MoveDialog, UnparsedDistanceMovesNothingAndZeroStillReportsOk) {
    auto ant = AntWith({Wire(0, 0, 1, 0, 0, 2)});
    Then<TMoveDlgBox>([](TMoveDlgBox& d) {
        d.EditLen->setText("abc");
        return QDialog::Accepted;
    });
    Then<TMoveDlgBox>([](TMoveDlgBox&) { return QDialog::Accepted; });
    Then<TMoveDlgBox>([](TMoveDlgBox& d) {
        d.EditLen->setText("5");
        return QDialog::Rejected;
    });
    EXPECT_EQ(TMoveDlgBox(nullptr).Execute(*ant, 1, 0), 0);
    EXPECT_EQ(TMoveDlgBox(nullptr).Execute(*ant, 1, 0), 1);
    EXPECT_EQ(TMoveDlgBox(nullptr).Execute(*ant, 1, 0), 0);
    EXPECT_DOUBLE_EQ(ant->Wires[0].Z1, 1.0);
    EXPECT_DOUBLE_EQ(ant->Wires[0].X1, 0.0);
}

TEST_F(MoveDialog, UpDownStepsFromTheCaretDigitAndReportsABadNumber) {
    TMoveDlgBox d(nullptr);
    d.EditLen->setText("0.000");
    d.EditLen->setCursorPosition(5);
    d.Stepper->FieldClicked();
    EXPECT_DOUBLE_EQ(d.Stepper->Step, 0.001);
    d.Stepper->ButtonDown(+1);
    EXPECT_EQ(d.EditLen->text(), "0.001");
    EXPECT_TRUE(d.Timer1->isActive());
    d.Stepper->TimerTick();
    EXPECT_EQ(d.EditLen->text(), "0.002");
    d.Stepper->ButtonUp();
    EXPECT_FALSE(d.Timer1->isActive());
    d.Stepper->ButtonDown(-1);
    d.Stepper->ButtonUp();
    EXPECT_EQ(d.EditLen->text(), "0.001");

    prompter.AnswerMessage(BoxOk);
    d.EditLen->setText("abc");
    d.Stepper->ButtonDown(+1);
    EXPECT_FALSE(d.Timer1->isActive());
    EXPECT_EQ(d.EditLen->text(), "abc");
    ASSERT_EQ(prompter.ShownBoxes().size(), 1u);
    EXPECT_EQ(prompter.Last().icon, BoxIcon::Error);
}

using RotateDialog = DialogScriptTest;

TEST_F(RotateDialog, ClockwiseTurnsTheOtherWayAndIsRememberedAfterCancel) {
    QTemporaryDir dir;
    const std::string ini = dir.filePath("Korva.ini").toStdString();
    auto ant = AntWith({Wire(1, 0, 5, 2, 0, 5)});
    Then<TRotWireDlg>([](TRotWireDlg& d) {
        EXPECT_EQ(d.BSel->ItemIndex(), 2);
        EXPECT_EQ(d.CWRG->ItemIndex(), 0);
        EXPECT_EQ(d.EditDeg->text(), "0");
        d.CWRG->SetItemIndex(1);
        d.EditDeg->setText("90");
        return QDialog::Rejected;
    });
    EXPECT_EQ(TRotWireDlg(nullptr, ini).Execute(*ant), 0);
    EXPECT_DOUBLE_EQ(ant->Wires[0].X1, 1.0);

    Then<TRotWireDlg>([](TRotWireDlg& d) {
        EXPECT_EQ(d.CWRG->ItemIndex(), 1);
        d.EditDeg->setText("90");
        return QDialog::Accepted;
    });
    EXPECT_EQ(TRotWireDlg(nullptr, ini).Execute(*ant), 1);
    EXPECT_NEAR(ant->Wires[0].Y1, -1.0, 1e-12);
    EXPECT_NEAR(ant->Wires[0].Y2, -2.0, 1e-12);
    EXPECT_DOUBLE_EQ(ant->Wires[0].Z2, 5.0);

    Then<TRotWireDlg>([](TRotWireDlg&) { return QDialog::Accepted; });  // angle 0
    EXPECT_EQ(TRotWireDlg(nullptr, ini).Execute(*ant), 0);
}

TEST_F(RotateDialog, UpDownWrapsAroundTheCircle) {
    TRotWireDlg d(nullptr, "");
    d.EditDeg->setText("359.5");
    d.Stepper->ButtonDown(+1);
    d.Stepper->ButtonUp();
    EXPECT_EQ(d.EditDeg->text(), "0.5");
    d.Stepper->ButtonDown(-1);
    d.Stepper->ButtonUp();
    EXPECT_EQ(d.EditDeg->text(), "359.5");
    d.EditDeg->setText("359");
    d.Stepper->ButtonDown(+1);
    d.Stepper->ButtonUp();
    EXPECT_EQ(d.EditDeg->text(), "360.0");
    // Held from a negative angle: the first step keeps it, the next ones wrap.
    d.EditDeg->setText("-6");
    d.Stepper->ButtonDown(+1);
    EXPECT_EQ(d.EditDeg->text(), "-5.0");
    d.Stepper->TimerTick();
    d.Stepper->ButtonUp();
    EXPECT_EQ(d.EditDeg->text(), "356.0");
}

using ScaleDialog = DialogScriptTest;

TEST_F(ScaleDialog, FrequencyAndMultiplierFollowEachOther) {
    auto ant = AntWith({Wire(2, 4, 6, -2, -4, 8)});
    Then<TWireScaleDlg>([](TWireScaleDlg& d) {
        EXPECT_EQ(d.DFreq->text(), "14.0 MHz");
        // A typed new frequency is not completed to a preset.
        const QStringList faults = NumberListsChangingTypedText(d);
        EXPECT_TRUE(faults.isEmpty()) << faults.join("\n").toStdString();
        d.TSC->setText("2");
        EXPECT_EQ(d.TFreq->currentText(), "7.0");
        d.TFreq->setEditText("28");
        EXPECT_EQ(d.TSC->text(), "0.5");
        d.TFreq->setEditText("-3");  // ignored while typing
        EXPECT_EQ(d.TSC->text(), "0.5");
        return QDialog::Accepted;
    });
    EXPECT_EQ(TWireScaleDlg(nullptr).Execute(*ant), 1);
    EXPECT_DOUBLE_EQ(ant->Wires[0].X1, 1.0);
    EXPECT_DOUBLE_EQ(ant->Wires[0].R, 0.001);
    EXPECT_DOUBLE_EQ(ant->Freq, 28.0);
    EXPECT_DOUBLE_EQ(ant->CalcFreq, 28.0);

    Then<TWireScaleDlg>([](TWireScaleDlg&) { return QDialog::Accepted; });
    EXPECT_EQ(TWireScaleDlg(nullptr).Execute(*ant), 0);  // multiplier 1
}

TEST_F(ScaleDialog, NoDesignFrequencyGivesNoMultiplier) {
    auto ant = AntWith({Wire(2, 4, 6, -2, -4, 8)}, 0.0);
    Then<TWireScaleDlg>([](TWireScaleDlg& d) {
        d.TFreq->setEditText("28");
        return QDialog::Accepted;
    });
    EXPECT_EQ(TWireScaleDlg(nullptr).Execute(*ant), 0);
    EXPECT_DOUBLE_EQ(ant->Wires[0].X1, 2.0);
}

using ReplaceDialog = DialogScriptTest;

TEST_F(ReplaceDialog, UntouchedSearchFieldMatchesTheStoredDigits) {
    auto ant = AntWith({Wire(0, 5.00000004, 0, 0, -5.00000004, 1)});
    Then<TValRepDlg>([](TValRepDlg& d) {
        EXPECT_EQ(d.EditOld->text(), "5.0");
        d.EditNew->setText("6");
        return QDialog::Accepted;
    });
    EXPECT_EQ(TValRepDlg(nullptr).Execute(*ant, 1, 2), 1);
    EXPECT_DOUBLE_EQ(ant->Wires[0].Y1, 6.0);
    EXPECT_DOUBLE_EQ(ant->Wires[0].Y2, -6.0);

    auto other = AntWith({Wire(0, 5.00000004, 0, 0, 0, 1)});
    Then<TValRepDlg>([](TValRepDlg& d) {
        d.EditOld->setText("5.00000003");  // a typed value is searched as typed
        d.EditNew->setText("6");
        return QDialog::Accepted;
    });
    EXPECT_EQ(TValRepDlg(nullptr).Execute(*other, 1, 2), 0);
    EXPECT_DOUBLE_EQ(other->Wires[0].Y1, 5.00000004);
}

TEST_F(ReplaceDialog, RadiusInMillimetresAndSegmentationCodes) {
    auto ant = AntWith({Wire(0, 0, 0, 1, 0, 0), Wire(0, 0, 0, 2, 0, 0)});
    Then<TValRepDlg>([](TValRepDlg& d) {
        EXPECT_FALSE(d.RepSel->isEnabled());
        EXPECT_FALSE(d.InvSel->isChecked());
        EXPECT_EQ(d.EditOld->text(), "1.0");
        d.EditNew->setText("2");
        return QDialog::Accepted;
    });
    EXPECT_EQ(TValRepDlg(nullptr).Execute(*ant, 2, 7), 1);
    EXPECT_DOUBLE_EQ(ant->Wires[0].R, 0.002);
    EXPECT_DOUBLE_EQ(ant->Wires[1].R, 0.002);

    Then<TValRepDlg>([](TValRepDlg& d) {
        EXPECT_EQ(d.EditOld->text(), "10");
        d.EditNew->setText("21");
        return QDialog::Accepted;
    });
    EXPECT_EQ(TValRepDlg(nullptr).Execute(*ant, 1, 8), 1);
    EXPECT_EQ(ant->Wires[1].Seg, 21);

    // A radius 0.1 um from the key -1 m stays a radius of its own: a save
    // writes it with the digits that keep it apart.
    ant->TaperSetCount = 1;
    ant->TaperSets[0].Key = -1.0;
    Then<TValRepDlg>([](TValRepDlg& d) {
        d.EditNew->setText("-1000.0001");
        return QDialog::Accepted;
    });
    EXPECT_EQ(TValRepDlg(nullptr).Execute(*ant, 1, 7), 1);
    EXPECT_TRUE(prompter.ShownBoxes().empty());
    EXPECT_EQ(ant->Wires[0].R, -1.0000001);
    EXPECT_EQ(TValRepDlg(nullptr).Execute(*ant, 3, 1), 0);  // no such wire
}

TEST_F(ReplaceDialog, TwoValueVariantNeedsAnEdit) {
    double newValue = 0, oldValue = 2.5;
    Then<TValRepDlg>([](TValRepDlg&) { return QDialog::Accepted; });
    EXPECT_EQ(TValRepDlg(nullptr).ExecuteValue(newValue, oldValue), 0);
    EXPECT_DOUBLE_EQ(newValue, 2.5);
    Then<TValRepDlg>([](TValRepDlg& d) {
        d.EditNew->setText("3");
        return QDialog::Accepted;
    });
    EXPECT_EQ(TValRepDlg(nullptr).ExecuteValue(newValue, oldValue), 1);
    EXPECT_DOUBLE_EQ(newValue, 3.0);
    EXPECT_DOUBLE_EQ(oldValue, 2.5);
}

using StackDialog = DialogScriptTest;

TEST_F(StackDialog, TooManyWiresIsRefusedAndTheDialogStaysOpen) {
    auto ant = AntWith({});
    for (int i = 0; i < 200; ++i) ant->Wires[i] = Wire(0, 0, i, 1, 0, i);
    ant->WireCount = 200;
    ant->hSpacing = ant->vSpacing = 1000;
    Then<TStackDlgBox>([](TStackDlgBox& d) {
        d.HC->setEditText("2");
        d.VC->setEditText("2");
        return QDialog::Accepted;
    });
    Then<TStackDlgBox>([](TStackDlgBox& d) {
        EXPECT_EQ(d.HC->currentText(), "2");  // the user's entries are kept
        d.VC->setEditText("1");
        return QDialog::Accepted;
    });
    prompter.AnswerMessage(BoxOk);
    TStackDlgBox dialog(nullptr);
    EXPECT_EQ(dialog.Execute(ant.get()), 1);
    ASSERT_EQ(prompter.ShownBoxes().size(), 1u);
    EXPECT_EQ(prompter.Last().text, "It's too much wires!");
    EXPECT_EQ(ant->nH, 2);
    EXPECT_EQ(ant->nV, 1);
}

TEST_F(StackDialog, SpacingInWavelengthsAndSameSpacingCopied) {
    auto ant = AntWith({Wire(0, -1, 0, 0, 1, 0)}, 14.15);
    ant->hSpacing = ant->vSpacing = 5;
    Then<TStackDlgBox>([](TStackDlgBox& d) {
        EXPECT_EQ(d.LHW->text(), "Wl");
        d.HC->setEditText("2");
        d.HW->setText("1");
        EXPECT_EQ(d.VW->text(), "1");
        return QDialog::Accepted;
    });
    EXPECT_EQ(TStackDlgBox(nullptr).Execute(ant.get()), 1);
    EXPECT_DOUBLE_EQ(ant->hSpacing, 299.792458 / 14.15);
    EXPECT_DOUBLE_EQ(ant->vSpacing, 299.792458 / 14.15);
}

TEST_F(StackDialog, OverlapAndTheNewAntennaQuestion) {
    auto ant = AntWith({Wire(0, -5, 0, 0, 5, 0)});
    Then<TStackDlgBox>([](TStackDlgBox& d) {
        d.CBRmdSel->click();  // metres
        EXPECT_EQ(d.LHW->text(), "m");
        d.HC->setEditText("2");
        d.HW->setText("10");
        EXPECT_TRUE(d.AntNewBtn->isEnabled());
        return StackNewAntenna;
    });
    Then<TStackDlgBox>([](TStackDlgBox& d) {
        d.HW->setText("10.01");
        return StackNewAntenna;
    });
    Then<TStackDlgBox>([](TStackDlgBox&) { return StackNewAntenna; });
    prompter.AnswerMessage(BoxOk);   // overlap
    prompter.AnswerMessage(BoxNo);   // not yet
    prompter.AnswerMessage(BoxYes);  // now
    EXPECT_EQ(TStackDlgBox(nullptr).Execute(ant.get()), StackNewAntenna);
    ASSERT_EQ(prompter.ShownBoxes().size(), 3u);
    EXPECT_EQ(prompter.ShownBoxes()[0].text, "Too small distance! Floors are overlap");
    EXPECT_DOUBLE_EQ(ant->hSpacing, 10.01);

    Then<TStackDlgBox>([](TStackDlgBox& d) {
        d.HC->setEditText("1");
        EXPECT_FALSE(d.AntNewBtn->isEnabled());
        return StackNewAntenna;
    });
    EXPECT_EQ(TStackDlgBox(nullptr).Execute(ant.get()), 1);  // 1 x 1: no question
    EXPECT_EQ(prompter.ShownBoxes().size(), 3u);
    Then<TStackDlgBox>([](TStackDlgBox&) { return QDialog::Rejected; });
    EXPECT_EQ(TStackDlgBox(nullptr).Execute(ant.get()), 0);
}

TEST_F(MoveDialog, AHugeDistanceIsRefusedWithAMessage) {
    auto ant = AntWith({Wire(1e308, 0, 0, 1, 0, 0)});
    Then<TMoveDlgBox>([](TMoveDlgBox& d) {
        d.EditLen->setText("1e308");
        return QDialog::Accepted;
    });
    prompter.AnswerMessage(BoxOk);
    EXPECT_EQ(TMoveDlgBox(nullptr).Execute(*ant, 1, 0), 0);
    EXPECT_DOUBLE_EQ(ant->Wires[0].X1, 1e308);
    ASSERT_EQ(prompter.ShownBoxes().size(), 1u);
    EXPECT_EQ(prompter.Last().icon, BoxIcon::Error);
}

TEST_F(MoveDialog, LanguageSectionsGiveTheTexts) {
    LanguageIndex = 0;
    LanguageText =
        "0\r\n"
        "MoveDlgBox Verschieben\r\nx Wert\r\nx m\r\nx OK!\r\nx Abbruch\r\nx Achse\r\nx Nur Punkt\r\nx Alle\r\n"
        "ValRepDlg Ersetzen\r\nx Suchen\r\nx Ersetzen durch\r\nx OK!\r\nx Abbruch\r\nx Koordinaten\r\nx a\r\nx b\r\n"
        "x c\r\nx d\r\nx Spiegel\r\n";
    TMoveDlgBox move(nullptr);
    TValRepDlg replace(nullptr);
    LanguageIndex = -1;
    LanguageText.clear();
    EXPECT_EQ(move.windowTitle(), "Verschieben");
    EXPECT_EQ(move.ChkAll->text(), "Alle");
    EXPECT_EQ(move.VectSel->title(), "Achse");
    EXPECT_EQ(replace.InvSel->text(), "Spiegel");
    EXPECT_EQ(replace.RepSel->Items(), QStringList({"a", "b", "c", "d"}));
    EXPECT_TRUE(prompter.ShownBoxes().empty());
}

TEST_F(StackDialog, MessagesComeFromTheLanguageSection) {
    LanguageIndex = 0;
    LanguageText = "0\r\nMessagStack_DlgBox\r\n0 Zu viele Drähte!\r\n1 b\r\n2 c\r\n3 d\r\n4 e\r\n";
    TStackDlgBox dialog(nullptr);
    LanguageIndex = -1;
    LanguageText.clear();
    EXPECT_STREQ(StackMessages[0], "Zu viele Drähte!");
    EXPECT_STREQ(StackMessages[4], "e");
    TStackDlgBox english(nullptr);
    EXPECT_STREQ(StackMessages[0], "It's too much wires!");
}
