// The print button of the far-field tab (to a PDF file through the print
// service) and "Save image" of the antenna view as JPEG or BMP: pages and
// pictures that read back, cancelled dialogs, and failures that are reported
// and keep existing files.
#include "FileCommandsFixture.h"
#include "platform/FilePaths.h"
#include "platform/PictureName.h"
#include "model/ResultStore.h"
#include "platform/PrintDlgBox.h"
#include "platform/Printing.h"

#include <QImage>
#include <QPageLayout>
#include <QPrinter>
#include <QRegularExpression>
#include <QTabWidget>
#include <functional>

#include <sys/resource.h>

namespace {

// Page boxes of a PDF file: [width, height] of every page object.
std::vector<std::pair<double, double>> PdfPages(const QByteArray& pdf) {
    std::vector<std::pair<double, double>> pages;
    static const QRegularExpression page(R"(/Type\s*/Page(?!s))");
    static const QRegularExpression box(R"(/MediaBox\s*\[\s*0\s+0\s+([\d.]+)\s+([\d.]+)\s*\])");
    const QString text = QString::fromLatin1(pdf);
    auto it = page.globalMatch(text);
    while (it.hasNext()) {
        const auto m = box.match(text, it.next().capturedEnd());
        if (m.hasMatch()) pages.emplace_back(m.captured(1).toDouble(), m.captured(2).toDouble());
    }
    return pages;
}

// A PDF written to its end: the header, and the trailer last.
bool WholePdf(const QByteArray& pdf) { return pdf.startsWith("%PDF-") && pdf.trimmed().endsWith("%%EOF"); }

// Runs `write` on a file system that takes no more than `bytes` per file.
void WithFileSizeLimit(rlim_t bytes, const std::function<void()>& write) {
    struct rlimit old {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
    struct rlimit small = old;
    small.rlim_cur = bytes;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    write();
    ::setrlimit(RLIMIT_FSIZE, &old);
}

// Prints to a PDF file and notes what the job's printer proposed.
struct ProposingPdfSetup : PdfPrintSetup {
    using PdfPrintSetup::PdfPrintSetup;
    bool Choose(QPrinter& printer, QWidget* owner) override {
        ProposedFile = printer.outputFileName();
        ProposedLandscape = printer.pageLayout().orientation() == QPageLayout::Landscape;
        return PdfPrintSetup::Choose(printer, owner);
    }
    QString ProposedFile;
    bool ProposedLandscape = false;
};

// What would stand over a message or keep it from being answered: a progress
// box on top, a window left disabled, the hourglass.
std::string ProgressUnderAMessage() {
    std::string found;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (!w->isVisible()) continue;
        if (w->windowFlags() & Qt::WindowStaysOnTopHint) found += " box " + w->objectName().toStdString();
        if (!w->isEnabled()) found += " disabled " + w->objectName().toStdString();
    }
    if (QApplication::overrideCursor()) found += " hourglass";
    return found;
}

}  // namespace

class PrintAndPictureTest : public FileCommandsTest {
protected:
    // The dipole opened and calculated, the far-field tab shown.
    void CalculatedDipole() {
        OpenDipole();
        wnd->CalTrgBtn->click();
        ASSERT_NE(Results.AngleStep, 0) << Shown();
        wnd->Page->setCurrentWidget(wnd->TabSheet4);
        QApplication::processEvents();
        ASSERT_TRUE(wnd->PrintBtn->isEnabled());
    }
    // The view tab shown and drawn.
    void DrawnView() {
        wnd->Page->setCurrentWidget(wnd->TabSheet2);
        QApplication::processEvents();
        wnd->DrawAntenna();
        ASSERT_FALSE(wnd->ViewBitmap.isNull());
    }
    // "Save image" answered with the path and the filter entry (0 JPEG, 1 BMP).
    void SaveImage(const QString& path, int filter) {
        prompter.AnswerFile(path.toStdString(), filter);
        wnd->SavImBtn->click();
    }
    static QImage Rgb(const QImage& img) { return img.convertToFormat(QImage::Format_RGB32); }
};

TEST_F(PrintAndPictureTest, PrintIsOfferedOnlyWithPatterns) {
    EXPECT_FALSE(wnd->PrintBtn->isEnabled());
    CalculatedDipole();
}

TEST_F(PrintAndPictureTest, PrintsOnePageInTheChosenOrientation) {
    CalculatedDipole();
    for (bool landscape : {true, false}) {
        const QString path = TempPath(landscape ? "wide.pdf" : "tall.pdf");
        PdfPrintSetup setup(path.toStdString(), landscape);
        ScopedPrintSetup scope(setup);
        wnd->PrintBtn->click();
        EXPECT_EQ(setup.Asked, 1);
        const QByteArray pdf = ReadFile(path);
        ASSERT_TRUE(pdf.startsWith("%PDF-")) << landscape;
        const auto pages = PdfPages(pdf);
        ASSERT_EQ(pages.size(), 1u) << landscape;
        EXPECT_EQ(pages[0].first > pages[0].second, landscape);
        EXPECT_GT(pdf.size(), 10000);  // grids, curves and text, not an empty page
    }
    EXPECT_TRUE(prompter.ShownBoxes().empty()) << Shown();
}

TEST_F(PrintAndPictureTest, CancelledPrintDialogPrintsNothing) {
    CalculatedDipole();
    const QString path = TempPath("never.pdf");
    PdfPrintSetup setup(path.toStdString());
    setup.Cancel = true;
    ScopedPrintSetup scope(setup);
    wnd->PrintBtn->click();
    EXPECT_EQ(setup.Asked, 1);
    EXPECT_FALSE(QFileInfo::exists(path));
    EXPECT_TRUE(prompter.ShownBoxes().empty()) << Shown();
}

// A print job after one that failed starts from the user's choices, not from
// what the failed job left: its page is whole, on every print path.
TEST_F(PrintAndPictureTest, APrintAfterAFailedOneIsWhole) {
    CalculatedDipole();
    const QString failed = TempPath("failed.pdf");
    {
        PdfPrintSetup setup(failed.toStdString(), true);
        ScopedPrintSetup scope(setup);
        WithFileSizeLimit(4096, [this] { wnd->PrintBtn->click(); });
    }
    EXPECT_EQ(CountShown("message"), 1u) << Shown();
    EXPECT_FALSE(QFileInfo::exists(failed));

    const QString plots = TempPath("plots.pdf");
    ProposingPdfSetup again(plots.toStdString(), false);
    ScopedPrintSetup scope(again);
    wnd->PrintBtn->click();
    EXPECT_EQ(again.ProposedFile, failed);
    EXPECT_TRUE(again.ProposedLandscape);
    const QByteArray pdf = ReadFile(plots);
    EXPECT_TRUE(WholePdf(pdf)) << pdf.size();
    EXPECT_EQ(PdfPages(pdf).size(), 1u);

    TPrintDlgBox table(wnd.get());
    table.SetLayout(5, 3, 3, 3);
    table.SetColWidth(0, 40);
    table.SetCell(0, 0, "wire 1");
    const QString tablePdf = TempPath("table.pdf");
    ProposingPdfSetup tableSetup(tablePdf.toStdString(), false);
    ScopedPrintSetup tableScope(tableSetup);
    EXPECT_EQ(table.PrintTable(), 1);
    EXPECT_TRUE(WholePdf(ReadFile(tablePdf)));
    EXPECT_EQ(CountShown("message"), 1u) << Shown();
}

TEST_F(PrintAndPictureTest, JpegPictureReadsBackInTheViewsSize) {
    const QString antenna = OpenDipole();
    DrawnView();
    SaveImage(TempPath("View.JPG"), 0);
    ASSERT_EQ(CountShown("save"), 1u);
    EXPECT_EQ(prompter.ShownBoxes()[0].text, LocalPath(antenna.left(antenna.size() - 4)));
    EXPECT_FALSE(QFileInfo::exists(TempPath("View.JPG")));
    const QImage back(TempPath("view.jpg"), "JPG");
    ASSERT_FALSE(back.isNull()) << Shown();
    EXPECT_EQ(back.size(), wnd->ViewBitmap.size());
    EXPECT_EQ(CountShown("message"), 0u) << Shown();
}

TEST_F(PrintAndPictureTest, BmpPictureIsTheViewExactly) {
    OpenDipole();
    DrawnView();
    SaveImage(TempPath("view"), 1);
    const QImage back(TempPath("view.bmp"), "BMP");
    ASSERT_FALSE(back.isNull()) << Shown();
    EXPECT_EQ(Rgb(back), Rgb(wnd->ViewBitmap));
}

TEST_F(PrintAndPictureTest, CancelledSaveWritesNothing) {
    DrawnView();
    SaveImage("", 0);
    EXPECT_EQ(QDir(TempPath("")).entryList(QDir::Files).filter(QRegularExpression("\\.(jpg|bmp)$")).size(), 0);
    EXPECT_EQ(CountShown("message"), 0u);
}

// The printouts to PDF and the pictures keep the old file when the write
// fails, say so over the window (not under a progress box or the
// hourglass), and leave nothing beside it: no folder, a file the user
// protected, a folder in its place, a disk that fills up.
TEST_F(PrintAndPictureTest, FailedWritesAreReportedAndKeepOldFiles) {
    CalculatedDipole();
    DrawnView();
    const struct {
        const char* what;
        const char* extension;
        std::function<void(const QString&)> write;
    } writers[] = {
        {"printout", "pdf",
         [this](const QString& path) {
             PdfPrintSetup setup(path.toStdString());
             ScopedPrintSetup scope(setup);
             wnd->PrintBtn->click();
         }},
        {"table printout", "pdf",
         [this](const QString& path) {
             PdfPrintSetup setup(path.toStdString());
             ScopedPrintSetup scope(setup);
             wnd->activateWindow();
             TPrintDlgBox table(wnd.get());
             table.SetLayout(5, 3, 3, 3);
             table.SetColWidth(0, 40);
             for (int r = 0; r < 100; ++r) table.SetCell(r, 0, "wire " + std::to_string(r + 1));
             EXPECT_EQ(table.PrintTable(), 0);
         }},
        {"JPEG picture", "jpg", [this](const QString& path) { SaveImage(path, 0); }},
        {"BMP picture", "bmp", [this](const QString& path) { SaveImage(path, 1); }},
    };
    const char* const failures[] = {"no folder", "protected", "a folder in its place", "full"};
    std::string underMessage;
    prompter.WhenShown = [&](const ScriptedPrompter::Shown&) { underMessage += ProgressUnderAMessage(); };
    int n = 0;
    for (const auto& w : writers) {
        for (const std::string failure : failures) {
            SCOPED_TRACE(std::string(w.what) + ", " + failure);
            const QString folder = TempPath(QString("case%1").arg(++n));
            ASSERT_TRUE(QDir().mkpath(folder));
            const QString name = QString("case%1/old.").arg(n) + w.extension;
            QString target = TempPath(name);
            if (failure == "no folder") target = UnwritablePath(QString("new%1.").arg(n) + w.extension);
            if (failure == "a folder in its place") {
                ASSERT_TRUE(QDir().mkpath(target + "/inside"));
            }
            if (failure == "protected" || failure == "full") WriteFile(name, "old contents");
            if (failure == "protected") QFile::setPermissions(target, QFileDevice::ReadOwner);
            const QStringList before = QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
            prompter.Clear();
            underMessage.clear();
            if (failure == "full") {
                WithFileSizeLimit(1024, [&] { w.write(target); });
            } else {
                w.write(target);
            }
            EXPECT_EQ(CountShown("message"), 1u) << Shown();
            EXPECT_EQ(LastText().rfind("Can not save " + target.toStdString(), 0), 0u) << LastText();
            EXPECT_EQ(QApplication::overrideCursor(), nullptr);  // the hourglass is gone
            EXPECT_EQ(underMessage, "") << "the message is said under the progress";
            EXPECT_EQ(QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), before);
            if (failure == "a folder in its place") {
                EXPECT_TRUE(QFileInfo(target + "/inside").isDir());
            } else if (failure != "no folder") {
                EXPECT_EQ(ReadFile(target), "old contents");
            }
        }
    }
}

TEST_F(PrintAndPictureTest, AnExistingFileUnderAnAddedExtensionIsAskedFor) {
    DrawnView();
    const QString old = WriteFile("shot.bmp", "old picture");
    prompter.AnswerMessage(BoxNo);
    SaveImage(TempPath("shot"), 1);
    EXPECT_EQ(CountShown("message"), 1u) << Shown();
    EXPECT_EQ(ReadFile(old), "old picture");

    prompter.Clear();
    prompter.AnswerMessage(BoxYes);
    SaveImage(TempPath("shot"), 1);
    EXPECT_FALSE(QImage(old, "BMP").isNull());
}

TEST_F(PrintAndPictureTest, SavingThroughALinkKeepsTheLink) {
    DrawnView();
    const QString real = WriteFile("real.bmp", "old");
    const QString link = TempPath("link.bmp");
    ASSERT_TRUE(QFile::link(real, link));
    SaveImage(link, 1);
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_FALSE(QImage(real, "BMP").isNull()) << Shown();
}

TEST(PictureFileName, FoldsTheFileNameAndAddsTheExtension) {
    EXPECT_EQ(PictureFileName("/home/Ham/View.JPG", PictureFormat::Jpeg), "/home/Ham/view.jpg");
    EXPECT_EQ(PictureFileName("/home/Ham/Yagi", PictureFormat::Bmp), "/home/Ham/yagi.bmp");
    EXPECT_EQ(PictureFileName("/p/yagi.jpg", PictureFormat::Bmp), "/p/yagi.jpg.bmp");
    EXPECT_EQ(PictureFileName("/p/yagi.jpg.old", PictureFormat::Jpeg), "/p/yagi.jpg.old.jpg");
    EXPECT_EQ(PictureFileName("/p/yagi 14.2", PictureFormat::Jpeg), "/p/yagi 14.2.jpg");
    // A folder's name is no file name.
    EXPECT_EQ(PictureFileName("/p/pics.jpg/Yagi", PictureFormat::Jpeg), "/p/pics.jpg/yagi.jpg");
    EXPECT_EQ(PictureFileName("Name\xC3\x84.BMP", PictureFormat::Bmp), "name\xC3\x84.bmp");
}
