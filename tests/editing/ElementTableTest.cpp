// The element table driven as a user drives it: typed cells and their
// refusals, rows that add, delete and reshape, the write-back on OK only,
// the save question on Cancel, and the optimizer's pick mode.
#include "editing/ElementTable.h"
#include "editing/ElementView.h"
#include "editing/GrpWireDlg.h"
#include "model/EnvDef.h"
#include "platform/FormPattern.h"
#include "platform/ScriptedPrompter.h"
#include "platform/SettingsPath.h"
#include "platform/StringGrid.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <cstring>
#include <deque>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace {

WireRec Dipole(double x, double halfLength, double z = 10.0) {
    return WireRec{x, -halfLength, z, x, halfLength, z, 0.001, 11, 0, 0, 0};
}

// Reflector at X 0, driven element at 3 m, director at 6 m: booms along X.
std::unique_ptr<AntDef> Yagi() {
    auto ant = std::make_unique<AntDef>();
    for (const WireRec& w : {Dipole(0, 5.2), Dipole(3, 5.0), Dipole(6, 4.75)}) ant->Wires[ant->WireCount++] = w;
    ant->Freq = ant->CalcFreq = 14.1;
    ant->nH = ant->nV = 1;
    return ant;
}

// Each modal run of the dialog takes the next step.
class ElementDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        previous_ = ExecModalDialog;
        ExecModalDialog = [this](QDialog& d) {
            if (steps_.empty()) return static_cast<int>(QDialog::Rejected);
            auto step = std::move(steps_.front());
            steps_.pop_front();
            return step(static_cast<TGrpWireDlg&>(d));
        };
        SettingsPathOverride = dir_.filePath("Korva.ini").toStdString();
        saved_ = JobDef;
        JobDef.InWavelengths = 0;
        JobDef.IntPos = 0;
        JobDef.EleWidthAll = 0;
        JobDef.Wavelength = 21.26;
    }
    void TearDown() override {
        ExecModalDialog = previous_;
        SettingsPathOverride.clear();
        JobDef = saved_;
    }
    void Then(std::function<int(TGrpWireDlg&)> step) { steps_.push_back(std::move(step)); }
    static void Type(TGrpWireDlg& d, int col, int row, const char* text) {
        d.Grid->SetEditText(col, row, QString::fromUtf8(text));
    }

    ScriptedPrompter prompter;
    ScopedPrompter scope{prompter};

private:
    std::function<int(QDialog&)> previous_;
    std::deque<std::function<int(TGrpWireDlg&)>> steps_;
    QTemporaryDir dir_;
    decltype(JobDef) saved_;
};

}  // namespace

using ElementTableEdit = ElementDialogTest;

TEST_F(ElementTableEdit, NextRowOfAnEmptyTableCreatesTheFormOfTheTypedColumn) {
    const struct {
        int col;
        const char* form;
    } cases[] = {{ColWidth, "H line"}, {ColHeight, "V line"}, {ColLength, "V quad"}};
    for (const auto& c : cases) {
        AntDef empty{};
        ElementTable table;
        table.Build(empty);
        EXPECT_EQ(table.CellText(ColNo, 1), "next");
        ASSERT_EQ(table.SetCell(c.col, 1, "2"), CellEdit::Taken) << c.form;
        ASSERT_EQ(table.Count(), 1);
        EXPECT_EQ(table.CellText(ColForm, 1), c.form);
        EXPECT_EQ(table.CellText(c.col, 1), "2.0") << c.form;
        EXPECT_EQ(table.State & 1, 1);
    }
}

TEST_F(ElementTableEdit, BadInputInAnyCellChangesNothing) {
    const char* const texts[] = {"abc", "0", "-3", "1e300", "", "  "};
    for (int col = ColPos; col <= ColSeg; ++col) {
        for (const char* text : texts) {
            auto ant = Yagi();
            ElementTable table;
            ASSERT_TRUE(table.Build(*ant));
            std::vector<std::string> before;
            for (int c = 0; c < ElementColumns; ++c) before.push_back(table.CellText(c, 2));
            const CellEdit r = table.SetCell(col, 2, text);
            // Negative radii are taper keys and 0 an insulator, so those two take them.
            if (r == CellEdit::Taken) {
                EXPECT_TRUE(col == ColRadius || col == ColSeg || (col == ColPos && std::string(text) == "0"))
                    << col << " '" << text << "'";
                continue;
            }
            for (int c = 0; c < ElementColumns; ++c) EXPECT_EQ(table.CellText(c, 2), before[c]) << col << text;
            EXPECT_EQ(table.State, 0);
        }
    }
}

TEST_F(ElementTableEdit, FirstPositionBaseGapAndMixedCellsTakeNoInput) {
    auto ant = Yagi();
    ant->Wires[2].R = 0.002;
    ant->Wires[ant->WireCount++] = WireRec{6, 4.75, 10, 6, 6, 10, 0.003, 3, 0, 0, 0};
    ElementTable table;
    ASSERT_TRUE(table.Build(*ant));
    EXPECT_FALSE(table.CanEdit(ColPos, 1));
    EXPECT_EQ(table.CellText(ColRadius, 3), "Mixt");
    EXPECT_EQ(table.SetCell(ColRadius, 3, "2"), CellEdit::NotEditable);
    EXPECT_EQ(table.SetCell(ColSeg, 3, "5"), CellEdit::NotEditable);
    JobDef.IntPos = 1;
    EXPECT_EQ(table.CellText(ColPos, 1), "Base element");
    EXPECT_FALSE(table.CanEdit(ColPos, 1));
    EXPECT_EQ(table.CellText(ColPos, 3), "3.0");
    EXPECT_TRUE(table.CanEdit(ColPos, 2));
}

TEST_F(ElementTableEdit, RowsAddDeleteAndReshapeButNeverTheBase) {
    auto ant = Yagi();
    ElementTable table;
    ASSERT_TRUE(table.Build(*ant));
    EXPECT_FALSE(table.DeleteRow(1));  // the base element at X 0
    EXPECT_TRUE(table.AddRow(4));      // "next": a copy of the last
    EXPECT_EQ(table.Count(), 4);
    EXPECT_EQ(table.CellText(ColPos, 4), "9.0");
    EXPECT_TRUE(table.DeleteRow(2));
    EXPECT_EQ(table.Count(), 3);
    EXPECT_TRUE(table.ChangeFormRow(2, 3));
    EXPECT_EQ(table.CellText(ColForm, 2), "V quad");
    EXPECT_EQ(table.CellText(ColWires, 2), "4");
}

// Deleting the director takes its load along; the new form of the driven
// element keeps the feed on it, though the wires are numbered anew, at its
// place along its wire: the pulse there moved, so the nearest, with a line.
TEST_F(ElementTableEdit, SourcesAndLoadsFollowTheirElements) {
    auto ant = Yagi();
    SetDefaultSegmentation(*ant);
    ant->SourceCount = 1;
    CopyText(ant->Sources[0].Pos, "w2c");
    ant->LoadCount = 2;
    CopyText(ant->Loads[0].Pos, "w3c");
    CopyText(ant->Loads[1].Pos, "w1b");
    ElementTable table;
    ASSERT_TRUE(table.Build(*ant));
    ASSERT_TRUE(table.DeleteRow(3));
    ASSERT_TRUE(table.ChangeFormRow(2, 3));
    std::vector<std::string> notes;
    table.WriteBack(&notes);
    ASSERT_EQ(ant->WireCount, 5);
    ASSERT_EQ(ant->SourceCount, 1);
    EXPECT_STREQ(ant->Sources[0].Pos, "w2c+1");
    EXPECT_DOUBLE_EQ(ant->Wires[1].X1, 3.0);
    ASSERT_EQ(ant->LoadCount, 1);
    EXPECT_STREQ(ant->Loads[0].Pos, "w1b");
    ASSERT_EQ(notes.size(), 2u);
    EXPECT_EQ(notes[0].rfind("Source 1 (w2c): no pulse stands at its point", 0), 0u) << notes[0];
    EXPECT_EQ(notes[1].rfind("Load 1 (w3c) was on the deleted wire 3", 0), 0u) << notes[1];
}

// Typed as a user types: a segmentation pair keeps its comma, and a refused
// value names the limit it broke.
TEST_F(ElementTableEdit, TypedPairsKeepTheirCommaAndRefusalsNameTheLimit) {
    const struct {
        int col;
        const char* keys;
        const char* message;  // none: the cell takes the text and shows it as typed
        bool inWavelengths = false;
    } cases[] = {
        {ColSeg, "5,3", nullptr},
        {ColWidth, "1e9", "A value of the table must be at most 100000 m; 1e9 was not taken."},
        {ColRadius, "1e12", "A value of the table must be at most 100000 m; 1e12 was not taken."},
        {ColWidth, "0", "A width, height or length must be at least 0.001; 0 was not taken."},
        {ColPos, "-3", "A position or gap must not be negative; -3 was not taken."},
        // 0.1 um from the taper key -1 m: a radius of its own, which a save keeps apart.
        {ColRadius, "-1000.0001", nullptr},
        {ColRadius, "-1000.0", nullptr},
        // The least size is 1 mm however the table shows it: 0.0005 wavelengths are 10.6 mm.
        {ColWidth, "0.0005", nullptr, true},
        {ColWidth, "0.00004",
         "A width, height or length must be at least 0.001 m (0.000047 wavelengths); 0.00004 was not taken.", true},
    };
    // The shown dialog fits its view; the next tests expect the view as it was.
    const ElementViewAngles saved = ElementViewState;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.keys);
        JobDef.InWavelengths = c.inWavelengths ? 1 : 0;
        auto ant = Yagi();
        ant->TaperSetCount = 1;
        ant->TaperSets[0].Key = -1.0;
        prompter.Clear();
        Then([&](TGrpWireDlg& d) {
            d.show();
            d.Grid->setFocus();
            d.Grid->SetCurrentCell(c.col, 2);
            const QModelIndex index = d.Grid->model()->index(1, c.col - 1);
            d.Grid->edit(index);
            auto* editor = qobject_cast<QLineEdit*>(d.Grid->indexWidget(index));
            EXPECT_NE(editor, nullptr);
            if (!editor) return static_cast<int>(QDialog::Rejected);
            editor->selectAll();
            QTest::keyClicks(editor, c.keys);
            QTest::keyClick(editor, Qt::Key_Return);
            QApplication::processEvents();
            if (c.message) {
                EXPECT_EQ(prompter.ShownBoxes().empty() ? "" : prompter.Last().text, c.message);
                EXPECT_EQ(d.Table().Radius(1), 0.001);
            } else {
                EXPECT_EQ(d.Grid->Cells(c.col, 2), c.keys);
            }
            return static_cast<int>(QDialog::Rejected);
        });
        prompter.AnswerMessage(BoxNo);
        TGrpWireDlg dialog(nullptr);
        dialog.Execute(*ant);
    }
    ElementViewState = saved;
}

TEST_F(ElementTableEdit, DuplicatesAreFoundOnlyAtOnePlace) {
    auto ant = Yagi();
    ant->Wires[ant->WireCount++] = Dipole(6, 4.75, 12);  // another place: differs
    ElementTable table;
    ASSERT_TRUE(table.Build(*ant));
    int a = 0, b = 0;
    EXPECT_FALSE(table.FindDuplicates(a, b));
    JobDef.IntPos = 1;
    // Move the last element onto the one before it, then make them equal.
    ASSERT_EQ(table.SetCellValue(ColPos, 4, 0.0), CellEdit::Taken);
    table.Groups().Groups[3].MemberWire(0).Z1 = table.Groups().Groups[2].MemberWire(0).Z1;
    table.Groups().Groups[3].MemberWire(0).Z2 = table.Groups().Groups[2].MemberWire(0).Z2;
    ASSERT_TRUE(table.FindDuplicates(a, b));
    EXPECT_EQ(a, 3);
    EXPECT_EQ(b, 4);
    EXPECT_EQ(SameElementsText("No.%d and No.%d are same %s%d", a, b), "No.3 and No.4 are same %s%d");
}

TEST_F(ElementTableEdit, OkWritesTheGeometryBackAndCancelKeepsTheAntenna) {
    auto ant = Yagi();
    Then([](TGrpWireDlg& d) {
        Type(d, ColWidth, 3, "9");  // the director: 9 m
        Type(d, ColPos, 2, "2.5");  // the driven element closer to the reflector
        return static_cast<int>(QDialog::Accepted);
    });
    {
        TGrpWireDlg dialog(nullptr);
        EXPECT_EQ(dialog.Execute(*ant), GrpWireWritten);
    }
    ASSERT_EQ(ant->WireCount, 3);
    EXPECT_DOUBLE_EQ(ant->Wires[2].Y2 - ant->Wires[2].Y1, 9.0);
    EXPECT_DOUBLE_EQ(ant->Wires[1].X1, 2.5);
    EXPECT_DOUBLE_EQ(ant->Wires[2].X1, 6.0);

    // Cancel after an edit asks; No keeps everything, Yes writes.
    const AntDef before = *ant;
    for (int answer : {BoxNo, BoxYes}) {
        Then([](TGrpWireDlg& d) {
            Type(d, ColWidth, 1, "11");
            return static_cast<int>(QDialog::Rejected);
        });
        prompter.AnswerMessage(answer);
        TGrpWireDlg dialog(nullptr);
        const int result = dialog.Execute(*ant);
        EXPECT_EQ(prompter.Last().text, "File modifed. Save changes?");
        if (answer == BoxNo) {
            EXPECT_EQ(result, GrpWireNoChange);
            EXPECT_EQ(std::memcmp(&before.Wires, &ant->Wires, sizeof before.Wires), 0);
        } else {
            EXPECT_EQ(result, GrpWireWritten);
            EXPECT_DOUBLE_EQ(ant->Wires[0].Y2 - ant->Wires[0].Y1, 11.0);
        }
    }
}

TEST_F(ElementTableEdit, TypedRefusalIsReportedAndOkStaysBlockedByDuplicates) {
    auto ant = Yagi();
    Then([this](TGrpWireDlg& d) {
        Type(d, ColWidth, 2, "abc");
        EXPECT_EQ(prompter.ShownBoxes().size(), 1u);
        JobDef.IntPos = 1;
        d.ChkIntval->setChecked(true);
        Type(d, ColPos, 3, "0");
        Type(d, ColWidth, 3, "10");  // now equal to the driven element at the same place
        d.OKBtn->click();            // refused: the form stays
        EXPECT_FALSE(d.result() == QDialog::Accepted);
        EXPECT_NE(prompter.Last().text.find("No.2 and No.3"), std::string::npos);
        return static_cast<int>(QDialog::Rejected);
    });
    TGrpWireDlg dialog(nullptr);
    EXPECT_EQ(dialog.Execute(*ant), GrpWireNoChange);  // the unscripted save question answers No
}

using ElementPick = ElementDialogTest;

TEST_F(ElementPick, ChoosesAnElementFieldOrAWireAndChangesNothing) {
    auto ant = Yagi();
    const AntDef before = *ant;
    ElementVariables vars;
    vars.Cells.push_back({2, ElWidthAll});  // marks the director's width cell
    vars.Wires.push_back(0);
    JobDef.InWavelengths = 1;

    const struct {
        int col, row;
        bool proportional;
        bool ok;
        int element, kind;
    } cases[] = {
        {ColWidth, 2, false, true, 1, ElWidth},    {ColWidth, 2, true, true, 1, ElWidthAll},
        {ColPos, 3, false, true, 2, ElPos},        {ColRadius, 1, false, true, 0, ElRadius},
        {ColWidth, 3, false, false, 0, 0},         // already a variable
        {ColPos, 1, false, false, 0, 0},           // position 0
        {ColHeight, 2, false, false, 0, 0},        // a flat dipole has no height
        {ColSeg, 2, false, false, 0, 0},
    };
    for (const auto& c : cases) {
        Then([&](TGrpWireDlg& d) {
            EXPECT_FALSE(d.ChkRmd->isEnabled());
            EXPECT_EQ(JobDef.InWavelengths, 0);
            (c.proportional ? d.EleWidthAll : d.EleWidthEdge)->setChecked(true);
            d.Grid->SetCurrentCell(c.col, c.row);
            EXPECT_EQ(d.OKBtn->isEnabled(), c.ok);
            EXPECT_EQ(d.Grid->CanEdit(ColWidth, 1), false);
            return static_cast<int>(QDialog::Accepted);
        });
        int element = -1, kind = -1;
        TGrpWireDlg dialog(nullptr);
        EXPECT_EQ(dialog.SelectVariable(element, kind, *ant, &vars), c.ok) << c.col << "," << c.row;
        if (c.ok) {
            EXPECT_EQ(element, c.element);
            EXPECT_EQ(kind, c.kind);
        }
        EXPECT_EQ(JobDef.InWavelengths, 1);
    }
    EXPECT_EQ(std::memcmp(&before.Wires, &ant->Wires, sizeof before.Wires), 0);

    // The view: a wire preselected by index, or none.
    for (int wire : {2, -1}) {
        Then([](TGrpWireDlg& d) {
            d.Page->setCurrentIndex(1);
            return static_cast<int>(QDialog::Accepted);
        });
        int element = wire, kind = -1;
        TGrpWireDlg dialog(nullptr);
        EXPECT_EQ(dialog.SelectVariable(element, kind, *ant, &vars), wire >= 0);
        if (wire >= 0) {
            EXPECT_EQ(element, wire);
        }
        EXPECT_EQ(kind, -1);
    }
    // A preselected element cell.
    Then([](TGrpWireDlg& d) {
        EXPECT_EQ(d.Grid->Row(), 2);
        EXPECT_EQ(d.Grid->Col(), ColPos);
        return static_cast<int>(QDialog::Rejected);
    });
    int element = 1, kind = ElPos;
    EXPECT_FALSE(TGrpWireDlg(nullptr).SelectVariable(element, kind, *ant, &vars));
}

TEST_F(ElementPick, AClickNearAWireSelectsItAndOneFarAwayChangesNothing) {
    auto ant = Yagi();
    Then([](TGrpWireDlg& d) {
        d.Page->setCurrentIndex(1);
        d.PBox->resize(400, 360);
        // Find a screen point on the director as drawn.
        const ViewTransform t = d.PBox->Transform();
        const WireRec& w = d.Table().Groups().Wires[d.Table().Groups().Groups[2].Members[0].Wire];
        const double dx = d.Table().Groups().Intervals[1] + d.Table().Groups().Intervals[2];
        int ax = 0, ay = 0, bx = 0, by = 0;
        t.Map(w.X1 + dx, w.Y1, w.Z1, ax, ay);
        t.Map(w.X2 + dx, w.Y2, w.Z2, bx, by);
        EXPECT_FALSE(d.PickWireAt(0, 0));
        EXPECT_EQ(d.SelWire, -1);
        EXPECT_TRUE(d.PickWireAt((ax + bx) / 2, (ay + by) / 2 + 3));
        return static_cast<int>(QDialog::Accepted);
    });
    int element = -1, kind = 0;
    TGrpWireDlg dialog(nullptr);
    ASSERT_TRUE(dialog.SelectVariable(element, kind, *ant, nullptr));
    EXPECT_EQ(element, 2);
    EXPECT_EQ(kind, -1);
}

TEST_F(ElementTableEdit, AnAntennaOfMoreElementsThanTheTableIsRefusedWhole) {
    auto ant = std::make_unique<AntDef>();
    for (int i = 0; i < MaxElements + 1; ++i) ant->Wires[ant->WireCount++] = Dipole(i, 1.0);
    Then([](TGrpWireDlg&) {
        ADD_FAILURE() << "the dialog was shown";
        return static_cast<int>(QDialog::Accepted);
    });
    TGrpWireDlg dialog(nullptr);
    EXPECT_EQ(dialog.Execute(*ant), GrpWireNoChange);
    EXPECT_EQ(ant->WireCount, MaxElements + 1);
    ASSERT_EQ(prompter.ShownBoxes().size(), 1u);
    EXPECT_NE(prompter.Last().text.find("cannot show"), std::string::npos);
}

TEST_F(ElementPick, ViewTurnsByTheMouseAndDrawsTheBaseElementRed) {
    const struct {
        double angle, delta, expected;
    } turns[] = {{355, 20, 15}, {10, -20, 350}, {100, 20, 120}};
    for (const auto& t : turns) EXPECT_DOUBLE_EQ(TurnAngle(t.angle, t.delta), t.expected);
    EXPECT_DOUBLE_EQ(ElementView::ZoomFactor(75, 150), ElementViewState.S);

    auto ant = Yagi();
    const ElementViewAngles saved = ElementViewState;
    Then([](TGrpWireDlg& d) {
        d.Page->setCurrentIndex(1);
        d.PBox->resize(480, 360);
        ElementViewState.A = 355;
        const QPoint from(100, 100), to(90, 100);
        QMouseEvent press(QEvent::MouseButtonPress, from, d.PBox->mapToGlobal(from), Qt::LeftButton, Qt::LeftButton,
                          Qt::NoModifier);
        QMouseEvent move(QEvent::MouseMove, to, d.PBox->mapToGlobal(to), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(d.PBox, &press);
        QApplication::sendEvent(d.PBox, &move);
        EXPECT_DOUBLE_EQ(ElementViewState.A, 15.0);  // 10 pixels of 360 turn by 20 degrees
        const QImage picture = d.PBox->grab().toImage();
        int red = 0;
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x) red += picture.pixelColor(x, y) == QColor(Qt::red);
        EXPECT_GT(red, 10);
        return static_cast<int>(QDialog::Rejected);
    });
    int element = -1, kind = -1;
    TGrpWireDlg dialog(nullptr);
    EXPECT_FALSE(dialog.SelectVariable(element, kind, *ant, nullptr));
    ElementViewState = saved;
}
