// Files named on the command line are opened on the first show by their
// extension; switches are skipped and relative names are made absolute first.
#include "MainWndFixture.h"
#include "model/EnvDef.h"

#include <QDir>
#include <QFile>

TEST_F(MainWndTest, CommandLineOpensAnAntennaFileOnce) {
    const QString file = QString(KORVA_TEST_DATA) + "/dipole.kva";
    Open({"korva", "-x", "/s", file});
    EXPECT_STREQ(wnd->Ant.Name, "Half-wave dipole 14.15 MHz");
    ASSERT_EQ(wnd->Ant.WireCount, 1);
    // The file's R/4 is a quarter of the wavelength at 14.15 MHz.
    EXPECT_NEAR(wnd->Ant.Wires[0].X2, 299.792458 / 14.15 / 4, 1e-9);
    EXPECT_NEAR(wnd->Ant.Wires[0].X1, -299.792458 / 14.15 / 4, 1e-9);
    EXPECT_EQ(wnd->Ant.SourceCount, 1);
    EXPECT_EQ(wnd->FileName, file);
    EXPECT_EQ(wnd->windowTitle(), file);
    EXPECT_EQ(wnd->Ant.Changed, 0);
    EXPECT_EQ(wnd->Grid2->RowCount(), 3);
    ASSERT_EQ(wnd->Recent.Count(), 1);
    EXPECT_EQ(wnd->Recent.At(0), file.toStdString());

    // A second show opens nothing again.
    wnd->Ant.WireCount = 0;
    wnd->hide();
    wnd->show();
    EXPECT_EQ(wnd->Ant.WireCount, 0);
}

TEST_F(MainWndTest, RelativeNamesAreMadeAbsoluteBeforeAnythingMoves) {
    const QString previous = QDir::currentPath();
    QDir::setCurrent(KORVA_TEST_DATA);
    Open({"korva", "dipole.kva"});
    QDir::setCurrent(previous);
    EXPECT_EQ(wnd->FileName, QString(KORVA_TEST_DATA) + "/dipole.kva");
    EXPECT_EQ(wnd->Ant.WireCount, 1);
}

TEST_F(MainWndTest, MissingAndEmptyFilesAreReportedAndLeftOut) {
    const QString missing = TempPath("nothere.kva");
    const QString empty = TempPath("empty.kva");
    QFile(empty).open(QIODevice::WriteOnly);
    Open({"korva", missing, empty});
    ASSERT_EQ(prompter.ShownBoxes().size(), 2u);
    EXPECT_EQ(prompter.ShownBoxes()[0].caption, "Error!!!");
    EXPECT_NE(prompter.ShownBoxes()[0].text.find("Can not load"), std::string::npos);
    EXPECT_NE(prompter.ShownBoxes()[1].text.find("is empty"), std::string::npos);
    EXPECT_EQ(wnd->Recent.Count(), 0);
    EXPECT_EQ(wnd->Ant.WireCount, 0);
}

TEST_F(MainWndTest, GarbageFilesDoNotBreakTheWindow) {
    const QString junk = TempPath("junk.kva");
    QFile f(junk);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    QByteArray bytes;
    for (int i = 0; i < 5000; ++i) bytes.append(static_cast<char>((i * 7919) % 256));
    f.write("x\r\n*\r\n14\r\n99999,2,3\r\n");
    f.write(bytes);
    f.close();
    Open({"korva", junk});
    EXPECT_LE(wnd->Ant.WireCount, MaxWires);
    EXPECT_EQ(wnd->Grid2->RowCount(), wnd->Ant.WireCount + 2);
}
