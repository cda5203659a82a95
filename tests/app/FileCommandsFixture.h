#pragma once
// Helpers of the file-command tests: files in the test's folder, an antenna
// opened through the Open command, and an edit typed as a user would.
#include "MainWndFixture.h"
#include "model/BinaryStream.h"
#include "model/EnvDef.h"
#include "model/Messages.h"
#include "model/ModelImage.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <memory>
#include <string>
#include <vector>

class FileCommandsTest : public MainWndTest {
protected:
    QString WriteFile(const QString& name, const QByteArray& bytes) {
        const QString path = TempPath(name);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return path;
    }
    static QByteArray ReadFile(const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    static QByteArray DipoleText() { return ReadFile(QString(KORVA_TEST_DATA) + "/dipole.kva"); }

    // Opens a copy of the dipole through File / Open; returns its path.
    QString OpenDipole(const QString& name = "dipole.kva") {
        const QString path = WriteFile(name, DipoleText());
        prompter.AnswerFile(path.toStdString());
        wnd->K3->trigger();
        EXPECT_EQ(wnd->FileName, path);
        prompter.Clear();
        return path;
    }

    // The window's antenna as the model image holds it, every digit, without
    // the fields that are rebuilt before every calculation.
    std::vector<uint8_t> ExactAntenna() const {
        auto a = std::make_unique<AntDef>(wnd->Ant);
        a->Changed = a->Edited = 0;
        a->CalcFreq = 0;
        for (WireRec& w : a->Wires) w.FirstPulse = w.PulseCount = 0;
        for (SourceRec& s : a->Sources) s.Pulse = 0;
        for (LoadRec& l : a->Loads) l.Pulse = 0;
        ByteWriter out;
        WriteModelImage(out, *a, TakeModelEnvFields(EnvDef), wnd->Comment);
        return out.Data();
    }

    // Types into the name field, which marks the antenna changed.
    void EditName(const QString& text) {
        wnd->AntName->setFocus();
        wnd->AntName->selectAll();
        QTest::keyClicks(wnd->AntName, text);
        ASSERT_EQ(wnd->Ant.Changed, 1);
    }

    // A new antenna with one wire typed into the wire table.
    void TypeOneWire() {
        TypeWire(1, {"0", "0", "0", "0", "0", "10", "1", "11"});
        ASSERT_EQ(wnd->Ant.WireCount, 1);
        ASSERT_EQ(wnd->Ant.Changed, 1);
        wnd->UpdateMenuState();  // as after any command
    }

    // Text of the last box, empty when none was shown.
    std::string LastText() const { return prompter.ShownBoxes().empty() ? std::string() : prompter.Last().text; }

    // A path whose folder takes no new file, even for root: a folder that is
    // a plain file.
    QString UnwritablePath(const QString& name) {
        const QString notAFolder = WriteFile("plainfile", "x");
        return notAFolder + "/" + name;
    }

    // The texts of the boxes shown so far, for messages on failure.
    std::string Shown() const {
        std::string all;
        for (const auto& b : prompter.ShownBoxes()) all += "[" + b.kind + "|" + b.caption + "|" + b.text + "] ";
        return all;
    }
    size_t CountShown(const std::string& kind) const {
        size_t n = 0;
        for (const auto& b : prompter.ShownBoxes()) n += b.kind == kind;
        return n;
    }
};
