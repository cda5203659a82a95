// The two table request dialogs on their own: the request into the fields,
// the fields back in their order up to the first that does not read, the
// file button, and the language section.
#include "engine/FarField3D.h"
#include "engine/NearField.h"
#include "model/EnvDef.h"
#include "model/LanguageState.h"
#include "model/Messages.h"
#include "platform/FormPattern.h"
#include "platform/RadioGroup.h"
#include "platform/ScriptedPrompter.h"
#include "views/FarSetDlg.h"
#include "views/NearSetDlg.h"

#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>
#include <memory>

namespace {

class RequestDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        ApplyDefaultMessages();
        savedExec_ = ExecModalDialog;
        ExecModalDialog = [this](QDialog& d) {
            ++shown;
            if (edit) edit(d);
            return result;
        };
        JobDef.NearRequest = new NearFieldRequest{};
        JobDef.FarRequest = new FarFieldTableRequest{};
        near() = {"/data/yagi.csv", 0, 50.0, 0.0, 3.0, 5, 0.0, 3.0, 5, 0.0, 3.0, 5};
        far() = {"/data/yagi.csv", 0.0, 10.0, 10, 0.0, 10.0, 36};
    }
    void TearDown() override {
        ExecModalDialog = savedExec_;
        delete JobDef.NearRequest;
        JobDef.NearRequest = nullptr;
        delete JobDef.FarRequest;
        JobDef.FarRequest = nullptr;
        LanguageIndex = -1;
        LanguageText.clear();
    }
    static NearFieldRequest& near() { return *JobDef.NearRequest; }
    static FarFieldTableRequest& far() { return *JobDef.FarRequest; }

    ScriptedPrompter prompter;
    ScopedPrompter scope{prompter};
    std::function<void(QDialog&)> edit;
    int result = QDialog::Accepted;
    int shown = 0;

private:
    std::function<int(QDialog&)> savedExec_;
};

}  // namespace

TEST_F(RequestDialogTest, WithoutARequestNothingIsShown) {
    delete JobDef.FarRequest;
    JobDef.FarRequest = nullptr;
    delete JobDef.NearRequest;
    JobDef.NearRequest = nullptr;
    TFarSetDlg farDlg(nullptr, "Sans");
    TNearSetDlg nearDlg(nullptr, "Sans");
    EXPECT_FALSE(farDlg.Execute());
    EXPECT_FALSE(nearDlg.Execute());
    EXPECT_EQ(shown, 0);
}

TEST_F(RequestDialogTest, AngleGainDefaultsReadBackUnchanged) {
    TFarSetDlg dlg(nullptr, "Sans");
    QString seen[4];
    edit = [&](QDialog&) {
        seen[0] = dlg.EditAW->text();
        seen[1] = dlg.EditAN->text();
        seen[2] = dlg.EditZN->text();
        seen[3] = dlg.EditName->text();
    };
    EXPECT_TRUE(dlg.Execute());
    EXPECT_EQ(seen[0], "10.0");
    EXPECT_EQ(seen[1], "36");
    EXPECT_EQ(seen[2], "10");
    EXPECT_EQ(seen[3], "/data/yagi.csv");
    EXPECT_EQ(far().AzimuthCount, 36);
    EXPECT_EQ(far().ZenithStep, 10.0);
    EXPECT_EQ(dlg.windowTitle(), "Set of parameters a table Angle/gain");
    EXPECT_TRUE(dlg.OKBtn->isDefault());
}

TEST_F(RequestDialogTest, AngleGainCountsAreTakenAsTheirMagnitude) {
    TFarSetDlg dlg(nullptr, "Sans");
    edit = [&](QDialog&) {
        dlg.EditAN->setText("-36");
        dlg.EditZN->setText("4.6");
        dlg.EditA->setText("2*45");
    };
    EXPECT_TRUE(dlg.Execute());
    EXPECT_EQ(far().AzimuthCount, 36);
    EXPECT_EQ(far().ZenithCount, 5);
    EXPECT_EQ(far().AzimuthStart, 90.0);
}

TEST_F(RequestDialogTest, AngleGainStopsAtTheFirstFieldThatDoesNotRead) {
    TFarSetDlg dlg(nullptr, "Sans");
    edit = [&](QDialog&) {
        dlg.EditName->setText("/data/other 1.2");  // completed as a save's name
        dlg.EditA->setText("15");
        dlg.EditZ->setText("");
        dlg.EditAW->setText("5");
    };
    prompter.AnswerMessage(0);
    EXPECT_FALSE(dlg.Execute());
    EXPECT_EQ(far().Path, "/data/other 1.2.csv");
    EXPECT_EQ(far().AzimuthStart, 15.0);
    EXPECT_EQ(far().AzimuthStep, 10.0);  // after the failing field: unchanged
    EXPECT_EQ(prompter.ShownBoxes().size(), 1u);
}

TEST_F(RequestDialogTest, CancelChangesNothing) {
    TFarSetDlg dlg(nullptr, "Sans");
    result = QDialog::Rejected;
    edit = [&](QDialog&) { dlg.EditAN->setText("3"); };
    EXPECT_FALSE(dlg.Execute());
    EXPECT_EQ(far().AzimuthCount, 36);
}

TEST_F(RequestDialogTest, APathLongerThanARequestTakesIsRefused) {
    TNearSetDlg dlg(nullptr, "Sans");
    edit = [&](QDialog&) {
        dlg.EditName->setText("/" + QString(300, 'a') + ".csv");
        dlg.EditPow->setText("10");
    };
    prompter.AnswerMessage(0);
    EXPECT_FALSE(dlg.Execute());
    EXPECT_EQ(near().Path, "/data/yagi.csv");
    EXPECT_EQ(near().Power, 50.0);
    ASSERT_EQ(prompter.ShownBoxes().size(), 1u);
    EXPECT_NE(prompter.Last().text.find("255"), std::string::npos);
}

TEST_F(RequestDialogTest, NearFieldMagneticIsStoredEvenWhenALaterNumberFails) {
    TNearSetDlg dlg(nullptr, "Sans");
    edit = [&](QDialog&) {
        dlg.CalcSel->SetItemIndex(1);
        dlg.EditPow->setText("100");
        dlg.EditYW->setText("x");
        dlg.EditXN->setText("-5");
    };
    prompter.AnswerMessage(0);
    EXPECT_FALSE(dlg.Execute());
    EXPECT_EQ(near().Field, 1);
    EXPECT_EQ(near().Power, 100.0);
    EXPECT_EQ(near().YStep, 3.0);
    EXPECT_EQ(near().XCount, 5);
}

TEST_F(RequestDialogTest, NearFieldReadsEveryFieldInMetres) {
    JobDef.InWavelengths = 1;
    JobDef.Wavelength = 20.0;
    TNearSetDlg dlg(nullptr, "Sans");
    QString shownStep;
    edit = [&](QDialog&) {
        shownStep = dlg.EditXW->text();
        dlg.EditX->setText("-1.5");
        dlg.EditY->setText("2");
        dlg.EditZ->setText("0.5");
        dlg.EditXW->setText("0.25");
        dlg.EditYW->setText("1");
        dlg.EditZW->setText("0");
        dlg.EditXN->setText("-5");
        dlg.EditYN->setText("7");
        dlg.EditZN->setText("1");
    };
    EXPECT_TRUE(dlg.Execute());
    JobDef.InWavelengths = 0;
    EXPECT_EQ(shownStep, "3.0");
    EXPECT_EQ(near().Field, 0);
    EXPECT_EQ(near().XStart, -1.5);
    EXPECT_EQ(near().YStart, 2.0);
    EXPECT_EQ(near().ZStart, 0.5);
    EXPECT_EQ(near().XStep, 0.25);
    EXPECT_EQ(near().YStep, 1.0);
    EXPECT_EQ(near().ZStep, 0.0);
    EXPECT_EQ(near().XCount, 5);
    EXPECT_EQ(near().YCount, 7);
    EXPECT_EQ(near().ZCount, 1);
}

TEST_F(RequestDialogTest, FileButtonOffersTheCurrentPathInTheDataFolder) {
    TNearSetDlg dlg(nullptr, "Sans");
    dlg.DataFolder = "/data";
    dlg.LoadRequest();
    prompter.AnswerFile("/data/field.csv");
    dlg.FileBtn->click();
    ASSERT_EQ(prompter.ShownBoxes().size(), 1u);
    EXPECT_EQ(prompter.Last().kind, "save");
    EXPECT_EQ(prompter.Last().caption, "Save table of fields");
    EXPECT_EQ(prompter.Last().text, "/data/yagi.csv");
    EXPECT_EQ(near().Path, "/data/field.csv");
    EXPECT_EQ(dlg.EditName->text(), "/data/field.csv");

    TFarSetDlg farDlg(nullptr, "Sans");
    prompter.AnswerFile("");  // cancelled: the path stays
    farDlg.FileBtn->click();
    EXPECT_EQ(prompter.Last().caption, "Save table Angle/Ga");
    EXPECT_EQ(far().Path, "/data/yagi.csv");
}

TEST_F(RequestDialogTest, LanguageSectionsGiveTheTexts) {
    LanguageIndex = 0;
    LanguageText =
        "0\r\n"
        "FarSetDlg Winkeltabelle\r\nx OK!\r\nx Abbruch\r\nx Winkel\r\nx Azimut\r\nx Zenit\r\nx Start\r\nx Schritt\r\n"
        "x Anzahl\r\n"
        "NearSetDlg Nahfeld\r\nx Sichern\r\nx Abbruch\r\nx Feld\r\nx Elektrisch\r\nx Magnetisch\r\nx Position\r\n"
        "x Start (m)\r\nx Schritt (m)\r\nx Anzahl\r\nx Leistung\r\nx Watt\r\n";
    TFarSetDlg farDlg(nullptr, "Sans");
    EXPECT_EQ(farDlg.windowTitle(), "Winkeltabelle");
    EXPECT_EQ(farDlg.OKBtn->text(), "OK!");
    EXPECT_EQ(farDlg.GroupBox1->title(), "Winkel");
    EXPECT_EQ(farDlg.LabelCount->text(), "Anzahl");

    TNearSetDlg nearDlg(nullptr, "Sans");
    EXPECT_EQ(nearDlg.windowTitle(), "Nahfeld");
    EXPECT_EQ(nearDlg.SaveBtn->text(), "Sichern");
    EXPECT_EQ(nearDlg.CalcSel->title(), "Feld");
    EXPECT_EQ(nearDlg.CalcSel->Items(), QStringList({"Elektrisch", "Magnetisch"}));
    EXPECT_EQ(nearDlg.LabelWatts->text(), "Watt");
    EXPECT_EQ(nearDlg.GroupBox2->title(), "Leistung");
    EXPECT_TRUE(prompter.ShownBoxes().empty());
}
