// The element table's commands on the whole table: rounding in the unit
// shown, replacing a value in a column, the CSV file and the printed columns.
#include "editing/ElementTableCommands.h"
#include "editing/GrpWireDlg.h"
#include "editing/ValRepDlg.h"
#include "model/EnvDef.h"
#include "model/NumberText.h"
#include "platform/FormPattern.h"
#include "platform/ScriptedPrompter.h"
#include "platform/StringGrid.h"

#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

namespace {

std::unique_ptr<AntDef> TwoElements(double radius) {
    auto ant = std::make_unique<AntDef>();
    ant->Wires[0] = WireRec{0, -5.123456, 10, 0, 5.123456, 10, radius, 11, 0, 0, 0};
    ant->Wires[1] = WireRec{3.33333, -4.5, 10, 3.33333, 4.5, 10, 0.001, 9, 0, 0, 0};
    ant->WireCount = 2;
    return ant;
}

class ElementCommands : public ::testing::Test {
protected:
    void SetUp() override {
        saved_ = JobDef;
        JobDef.InWavelengths = 0;
        JobDef.IntPos = 0;
        JobDef.Wavelength = 20.0;
    }
    void TearDown() override { JobDef = saved_; }

private:
    decltype(JobDef) saved_;
};

}  // namespace

TEST_F(ElementCommands, RoundingCutsDigitsInTheUnitShownAndKeepsTinyRadiiVisible) {
    const struct {
        double radius;
        bool wavelengths;
        double expected;
    } cases[] = {
        {0.0004, false, 0.0004},     // 0.4 mm stays 0.4 mm
        {0.000004, false, 0.00001},  // rounds to 0: one unit of the last digit, 0.01 mm
        {0.00123456, false, 0.00123},
        {0.000004, true, 0.2},       // 0.01 wavelength of 20 m
    };
    for (const auto& c : cases) {
        JobDef.InWavelengths = c.wavelengths;
        auto ant = TwoElements(c.radius);
        ElementTable table;
        ASSERT_TRUE(table.Build(*ant));
        RoundElementTable(table, 2);
        EXPECT_NEAR(table.Radius(0), c.expected, 1e-12) << c.radius << " " << c.wavelengths;
        EXPECT_EQ(table.State & 1, 1);
    }
    JobDef.InWavelengths = 0;
    auto ant = TwoElements(0.001);
    ElementTable table;
    ASSERT_TRUE(table.Build(*ant));
    RoundElementTable(table, 3);
    EXPECT_EQ(table.CellText(ColWidth, 1), "10.247");
    EXPECT_EQ(table.CellText(ColPos, 2), "3.333");
    EXPECT_EQ(table.CellText(ColHeight, 1), "0.0");  // zero stays
    EXPECT_EQ(table.CellText(ColPos, 1), "0.0");
}

TEST_F(ElementCommands, ReplaceChangesOnlyCellsThatReadTheValueExactly) {
    auto ant = TwoElements(0.001);
    ant->Wires[2] = WireRec{6, -5.123456, 10, 6, 5.123456, 10, 0.002, 11, 0, 0, 0};
    ant->Wires[3] = WireRec{6, 5.123456, 10, 6, 6, 10, 0.003, 11, 0, 0, 0};
    ant->WireCount = 4;
    ElementTable table;
    ASSERT_TRUE(table.Build(*ant));
    EXPECT_EQ(table.CellText(ColRadius, 3), "Mixt");
    EXPECT_EQ(ReplaceInColumn(table, ColRadius, 1.0, 1.5), 2);
    EXPECT_EQ(table.CellText(ColRadius, 1), "1.5");
    EXPECT_EQ(table.CellText(ColRadius, 2), "1.5");
    EXPECT_EQ(table.CellText(ColRadius, 3), "Mixt");
    // 0.1 um from the taper key -1 m: a radius of its own, which a save keeps apart.
    ant->TaperSetCount = 1;
    ant->TaperSets[0].Key = -1.0;
    CellEdit refused = CellEdit::Taken;
    EXPECT_EQ(ReplaceInColumn(table, ColRadius, 1.5, -1000.0001, &refused), 2);
    EXPECT_EQ(refused, CellEdit::Taken);
    EXPECT_EQ(table.CellText(ColRadius, 1), "-1000.0001");
    JobDef.IntPos = 1;
    EXPECT_EQ(ReplaceInColumn(table, ColPos, 0.0, 2.0), 0);  // "Base element" does not read
    EXPECT_EQ(ReplaceInColumn(table, ColWidth, 9.0, 9.5), 1);
}

TEST_F(ElementCommands, CsvAndPrintoutCarryTheShownCells) {
    auto ant = TwoElements(0.001);
    ASSERT_TRUE(StrToIntOrPair(ant->Wires[1].Seg, "5,3"));  // a segmentation pair holds a comma
    ElementTable table;
    ASSERT_TRUE(table.Build(*ant));
    table.Words.Forms[8] = "H \"line\"";
    const auto lines = ElementTableCsv(table);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], "No.,Form,Int.(m),Width(m),Height(m),Length(m),R(mm),Seg.,Wires");
    EXPECT_EQ(lines[1].rfind("1,\"H \"\"line\"\"\",0.0,10.246912,", 0), 0u) << lines[1];
    EXPECT_NE(lines[2].find(",\"5,3\","), std::string::npos) << lines[2];

    JobDef.IntPos = 1;
    const ElementPrintout p = ElementTablePrintout(table);
    ASSERT_EQ(p.Titles.size(), 10u);
    EXPECT_EQ(p.Rows[1][2], "3.33333");  // position and
    EXPECT_EQ(p.Rows[0][3], "Base element");  // gap, whatever the check box says
    EXPECT_EQ(p.Rows[1][3], "3.33333");
    EXPECT_EQ(p.Rows[1][4], "9.0");
    EXPECT_EQ(JobDef.IntPos, 1);
    EXPECT_EQ(ElementTableStem("", "/data"), "/data/noname");
    EXPECT_EQ(ElementTableStem("/a/yagi.kva", "/data"), "/a/yagi");
}

TEST_F(ElementCommands, DialogCommandsAskFirstAndSaveThroughTheSafeWriter) {
    QTemporaryDir dir;
    ScriptedPrompter prompter;
    ScopedPrompter scope(prompter);
    auto previous = ExecModalDialog;
    ExecModalDialog = [&](QDialog& d) {
        if (auto* box = dynamic_cast<TValRepDlg*>(&d)) {
            box->EditNew->setText("8");
            return static_cast<int>(QDialog::Accepted);
        }
        auto& dlg = static_cast<TGrpWireDlg&>(d);
        prompter.AnswerMessage(BoxNo);
        dlg.RoundValues(2);  // answered No: nothing
        EXPECT_EQ(dlg.Table().State, 0);
        dlg.Grid->SetCurrentCell(ColWidth, 2);
        dlg.ReplaceValue();  // 9 -> 8
        EXPECT_EQ(dlg.Table().CellText(ColWidth, 2), "8.0");
        prompter.AnswerFile(dir.filePath("elements.csv").toStdString());
        dlg.SaveCsv();
        EXPECT_EQ(prompter.Last().text, dir.filePath("noname").toStdString());
        prompter.AnswerFile(dir.filePath("missing/elements.csv").toStdString());
        dlg.SaveCsv();
        EXPECT_NE(prompter.Last().text.find("Can not save"), std::string::npos);
        return static_cast<int>(QDialog::Rejected);
    };
    auto ant = TwoElements(0.001);
    {
        TGrpWireDlg dialog(nullptr);
        dialog.DataFolder = dir.path().toStdString();
        prompter.AnswerMessage(BoxNo);
        dialog.Execute(*ant);
    }
    ExecModalDialog = previous;
    QFile f(dir.filePath("elements.csv"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray text = f.readAll();
    EXPECT_TRUE(text.startsWith("No.,Form,"));
    EXPECT_TRUE(text.contains("\r\n2,H line,3.33333,8.0,"));
}
