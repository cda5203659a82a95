// The near-field and angle/gain commands through their request dialogs:
// the default path, what the dialog's answer writes, and that a cancelled or
// refused request writes nothing and leaves no request behind.
#include "FileCommandsFixture.h"
#include "engine/FarField3D.h"
#include "engine/NearField.h"
#include "model/EnvDef.h"
#include "model/ResultStore.h"
#include "platform/FormPattern.h"
#include "platform/RadioGroup.h"
#include "views/FarSetDlg.h"
#include "views/NearSetDlg.h"

#include <QDialog>
#include <QFileInfo>

class RequestTablesTest : public FileCommandsTest {
protected:
    void SetUp() override {
        FileCommandsTest::SetUp();
        savedExec_ = ExecModalDialog;
    }
    void TearDown() override {
        ExecModalDialog = savedExec_;
        FileCommandsTest::TearDown();
    }
    QString CalculatedDipole() {
        const QString path = OpenDipole("yagi.kva");
        wnd->CalTrgBtn->click();
        EXPECT_EQ(Results.HasFarField, 1);
        wnd->UpdateMenuState();
        prompter.Clear();
        return path;
    }
    // Answers the dialog with `edit` applied to it, then the given result.
    template <class Dialog>
    void Answer(std::function<void(Dialog&)> edit, int result = QDialog::Accepted) {
        ExecModalDialog = [this, edit, result](QDialog& shown) {
            ++dialogsShown;
            auto* dialog = dynamic_cast<Dialog*>(&shown);
            EXPECT_NE(dialog, nullptr);
            if (dialog) {
                seenPath = dialog->EditName->text();
                edit(*dialog);
            }
            return result;
        };
    }
    static QStringList Lines(const QByteArray& bytes) {
        QStringList lines = QString::fromLatin1(bytes).split("\r\n");
        if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
        return lines;
    }

    int dialogsShown = 0;
    QString seenPath;

private:
    std::function<int(QDialog&)> savedExec_;
};

TEST_F(RequestTablesTest, NearFieldOfAMagneticGridGoesToTheAntennasCsv) {
    CalculatedDipole();
    ASSERT_TRUE(wnd->K31->isEnabled());
    Answer<TNearSetDlg>([](TNearSetDlg& d) {
        d.CalcSel->SetItemIndex(1);
        d.EditXN->setText("2");
        d.EditYN->setText("-1");
        d.EditZN->setText("3");
    });
    wnd->K31->trigger();

    EXPECT_EQ(dialogsShown, 1);
    EXPECT_EQ(seenPath, TempPath("yagi.csv"));
    EXPECT_EQ(JobDef.NearRequest, nullptr);
    EXPECT_EQ(CountShown("message"), 0u) << Shown();
    const QStringList lines = Lines(ReadFile(TempPath("yagi.csv")));
    ASSERT_EQ(lines.size(), 1 + 2 * 1 * 3 * 3) << lines.join("|").toStdString();  // three components per point
    EXPECT_EQ(lines[0], "X(m),Y(m),Z(m),VECTOR,REAL(AT/m),IMAGINARY(AT/m),MAGNITUDE(AT/m),PHASE(DEG)");
}

TEST_F(RequestTablesTest, CancelledOrUnreadableRequestsWriteNothing) {
    CalculatedDipole();
    Answer<TNearSetDlg>([](TNearSetDlg&) {}, QDialog::Rejected);
    wnd->K31->trigger();
    prompter.AnswerMessage(0);
    Answer<TFarSetDlg>([](TFarSetDlg& d) { d.EditZW->setText("ten"); });
    wnd->K32->trigger();

    EXPECT_EQ(dialogsShown, 2);
    EXPECT_FALSE(QFileInfo::exists(TempPath("yagi.csv")));
    EXPECT_EQ(JobDef.NearRequest, nullptr);
    EXPECT_EQ(JobDef.FarRequest, nullptr);
    ASSERT_EQ(CountShown("message"), 1u) << Shown();
    EXPECT_NE(prompter.Last().text.find("ten"), std::string::npos);
}

TEST_F(RequestTablesTest, AngleGainWithAZeroZenithStepHasOneZenithPerAzimuth) {
    CalculatedDipole();
    const QString target = TempPath("angles.csv");
    Answer<TFarSetDlg>([&](TFarSetDlg& d) {
        d.EditName->setText(target);
        d.EditZ->setText("90");
        d.EditZW->setText("0");
        d.EditZN->setText("7");
        d.EditAN->setText("-4");
        d.EditAW->setText("90");
    });
    wnd->K32->trigger();

    EXPECT_EQ(JobDef.FarRequest, nullptr);
    const QStringList lines = Lines(ReadFile(target));
    ASSERT_EQ(lines.size(), 1 + 4) << Shown();
    EXPECT_EQ(lines[0], "ZENITH(DEG),AZIMUTH(DEG),VERT(dBi),HORI(dBi),TOTAL(dBi)");
    EXPECT_TRUE(lines[4].startsWith("90.0,270.0,")) << lines[4].toStdString();
}
