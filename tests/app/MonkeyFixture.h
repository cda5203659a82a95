#pragma once
// A deterministic "monkey": a seeded stream of user actions on a real main
// window (texts typed into fields and cells, commands, tabs, Start) with the
// window's invariants checked after every step. A failure names the seed and
// the step, so the sequence can be replayed.
#include "FileCommandsFixture.h"
#include "app/ExternalOpen.h"
#include "platform/FormPattern.h"
#include "model/AntennaText.h"
#include "model/EnvDef.h"
#include "model/ResultStore.h"
#include "platform/RadioGroup.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <cmath>
#include <cstring>
#include <memory>
#include <random>
#include <sstream>

class MonkeyTest : public FileCommandsTest {
protected:
    void SetUp() override {
        // Help, web pages, the calculator and user programs open nothing real.
        savedOpen_ = ExternalOpen;
        ExternalOpen = [this](OpenKind, const std::string&, const std::string&) { return Chance(50); };
        savedModal_ = ExecModalDialog;
        FileCommandsTest::SetUp();
        // Every dialog gets random fields and buttons instead of a user; set
        // after the base fixture, which cancels them all.
        ExecModalDialog = [this](QDialog& dialog) { return FillDialog(dialog); };
        // Small models keep every Start short; larger ones are refused by the
        // pulse limit, which is a path worth taking too.
        EnvDef.PMAX = 160;
    }
    void TearDown() override {
        CloseMenus();
        JobDef.InWavelengths = 0;
        EnvDef.Type = GroundFree;
        EnvDef.AntHeight = 0;
        FileCommandsTest::TearDown();
        ExternalOpen = savedOpen_;
        ExecModalDialog = savedModal_;
    }

    void Seed(unsigned seed) {
        seed_ = seed;
        rng_.seed(seed);
        step_ = 0;
    }
    int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }
    bool Chance(int percent) { return Pick(100) < percent; }
    template <class T>
    const T& PickOf(const std::vector<T>& v) { return v[Pick(static_cast<int>(v.size()))]; }

    // Texts a user, a cat on the keyboard or a pasted file may put into a field.
    QString RandomText() {
        static const std::vector<QString> pool = {
            "", " ", "0", "-0", "1", "-1", "0.5", "-R/4", "R/4", "R/2+0.1", "2*I", "3F", "1,5", "3,2", ",", ".",
            "1e999", "-1e999", "1e308", "1e300*1e300", "1e-320", "4.9e-324", "inf", "-inf", "nan", "NaN", "0x10",
            "1/0", "0/0", "(((1", "1)))", "2*", "*", "--5", "+", "abc", "w1c", "w1b", "w1e+3", "w0", "w513c", "w99999",
            "-3", "999999", "2147483647", "-2147483648", "99999999999999999999", "32767,1", "1,32767", "0,0", "-2",
            "-10000", "-10001", QString::fromUtf8("\xef\xbc\x91\xef\xbc\x92"), QString::fromUtf8("\xc3\xa9\xc3\xa8"),
            QString(QChar(0xD800)), QString(QChar(0xFFFD)), QString("\t7\t"), QString(300, '9'), QString(400, 'x'),
            QString(200, '(') + "1", QString("1+").repeated(150) + "1", QString("R/").repeated(100) + "1"};
        if (Chance(15)) {
            // Random bytes, decoded as a lenient editor would show them.
            QByteArray bytes;
            const int n = 1 + Pick(40);
            for (int i = 0; i < n; ++i) bytes.append(static_cast<char>(Pick(256)));
            return QString::fromLatin1(bytes);
        }
        if (Chance(45)) return QString::number((Pick(2001) - 1000) / 97.0, 'g', 6);
        return PickOf(pool);
    }

    // Short printable ASCII texts are typed key by key; others are pasted.
    static bool Typeable(const QString& text) {
        if (text.size() > 12) return false;
        for (QChar c : text)
            if (c.unicode() < 0x20 || c.unicode() > 0x7E) return false;
        return true;
    }

    // Types into a cell as a user does: short texts key by key (',' goes
    // through the comma filter), long ones pasted; Enter closes the editor.
    // False when no editor opened (a full table, or the load-type cell).
    bool TypeCell(StringGrid* grid, int col, int row, const QString& text) {
        const QModelIndex index = grid->model()->index(row - 1, col - 1);
        if (!index.isValid()) return false;
        grid->setFocus();
        grid->setCurrentIndex(index);
        grid->edit(index);
        auto* editor = qobject_cast<QLineEdit*>(grid->indexWidget(index));
        if (!editor) return false;
        editor->selectAll();
        if (Typeable(text)) {
            QTest::keyClicks(editor, text);
        } else {
            editor->setText(text);
        }
        QTest::keyClick(editor, Chance(85) ? Qt::Key_Return : Qt::Key_Tab);
        QApplication::processEvents();
        return true;
    }

    void TypeField(QComboBox* box, const QString& text) {
        box->setFocus();
        box->lineEdit()->selectAll();
        if (Typeable(text))
            QTest::keyClicks(box->lineEdit(), text);
        else
            box->lineEdit()->setText(text);
        if (text.isEmpty()) box->lineEdit()->clear();
        QApplication::processEvents();
    }

    // Popup menus shown by a cell (the load type) or by a command are closed
    // as a user would by choosing nothing.
    void CloseMenus() {
        while (QWidget* popup = QApplication::activePopupWidget()) popup->close();
        QApplication::processEvents();
    }

    // The persistent part of the antenna as the user made it: what a save
    // would write of the geometry tables and the name.
    static std::string Persistent(const AntDef& a) {
        auto copy = std::make_unique<AntDef>(a);
        copy->Changed = copy->Edited = 0;
        EnvRec env{};
        std::string text = WriteAntennaText(*copy, env, std::string());
        // Blanks and tabs at the start of a position text do not survive a
        // file (the reader skips them before every field) and mean nothing.
        std::erase(text, ' ');
        std::erase(text, '\t');
        return text;
    }

    // Every invariant of the window after one step. Returns false (with the
    // step and seed in the message) at the first broken one.
    bool CheckInvariants(const std::string& what) {
        ++step_;
        const AntDef& a = wnd->Ant;
        std::ostringstream where;
        where << "seed " << seed_ << ", step " << step_ << " (" << what << "): ";
        auto fail = [&](const std::string& why) {
            ADD_FAILURE() << where.str() << why << "\nboxes: " << Shown();
            return false;
        };
        if (a.WireCount < 0 || a.WireCount > MaxWires) return fail("wire count " + std::to_string(a.WireCount));
        if (a.SourceCount < 0 || a.SourceCount > MaxSources) return fail("source count out of range");
        if (a.LoadCount < 0 || a.LoadCount > MaxLoads) return fail("load count out of range");
        if (a.TaperSetCount < 0 || a.TaperSetCount > MaxTaperSets) return fail("taper set count out of range");
        if (a.ExpWireCount < 0 || a.ExpWireCount > MaxExpWires) return fail("piece count out of range");
        if (!std::memchr(a.Name, 0, sizeof a.Name)) return fail("name not terminated");
        if (!(std::isfinite(a.Freq) && a.Freq > 0)) return fail("design frequency " + std::to_string(a.Freq));
        for (int i = 0; i < MaxSources; ++i)
            if (!std::memchr(a.Sources[i].Pos, 0, sizeof a.Sources[i].Pos)) return fail("source text not terminated");
        for (int i = 0; i < MaxLoads; ++i)
            if (!std::memchr(a.Loads[i].Pos, 0, sizeof a.Loads[i].Pos)) return fail("load text not terminated");
        for (int i = 0; i < a.WireCount; ++i) {
            const WireRec& w = a.Wires[i];
            for (double v : {w.X1, w.Y1, w.Z1, w.X2, w.Y2, w.Z2, w.R})
                if (!std::isfinite(v)) return fail("wire " + std::to_string(i + 1) + " holds a non-finite value");
        }
        for (int i = 0; i < a.SourceCount; ++i)
            if (!std::isfinite(a.Sources[i].Voltage) || !std::isfinite(a.Sources[i].Phase))
                return fail("source " + std::to_string(i + 1) + " holds a non-finite value");
        for (int i = 0; i < a.LoadCount; ++i) {
            const LoadRec& l = a.Loads[i];
            if (l.Type < LoadLC || l.Type > LoadS) return fail("load " + std::to_string(i + 1) + " has no type");
            if (l.N < 0 || l.N > MaxLoadPairs) return fail("load pair count out of range");
            for (int k = 0; k < MaxLoadPairs; ++k)
                if (!std::isfinite(l.A[k]) || !std::isfinite(l.B[k]))
                    return fail("load " + std::to_string(i + 1) + " holds a non-finite value");
        }
        if (JobDef.Busy) return fail("busy flag left set");
        if (QApplication::overrideCursor()) return fail("hourglass left on");
        if (wnd->Grid2->RowCount() != a.WireCount + 2) return fail("wire table rows do not follow the count");
        if (wnd->Grid3->RowCount() != a.SourceCount + 2) return fail("source table rows do not follow the count");
        if (wnd->Grid4->RowCount() != a.LoadCount + 2) return fail("load table rows do not follow the count");
        if (wnd->CalTrgBtn->isEnabled() != (a.WireCount > 0 && a.SourceCount > 0))
            return fail("Start is not usable exactly when there are wires and sources");
        for (const auto& box : prompter.ShownBoxes())
            if (box.kind == "message" && box.text.empty()) return fail("a box without a text");
        return true;
    }

    // An antenna text read and written again without blanks: the form in
    // which two texts of one antenna compare equal.
    static std::string Normalized(const std::string& text) {
        auto ant = std::make_unique<AntDef>();
        EnvRec env{};
        std::string comment;
        ParseAntennaText(*ant, env, text, comment);
        std::string again = WriteAntennaText(*ant, env, comment);
        std::erase(again, ' ');
        std::erase(again, '\t');
        return again;
    }

    // What a save writes now, the edit fields taken in, while the window
    // counts the antenna unchanged: an edit never moves it, so an edit
    // that changes what a save writes is asked about before it is dropped.
    // Commands (open, save, new) set it anew.
    void NoteUnchangedText() {
        unchanged_ = wnd->AntennaChanged() ? std::string() : Normalized(wnd->TextASaveWrites());
    }
    bool CheckEditMarked(const std::string& what) {
        // Without wires there is nothing to save (the question is not asked).
        if (wnd->Ant.WireCount == 0 || wnd->AntennaChanged()) return true;
        const std::string now = Normalized(wnd->TextASaveWrites());
        if (!unchanged_.empty() && now != unchanged_) {
            ADD_FAILURE() << "seed " << seed_ << ", step " << step_ << " (" << what
                          << "): what a save writes changed but the antenna counts as unchanged\n"
                          << unchanged_ << "\n----\n" << now;
            return false;
        }
        unchanged_ = now;
        return true;
    }

    // Plain values in the calculation fields, as a user puts them right after
    // an error box, so that more Starts reach the engine.
    void RepairFields() {
        const QString f = PickOf(std::vector<QString>{"14.15", "7.05", "28.5", "3.6", "50"});
        TypeField(wnd->Freq, f);
        TypeField(wnd->DoFreq, Chance(80) ? f : QString("0"));
        TypeField(wnd->EditDM1, PickOf(std::vector<QString>{"100", "200", "400"}));
        TypeField(wnd->EditDM2, PickOf(std::vector<QString>{"10", "20", "40"}));
        TypeField(wnd->EditEC, PickOf(std::vector<QString>{"1", "2", "3"}));
        TypeField(wnd->EditSC, PickOf(std::vector<QString>{"1.1", "2.0", "3.0"}));
        TypeField(wnd->AntHeight, PickOf(std::vector<QString>{"0", "5", "10"}));
    }

    // Clicks Start when it is enabled; checks what every Start must leave.
    bool PressStart(const std::string& what) {
        if (!wnd->CalTrgBtn->isEnabled()) return true;
        const int rowsBefore = Results.RowCount;
        wnd->CalTrgBtn->click();
        QApplication::processEvents();
        if (!CheckInvariants("Start after " + what)) return false;
        const bool added = Results.RowCount == rowsBefore + 1 || (rowsBefore == 128 && Results.RowCount == 128);
        const bool refused = wnd->LogFailed() || !prompter.ShownBoxes().empty();
        if (!added && !refused) {
            ADD_FAILURE() << "seed " << seed_ << ", step " << step_ << " (Start after " << what
                          << "): neither a result row nor a refusal\nlog: "
                          << wnd->LogLines().join(" | ").toStdString();
            return false;
        }
        return true;
    }

    std::function<bool(OpenKind, const std::string&, const std::string&)> savedOpen_;
    std::function<int(QDialog&)> savedModal_;
    // Garbage or numbers in some fields, some boxes flipped, then OK, Cancel
    // or the dialog's own result 1024; Cancel comes often enough that a
    // dialog which stays open after a refusal is left at last.
    int FillDialog(QDialog& dialog) {
        for (QLineEdit* edit : dialog.findChildren<QLineEdit*>())
            if (edit->isEnabled() && Chance(40)) edit->setText(RandomText());
        for (QCheckBox* box : dialog.findChildren<QCheckBox*>())
            if (box->isEnabled() && Chance(20)) box->click();
        return PickOf(std::vector<int>{QDialog::Accepted, QDialog::Accepted, QDialog::Rejected, 1024});
    }
    unsigned seed_ = 0;
    int step_ = 0;
    std::string unchanged_;  // empty while not known
    std::mt19937 rng_;
};
