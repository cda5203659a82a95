// Frequencies the antenna cannot take, wherever they enter: a far-field file
// or an optimization log (antenna texts: BrokenFilesTest), the design and
// calculation frequency fields (taken at Start) and the bands of the
// multiband list are refused with the message that names the limit, and
// nothing is calculated. Below 0.001 MHz a saved frequency reads back as
// another one; far below it the engine's single precision makes it 0, and
// far above 1000000 MHz no number at all.
#include "FileCommandsFixture.h"
#include "model/EnvDef.h"
#include "model/FarFieldFile.h"
#include "optimizer/OptLogFile.h"
#include "optimizer/OptimizerState.h"
#include "views/NWLForm.h"

#include <QAction>
#include <QComboBox>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>

namespace {

enum class Entry { FarFieldFile, FarFieldCalcFreq, OptLogCalcFreq, DesignField, CalcField, Band };

constexpr const char* Limit = "A frequency must be at least 0.001 MHz.";
constexpr const char* HighLimit = "A frequency must be at most 1000000 MHz.";

// The antenna with the frequency, in a far-field file or an optimization log.
QByteArray FileWith(Entry entry, const AntDef& ant, double f) {
    auto a = std::make_unique<AntDef>(ant);
    (entry == Entry::FarFieldFile ? a->Freq : a->CalcFreq) = f;
    const bool farField = entry == Entry::FarFieldFile || entry == Entry::FarFieldCalcFreq;
    const std::vector<uint8_t> bytes = farField
                                           ? BuildFarFieldImage(*a, TakeModelEnvFields(EnvDef), "", CResult())
                                           : BuildOptLogImage(*a, TakeModelEnvFields(EnvDef), "", CACal());
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
}

}  // namespace

TEST_F(FileCommandsTest, FrequenciesBeyondTheLimitsAreRefusedWhereverTheyEnter) {
    const struct {
        Entry entry;
        QString text;
        int points;            // of the band
        const char* message;   // nullptr: taken and calculated
    } cases[] = {
        {Entry::FarFieldFile, "1e-7", 0, Limit},
        {Entry::FarFieldFile, "1e-300", 0, Limit},
        {Entry::FarFieldCalcFreq, "6.8e38", 0, HighLimit},
        {Entry::OptLogCalcFreq, "6.8e38", 0, HighLimit},
        {Entry::DesignField, "1000000.1", 0, HighLimit},
        {Entry::CalcField, "6.8e38", 0, HighLimit},
        {Entry::OptLogCalcFreq, "1e-300", 0, Limit},
        {Entry::OptLogCalcFreq, "9.45e-6", 0, Limit},
        {Entry::DesignField, "1e-7", 0, Limit},
        {Entry::DesignField, "9.45e-6", 0, Limit},
        {Entry::DesignField, "0.0009999", 0, Limit},
        {Entry::CalcField, "1e-300", 0, Limit},
        {Entry::CalcField, "9.45e-6", 0, Limit},
        {Entry::CalcField, "14.2", 0, nullptr},
        {Entry::Band, "0.0001 - 0.0004", 4, "0.0001 - 0.0004: Fmin < 0.001 MHz"},
        {Entry::Band, "1e-300 - 1e-299", 4, "1e-300 - 1e-299: Fmin < 0.001 MHz"},
        {Entry::Band, "14.0001 - 14.0004", 4, "14.0001 - 14.0004: Step < 1 KHz"},
        {Entry::Band, "10.1 - 10.15", 101, "10.1 - 10.15: Step < 1 KHz"},
        {Entry::Band, "14.0 - 6.8e38", 4, "14.0 - 6.8e38: Fmax > 1000000 MHz"},
        {Entry::Band, "14.0 - 14.003", 4, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        Open();
        ASSERT_EQ(wnd->OpenAntFile(KORVA_TEST_DATA "/dipole.kva"), 1);
        // Start first: the multiband list is offered once there are results.
        wnd->CalTrgBtn->click();
        prompter.Clear();
        const int rows = Results.RowCount;
        QStringList listed;
        switch (c.entry) {
        case Entry::FarFieldFile:
        case Entry::FarFieldCalcFreq:
        case Entry::OptLogCalcFreq: {
            const QString path = TempPath(c.entry == Entry::OptLogCalcFreq ? "low.kvo" : "low.kvb");
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(FileWith(c.entry, wnd->Ant, c.text.toDouble()));
            file.close();
            EditName("edited");
            wnd->OpenFileByExt(path);
            EXPECT_STREQ(wnd->Ant.Name, "edited");
            break;
        }
        case Entry::DesignField:
        case Entry::CalcField:
            (c.entry == Entry::DesignField ? wnd->Freq : wnd->DoFreq)->setEditText(c.text);
            wnd->CalTrgBtn->click();
            break;
        case Entry::Band:
            ASSERT_TRUE(wnd->NWLDat->isEnabled());
            ExecModalDialog = [&](QDialog& d) {
                auto* form = dynamic_cast<TNWLForm*>(&d);
                if (!form) return int(QDialog::Rejected);
                form->BandLB->item(0)->setText(c.text);
                form->BandLB->item(0)->setCheckState(Qt::Checked);
                form->StepCB->setCurrentText(QString::number(c.points));
                form->OKBtnClick();
                listed = form->ResMemo->toPlainText().split('\n', Qt::SkipEmptyParts);
                return int(QDialog::Rejected);
            };
            wnd->NWLDat->trigger();
            break;
        }
        if (c.message) {
            EXPECT_EQ(prompter.ShownBoxes().size(), 1u);
            const std::string shown = prompter.ShownBoxes().empty() ? std::string() : prompter.Last().text;
            EXPECT_NE(shown.find(c.message), std::string::npos) << shown;
            EXPECT_EQ(Results.RowCount, rows);
            EXPECT_TRUE(listed.isEmpty()) << listed.join('|').toStdString();
        } else {
            EXPECT_TRUE(prompter.ShownBoxes().empty()) << prompter.Last().text;
            if (c.entry == Entry::Band) {
                EXPECT_EQ(listed.size(), c.points + 1) << listed.join('|').toStdString();
            } else {
                EXPECT_EQ(Results.RowCount, rows + 1);
            }
        }
    }
}
