// Frequencies the antenna cannot take, wherever they are typed: the design
// and calculation frequency fields (taken at Start) and the bands of the
// multiband list are refused with the message that names the limit, and
// nothing is calculated. Below 0.001 MHz a saved frequency reads back as
// another one; far below it the engine's single precision makes it 0.
#include "MainWndFixture.h"
#include "views/NWLForm.h"

#include <QAction>
#include <QComboBox>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>

namespace {

enum class Entry { DesignField, CalcField, Band };

}  // namespace

TEST_F(MainWndTest, FrequenciesBelowTheLimitAreRefusedWhereverTheyAreTyped) {
    const struct {
        Entry entry;
        QString text;
        int points;            // of the band
        const char* message;   // nullptr: taken and calculated
    } cases[] = {
        {Entry::DesignField, "1e-7", 0, "A frequency must be at least 0.001 MHz."},
        {Entry::DesignField, "9.45e-6", 0, "A frequency must be at least 0.001 MHz."},
        {Entry::DesignField, "0.0009999", 0, "A frequency must be at least 0.001 MHz."},
        {Entry::CalcField, "1e-300", 0, "A frequency must be at least 0.001 MHz."},
        {Entry::CalcField, "9.45e-6", 0, "A frequency must be at least 0.001 MHz."},
        {Entry::CalcField, "14.2", 0, nullptr},
        {Entry::Band, "0.0001 - 0.0004", 4, "0.0001 - 0.0004: Fmin < 0.001 MHz"},
        {Entry::Band, "1e-300 - 1e-299", 4, "1e-300 - 1e-299: Fmin < 0.001 MHz"},
        {Entry::Band, "14.0001 - 14.0004", 4, "14.0001 - 14.0004: Step < 1 KHz"},
        {Entry::Band, "10.1 - 10.15", 101, "10.1 - 10.15: Step < 1 KHz"},
        {Entry::Band, "14.0 - 14.003", 4, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        Open();
        ASSERT_EQ(wnd->OpenAntFile(KORVA_TEST_DATA "/dipole.kva"), 1);
        if (c.entry == Entry::Band) {
            // The list is offered once the antenna has results.
            wnd->CalTrgBtn->click();
            ASSERT_TRUE(wnd->NWLDat->isEnabled());
        }
        prompter.Clear();
        const int rows = Results.RowCount;
        QStringList listed;
        if (c.entry == Entry::Band) {
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
        } else {
            (c.entry == Entry::DesignField ? wnd->Freq : wnd->DoFreq)->setEditText(c.text);
            wnd->CalTrgBtn->click();
        }
        if (c.message) {
            EXPECT_EQ(prompter.ShownBoxes().size(), 1u);
            EXPECT_EQ(prompter.ShownBoxes().empty() ? std::string() : prompter.Last().text, c.message);
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
