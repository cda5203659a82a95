// What the program reads from any of its antenna formats, saved as antenna
// text and opened again, is the same antenna; what the text cannot carry as
// it stands is refused when it is read, and a text is checked with the
// numbers it is read with. Files go through the real commands.
#include "FileCommandsFixture.h"
#include "engine/EngineState.h"
#include "model/AntennaSamples.h"
#include "model/AntennaText.h"
#include "model/BinaryStream.h"
#include "model/FarFieldFile.h"
#include "model/ModelImage.h"
#include "model/SaveReadBack.h"
#include "platform/FilePaths.h"
#include "model/AntennaNormalForm.h"
#include "optimizer/ACalMultDlg.h"
#include "optimizer/OptLogFile.h"
#include "optimizer/OptimizerState.h"
#include "platform/SingleLineField.h"

#include <QClipboard>
#include <QInputMethodEvent>
#include <QKeyEvent>

#include <functional>
#include <iterator>
#include <random>

namespace {

enum Format { Kva = 1, Kvb = 2, Kvo = 4 };

QByteArray FileBytes(Format format, const AntDef& ant, const ModelEnvFields& env, const std::string& comment) {
    std::vector<uint8_t> bytes;
    if (format == Kvb) {
        bytes = BuildFarFieldImage(ant, env, comment, CResult());
    } else if (format == Kvo) {
        auto cal = std::make_unique<CACal>();
        bytes = BuildOptLogImage(ant, env, comment, *cal);
    } else {
        EnvRec e{};
        ApplyModelEnvFields(env, e);
        const std::string text = WriteAntennaText(ant, e, comment);
        bytes.assign(text.begin(), text.end());
    }
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
}

}  // namespace

class FileRoundTripTest : public FileCommandsTest {
protected:
    // The window's antenna as the model image holds it, without the fields
    // that are rebuilt before every calculation.
    std::vector<uint8_t> Opened() const { return ExactAntenna(); }

    // Pastes the text into the cell's editor (key clicks take ASCII only)
    // and closes it with Enter.
    static void Paste(StringGrid* grid, int col, int row, const QString& text) {
        const QModelIndex index = grid->model()->index(row - 1, col - 1);
        grid->setCurrentIndex(index);
        grid->edit(index);
        auto* editor = qobject_cast<QLineEdit*>(grid->indexWidget(index));
        ASSERT_NE(editor, nullptr);
        editor->selectAll();
        editor->insert(text);
        QTest::keyClick(editor, Qt::Key_Return);
        QApplication::processEvents();
    }

    // Opens the file by its extension; true when no box refused it.
    bool OpenFile(const QString& path) {
        prompter.Clear();
        wnd->OpenFileByExt(path);
        return prompter.ShownBoxes().empty();
    }
};

TEST_F(FileRoundTripTest, EveryFormatReadsBackTheSameAfterASaveAsTextOrIsRefused) {
    const ModelEnvFields env = SampleEnv();
    const struct {
        const char* what;
        std::function<void(AntDef&, std::string&)> change;
        int refusedFrom;  // formats that must refuse the file
    } cases[] = {
        {"every kind of record", [](AntDef&, std::string&) {}, 0},
        {"a NUL byte in the comment", [](AntDef&, std::string& c) { c = std::string("a\0b\r\n", 5); },
         Kva | Kvb | Kvo},
        {"a comment with bare line ends", [](AntDef&, std::string& c) { c = "one\ntwo\rthree"; }, 0},
        {"a negative frequency", [](AntDef& a, std::string&) { a.Freq = -14.175; }, Kva | Kvb | Kvo},
        {"a frequency of 1e-7 MHz", [](AntDef& a, std::string&) { a.Freq = 1e-7; }, Kva | Kvb | Kvo},
        {"a frequency of 9.45e-6 MHz", [](AntDef& a, std::string&) { a.Freq = 9.45e-6; }, Kva | Kvb | Kvo},
        {"a frequency of 1e-300 MHz", [](AntDef& a, std::string&) { a.Freq = 1e-300; }, Kva | Kvb | Kvo},
        {"a calculation frequency of 1e-300 MHz", [](AntDef& a, std::string&) { a.CalcFreq = 1e-300; }, Kvb | Kvo},
        {"the lowest frequency", [](AntDef& a, std::string&) { a.Freq = a.CalcFreq = 0.001; }, 0},
        {"a no-break space in a position", [](AntDef& a, std::string&) { CopyText(a.Sources[0].Pos, "w1b\xA0+1"); },
         0},
        {"a position of 9 characters", [](AntDef& a, std::string&) { CopyText(a.Sources[1].Pos, "w1b+00010"); },
         Kvb | Kvo},
        {"a position of 11 characters", [](AntDef& a, std::string&) { CopyText(a.Loads[0].Pos, "w2c+0000001"); },
         Kvb | Kvo},
        {"a comma in a position", [](AntDef& a, std::string&) { CopyText(a.Loads[1].Pos, ",9"); }, Kvb | Kvo},
        {"blanks before a position", [](AntDef& a, std::string&) { CopyText(a.Loads[2].Pos, " \tw3e"); }, 0},
        {"a line break in the name", [](AntDef& a, std::string&) { CopyText(a.Name, "two\nlines"); }, Kvb | Kvo},
        {"a name that is not UTF-8", [](AntDef& a, std::string&) { CopyText(a.Name, "Antenne f\xFCr 20m"); }, 0},
        {"tapered sets without their rest length or radii",
         [](AntDef& a, std::string&) {
             a.TaperSets[0] = TaperSet{-1, {1.5, 2}, {0.02, 0}, TaperSym, 7};
             a.TaperSets[1] = TaperSet{-2, {0.5, 0, 3}, {0, 0.003, 0.002}, TaperOneWay, 0};
         },
         0},
        {"Laplace pairs beyond the load's count", [](AntDef& a, std::string&) { a.Loads[2].N = 1; }, 0},
        {"a coefficient the load's type does not use", [](AntDef& a, std::string&) { a.Loads[1].A[5] = 3; }, 0},
        // Values that six decimals would move across a joint, a segment
        // boundary or to another taper set.
        {"ends 0.1 um apart", [](AntDef& a, std::string&) { a.Wires[1].X1 = a.Wires[0].X2 + 1e-7; }, 0},
        {"a dipole from 0-R/4 to R/4",
         [](AntDef& a, std::string&) {
             const double quarter = LightSpeedMHz / a.Freq / 4;
             a.Wires[0].X1 = -quarter;
             a.Wires[0].X2 = quarter;
         },
         0},
        {"a radius of 0.001244140625 m", [](AntDef& a, std::string&) { a.Wires[0].R = 0.001244140625; }, 0},
        {"taper keys 0.01 nm apart",
         [](AntDef& a, std::string&) {
             a.TaperSets[0].Key = -0.001;
             a.TaperSets[1].Key = a.Wires[1].R = -0.00099999999;
         },
         0},
        {"a frequency of 14.1234567 MHz", [](AntDef& a, std::string&) { a.Freq = 14.1234567; }, 0},
        // Positions that begin like the marks of the taper sets and the comment.
        {"section marks as positions",
         [](AntDef& a, std::string&) {
             CopyText(a.Sources[0].Pos, "$$$w1c");
             CopyText(a.Sources[1].Pos, "###");
             CopyText(a.Loads[0].Pos, "###1");
             CopyText(a.Loads[1].Pos, " $$$");
         },
         0},
        {"a single antenna of frequency 0 spaced 5 m",
         [](AntDef& a, std::string&) {
             a.Freq = 0;
             a.nH = a.nV = 1;
             a.hSpacing = a.vSpacing = 5;
         },
         0},
        {"stack fields of a single antenna",
         [](AntDef& a, std::string&) {
             a.nH = a.nV = 1;
             a.StackMode = 2;
             a.hSpacing = 3;
         },
         0},
    };
    for (const auto& c : cases) {
        auto ant = SampleAntenna();
        std::string comment = "notes\r\n";
        c.change(*ant, comment);
        for (Format format : {Kva, Kvb, Kvo}) {
            const char* ext = format == Kva ? "kva" : format == Kvb ? "kvb" : "kvo";
            SCOPED_TRACE(std::string(c.what) + " from ." + ext);
            const QString path = WriteFile(QString("read.") + ext, FileBytes(format, *ant, env, comment));
            const bool refused = (c.refusedFrom & format) != 0;
            const bool accepted = OpenFile(path);
            EXPECT_EQ(accepted, !refused) << Shown();
            if (!accepted) continue;
            const std::vector<uint8_t> opened = Opened();
            const QString saved = TempPath("saved.kva");
            if (!wnd->SaveAntFile(saved) || !OpenFile(saved))
                ADD_FAILURE() << "the saved text is refused: " << Shown();
            else
                EXPECT_EQ(Opened(), opened);
        }
    }
}

// The dipole of 0-R/4 to R/4 cut by density: a save that moved its ends by
// the last digits would give it other pulses (3 became 1 with the pair 4,8,
// 37 became 39 with the automatic segmentation).
TEST_F(FileRoundTripTest, ASavedDipoleCutByDensityCalculatesAsBeforeTheSave) {
    for (const int32_t seg : {PackSegPair(4, 8), 0}) {
        SCOPED_TRACE(seg);
        ASSERT_TRUE(OpenFile(KORVA_TEST_DATA "/dipole.kva")) << Shown();
        wnd->Ant.Wires[0].Seg = seg;
        wnd->SetAntDef();
        wnd->CalTrgBtn->click();
        const int pulses = GetPulseCount();
        const ResultRow before = *Results.Row(0);
        const QString saved = TempPath("dipole.kva");
        ASSERT_TRUE(wnd->SaveAntFile(saved)) << Shown();
        ASSERT_TRUE(OpenFile(saved)) << Shown();
        wnd->CalTrgBtn->click();
        EXPECT_EQ(GetPulseCount(), pulses);
        // The same antenna through the same steps: the same numbers.
        EXPECT_EQ(Results.Row(0)->R, before.R);
        EXPECT_EQ(Results.Row(0)->jX, before.jX);
    }
}

TEST_F(FileRoundTripTest, TypedPositionsAreTakenAsTheTextReadsThemOrRefused) {
    TypeOneWire();
    const struct {
        QString typed;
        const char* kept;  // nullptr: refused, the cell keeps what it had
    } cases[] = {
        {"w1c", "w1c"},
        {" w1b", "w1b"},
        {QString::fromUtf8("\xEF\xBD\x97\xEF\xBC\x91\xEF\xBD\x85"), "w1e"},  // full-width w1e
        {"w1b+00010", "w1b+0001"},  // the text carries 8 characters
        {"$$$w1c", "$$$w1c"},        // begins like a section mark
        {"###1", "###1"},
        {",9", ".9"},                // a pasted comma is a point, as a typed one
        {QString::fromUtf8("w1c\xEF\xBC\x8C" "2"), nullptr},  // a full-width comma
    };
    for (StringGrid* grid : {wnd->Grid3, wnd->Grid4}) {
        const char* const pos = grid == wnd->Grid3 ? wnd->Ant.Sources[0].Pos : wnd->Ant.Loads[0].Pos;
        for (const auto& c : cases) {
            const std::string before = pos;
            Paste(grid, 1, 1, c.typed);
            EXPECT_EQ(std::string(pos), c.kept ? c.kept : before) << c.typed.toStdString();
        }
    }
    const std::vector<uint8_t> typed = Opened();
    const QString saved = TempPath("typed.kva");
    ASSERT_TRUE(wnd->SaveAntFile(saved)) << Shown();
    ASSERT_TRUE(OpenFile(saved)) << Shown();
    EXPECT_EQ(Opened(), typed);
}

TEST_F(FileRoundTripTest, OpenReadsRWithTheWavelengthItChecksWithWhateverWasOpenBefore) {
    // "R" is the wavelength of the new antenna a file is read into (21.19 m);
    // at 144 MHz it would be 2.08 m.
    const std::string rest = "0,0,0,0,0,5,0.001,11\r\n*** Source ***\r\n1,1\r\nw1c,0,1\r\n*** Load ***\r\n0,1\r\n";
    const struct {
        const char* what;
        std::string wireLine;
        bool opens;
    } cases[] = {
        {"R/21 wires: one", "R/21", true},
        {"R/2 wires: eleven, the source lines taken as wires", "R/2", false},
        {"a stack of 3 x R*10 copies, beyond the record", "1,3,R*10,1,1,0", false},
    };
    const QString twoMetre =
        WriteFile("2m.kva", "two metre\r\n*\r\n144\r\n***Wires***\r\n1\r\n0,0,0,0,0,1,0.001,11\r\n");
    for (const auto& c : cases) {
        for (const bool after144 : {false, true}) {
            SCOPED_TRACE(std::string(c.what) + (after144 ? " after a 144 MHz antenna" : " after a new one"));
            Open();
            if (after144) {
                ASSERT_TRUE(OpenFile(twoMetre)) << Shown();
            }
            const QString path = WriteFile(
                "r.kva", QByteArray::fromStdString("r\r\n*\r\n14.15\r\n***Wires***\r\n" + c.wireLine + "\r\n" + rest));
            EXPECT_EQ(OpenFile(path), c.opens) << Shown();
            if (c.opens) {
                EXPECT_EQ(wnd->Ant.WireCount, 1);
                EXPECT_EQ(wnd->Ant.SourceCount, 1);
            }
        }
    }
}

TEST_F(FileRoundTripTest, ALongNameIsCutAtACharacterAndSavedAsItWasRead) {
    auto repeat = [](const std::string& s, int n) {
        std::string out;
        for (int i = 0; i < n; ++i) out += s;
        return out;
    };
    const std::string emoji = "\xF0\x9F\x98\x80";
    const struct {
        const char* what;
        std::string line;  // the file's first line
        std::string kept;  // the name it opens with, of at most 128 bytes
    } cases[] = {
        {"two-byte characters", "a" + repeat("\xC3\xBC", 100), "a" + repeat("\xC3\xBC", 63)},
        {"three-byte characters", repeat("\xE2\x82\xAC", 43), repeat("\xE2\x82\xAC", 42)},
        {"four-byte characters", "a" + repeat(emoji, 33), "a" + repeat(emoji, 31)},
        {"four-byte characters that fit", repeat(emoji, 32) + "z", repeat(emoji, 32)},
        {"a name in another code page", repeat("x", 127) + "\xFCr 20m", repeat("x", 127) + "\xFC"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const QString path =
            WriteFile("long.kva", QByteArray::fromStdString(c.line + "\r\n*\r\n14.15\r\n***Wires***\r\n1\r\n"
                                                                     "0,0,0,0,0,5,0.001,11\r\n"));
        ASSERT_TRUE(OpenFile(path)) << Shown();
        EXPECT_EQ(std::string(wnd->Ant.Name), c.kept);
        const QString saved = TempPath("saved.kva");
        ASSERT_TRUE(wnd->SaveAntFile(saved)) << Shown();
        EXPECT_TRUE(ReadFile(saved).startsWith(QByteArray::fromStdString(c.kept + "\r\n")));
        ASSERT_TRUE(OpenFile(saved)) << Shown();
        EXPECT_EQ(std::string(wnd->Ant.Name), c.kept);
    }
}

namespace {

// Text entered into a single-line field as a user enters it: typed letter by
// letter (an input method commits what has no key), or pasted at the cursor.
void TypeText(QLineEdit* field, const QString& text) {
    for (const QChar c : text) {
        if (c.isPrint()) {
            QKeyEvent key(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
            QApplication::sendEvent(field, &key);
        } else {
            QInputMethodEvent commit;
            commit.setCommitString(QString(c));
            QApplication::sendEvent(field, &commit);
        }
    }
}
void PasteText(QLineEdit* field, const QString& text) {
    QApplication::clipboard()->setText(text);
    field->paste();
}

// The window's fields of free text: those with the plain single-line rule
// (number fields take theirs with the comma rule).
QList<QLineEdit*> FreeTextFields(QWidget& window) {
    QList<QLineEdit*> fields;
    for (QLineEdit* field : window.findChildren<QLineEdit*>())
        if (field->validator() && field->validator()->metaObject() == &SingleLineValidator::staticMetaObject)
            fields.append(field);
    return fields;
}

}  // namespace

// The name field takes what is pasted or typed into it as the antenna text
// writes it, and no more than the record holds: every save takes it, and the
// file opens with the name the field showed.
TEST_F(FileRoundTripTest, TheNameIsSavedAsTheFieldShowsIt) {
    const QString zhe70(70, QChar(0x0416));
    const struct {
        const char* what;
        QString entered;
        bool pasted;
        QString shown;
    } cases[] = {
        {"two lines pasted", "AA\nBB", true, "AA BB"},
        {"a line pasted with its line end", "AA\r\n", true, "AA "},
        {"a tab and Ctrl+Z pasted", QString("A\tB") + QChar(0x1A) + "C", true, "A BC"},
        {"Ctrl+Z typed", QString("AA") + QChar(0x1A) + "B", false, "AAB"},
        {"70 Cyrillic letters typed", zhe70, false, QString(64, QChar(0x0416))},
        {"70 Cyrillic letters pasted", zhe70, true, QString(64, QChar(0x0416))},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        OpenDipole();
        wnd->AntName->setFocus();
        wnd->AntName->selectAll();
        c.pasted ? PasteText(wnd->AntName, c.entered) : TypeText(wnd->AntName, c.entered);
        EXPECT_EQ(wnd->AntName->text(), c.shown);
        prompter.Clear();
        const bool savedBoth = wnd->SaveAntFile(TempPath("named.kva")) && wnd->SaveFarFieldFile(TempPath("named.kvb"));
        EXPECT_TRUE(savedBoth) << Shown();
        if (!savedBoth) continue;
        for (const char* saved : {"named.kva", "named.kvb"}) {
            ASSERT_TRUE(OpenFile(TempPath(saved))) << Shown();
            EXPECT_EQ(wnd->AntName->text(), c.shown) << saved;
        }
    }
}

// Random texts (line breaks, tabs, control characters, long names in
// several scripts) pasted or typed into every free-text field of the window:
// every save takes them and the file opens with each field as it showed.
TEST_F(FileRoundTripTest, RandomTextsInEveryTextFieldSaveAsShown) {
    OpenDipole();
    const QList<QLineEdit*> fields = FreeTextFields(*wnd);
    ASSERT_TRUE(fields.contains(wnd->AntName));
    const QString pieces[] = {"A", "z", " ", ",", "*", "1.5", QString(QChar(0x0416)), QString(QChar(0x20AC)),
                              QString::fromUtf8("\xF0\x9F\x98\x80"), "\n", "\r\n", "\r", "\t", QString(QChar(0x1A)),
                              QString(QChar(0x01)), QString(QChar(0x7F)), QString(QChar(0x85)), QString(QChar(0x2028)),
                              QString(QChar(0xD800)), QString(12, QChar(0x0416)), QString(20, QChar(0x4E2D))};
    std::mt19937 rng(56);
    auto pick = [&rng](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); };
    const QString saved = TempPath("random-name.kva");
    for (int step = 1; step <= 80; ++step) {
        SCOPED_TRACE("step " + std::to_string(step));
        QLineEdit* field = fields[pick(static_cast<int>(fields.size()))];
        field->setFocus();
        if (pick(2)) field->selectAll();
        else field->setCursorPosition(pick(static_cast<int>(field->text().size()) + 1));
        QString text;
        for (int n = 1 + pick(30); n > 0; --n) text += pieces[pick(static_cast<int>(std::size(pieces)))];
        pick(3) ? PasteText(field, text) : TypeText(field, text);
        QStringList shown;
        for (QLineEdit* f : fields) shown.append(f->text());
        prompter.Clear();
        ASSERT_TRUE(wnd->SaveAntFile(saved)) << Shown();
        ASSERT_TRUE(OpenFile(saved)) << Shown();
        for (int i = 0; i < fields.size(); ++i) EXPECT_EQ(fields[i]->text(), shown[i]) << fields[i]->objectName().toStdString();
        if (HasFailure()) return;
    }
}

// Whatever a field comes to hold, a save whose text would not read back as
// the antenna leaves the user's file as it was and says why.
TEST_F(FileRoundTripTest, ASaveThatWouldNotReadBackKeepsTheFileAndSaysWhy) {
    const QString path = OpenDipole();
    const QByteArray before = ReadFile(path);
    const std::string text = WriteAntennaText(wnd->Ant, EnvDef, wnd->Comment);
    auto replaced = [&](const std::string& from, const std::string& to) {
        std::string s = text;
        const std::size_t at = s.find(from);
        EXPECT_NE(at, std::string::npos) << from;
        return at == std::string::npos ? s : s.replace(at, from.size(), to);
    };
    const struct {
        const char* what;
        std::string text;  // forced in place of the writer's
        const char* said;
    } cases[] = {
        {"a record its count announces is missing", replaced("\r\n1,\t1\r\n", "\r\n2,\t1\r\n"),
         "would not open again: Line"},
        {"a value read as another", replaced("w1c,\t0.0,\t1.0", "w1c,\t0.0,\t1.5"), "source 1 changed"},
        {"a position read as another", replaced("w1c,", "w1e,"), "source 1 changed"},
        {"the ground dropped", replaced("\r\n0,\t10.0,\t0,", "\r\n1,\t10.0,\t0,"), "the ground and reference changed"},
        {"a comment added", text + "### Comment ###\r\nnot ours\r\n", "the comment changed"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::string error;
        EXPECT_FALSE(WriteCheckedAntennaText(LocalPath(path), c.text, wnd->Ant, EnvDef, wnd->Comment, &error));
        EXPECT_NE(error.find(c.said), std::string::npos) << error;
        EXPECT_EQ(ReadFile(path), before);
    }

    // Through the window's own save: a record holding what no text carries
    // (a comma in a position splits the line).
    CopyText(wnd->Ant.Sources[0].Pos, "w1,c");
    prompter.Clear();
    wnd->K4->trigger();
    EXPECT_EQ(ReadFile(path), before);
    EXPECT_NE(LastText().find("Can not save " + path.toStdString() + "\nIt would read back with source 1 changed."),
              std::string::npos)
        << Shown();
    EXPECT_TRUE(wnd->AntennaChanged());
    // The far-field file and the optimization log check the same.
    wnd->OptimizerState();
    for (const QString& name : {QString("dipole.kvb"), QString("dipole.kvo")}) {
        const QString other = WriteFile(name, "the user's");
        prompter.Clear();
        EXPECT_FALSE(name.endsWith("kvb") ? wnd->SaveFarFieldFile(other) : wnd->SaveOptLogFile(other));
        EXPECT_EQ(ReadFile(other), "the user's");
        EXPECT_NE(LastText().find("It would not open again. The file is kept as it was."), std::string::npos)
            << Shown();
    }
}

namespace {

// A random text as a user might type or paste into a cell: numbers,
// expressions, positions, section marks, blanks, commas and characters that
// fold or do not read.
QString RandomCellText(std::mt19937& rng) {
    static const char* const pieces[] = {
        "0", "1", "2", "5", "9", "12", ".", "-", "+", "e", "E", "3e2", "1e400", "1e-320", "R", "/", "*", "(", ")",
        "w", "W", "b", "c", "$$$", "###", " ", "\t", ",", "nan", "inf", "0x1p3", "99999999", "-0", "14.2",
        "\xEF\xBD\x97", "\xEF\xBC\x91", "\xC2\xA0", "\xEF\xBC\x8C", "\xC3\xBC"};
    const int count = std::uniform_int_distribution<int>(1, 4)(rng);
    QString text;
    for (int i = 0; i < count; ++i)
        text += QString::fromUtf8(pieces[std::uniform_int_distribution<std::size_t>(0, std::size(pieces) - 1)(rng)]);
    return text;
}

}  // namespace

// Random texts in every cell of the geometry tables and of the band table:
// what a cell takes, a save writes and Open reads back as the same antenna
// (and the same bands), and the save never refuses what a cell took.
TEST_F(FileRoundTripTest, RandomTextsInEveryCellReadBackAsTheyWereTaken) {
    ASSERT_TRUE(OpenFile(KORVA_TEST_DATA "/../../examples/yagi3.kva")) << Shown();
    std::mt19937 rng(50);
    auto pick = [&rng](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); };
    const QString saved = TempPath("random.kva");
    auto checkRoundTrip = [&](int step) {
        SCOPED_TRACE("after step " + std::to_string(step));
        // As a save and the next Start take it: the fields taken in, and a
        // wire ending on the ground turned round (as every Open does).
        ASSERT_TRUE(wnd->GetAntDef());
        wnd->PrepareCalcAnt();
        auto typed = std::make_unique<AntDef>(wnd->Ant);
        std::string comment = wnd->Comment;
        NormalizeReadAntenna(*typed, comment);
        const EnvRec env = EnvDef;
        prompter.Clear();
        ASSERT_TRUE(wnd->SaveAntFile(saved)) << Shown();
        ASSERT_TRUE(OpenFile(saved)) << Shown();
        EXPECT_EQ(AntennaDifference(*typed, wnd->Ant), "");

        EXPECT_EQ(TakeModelEnvFields(EnvDef).AzEl, TakeModelEnvFields(env).AzEl);
    };
    for (int step = 1; step <= 300; ++step) {
        StringGrid* grid = std::vector<StringGrid*>{wnd->Grid2, wnd->Grid3, wnd->Grid4}[pick(3)];
        const int row = 1 + pick(grid->RowCount() - 1);
        const int col = 1 + pick(grid == wnd->Grid4 ? 8 : grid->ColCount() - 1);
        if (grid == wnd->Grid4 && col == 2) {
            grid->SetRow(row);
            std::vector<QAction*>{wnd->KS1, wnd->KS2, wnd->KS3}[pick(3)]->trigger();
        } else {
            Paste(grid, col, row, RandomCellText(rng));
        }
        if (step % 30 == 0) checkRoundTrip(step);
        if (HasFatalFailure()) return;
    }

    // The band table, saved with the optimization log.
    CACal& cal = wnd->OptimizerState();
    ExecModalDialog = [&](QDialog& dialog) {
        auto* bands = dynamic_cast<TACalMultDlg*>(&dialog);
        if (!bands) return int(QDialog::Rejected);
        dialog.show();
        Paste(bands->Grid, 1, 2, "21.2");  // a second band, as a copy of the first
        for (int i = 0; i < 200; ++i)
            Paste(bands->Grid, 1 + pick(bands->Grid->ColCount() - 1), 1 + pick(bands->Grid->RowCount() - 1),
                  RandomCellText(rng));
        return int(QDialog::Accepted);
    };
    {
        TACalMultDlg dialog(wnd.get());
        dialog.Execute(&cal);
    }
    ASSERT_GT(cal.BandCount, 1);
    const int bandCount = cal.BandCount;
    std::vector<ACalBandRec> typed(cal.Bands, cal.Bands + bandCount);
    const QString log = TempPath("random.kvo");
    prompter.Clear();
    ASSERT_TRUE(wnd->SaveOptLogFile(log)) << Shown();
    ASSERT_TRUE(wnd->OpenOptLogFile(log)) << Shown();
    const CACal& read = wnd->OptimizerState();
    ASSERT_EQ(read.BandCount, bandCount);
    for (int b = 0; b < bandCount; ++b) {
        SCOPED_TRACE("band " + std::to_string(b + 1));
        EXPECT_EQ(read.Bands[b].Freq, typed[b].Freq);
        for (int s = 0; s < BandSources; ++s) {
            EXPECT_STREQ(read.Bands[b].Sources[s].Pos, typed[b].Sources[s].Pos);
            EXPECT_EQ(read.Bands[b].Sources[s].Phase, typed[b].Sources[s].Phase);
            EXPECT_EQ(read.Bands[b].Sources[s].Voltage, typed[b].Sources[s].Voltage);
        }
    }
}
