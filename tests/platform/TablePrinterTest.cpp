// The table printer printing to PDF: pages for a number of rows, the text of
// page 1, a page too small for a row, Abort in the middle of a job, a
// printer that does not start and a disk that fills up.
#include "platform/PrintDlgBox.h"
#include "platform/Printing.h"
#include "platform/ScriptedPrompter.h"

#include <QFile>
#include <QProcess>
#include <QPushButton>
#include <QApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/resource.h>

namespace {

class TablePrinterTest : public ::testing::Test {
protected:
    // A box with three columns and `rows` rows.
    static void Fill(TPrintDlgBox& box, int rows) {
        box.SetLayout(5, 3, 3, 3);
        box.SetColWidth(0, 4);
        box.SetColTitle(0, "No.");
        box.SetColWidth(1, 6);
        box.SetColTitle(1, "Width(m)");  // wider than its column: the column grows
        box.SetColWidth(2, 4);
        box.SetColTitle(2, "R");
        for (int r = 0; r < rows; ++r) {
            box.SetCell(r, 0, std::to_string(r + 1));
            box.SetCell(r, 1, "10.25");
            box.SetCell(r, 2, r == 0 ? "a text far wider than its column" : "");
        }
        box.Title = "yagi3";
    }
    int Print(int rows, const QString& name, int* rowsPerPage = nullptr) {
        PdfPrintSetup setup(path(name), false);
        ScopedPrintSetup scope(setup);
        TPrintDlgBox box(nullptr);
        Fill(box, rows);
        const int result = box.PrintTable();
        if (rowsPerPage) *rowsPerPage = box.Layout.RowsPerPage;
        return result;
    }
    std::string path(const QString& name) const { return dir_.filePath(name).toStdString(); }
    int Pages(const QString& name) const {
        QFile f(dir_.filePath(name));
        if (!f.open(QIODevice::ReadOnly)) return 0;
        return static_cast<int>(f.readAll().count("/Type /Page\n") + 0);
    }
    QString PageText(const QString& name, int page) const {
        QProcess p;
        p.start("pdftotext", {"-f", QString::number(page), "-l", QString::number(page), "-layout",
                              dir_.filePath(name), "-"});
        p.waitForFinished(10000);
        return QString::fromUtf8(p.readAllStandardOutput());
    }

    ScriptedPrompter prompter;
    ScopedPrompter scope{prompter};

private:
    QTemporaryDir dir_;
};

}  // namespace

TEST_F(TablePrinterTest, RowsFillPagesAndPageOneShowsHeadingTitlesAndCells) {
    int n = 0;
    ASSERT_EQ(Print(1, "one.pdf", &n), 1);
    ASSERT_GT(n, 1);
    EXPECT_EQ(Pages("one.pdf"), 1);
    ASSERT_EQ(Print(n, "full.pdf"), 1);
    EXPECT_EQ(Pages("full.pdf"), 1);
    ASSERT_EQ(Print(n + 1, "over.pdf"), 1);
    EXPECT_EQ(Pages("over.pdf"), 2);

    const QString text = PageText("over.pdf", 1);
    EXPECT_TRUE(text.contains("yagi3")) << text.toStdString();
    EXPECT_TRUE(text.contains("1/2"));
    EXPECT_TRUE(text.contains("Width(m)"));
    EXPECT_TRUE(text.contains("10.25"));
    EXPECT_TRUE(PageText("over.pdf", 2).contains("2/2"));
    EXPECT_TRUE(prompter.ShownBoxes().empty());
}

TEST_F(TablePrinterTest, NothingIsPrintedForAnEmptyTableOrAPageWithoutRoom) {
    PdfPrintSetup setup(path("none.pdf"), false);
    ScopedPrintSetup scope(setup);
    TPrintDlgBox empty(nullptr);
    EXPECT_EQ(empty.PrintTable(), 0);
    EXPECT_EQ(setup.Asked, 0);

    TPrintDlgBox cramped(nullptr);
    Fill(cramped, 3);
    cramped.SetLayout(0, 49, 0, 49);  // 2 % of the page: fewer than 6 lines
    EXPECT_EQ(cramped.PrintTable(), 0);

    setup.Cancel = true;
    TPrintDlgBox cancelled(nullptr);
    Fill(cancelled, 3);
    EXPECT_EQ(cancelled.PrintTable(), 0);
}

TEST_F(TablePrinterTest, AbortOnPageThreeOfFiveProducesNoFurtherPage) {
    PdfPrintSetup setup(path("abort.pdf"), false);
    ScopedPrintSetup scope(setup);
    TPrintDlgBox box(nullptr);
    int last = -1;
    box.AfterPage = [&](int page) {
        last = page;
        if (page == 2) box.AbortBtn->click();
    };
    int n = 0;
    ASSERT_EQ(Print(1, "probe.pdf", &n), 1);
    Fill(box, 5 * n);
    EXPECT_EQ(box.PrintTable(), 0);
    EXPECT_EQ(last, 2);
}

TEST_F(TablePrinterTest, APrinterThatCannotStartIsReported) {
    PdfPrintSetup setup("/nonexistent-folder/x/table.pdf", false);
    ScopedPrintSetup scope(setup);
    TPrintDlgBox box(nullptr);
    Fill(box, 2);
    EXPECT_EQ(box.PrintTable(), 0);
    ASSERT_EQ(prompter.ShownBoxes().size(), 1u);
    EXPECT_EQ(prompter.Last().text.rfind("Can not save /nonexistent-folder/x/table.pdf", 0), 0u);
}

// While the caller's window waits, the box's Abort answers; a printout to a
// full disk is said once the box is gone and the caller's window answers
// again, so the message is not hidden under the box.
TEST_F(TablePrinterTest, AFullDiskIsSaidOnlyAfterTheBoxIsGone) {
    PdfPrintSetup setup(path("full.pdf"), false);
    ScopedPrintSetup scope(setup);
    QWidget caller;
    caller.setObjectName("caller");
    caller.show();
    caller.activateWindow();
    QApplication::processEvents();
    ASSERT_EQ(QApplication::activeWindow(), &caller);
    TPrintDlgBox box(&caller);
    Fill(box, 40);
    bool boxShown = false, callerWaited = false, abortAnswers = false;
    box.AfterPage = [&](int) {
        boxShown = box.isVisible();
        callerWaited = !caller.isEnabled();
        abortAnswers = box.AbortBtn->isEnabled();
    };
    std::string underMessage;
    prompter.WhenShown = [&](const ScriptedPrompter::Shown&) {
        if (box.isVisible()) underMessage += " box";
        if (!caller.isEnabled()) underMessage += " caller disabled";
    };
    struct rlimit old {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
    struct rlimit small = old;
    small.rlim_cur = 1024;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const int printed = box.PrintTable();
    ::setrlimit(RLIMIT_FSIZE, &old);
    EXPECT_EQ(printed, 0);
    EXPECT_TRUE(boxShown);
    EXPECT_TRUE(callerWaited);
    EXPECT_TRUE(abortAnswers);
    ASSERT_EQ(prompter.ShownBoxes().size(), 1u);
    EXPECT_EQ(prompter.Last().text.rfind("Can not save " + path("full.pdf"), 0), 0u) << prompter.Last().text;
    EXPECT_EQ(underMessage, "");
    EXPECT_FALSE(box.isVisible());
    EXPECT_TRUE(caller.isEnabled());
}
