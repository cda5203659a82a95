// The print button of the far-field tab (to a PDF file through the print
// service) and "Save image" of the antenna view as JPEG or BMP: pages and
// pictures that read back, cancelled dialogs, and failures that are reported
// and keep existing files.
#include "FileCommandsFixture.h"
#include "platform/FilePaths.h"
#include "platform/PictureName.h"
#include "model/ResultStore.h"
#include "platform/Printing.h"

#include <QImage>
#include <QRegularExpression>
#include <QTabWidget>

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

TEST_F(PrintAndPictureTest, PrintJobThatCannotStartIsReported) {
    CalculatedDipole();
    PdfPrintSetup setup(UnwritablePath("page.pdf").toStdString());
    ScopedPrintSetup scope(setup);
    wnd->PrintBtn->click();
    ASSERT_EQ(CountShown("message"), 1u) << Shown();
    EXPECT_NE(LastText().find("Can not print"), std::string::npos);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);  // the hourglass is gone
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

TEST_F(PrintAndPictureTest, FailedWritesAreReportedAndKeepOldFiles) {
    DrawnView();
    // No folder to write into.
    SaveImage(UnwritablePath("view.jpg"), 0);
    ASSERT_EQ(CountShown("message"), 1u) << Shown();
    EXPECT_EQ(LastText().rfind("Can not save ", 0), 0u);

    // A read-only picture is refused and kept.
    const QString locked = WriteFile("locked.bmp", "old picture");
    QFile::setPermissions(locked, QFileDevice::ReadOwner);
    prompter.Clear();
    SaveImage(locked, 1);
    EXPECT_EQ(CountShown("message"), 1u) << Shown();
    EXPECT_EQ(ReadFile(locked), "old picture");

    // A target that cannot be replaced stays what it was.
    QDir(TempPath("")).mkpath("taken.jpg/inside");
    prompter.Clear();
    SaveImage(TempPath("taken.jpg"), 0);
    EXPECT_EQ(CountShown("message"), 1u) << Shown();
    EXPECT_TRUE(QFileInfo(TempPath("taken.jpg/inside")).isDir());
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
