// Save as onto names a user may have in a folder: symbolic links, to a file
// or to one not made yet, chains and loops of them, and names as long as the
// system allows. A link is written through and stays a link; what cannot be
// saved is reported, and nothing is left beside the target.
#include "FileCommandsFixture.h"

#include <QDir>
#include <QFileInfo>

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
