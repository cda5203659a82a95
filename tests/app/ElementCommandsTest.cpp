// The element table and the taper wire sets from the main window: an edit
// that reaches the wire table and the next Start, a Cancel that changes
// nothing, and a tapered set that Start uses and the files keep.
#include "FileCommandsFixture.h"
#include "editing/GrpWireDlg.h"
#include "editing/TaperSetGrid.h"
#include "editing/ValRepDlg.h"
#include "editing/WCombDlg.h"
#include "editing/WCombDspDlg.h"
#include "editing/WireEditDlg.h"
#include "model/EnvDef.h"
#include "model/NumberText.h"
#include "model/TaperSetTable.h"
#include "model/ResultStore.h"
#include "platform/StringGrid.h"

#include <QCheckBox>
#include <QLabel>
#include <cstring>

class ElementCommandsTest : public FileCommandsTest {
protected:
    // Reflector at -3 m, driven element at 0 (the base), director at 3 m; boom along X.
    void MakeYagi() {
        AntDef& a = wnd->Ant;
        const double half[3] = {5.3, 5.1, 4.8};
        a.WireCount = 3;
        for (int i = 0; i < 3; ++i)
            a.Wires[i] = WireRec{-3.0 + 3 * i, -half[i], 10, -3.0 + 3 * i, half[i], 10, 0.005, 21, 0, 0, 0};
        a.SourceCount = 1;
        a.Sources[0] = SourceRec{};
        std::strcpy(a.Sources[0].Pos, "w2c");
        a.Sources[0].Voltage = 1.0;
        wnd->SetAntDef();
        wnd->UpdateMenuState();
        QApplication::processEvents();
        ASSERT_TRUE(wnd->CalTrgBtn->isEnabled());
    }
    double StartResistance() {
        wnd->CalTrgBtn->click();
        EXPECT_FALSE(wnd->LogFailed());
        return Results.Rows[Results.RingIndex].R;
    }
    template <class Dialog>
    void Answer(std::function<int(Dialog&)> step) {
        ExecModalDialog = [step](QDialog& d) {
            if (auto* dialog = dynamic_cast<Dialog*>(&d)) return step(*dialog);
            return static_cast<int>(QDialog::Rejected);
        };
    }
};

TEST_F(ElementCommandsTest, ElementEditReachesTheWireTableAndStartWhileCancelKeepsAll) {
    MakeYagi();
    ASSERT_TRUE(wnd->K18->isEnabled());
    ASSERT_TRUE(wnd->EleEditBtn->isEnabled());
    ASSERT_TRUE(wnd->ToolButton9->isEnabled());
    const double before = StartResistance();

    // Cancel after edits, No to the save question: nothing changes.
    const AntDef saved = wnd->Ant;
    Answer<TGrpWireDlg>([](TGrpWireDlg& d) {
        d.Grid->SetEditText(ColWidth, 3, "8");
        return static_cast<int>(QDialog::Rejected);
    });
    prompter.AnswerMessage(BoxNo);
    wnd->K18->trigger();
    EXPECT_EQ(std::memcmp(saved.Wires, wnd->Ant.Wires, sizeof saved.Wires), 0);
    EXPECT_EQ(wnd->Ant.Changed, saved.Changed);

    // The director 9 m wide, the reflector 3.5 m behind the driven element (gaps shown).
    JobDef.IntPos = 1;
    Answer<TGrpWireDlg>([](TGrpWireDlg& d) {
        EXPECT_TRUE(d.ChkIntval->isChecked());
        d.Grid->SetEditText(ColWidth, 3, "9");
        d.Grid->SetEditText(ColPos, 1, "3.5");
        return static_cast<int>(QDialog::Accepted);
    });
    wnd->EleEditBtn->click();
    EXPECT_EQ(wnd->Ant.Changed, 1);
    EXPECT_EQ(wnd->Grid2->Cells(1, 1), "-3.5");
    EXPECT_EQ(wnd->Grid2->Cells(5, 3), "4.5");
    EXPECT_NE(StartResistance(), before);
}

TEST_F(ElementCommandsTest, ATaperedSetIsUsedByStartAndKeptByBothFiles) {
    MakeYagi();
    Answer<TWCombDlg>([](TWCombDlg& d) {
        d.Grid->SetEditText(1, 1, "1");  // the empty row: set 1, key -1 mm
        return static_cast<int>(QDialog::Accepted);
    });
    wnd->K45->trigger();
    ASSERT_EQ(wnd->Ant.TaperSetCount, 1);
    EXPECT_DOUBLE_EQ(wnd->Ant.TaperSets[0].Key, -0.001);

    const double plain = StartResistance();
    Type(wnd->Grid2, 7, 2, "-1");  // the driven element takes the set
    ASSERT_DOUBLE_EQ(wnd->Ant.Wires[1].R, -0.001);
    EXPECT_NE(StartResistance(), plain);

    int pieces = 0;
    QString status;
    Answer<TWCombDspDlg>([&](TWCombDspDlg& d) {
        pieces = d.PieceCount();
        status = d.LStat->text();
        return static_cast<int>(QDialog::Accepted);
    });
    wnd->Grid2->setFocus();
    wnd->Grid2->SetCurrentCell(1, 2);
    wnd->UpdateMenuState();
    ASSERT_TRUE(wnd->K47->isEnabled());
    wnd->K47->trigger();
    EXPECT_EQ(pieces, 5);  // the middle 1.8 m, a 1.8 m pair and the rest on both sides
    EXPECT_EQ(status, QString("Wire No.2    real wires = %1").arg(pieces));

    ExecModalDialog = [](QDialog&) { return static_cast<int>(QDialog::Rejected); };
    const QString kva = TempPath("tapered.kva"), kvb = TempPath("tapered.kvb");
    prompter.AnswerFile(kva.toStdString());
    ASSERT_TRUE(wnd->K5Click());
    ASSERT_TRUE(wnd->SaveFarFieldFile(kvb));
    for (const QString& file : {kva, kvb}) {
        wnd->K2Click();
        ASSERT_EQ(wnd->Ant.TaperSetCount, 0);
        wnd->OpenFileByExt(file);
        ASSERT_EQ(wnd->Ant.TaperSetCount, 1) << file.toStdString();
        EXPECT_DOUBLE_EQ(wnd->Ant.TaperSets[0].Key, -0.001);
        EXPECT_DOUBLE_EQ(wnd->Ant.TaperSets[0].Rad[1], 0.0125);
        EXPECT_DOUBLE_EQ(wnd->Ant.Wires[1].R, -0.001);
    }
}

// A radius typed as a taper key is shown selects that set, in every field
// that takes a radius, whether the key was typed into the taper grid or read
// from a file; no field refuses it.
TEST_F(ElementCommandsTest, ARadiusTypedAsAKeyIsShownSelectsThatSetInEveryField) {
    const struct {
        const char* key;
        bool typed;  // into the grid, in mm; else read as a file's key, in m
    } keys[] = {{"9", true},         {"2.6", true},     {"13", true},       {"0.0125", true},
                {"-0.009", false},   {"-0.0026", false}, {"-0.018", false}};
    enum class Field { WireTable, WireEditor, ElementTable, Replace };
    for (const auto& k : keys) {
        for (const Field field : {Field::WireTable, Field::WireEditor, Field::ElementTable, Field::Replace}) {
            SCOPED_TRACE(std::string(k.key) + " in field " + std::to_string(static_cast<int>(field)));
            MakeYagi();
            wnd->Ant.TaperSetCount = 0;
            if (k.typed) {
                Answer<TWCombDlg>([&](TWCombDlg& d) {
                    d.Grid->SetEditText(1, 1, k.key);
                    return static_cast<int>(QDialog::Accepted);
                });
                wnd->K45->trigger();
            } else {
                ASSERT_TRUE(AppendTaperSet(wnd->Ant));
                ASSERT_TRUE(StrToDblExpr(wnd->Ant.TaperSets[0].Key, k.key));
            }
            ASSERT_EQ(wnd->Ant.TaperSetCount, 1);
            const QString shown = QString::fromStdString(TaperCellText(wnd->Ant, 1, 1));
            prompter.Clear();
            wnd->Grid2->setFocus();
            wnd->Grid2->SetCurrentCell(7, 2);
            switch (field) {
            case Field::WireTable:
                Type(wnd->Grid2, 7, 2, shown);
                break;
            case Field::WireEditor:
                Answer<TWireEditDlg>([&](TWireEditDlg& d) {
                    d.EditR->setText(shown);
                    return static_cast<int>(QDialog::Accepted);
                });
                wnd->KT2->trigger();
                break;
            case Field::ElementTable:
                Answer<TGrpWireDlg>([&](TGrpWireDlg& d) {
                    d.Grid->SetEditText(ColRadius, 2, shown);
                    return static_cast<int>(QDialog::Accepted);
                });
                wnd->K18->trigger();
                break;
            case Field::Replace:
                Answer<TValRepDlg>([&](TValRepDlg& d) {
                    d.EditNew->setText(shown);
                    return static_cast<int>(QDialog::Accepted);
                });
                wnd->K27->trigger();
                break;
            }
            EXPECT_EQ(FindTaperSet(wnd->Ant, wnd->Ant.Wires[1].R), &wnd->Ant.TaperSets[0]) << shown.toStdString();
            EXPECT_EQ(prompter.ShownBoxes().size(), 0u) << Shown();
        }
    }
}
