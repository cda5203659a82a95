// Save as onto names a user may have in a folder: symbolic links, to a file
// or to one not made yet, chains and loops of them, names as long as the
// system allows, and names with dots. A link is written through and stays a
// link; what cannot be saved is reported, and nothing is left beside the
// target; every save writes its own extension.
#include "FileCommandsFixture.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QFileInfo>
#include <QMessageBox>
#include <QTimer>
#include <functional>

#include <unistd.h>

namespace {

struct Link {
    const char* name;
    const char* target;
};

QStringList FolderNames(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot,
                                  QDir::Name);
}

}  // namespace

TEST_F(FileCommandsTest, SaveAsWritesThroughLinksAndTakesNamesAsLongAsTheSystemAllows) {
    const std::string longName = std::string(246, 'a') + ".kva";
    // 125 two-byte characters: the temporary's name part must not end in half a character either.
    std::string longUtf8;
    for (int i = 0; i < 123; ++i) longUtf8 += "\xC3\xBC";
    longUtf8 += ".kva";
    const std::string longestName = std::string(251, 'b') + ".kva";
    const struct {
        const char* what;
        std::vector<Link> links;  // made in the case's folder first
        std::string saveAs;       // the name typed in the save dialog
        std::string written;      // the file that must hold the antenna; empty: refused
    } cases[] = {
        {"a link to a file not made yet", {{"x.kva", "newfile.kva"}}, "x.kva", "newfile.kva"},
        {"a link to an existing file", {{"x.kva", "old.kva"}}, "x.kva", "old.kva"},
        {"a chain of links to a file not made yet", {{"y.kva", "x.kva"}, {"x.kva", "sub/../new.kva"}}, "y.kva",
         "new.kva"},
        {"a link into a folder that does not exist", {{"x.kva", "nofolder/new.kva"}}, "x.kva", ""},
        {"a loop of links", {{"x.kva", "y.kva"}, {"y.kva", "x.kva"}}, "x.kva", ""},
        {"a name of 250 bytes", {}, longName, longName},
        {"a name of 250 bytes of two-byte characters", {}, longUtf8, longUtf8},
        {"a name of 255 bytes", {}, longestName, longestName},
        {"a link of a long name to a file of a long name", {{longName.c_str(), longestName.c_str()}}, longName,
         longestName},
    };
    OpenDipole();
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const QString folder = TempPath(QString("case%1").arg(++n));
        ASSERT_TRUE(QDir().mkpath(folder + "/sub"));
        if (std::string(c.what) == "a link to an existing file") {
            QFile old(folder + "/old.kva");
            ASSERT_TRUE(old.open(QIODevice::WriteOnly));
            old.write("old");
        }
        for (const Link& l : c.links)
            ASSERT_EQ(::symlink(l.target, (folder + "/" + l.name).toLocal8Bit().constData()), 0) << l.name;
        const QStringList before = FolderNames(folder);
        const QString name = QString("Saved %1").arg(n);
        EditName(name);
        const QString target = folder + "/" + QString::fromStdString(c.saveAs);
        prompter.Clear();
        prompter.AnswerFile(target.toStdString());
        wnd->K5->trigger();
        // The links are still links, to what they named.
        for (const Link& l : c.links)
            EXPECT_EQ(QFileInfo(folder + "/" + l.name).symLinkTarget().isEmpty(), false) << l.name;
        if (c.written.empty()) {
            EXPECT_EQ(CountShown("message"), 1u) << Shown();
            EXPECT_EQ(wnd->Ant.Changed, 1);
            EXPECT_EQ(FolderNames(folder), before);
            continue;
        }
        EXPECT_EQ(CountShown("message"), 0u) << Shown();
        EXPECT_EQ(wnd->Ant.Changed, 0);
        const QByteArray text = ReadFile(folder + "/" + QString::fromStdString(c.written));
        EXPECT_TRUE(text.startsWith((name + "\r\n").toUtf8())) << text.left(40).toStdString();
        // Only the file written is new: no temporary is left.
        QStringList expected = before;
        const QString written = QString::fromStdString(c.written);
        if (!expected.contains(written) && !written.contains('/')) expected.append(written);
        expected.sort();
        EXPECT_EQ(FolderNames(folder), expected);
    }
}

namespace {

// Runs `answer` on the next modal window of kind W once it is shown, from
// the event loop that window runs.
template <class W>
void OnNextModal(std::function<void(W&)> answer) {
    auto* poll = new QTimer;
    poll->setInterval(20);
    QObject::connect(poll, &QTimer::timeout, [poll, answer] {
        auto* shown = qobject_cast<W*>(QApplication::activeModalWidget());
        if (!shown || !shown->isVisible()) return;
        poll->stop();
        poll->deleteLater();
        answer(*shown);
    });
    poll->start();
}

// Types a name into a Qt file dialog as a user does, and Return, once the
// dialog shows its folder (reading it selects the proposed name anew).
void TypeFileName(QFileDialog& dialog, const QString& name) {
    auto* edit = dialog.findChild<QLineEdit*>("fileNameEdit");
    auto* files = dialog.findChild<QFileSystemModel*>();
    ASSERT_NE(edit, nullptr);
    ASSERT_NE(files, nullptr);
    const QModelIndex folder = files->index(dialog.directory().absolutePath());
    QElapsedTimer waited;
    waited.start();
    while (files->rowCount(folder) == 0 && waited.elapsed() < 5000) QTest::qWait(20);
    QTest::qWait(50);
    // The list of names it would complete to comes up as the folder is read,
    // whenever that is; it would take the Return.
    edit->setCompleter(nullptr);
    if (!name.isNull()) {
        edit->selectAll();
        QTest::keyClicks(edit, name);
    }
    QTest::keyClick(edit, Qt::Key_Return);

}

}  // namespace

// Names with a dot of their own, typed into the program's real file dialogs:
// every save writes its own extension, asks before it replaces a file of that
// name, and never writes one save's file over another's.
TEST_F(FileCommandsTest, NamesWithADotAreSavedWithTheirOwnExtensionThroughTheRealDialogs) {
    const QString folder = TempPath("dots");
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString yagi = folder + "/yagi3.kva";
    ASSERT_TRUE(QFile::copy(QStringLiteral(KORVA_TEST_DATA "/yagi3.kva"), yagi));
    Open({"korva", yagi});
    wnd->AntFolder = wnd->ResFolder = folder;
    // Should a step go wrong, no dialog is left waiting for a user.
    QTimer rescue;
    rescue.setInterval(10000);
    QObject::connect(&rescue, &QTimer::timeout, [] {
        if (QWidget* left = QApplication::activeModalWidget()) {
            ADD_FAILURE() << "a dialog was left open";
            left->close();
        }
    });
    rescue.start();
    Prompter* scripted = SetPrompter(nullptr);  // the Qt dialogs

    OnNextModal<QFileDialog>([](QFileDialog& d) { TypeFileName(d, "yagi 14.2.kva"); });
    wnd->K5->trigger();
    EXPECT_EQ(wnd->FileName.toStdString(), (folder + "/yagi 14.2.kva").toStdString());
    SetPrompter(scripted);
    wnd->CalTrgBtn->click();
    EXPECT_TRUE(prompter.ShownBoxes().empty()) << Shown();
    SetPrompter(nullptr);
    // The far field's dialog proposes the antenna's name without its
    // extension; Return takes it.
    OnNextModal<QFileDialog>([](QFileDialog& d) { TypeFileName(d, QString()); });
    wnd->K11->trigger();
    EXPECT_TRUE(QFileInfo::exists(folder + "/yagi 14.2.kvb"));
    // Again: the file of that name is asked about; No shows the dialog with
    // the name it would write, and Cancel there leaves the file alone.
    const QByteArray farField = ReadFile(folder + "/yagi 14.2.kvb");
    QString asked;
    OnNextModal<QFileDialog>([&asked](QFileDialog& d) {
        OnNextModal<QMessageBox>([&asked](QMessageBox& box) {
            asked = box.text();
            OnNextModal<QFileDialog>([](QFileDialog& again) {
                EXPECT_EQ(again.findChild<QLineEdit*>("fileNameEdit")->text().toStdString(), "yagi 14.2.kvb");
                again.reject();
            });
            box.button(QMessageBox::No)->click();
        });
        TypeFileName(d, QString());
    });
    wnd->K11->trigger();
    EXPECT_EQ(asked.toStdString(), "yagi 14.2.kvb already exists.\nDo you want to replace it?");
    EXPECT_EQ(ReadFile(folder + "/yagi 14.2.kvb"), farField);

    OnNextModal<QFileDialog>([](QFileDialog& d) { TypeFileName(d, "yagi v1.2"); });
    wnd->K5->trigger();
    EXPECT_EQ(wnd->FileName.toStdString(), (folder + "/yagi v1.2.kva").toStdString());
    SetPrompter(scripted);

    EXPECT_EQ(FolderNames(folder).join("|"), "yagi 14.2.kva|yagi 14.2.kvb|yagi v1.2.kva|yagi3.kva");
}

// The saves of the File menu through the one rule: each writes its own
// extension beside the others of the same name.
TEST_F(FileCommandsTest, EverySaveOfTheFileMenuWritesItsOwnExtension) {
    const QString folder = TempPath("each");
    ASSERT_TRUE(QDir().mkpath(folder));
    Open({"korva", WriteFile("yagi3.kva", ReadFile(QStringLiteral(KORVA_TEST_DATA "/yagi3.kva")))});
    wnd->CalTrgBtn->click();
    wnd->OptimizerState();
    const std::string typed = (folder + "/yagi 14.2").toStdString();
    // The log's command is offered after an optimization only.
    const std::vector<std::function<void()>> saves = {[&] { wnd->K5->trigger(); }, [&] { wnd->K11->trigger(); },
                                                      [&] { wnd->K20Click(); }, [&] { wnd->KC2->trigger(); }};
    for (const auto& save : saves) {
        prompter.AnswerFile(typed);
        save();
    }
    EXPECT_TRUE(prompter.AllAnswersUsed()) << Shown();
    EXPECT_EQ(FolderNames(folder).join("|"), "yagi 14.2.csv|yagi 14.2.kva|yagi 14.2.kvb|yagi 14.2.kvo") << Shown();
}
