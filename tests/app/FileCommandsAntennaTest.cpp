// Open, Save and Save as of antenna text files: what is written, what a
// failed open or save leaves behind, and the folder and recent list they keep.
#include "FileCommandsFixture.h"
#include "model/EnvDef.h"

TEST_F(FileCommandsTest, SaveOnANewAntennaRunsSaveAs) {
    TypeOneWire();
    const QString path = TempPath("new.kva");
    prompter.AnswerFile(path.toStdString());
    wnd->K4->trigger();
    ASSERT_EQ(CountShown("save"), 1u) << Shown();
    EXPECT_EQ(prompter.Last().caption, "Save antenna files");
    EXPECT_EQ(wnd->FileName, path);
    EXPECT_EQ(wnd->windowTitle(), path);
    EXPECT_EQ(wnd->Ant.Changed, 0);
    EXPECT_EQ(wnd->AntFolder, QFileInfo(path).absolutePath());
    ASSERT_EQ(wnd->Recent.Count(), 1);
    EXPECT_EQ(wnd->Recent.At(0), path.toStdString());

    // The text has CR LF line ends and reads back as the same antenna.
    const QByteArray text = ReadFile(path);
    EXPECT_TRUE(text.contains("\r\n*\r\n"));
    EXPECT_FALSE(text.contains("\n\n"));
    wnd->K2->trigger();
    ASSERT_EQ(wnd->Ant.WireCount, 0);
    prompter.AnswerFile(path.toStdString());
    wnd->K3->trigger();
    ASSERT_EQ(wnd->Ant.WireCount, 1);
    EXPECT_DOUBLE_EQ(wnd->Ant.Wires[0].Z2, 10.0);
    EXPECT_EQ(wnd->Ant.Wires[0].Seg, 11);
}

TEST_F(FileCommandsTest, SaveWritesTheKnownFileAndSaveAsProposesIt) {
    const QString path = OpenDipole();
    EditName("Renamed");
    wnd->K4->trigger();
    EXPECT_TRUE(prompter.ShownBoxes().empty()) << Shown();
    EXPECT_TRUE(ReadFile(path).startsWith("Renamed\r\n"));
    EXPECT_EQ(wnd->Ant.Changed, 0);

    const QString copy = TempPath("copy.kva");
    prompter.AnswerFile(copy.toStdString());
    wnd->ToolButton6->trigger();
    EXPECT_EQ(LastText(), path.toStdString());  // proposed name
    EXPECT_EQ(wnd->FileName, copy);
    EXPECT_EQ(ReadFile(copy), ReadFile(path));
    ASSERT_EQ(wnd->Recent.Count(), 2);
    EXPECT_EQ(wnd->Recent.At(0), copy.toStdString());
}

TEST_F(FileCommandsTest, OpenOfAMissingFileReportsAndKeepsTheAntennaAndItsName) {
    const QString path = OpenDipole();
    const QString missing = TempPath("missing.kva");
    prompter.AnswerFile(missing.toStdString());
    wnd->K3->trigger();
    ASSERT_EQ(prompter.ShownBoxes().size(), 2u) << Shown();
    EXPECT_EQ(prompter.Last().caption, "Error!!!");
    EXPECT_EQ(LastText(), "Can not load " + missing.toStdString());
    EXPECT_EQ(wnd->FileName, path);
    EXPECT_EQ(wnd->windowTitle(), path);
    EXPECT_EQ(wnd->Ant.WireCount, 1);
    ASSERT_EQ(wnd->Recent.Count(), 1);
    EXPECT_EQ(wnd->Recent.At(0), path.toStdString());

    // A later Save still writes the file the antenna came from.
    EditName("Still here");
    wnd->K4->trigger();
    EXPECT_TRUE(ReadFile(path).startsWith("Still here\r\n"));
    EXPECT_FALSE(QFileInfo::exists(missing));
}

TEST_F(FileCommandsTest, EmptyAndBinaryFilesAreRefusedAndChangeNothing) {
    const QString path = OpenDipole();
    const QString empty = WriteFile("empty.kva", "\r\n \r\n");
    prompter.AnswerFile(empty.toStdString());
    wnd->K3->trigger();
    EXPECT_EQ(LastText(), "File " + empty.toStdString() + " is empty");
    EXPECT_EQ(prompter.Last().caption, "KORVA-TEZ");

    const QString binary = WriteFile("binary.kva", QByteArray("KORVA Res2.00\x1a\0\0\1\2\3", 19));
    prompter.AnswerFile(binary.toStdString());
    wnd->K3->trigger();
    EXPECT_EQ(LastText(), "Invalid format of file " + binary.toStdString() + ".");
    EXPECT_EQ(prompter.Last().caption, "Error!!!");

    EXPECT_EQ(wnd->FileName, path);
    EXPECT_STREQ(wnd->Ant.Name, "Half-wave dipole 14.15 MHz");
    EXPECT_EQ(wnd->Recent.Count(), 1);
}

TEST_F(FileCommandsTest, SaveIntoAnUnwritableFolderReportsAndKeepsTheChangedFlag) {
    TypeOneWire();
    const QString target = UnwritablePath("x.kva");
    prompter.AnswerFile(target.toStdString());
    wnd->K5->trigger();
    EXPECT_NE(LastText().find("Can not save " + target.toStdString()), std::string::npos) << Shown();
    EXPECT_EQ(wnd->Ant.Changed, 1);
    EXPECT_TRUE(wnd->FileName.isEmpty());
    EXPECT_EQ(wnd->Recent.Count(), 0);
    EXPECT_EQ(wnd->windowTitle(), "KORVA-TEZ");
}

TEST_F(FileCommandsTest, ASaveThatFailsLeavesTheOldFileWhole) {
    const QString path = OpenDipole();
    EditName("New text");
    // A folder in place of the temporary file's target makes the final step fail.
    QFile::remove(path);
    ASSERT_TRUE(QDir().mkdir(path));
    wnd->K4->trigger();
    EXPECT_NE(LastText().find("Can not save"), std::string::npos) << Shown();
    EXPECT_EQ(wnd->Ant.Changed, 1);
    EXPECT_TRUE(QFileInfo(path).isDir());
}

TEST_F(FileCommandsTest, OpenReplacesTheAntennaAndTheFieldsNotInTheFileStartNew) {
    OpenDipole();
    EditName("Changed");
    prompter.AnswerMessage(BoxNo);
    const QString other = WriteFile("short.kva", "Short\r\n*\r\n7.1\r\n***Wires***\r\n2\r\n"
                                                 "0,0,0,0,0,5,0.001,5\r\n0,0,5,0,5,5,0.001,5\r\n");
    prompter.AnswerFile(other.toStdString());
    wnd->K3->trigger();
    EXPECT_EQ(wnd->FileName, other);
    EXPECT_STREQ(wnd->Ant.Name, "Short");
    EXPECT_EQ(wnd->Ant.WireCount, 2);
    EXPECT_EQ(wnd->Ant.SourceCount, 0);
    EXPECT_EQ(wnd->Ant.DM1, 800);
    EXPECT_EQ(wnd->Ant.Changed, 0);
    EXPECT_EQ(EnvDef.Z0R, 50.0);
    EXPECT_EQ(wnd->Grid2->Row(), 1);
    EXPECT_FALSE(wnd->EleBtn->isEnabled());
    EXPECT_FALSE(wnd->ResultsBelongToAntenna());
    ASSERT_EQ(wnd->Recent.Count(), 2);
    EXPECT_EQ(wnd->Recent.At(0), other.toStdString());
}

TEST_F(FileCommandsTest, AReadOnlyFileIsNotReplaced) {
    const QString path = OpenDipole();
    ASSERT_TRUE(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ReadGroup));
    EditName("Over a protected file");
    wnd->K4->trigger();
    EXPECT_EQ(LastText(), "Can not save " + path.toStdString() + "\nUnable to write to " + path.toStdString());
    EXPECT_EQ(ReadFile(path), DipoleText());
    EXPECT_EQ(wnd->Ant.Changed, 1);
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}
