// The result table commands: the table of currents of a calculated antenna,
// cancelled and failed saves, the table buffers the menu-state routine
// frees, the near-field and angle/gain files without their dialogs, and the
// horizontal cut at a chosen elevation.
#include "FileCommandsFixture.h"
#include "app/ResultTables.h"
#include "engine/EngineState.h"
#include "engine/FarField3D.h"
#include "engine/NearField.h"
#include "model/EnvDef.h"
#include "model/NumberText.h"
#include "model/PulseCurrentRec.h"
#include "model/ResultStore.h"
#include "draw/PolarPlot.h"

#include <QLabel>
#include <QRegularExpression>
#include <QTabWidget>
#include <algorithm>
#include <memory>

namespace {

QStringList CsvLines(const QByteArray& bytes) {
    EXPECT_TRUE(bytes.endsWith("\r\n"));
    EXPECT_FALSE(bytes.endsWith("\r\n\r\n"));
    QStringList lines = QString::fromLatin1(bytes).split("\r\n");
    if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
    return lines;
}

}  // namespace

class ResultTablesTest : public FileCommandsTest {
protected:
    // The dipole of the test data, opened and calculated.
    QString CalculatedDipole() {
        const QString path = OpenDipole("yagi.kva");
        wnd->CalTrgBtn->click();
        EXPECT_EQ(Results.HasFarField, 1);
        EXPECT_TRUE(wnd->EleBtn->isEnabled());
        prompter.Clear();
        return path;
    }
};

TEST_F(ResultTablesTest, CurrentsOfACalculatedDipoleOneLinePerPulse) {
    CalculatedDipole();
    ASSERT_TRUE(wnd->KC2->isEnabled());
    const std::vector<float> drawn(Results.PulseCurrent, Results.PulseCurrent + 64);
    const QString target = TempPath("currents.csv");
    prompter.AnswerFile(target.toStdString());
    wnd->KC2->trigger();

    ASSERT_EQ(CountShown("save"), 1u) << Shown();
    EXPECT_EQ(prompter.ShownBoxes()[0].caption, "Save table of currents");
    EXPECT_EQ(prompter.ShownBoxes()[0].text, TempPath("yagi").toStdString());  // no extension
    EXPECT_EQ(CountShown("message"), 0u) << Shown();

    const QStringList lines = CsvLines(ReadFile(target));
    ASSERT_FALSE(lines.isEmpty());
    EXPECT_EQ(lines[0], "WIRE,PULSE,X(m),Y(m),Z(m),REAL(A),IMAGINARY(A),MAGNITUDE(A),PHASE(DEG)");
    EXPECT_EQ(lines.size(), GetPulseCount() + 1);
    const QRegularExpression format(
        R"(^1,(\d+),-?\d+\.\d{3},-?\d+\.\d{3},10\.000,(-?\d\.\d\de[+-]\d\d,){3}-?\d+\.\d$)");
    double largest = 0.0;
    for (int i = 1; i < lines.size(); ++i) {
        const QRegularExpressionMatch m = format.match(lines[i]);
        ASSERT_TRUE(m.hasMatch()) << lines[i].toStdString();
        EXPECT_EQ(m.captured(1).toInt(), i);  // pulses in order, none missing on one wire
        largest = std::max(largest, lines[i].section(',', 7, 7).toDouble());
    }
    // 1 V into about 70 ohms: some 14 mA at the centre.
    EXPECT_GT(largest, 0.008);
    EXPECT_LT(largest, 0.02);

    // The table is gone, the drawn currents untouched, and no log was written.
    EXPECT_EQ(JobDef.CurrentTable, nullptr);
    EXPECT_TRUE(std::equal(drawn.begin(), drawn.end(), Results.PulseCurrent));
    EXPECT_EQ(JobDef.Interactive, 0);
    EXPECT_TRUE(wnd->LogLines().last().endsWith(" sec"));
}

TEST_F(ResultTablesTest, ANewAntennaOffersNonameAndCancelWritesNothing) {
    TypeOneWire();
    Type(wnd->Grid3, 1, 1, "w1c");
    wnd->CalTrgBtn->click();
    ASSERT_TRUE(wnd->KC2->isEnabled());
    prompter.Clear();
    prompter.AnswerFile("");
    wnd->KC2->trigger();
    ASSERT_EQ(CountShown("save"), 1u);
    EXPECT_EQ(prompter.Last().text, "noname");
    EXPECT_EQ(JobDef.CurrentTable, nullptr);
    EXPECT_EQ(CountShown("message"), 0u);
    EXPECT_TRUE(QDir(TempPath("")).entryList({"*.csv"}).isEmpty());
}

TEST_F(ResultTablesTest, AnUnwritableTargetIsReportedAndTheOldFileKept) {
    CalculatedDipole();
    const QString old = WriteFile("old.csv", "old table");
    QFile::setPermissions(old, QFileDevice::ReadOwner);
    prompter.AnswerFile(old.toStdString());
    wnd->KC2->trigger();
    EXPECT_EQ(ReadFile(old), "old table");
    ASSERT_EQ(CountShown("message"), 1u) << Shown();
    EXPECT_EQ(prompter.Last().text.rfind("Can not save " + old.toStdString(), 0), 0u) << Shown();
    EXPECT_EQ(JobDef.CurrentTable, nullptr);

    prompter.Clear();
    const QString nowhere = UnwritablePath("t.csv");
    prompter.AnswerFile(nowhere.toStdString());
    wnd->KC2->trigger();
    ASSERT_EQ(CountShown("message"), 1u) << Shown();
    EXPECT_NE(prompter.Last().text.find("Can not save"), std::string::npos);
    EXPECT_FALSE(QFileInfo::exists(nowhere));
}

TEST_F(ResultTablesTest, TablesWithTheirDialogsFollowTheFarField) {
    CalculatedDipole();
    wnd->UpdateMenuState();
    for (QAction* a : {wnd->KC2, wnd->K31, wnd->K32, wnd->K49, wnd->NWLDat})
        EXPECT_TRUE(a->isEnabled()) << a->objectName().toStdString();
}

TEST_F(ResultTablesTest, TheMenuStateRoutineFreesLeftoverTableBuffers) {
    JobDef.CurrentTable = new PulseCurrentRec[4]();
    JobDef.NearRequest = new NearFieldRequest{};
    JobDef.FarRequest = new FarFieldTableRequest{};
    wnd->UpdateMenuState();
    EXPECT_EQ(JobDef.CurrentTable, nullptr);
    EXPECT_EQ(JobDef.NearRequest, nullptr);
    EXPECT_EQ(JobDef.FarRequest, nullptr);
}

TEST_F(ResultTablesTest, NearFieldFileOfTheDefaultRequest) {
    CalculatedDipole();
    const std::string path = TempPath("near.csv").toStdString();
    {
        NearFieldRequestScope scope(path);
        ASSERT_EQ(JobDef.NearRequest, &scope.Request());
        EXPECT_EQ(scope.Request().Field, 0);
        EXPECT_DOUBLE_EQ(scope.Request().Power, 50.0);
        EXPECT_EQ(scope.Request().ZCount, 5);
        EXPECT_DOUBLE_EQ(scope.Request().YStep, 3.0);
        const TableOutcome outcome = WriteNearFieldTable();
        EXPECT_EQ(outcome.Status, TableStatus::Written) << outcome.Error;
    }
    EXPECT_EQ(JobDef.NearRequest, nullptr);  // freed when the command ends
    QStringList lines = CsvLines(ReadFile(QString::fromStdString(path)));
    ASSERT_EQ(lines.size(), 1 + 5 * 5 * 5 * 3);
    EXPECT_EQ(lines[0], "X(m),Y(m),Z(m),VECTOR,REAL(V/m),IMAGINARY(V/m),MAGNITUDE(V/m),PHASE(DEG)");
    EXPECT_TRUE(lines[1].startsWith("0.000,0.000,0.000,X,")) << lines[1].toStdString();
    EXPECT_TRUE(lines[4].startsWith("3.000,0.000,0.000,X,")) << lines[4].toStdString();  // X inner

    // The magnetic field has its own header.
    {
        NearFieldRequestScope scope(path);
        scope.Request().Field = 1;
        scope.Request().XCount = scope.Request().YCount = scope.Request().ZCount = 1;
        EXPECT_EQ(WriteNearFieldTable().Status, TableStatus::Written);
    }
    lines = CsvLines(ReadFile(QString::fromStdString(path)));
    ASSERT_EQ(lines.size(), 4);
    EXPECT_EQ(lines[0], "X(m),Y(m),Z(m),VECTOR,REAL(AT/m),IMAGINARY(AT/m),MAGNITUDE(AT/m),PHASE(DEG)");
}

TEST_F(ResultTablesTest, NearFieldRefusalWritesNothing) {
    CalculatedDipole();
    const QString path = WriteFile("near.csv", "old");
    NearFieldRequestScope scope(path.toStdString());
    scope.Request().Power = 0.0;
    const TableOutcome outcome = WriteNearFieldTable();
    EXPECT_EQ(outcome.Status, TableStatus::EngineFailed);
    EXPECT_FALSE(outcome.Error.empty());
    EXPECT_EQ(ReadFile(path), "old");
}

TEST_F(ResultTablesTest, AngleGainFileOfTheDefaultRequest) {
    CalculatedDipole();
    const std::string path = TempPath("angles.csv").toStdString();
    {
        AngleGainRequestScope scope(path);
        EXPECT_EQ(scope.Request().ZenithCount, 10);
        EXPECT_EQ(scope.Request().AzimuthCount, 36);
        EXPECT_EQ(WriteAngleGainTable().Status, TableStatus::Written);
    }
    EXPECT_EQ(JobDef.FarRequest, nullptr);
    const QStringList lines = CsvLines(ReadFile(QString::fromStdString(path)));
    ASSERT_EQ(lines.size(), 1 + 360);
    EXPECT_EQ(lines[0], "ZENITH(DEG),AZIMUTH(DEG),VERT(dBi),HORI(dBi),TOTAL(dBi)");
    const QRegularExpression format(R"(^\d+\.\d,\d+\.\d,(-?\d+\.\d\d,){3}$)");
    for (int i = 1; i < lines.size(); ++i) ASSERT_TRUE(format.match(lines[i]).hasMatch()) << lines[i].toStdString();
    EXPECT_TRUE(lines[2].startsWith("10.0,0.0,"));   // zenith inner
    EXPECT_TRUE(lines[11].startsWith("0.0,10.0,"));  // azimuth outer
    EXPECT_EQ(WriteAngleGainTable().Status, TableStatus::EngineFailed);  // no request any more
}

TEST_F(ResultTablesTest, ElevationRedrawsTheCutAndLeavesTheRowAlone) {
    CalculatedDipole();
    const float rowElevation = Results.Row(0)->Elev;
    std::vector<float> before(Results.AzCut[2], Results.AzCut[2] + 360);
    wnd->Page->setCurrentWidget(wnd->TabSheet4);
    QApplication::processEvents();
    const QImage drawnBefore = wnd->DNBitmap.copy();

    prompter.AnswerInput(true, "60");
    wnd->EleBtn->click();
    ASSERT_EQ(CountShown("input"), 1u) << Shown();
    EXPECT_EQ(prompter.Last().caption, "KORVA-TEZ");
    EXPECT_EQ(prompter.Last().text, "Azimut far field for elevation angle");
    EXPECT_FLOAT_EQ(Results.CutElevation, 60.0f);
    EXPECT_FLOAT_EQ(Results.Row(0)->Elev, rowElevation);
    // The gain and F/B of the new cut are what the results table shows.
    EXPECT_EQ(wnd->Grid1->Cells(7, 1).toStdString(), DblToStr2(Results.Row(0)->FB));
    EXPECT_FALSE(std::equal(before.begin(), before.end(), Results.AzCut[2]));
    EXPECT_DOUBLE_EQ(PatternMaxGain, Results.GainMax);
    EXPECT_NE(wnd->DNBitmap, drawnBefore);
    EXPECT_EQ(wnd->DNImage->cursor().shape(), Qt::CrossCursor);
}

TEST_F(ResultTablesTest, ElevationOutsideTheRangeOrUnreadableOrUnchangedRecomputesNothing) {
    CalculatedDipole();
    prompter.AnswerInput(true, "90");
    wnd->EleBtn->click();
    ASSERT_FLOAT_EQ(Results.CutElevation, 90.0f);
    const std::vector<float> at90(Results.AzCut[2], Results.AzCut[2] + 360);
    for (const char* text : {"90.01", "-1", "abc", "90", "45"}) {
        Results.AzCut[2][0] = 12345.0f;  // a recomputation would overwrite it
        prompter.Clear();
        // "45" is typed and then cancelled.
        prompter.AnswerInput(std::string(text) != "45", text);
        wnd->EleBtn->click();
        EXPECT_FLOAT_EQ(Results.CutElevation, 90.0f) << text;
        EXPECT_FLOAT_EQ(Results.AzCut[2][0], 12345.0f) << text;
        EXPECT_EQ(prompter.Last().text, "Azimut far field for elevation angle");
    }
    EXPECT_EQ(CountShown("message"), 0u);
    Results.AzCut[2][0] = at90[0];
}

TEST_F(ResultTablesTest, ElevationOffersTheCurrentElevationRoundedToTwoDecimals) {
    // Records the text the query proposes.
    struct OfferRecorder : ScriptedPrompter {
        std::string offered;
        bool InputQuery(const std::string& caption, const std::string& prompt, std::string& value) override {
            offered = value;
            return ScriptedPrompter::InputQuery(caption, prompt, value);
        }
    } recorder;
    CalculatedDipole();
    ScopedPrompter use(recorder);
    // Rounded half away from zero, not up: 13.6 and 45.004 are a little
    // above their two-decimal values in single precision.
    const struct {
        float elevation;
        const char* offered;
    } cases[] = {{13.6f, "13.6"}, {45.004f, "45.0"}, {12.345f, "12.35"}};
    for (const auto& c : cases) {
        Results.CutElevation = c.elevation;
        recorder.AnswerInput(false, "");
        wnd->EleBtn->click();
        EXPECT_EQ(recorder.offered, c.offered);
        // Typing the offered text again changes nothing.
        const float before = Results.AzCut[2][7];
        Results.AzCut[2][7] = 12345.0f;
        recorder.AnswerInput(true, c.offered);
        wnd->EleBtn->click();
        EXPECT_FLOAT_EQ(Results.AzCut[2][7], 12345.0f) << c.offered;
        Results.AzCut[2][7] = before;
    }
}

TEST_F(ResultTablesTest, AnEngineFailureIsReportedAndWritesNothing) {
    CalculatedDipole();
    // The engine has lost its model while the results still belong to the
    // antenna: it has nothing to solve.
    ResetEngineModel();
    wnd->UpdateMenuState();
    ASSERT_TRUE(wnd->KC2->isEnabled());
    prompter.Clear();
    const QString target = TempPath("currents.csv");
    prompter.AnswerFile(target.toStdString());
    wnd->KC2->trigger();
    ASSERT_EQ(CountShown("message"), 1u) << Shown();
    EXPECT_EQ(prompter.Last().caption, "Error!!!");
    EXPECT_FALSE(QFileInfo::exists(target));
    EXPECT_EQ(JobDef.CurrentTable, nullptr);
}

TEST_F(ResultTablesTest, NoTableOrCutRunsWhileBusy) {
    CalculatedDipole();
    JobDef.Busy = 1;
    prompter.AnswerFile(TempPath("currents.csv").toStdString());
    prompter.AnswerInput(true, "30");
    wnd->KC2Click();
    wnd->EleBtnClick();
    JobDef.Busy = 0;
    EXPECT_TRUE(prompter.ShownBoxes().empty()) << Shown();
    EXPECT_FALSE(QFileInfo::exists(TempPath("currents.csv")));
    EXPECT_NE(Results.CutElevation, 30.0f);
}

// A new antenna opened after a calculation: the results shown are the old
// antenna's, so the cut, the 3D view and Print wait for a calculation of
// this one, whatever path reaches them, and the newest row stays as it was.
TEST_F(ResultTablesTest, AfterOpenTheShownResultsTakeNoCutUntilACalculation) {
    CalculatedDipole();
    const ResultRow row = *Results.Row(0);
    const float cut = Results.CutElevation;
    OpenDipole("other.kva");
    wnd->UpdateMenuState();
    for (QPushButton* b : {wnd->EleBtn, wnd->Btn3D, wnd->PrintBtn}) EXPECT_FALSE(b->isEnabled()) << b->text().toStdString();
    prompter.AnswerInput(true, "20");
    wnd->EleBtnClick();
    EXPECT_TRUE(prompter.ShownBoxes().empty()) << Shown();
    EXPECT_EQ(Results.CutElevation, cut);
    EXPECT_EQ(Results.Row(0)->Ga, row.Ga);
    EXPECT_EQ(Results.Row(0)->Elev, row.Elev);
    EXPECT_EQ(Results.Row(0)->FB, row.FB);
    wnd->CalTrgBtn->click();
    EXPECT_TRUE(wnd->EleBtn->isEnabled());
}
