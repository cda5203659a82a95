// Broken antenna and far-field files opened through the real commands (the
// command line, Open, Open far field, Reopen): each is refused with a clear
// message and leaves the antenna, its name, its edits and the results as
// they were, or, where the format allows a partial file, loads within the
// record's limits.
#include "MonkeyFixture.h"

#include <QDir>
#include <QFile>

#include <sys/stat.h>

namespace {

// What a refused file must leave alone.
struct WindowState {
    std::string antenna;
    QString fileName;
    int changed = 0;
    std::string comment;
    int rows = 0;
    int ground = 0;
    bool operator==(const WindowState&) const = default;
};

QByteArray Text(const char* s) { return QByteArray(s); }
QByteArray Text(const std::string& s) { return QByteArray::fromStdString(s); }

std::string Repeated(const std::string& line, int times) {
    std::string lines;
    for (int i = 0; i < times; ++i) lines += line;
    return lines;
}

QByteArray Fixture(const char* name) {
    QFile f(QString(KORVA_TEST_DATA) + "/hostile/" + name);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("missing fixture");
}

}  // namespace

class BrokenFilesTest : public MonkeyTest {
protected:
    WindowState State() const {
        return {Persistent(wnd->Ant), wnd->FileName, wnd->Ant.Changed, wnd->Comment, Results.RowCount, EnvDef.Type};
    }

    // The dipole opened and edited: the state a refused file must keep.
    void OpenEditedDipole() {
        OpenDipole();
        EditName("edited");
        wnd->Comment = "notes\r\n";
    }

    // Opens through File / Open, answering No to the save question.
    void OpenThroughMenu(const QAction* command, const QString& path) {
        prompter.Clear();
        prompter.AnswerMessage(BoxNo);
        prompter.AnswerFile(path.toStdString());
        const_cast<QAction*>(command)->trigger();
    }

    void ExpectRefused(const WindowState& before, const QString& path, const std::string& message) {
        EXPECT_TRUE(State() == before) << "the refused file " << path.toStdString() << " changed the window";
        bool shown = false;
        for (const auto& b : prompter.ShownBoxes())
            shown |= b.text.find(message) != std::string::npos && b.text.find(path.toStdString()) != std::string::npos;
        EXPECT_TRUE(shown) << "no \"" << message << "\" for " << path.toStdString() << ": " << Shown();
        EXPECT_TRUE(CheckInvariants("refused " + path.toStdString()));
    }

    static QByteArray GarbageBytes(int n, unsigned seed, bool withZeros) {
        std::mt19937 rng(seed);
        QByteArray b;
        for (int i = 0; i < n; ++i) {
            char c = static_cast<char>(rng() % 256);
            if (!withZeros && c == 0) c = '?';
            b.append(c);
        }
        return b;
    }
};

TEST_F(BrokenFilesTest, AntennaFilesThatAreNoAntennaAreRefusedByOpen) {
    OpenEditedDipole();
    const WindowState before = State();
    const struct {
        const char* name;
        QByteArray bytes;
        const char* message;
    } files[] = {
        {"empty.kva", QByteArray(), "is empty"},
        {"blank.kva", Text(" \r\n\t\r\n\x1a"), "is empty"},
        {"binary.kva", GarbageBytes(3000, 1, true), "Invalid format of file"},
        {"noise.kva", GarbageBytes(3000, 2, false), "Invalid format of file"},
        {"letter.kva", Text("Dear Sir,\r\nthank you for your letter.\r\nYours\r\n"), "Invalid format of file"},
        {"fields.kva", Text("name\r\n*\r\nxyz\r\n***Wires***\r\nabc\r\nq,w,e,r,t,y,u,i\r\n"), "Invalid format of file"},
        {"nameonly.kva", Text("Half-wave dipole"), "Invalid format of file"},
        {"nocount.kva", Text("dipole\r\n*\r\n14.15\r\n"), "Invalid format of file"},
        {"nocount2.kva", Text("dipole\r\n*\r\n14.15\r\n***Wires***\r\n\r\n"), "Invalid format of file"},
        {"badfreq.kva", Text("dipole\r\n*\r\n1e999\r\n1\r\n0,0,0,0,0,1,0.001,5\r\n"), "Invalid format of file"},
        {"negfreq.kva", Text("dipole\r\n*\r\n-14\r\n1\r\n0,0,0,0,0,1,0.001,5\r\n"), "Invalid format of file"},
        // Below 0.001 MHz a save would write another frequency (or 0.0, the default).
        {"tinyfreq.kva", Text("dipole\r\n*\r\n1e-7\r\n1\r\n0,0,0,0,0,1,0.001,5\r\n"),
         "A frequency must be at least 0.001 MHz."},
        {"lowfreq.kva", Text("dipole\r\n*\r\n9.45e-6\r\n1\r\n0,0,0,0,0,1,0.001,5\r\n"),
         "A frequency must be at least 0.001 MHz."},
        {"nofloat.kva", Text("dipole\r\n*\r\n1e-300\r\n1\r\n0,0,0,0,0,1,0.001,5\r\n"),
         "A frequency must be at least 0.001 MHz."},
        {"hugefreq.kva", Text("dipole\r\n*\r\n6.8e38\r\n1\r\n0,0,0,0,0,1,0.001,5\r\n"),
         "A frequency must be at most 1000000 MHz."},
        // A field that does not read, and records beyond their count: the
        // antenna would open as another one (a dipole from 0, sources and
        // loads at -5.0), so the line is named.
        {"halfwave.kva",
         Text("dipole\r\n*\r\n14.15\r\n***Wires***\r\n1\r\n-R/4,0,10,R/4,0,10,0.001,21\r\n*** Source ***\r\n"
              "1,1\r\nw1c,0,1\r\n"),
         "Line 6: '-R/4' is not a number."},
        {"wirecount.kva",
         Text("dipole\r\n*\r\n14.15\r\n***Wires***\r\n3\r\n" + Repeated("-5,0,10,5,0,10,0.001,21\r\n", 20) +
              "*** Source ***\r\n1,1\r\nw1c,0,1\r\n"),
         "Line 9: a section title is expected here"},
        // Files that would load as another antenna: cut inside a record, a
        // load short of its count, a stack beyond every limit.
        {"cut-wire.kva", Fixture("cut-wire.kva"), "Invalid format of file"},
        {"load-count-short.kva", Fixture("load-count-short.kva"), "Invalid format of file"},
        {"stack-bomb.kva", Fixture("stack-bomb.kva"), "Invalid format of file"},
    };
    for (const auto& f : files) {
        const QString path = WriteFile(f.name, f.bytes);
        OpenThroughMenu(wnd->K3, path);
        ExpectRefused(before, path, f.message);
        if (HasFailure()) return;
    }
    // The file too large to be an antenna.
    const QString huge = TempPath("huge.kva");
    {
        QFile out(huge);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(DipoleText());
        ASSERT_TRUE(out.resize((16 << 20) + 1));
    }
    OpenThroughMenu(wnd->K3, huge);
    ExpectRefused(before, huge, "Invalid format of file");
}

TEST_F(BrokenFilesTest, AFailedOpenAfterNoKeepsTheEditsMarked) {
    OpenEditedDipole();
    const QString bad = WriteFile("bad.kva", Text("no antenna here\r\n"));
    OpenThroughMenu(wnd->K3, bad);
    EXPECT_EQ(wnd->Ant.Changed, 1);
    EXPECT_STREQ(wnd->Ant.Name, "edited");
    // So the close still asks for them.
    prompter.Clear();
    prompter.AnswerMessage(BoxCancel);
    EXPECT_FALSE(wnd->close());
    EXPECT_EQ(CountShown("message"), 1u) << Shown();

    // A cancelled file dialog after No keeps them marked as well.
    prompter.Clear();
    prompter.AnswerMessage(BoxNo);
    prompter.AnswerFile("");
    wnd->K12->trigger();
    EXPECT_EQ(wnd->Ant.Changed, 1);
}

TEST_F(BrokenFilesTest, TheCommandLineAndReopenRefuseTheSameFiles) {
    const QString noise = WriteFile("noise.kva", GarbageBytes(2000, 3, false));
    const QString binary = WriteFile("binary.kvb", GarbageBytes(2000, 4, true));
    const QString truncated = WriteFile("short.kvb", ReadFile(QString(KORVA_TEST_DATA) + "/golden-empty.kvb").left(100));
    Open({"korva", noise, binary, truncated});
    EXPECT_EQ(wnd->Ant.WireCount, 0);
    EXPECT_TRUE(wnd->FileName.isEmpty());
    EXPECT_EQ(wnd->Recent.Count(), 0);
    EXPECT_EQ(CountShown("message"), 3u) << Shown();
    ASSERT_TRUE(CheckInvariants("command line"));

    // A listed file that went bad since: Reopen refuses it like Open.
    OpenEditedDipole();
    const QString listed = WriteFile("listed.kva", DipoleText());
    wnd->AddRecentFile(listed, true);
    WriteFile("listed.kva", GarbageBytes(500, 5, false));
    const WindowState before = State();
    prompter.Clear();
    prompter.AnswerMessage(BoxNo);
    wnd->ReopenClick(1);
    ExpectRefused(before, listed, "Invalid format of file");
}

TEST_F(BrokenFilesTest, ATruncatedAntennaFileIsRefusedOrLoadsWithinLimits) {
    // Cut after every byte: before the wire count the file is no antenna;
    // after it the format reads as far as the file goes.
    const QByteArray whole = ReadFile(QString(KORVA_TEST_DATA) + "/yagi3.kva");
    OpenEditedDipole();
    for (int n = 1; n < whole.size(); n += 3) {
        if (wnd->FileName != TempPath("dipole.kva")) OpenEditedDipole();
        const WindowState before = State();
        const QString path = WriteFile("cut.kva", whole.left(n));
        OpenThroughMenu(wnd->K3, path);
        if (wnd->FileName == path) {
            EXPECT_EQ(wnd->Ant.Changed, 0);
            ASSERT_TRUE(CheckInvariants("cut after " + std::to_string(n)));
        } else {
            ExpectRefused(before, path, "Invalid format of file");
        }
        if (HasFailure()) return;
    }
}

TEST_F(BrokenFilesTest, HugeCountsAreRefusedAndHugeValuesStayWithinTheRecord) {
    OpenEditedDipole();
    const WindowState before = State();
    const QString counts = WriteFile(
        "counts.kva", Text("counts\r\n*\r\n14.15\r\n999999999999,99999,99999,1,1,0\r\n0,0,1,0,0,9,1,11\r\n"
                           "*** Source ***\r\n99999999,1\r\nw1c,0,1\r\n*** Load ***\r\n2147483648,1\r\n"
                           "w1c,2,1,2\r\n"));
    OpenThroughMenu(wnd->K3, counts);
    ExpectRefused(before, counts, "Invalid format of file");

    const QString path = WriteFile(
        "values.kva", Text("values\r\n*\r\n14.15\r\n1\r\n0,0,1,0,0,9,1,11\r\n"
                           "*** Source ***\r\n1,1\r\nw1c,0,1\r\n*** Load ***\r\n1,1\r\n"
                           "w1c,2,1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,20,21,22,23,24,25,26,27,28\r\n"
                           "*** Segmentation ***\r\n2147483647,2147483647,1e308,2147483647\r\n"
                           "*** G/H/M/R/AzEl/X ***\r\n99,1e308,99,1e308,99999,99999,1e308\r\n$$$\r\n1\r\n"
                           "-1,7,1e308,1e308\r\n"));
    OpenThroughMenu(wnd->K3, path);
    ASSERT_EQ(wnd->FileName, path) << Shown();
    ASSERT_TRUE(CheckInvariants("huge values"));
    EXPECT_LE(wnd->Ant.WireCount, MaxWires);
    EXPECT_LE(wnd->Ant.SourceCount, MaxSources);
    EXPECT_LE(wnd->Ant.LoadCount, MaxLoads);
    EXPECT_LE(wnd->Ant.TaperSetCount, MaxTaperSets);
    EXPECT_TRUE(PressStart("huge values"));
}

TEST_F(BrokenFilesTest, DamagedFarFieldFilesAreRefusedWhole) {
    // A far-field file of a calculated dipole, then cut and scribbled on.
    OpenDipole();
    wnd->CalTrgBtn->click();
    ASSERT_EQ(Results.HasFarField, 1);
    const QString saved = TempPath("calc.kvb");
    prompter.AnswerFile(saved.toStdString());
    wnd->K11->trigger();
    const QByteArray good = ReadFile(saved);
    ASSERT_GT(good.size(), 1000) << Shown();

    OpenEditedDipole();
    std::mt19937 rng(7);
    for (int i = 0; i < 40; ++i) {
        QByteArray bytes = good;
        const bool cut = i % 2 == 0;
        if (cut) {
            bytes.truncate(static_cast<int>(rng() % good.size()));
        } else {
            // Four bytes of 0xFF somewhere: a count, a step, a float or a text.
            bytes.replace(static_cast<int>(rng() % (good.size() - 4)), 4, QByteArray(4, '\xff'));
        }
        if (wnd->FileName != TempPath("dipole.kva")) OpenEditedDipole();
        const WindowState before = State();
        const QString path = WriteFile("damaged.kvb", bytes);
        OpenThroughMenu(wnd->K12, path);
        if (cut || wnd->FileName == TempPath("dipole.kva")) {
            ExpectRefused(before, path, "Invalid format of file");
        } else {
            // Scribbled values that still make a file: shown within the limits.
            ASSERT_TRUE(CheckInvariants("scribbled far-field file"));
        }
        if (HasFailure()) return;
    }
}

TEST_F(BrokenFilesTest, PipesDevicesFoldersAndDanglingLinksAreRefusedWithoutWaiting) {
    OpenEditedDipole();
    const WindowState before = State();
    std::vector<QString> paths;
    for (const char* ext : {".kva", ".kvb"}) {
        const QString pipe = TempPath(QString("pipe") + ext);
        ASSERT_EQ(::mkfifo(pipe.toLocal8Bit().constData(), 0600), 0);
        const QString zero = TempPath(QString("zero") + ext);
        ASSERT_TRUE(QFile::link("/dev/zero", zero));
        const QString dangling = TempPath(QString("dangling") + ext);
        ASSERT_TRUE(QFile::link(TempPath("gone"), dangling));
        const QString folder = TempPath(QString("folder") + ext);
        ASSERT_TRUE(QDir().mkpath(folder));
        paths.insert(paths.end(), {pipe, zero, dangling, folder});
    }
    for (const QString& path : paths) {
        OpenThroughMenu(path.endsWith(".kva") ? wnd->K3 : wnd->K12, path);
        EXPECT_TRUE(State() == before) << path.toStdString();
        EXPECT_EQ(CountShown("message"), 2u) << path.toStdString() << ": " << Shown();
        if (HasFailure()) return;
    }
    // The same from the command line of a new start.
    QStringList args{"korva"};
    for (const QString& path : paths) args << path;
    prompter.Clear();
    Open(args);
    EXPECT_EQ(wnd->Ant.WireCount, 0);
    EXPECT_EQ(CountShown("message"), paths.size()) << Shown();
}
