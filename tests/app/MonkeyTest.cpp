// Seeded streams of user actions on a real main window: garbage in every
// field and cell, every enabled command with scripted answers, tab, ground
// and unit switches, and Start on whatever that produced. After every step
// the window must hold a sane antenna, be idle again and have marked every
// edit, and no replacement may drop unsaved edits without the save question.
#include "MonkeyFixture.h"

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QFileInfo>
#include <QRadioButton>

namespace {

constexpr int LoadColumns = 26;

}  // namespace

class MonkeyActions : public MonkeyTest {
protected:
    // One random edit; returns false when an invariant broke.
    bool RandomEdit() {
        const QString text = RandomText();
        std::string what;
        switch (Pick(17)) {
            case 12:
            case 13: {
                // A whole wire as a user types one: mostly sane, sometimes not;
                // now and then joined to the wire before at a point that no
                // cell shows exactly, and cut by a pair such as 4,-8.
                const int row = 1 + Pick(wnd->Ant.WireCount + 1);
                const bool joined = row > 1 && Chance(40);
                const QString end = PickOf(std::vector<QString>{"R/8", "R/3", "1/3", "2/7", "R/8+1", "-R/7"});
                what = "whole wire " + std::to_string(row) + (joined ? " joined at " + end.toStdString() : "");
                for (int col = 1; col <= 8; ++col) {
                    QString cell = QString::number((Pick(4001) - 2000) / 100.0);
                    if (col == 3 || col == 6) cell = QString::number(Pick(2001) / 100.0);
                    if (col == 7) cell = PickOf(std::vector<QString>{"1", "2", "0.5", "1", "3", "1e-9", "1000"});
                    if (col == 7 && Chance(3)) cell = "-1";
                    if (col == 8) cell = PickOf(std::vector<QString>{"11", "-1", "0", "5,3", "-2", "-3", "1", "4,-8"});
                    if (joined && col <= 6) cell = col == 2 ? lastEnd_ : col == 5 ? end : col % 3 == 0 ? "10" : "0";
                    if (Chance(8)) cell = RandomText();
                    TypeCell(wnd->Grid2, col, row, cell);
                }
                lastEnd_ = end;
                break;
            }
            case 14:
            case 15:
            case 16: {
                // A cell's own text typed back changes nothing, however the
                // cell rounds what it shows.
                const AntDef& a = wnd->Ant;
                StringGrid* grid = PickOf(std::vector<StringGrid*>{wnd->Grid2, wnd->Grid2, wnd->Grid3, wnd->Grid4});
                const int entries = grid == wnd->Grid2 ? a.WireCount : grid == wnd->Grid3 ? a.SourceCount : a.LoadCount;
                if (entries == 0) break;
                const int row = 1 + Pick(entries), col = 1 + Pick(grid->ColCount() - 1);
                const QString shown = grid->Cells(col, row);
                what = "shown text typed back into " + grid->objectName().toStdString() + " " + std::to_string(col) +
                       "," + std::to_string(row) + ": " + shown.toStdString();
                const std::vector<uint8_t> exact = ExactAntenna();
                TypeCell(grid, col, row, shown);
                CloseMenus();
                if (ExactAntenna() != exact) {
                    ++step_;
                    ADD_FAILURE() << "seed " << seed_ << ", step " << step_ << " (" << what
                                  << "): the antenna changed";
                    return false;
                }
                break;
            }
            case 0:
            case 1:
            case 2: {
                const int row = 1 + Pick(wnd->Ant.WireCount + 2);
                const int col = 1 + Pick(8);
                what = "wire cell " + std::to_string(col) + "," + std::to_string(row);
                TypeCell(wnd->Grid2, col, row, text);
                break;
            }
            case 3:
            case 4: {
                const int row = 1 + Pick(wnd->Ant.SourceCount + 2);
                const int col = 1 + Pick(3);
                what = "source cell " + std::to_string(col) + "," + std::to_string(row);
                TypeCell(wnd->Grid3, col, row, text);
                break;
            }
            case 5:
            case 6: {
                const int row = 1 + Pick(wnd->Ant.LoadCount + 2);
                const int col = 1 + Pick(LoadColumns);
                what = "load cell " + std::to_string(col) + "," + std::to_string(row);
                TypeCell(wnd->Grid4, col, row, text);
                // The type cell opens the type popup instead of an editor.
                if (wnd->PopupLoad->isVisible()) {
                    QAction* choice = PickOf(std::vector<QAction*>{wnd->KS1, wnd->KS2, wnd->KS3});
                    what += " type " + choice->text().toStdString();
                    wnd->PopupLoad->close();
                    choice->trigger();
                }
                break;
            }
            case 7: {
                QComboBox* box = PickOf(std::vector<QComboBox*>{wnd->Freq, wnd->EditDM1, wnd->EditDM2, wnd->EditEC,
                                                                wnd->EditSC});
                what = "field " + box->objectName().toStdString();
                TypeField(box, text);
                break;
            }
            case 8: {
                what = "name";
                wnd->AntName->setFocus();
                wnd->AntName->selectAll();
                if (Typeable(text)) QTest::keyClicks(wnd->AntName, text);
                else wnd->AntName->setText(text);
                break;
            }
            case 9: {
                QComboBox* box = PickOf(std::vector<QComboBox*>{wnd->DoFreq, wnd->AntHeight});
                what = "field " + box->objectName().toStdString();
                TypeField(box, text);
                break;
            }
            case 10: {
                const int kind = Pick(3);
                if (kind == 0) {
                    const int i = Pick(3);
                    what = "ground " + std::to_string(i);
                    wnd->CalcSel->Button(i)->click();
                } else if (kind == 1) {
                    const int i = Pick(wnd->MaterialSel->count());
                    what = "material " + std::to_string(i);
                    wnd->MaterialSel->setCurrentIndex(i);
                    emit wnd->MaterialSel->activated(i);
                } else {
                    QCheckBox* box = PickOf(std::vector<QCheckBox*>{wnd->ChkRmd, wnd->ChkWith, wnd->AutoVol});
                    what = "check box " + box->objectName().toStdString();
                    box->click();
                }
                break;
            }
            default: {
                const int tab = Pick(4);
                what = "tab " + std::to_string(tab);
                wnd->Page->setCurrentIndex(tab);
                break;
            }
        }
        CloseMenus();
        QApplication::processEvents();
        what += " <- \"" + text.left(40).toStdString() + "\"";
        if (!CheckInvariants(what)) return false;
        if (!CheckEditMarked(what)) return false;
        if (Chance(15)) {
            if (Chance(70)) RepairFields();
            if (!PressStart(what)) return false;
        }
        prompter.Clear();
        return true;
    }

    // The commands a user can reach now: named, enabled and visible items of
    // the menus, popups and toolbar.
    std::vector<QAction*> EnabledCommands() {
        wnd->UpdateMenuState();
        std::vector<QAction*> list;
        for (QAction* a : wnd->findChildren<QAction*>()) {
            if (a->menu() || a->isSeparator() || !a->isEnabled() || a->objectName().isEmpty()) continue;
            if (!a->isVisible() && !a->objectName().startsWith("ReopenItem")) continue;
            if (a->objectName().startsWith("ReopenItem") && !a->isVisible()) continue;
            list.push_back(a);
        }
        return list;
    }

    // Files a scripted file dialog may answer with.
    QString RandomFileAnswer() {
        switch (Pick(10)) {
            case 0: return WriteFile("good.kva", DipoleText());
            case 1: return WriteFile("yagi.kva", ReadFile(QString(KORVA_TEST_DATA) + "/yagi3.kva"));
            case 2: return WriteFile("garbage.kva", QByteArray("\x01\x02garbage\xff\xfe\n,,,\n", 16));
            case 3: return WriteFile("empty.kva", QByteArray());
            case 4: return TempPath("missing.kva");
            case 5: return TempPath(QString("saved%1.kva").arg(Pick(3)));
            case 6: return TempPath(QString("saved%1.kvb").arg(Pick(3)));
            case 7: return WriteFile("broken.kvb", QByteArray("KORVA Res2.00\x1a", 14) + QByteArray(40, '\xff'));
            case 8: return UnwritablePath("x.kva");
            default: return QString();  // Cancel
        }
    }

    // The expression of the last joint typed: the next joined wire starts there.
    QString lastEnd_ = "0";

    // Commands that put another antenna in place of the current one.
    bool Replaces(const QAction* command) const {
        for (const QAction* a : {wnd->K2, wnd->K3, wnd->K12, wnd->ToolButton2, wnd->ToolButton4})
            if (command == a) return true;
        return command->objectName().startsWith("ReopenItem");
    }

    // One random command with scripted answers to whatever it asks.
    bool RandomCommand() {
        const std::vector<QAction*> commands = EnabledCommands();
        if (commands.empty()) return true;
        QAction* command = PickOf(commands);
        const std::string what = "command " + command->objectName().toStdString();
        prompter.Clear();
        for (int i = 0; i < 2; ++i) prompter.AnswerMessage(PickOf(std::vector<int>{BoxYes, BoxNo, BoxCancel}));
        for (int i = 0; i < 2; ++i) prompter.AnswerFile(RandomFileAnswer().toStdString());

        const bool hadEdits = wnd->AntennaChanged() && wnd->Ant.WireCount > 0;
        const std::string before = Persistent(wnd->Ant);
        command->trigger();
        CloseMenus();
        QApplication::processEvents();
        const bool closed = !wnd->isVisible();
        if (!CheckInvariants(what)) return false;
        const std::string after = Persistent(wnd->Ant);
        bool asked = false;
        for (const auto& box : prompter.ShownBoxes()) asked |= box.caption == "Korva";
        if (Replaces(command)) {
            if (hadEdits && after != before && !asked) {
                ADD_FAILURE() << "seed " << seed_ << ", step " << step_ << " (" << what
                              << "): unsaved edits replaced without the save question";
                return false;
            }
            prompter.Clear();
            NoteUnchangedText();
            return Reshow(closed);
        }
        // Otherwise an unchanged antenna after a change means saved, or
        // changed back: the file must hold what the window holds. Without a
        // file it is changed back to what New began.
        if ((hadEdits || after != before) && !wnd->AntennaChanged() && !wnd->FileName.isEmpty()) {
            const std::string disk = SavedAntenna(wnd->FileName);
            if (disk != after) {
                ADD_FAILURE() << "seed " << seed_ << ", step " << step_ << " (" << what
                              << "): the antenna is marked unchanged but its file holds something else\n"
                              << disk << "\n----\n" << after;
                return false;
            }
        }
        prompter.Clear();
        NoteUnchangedText();
        return Reshow(closed);
    }

    // What a save wrote into an antenna file, in the form of Persistent.
    std::string SavedAntenna(const QString& path) {
        if (path.isEmpty()) return "(no file)";
        const QByteArray bytes = ReadFile(path);
        EnvRec env{};
        std::string comment;
        auto ant = std::make_unique<AntDef>();
        ParseAntennaText(*ant, env, std::string(bytes.constData(), bytes.size()), comment);
        return Persistent(*ant);
    }

    // One change a user may make in the fields between a calculation and
    // Elevation, with values that calculate; returns what was done.
    std::string RandomFieldChange() {
        auto type = [this](QComboBox* box, std::vector<QString> values) {
            values.push_back(box->currentText());  // the same value again
            const QString text = PickOf(values);
            TypeField(box, text);
            return box->objectName().toStdString() + " " + text.toStdString();
        };
        auto click = [](QAbstractButton* button) {
            button->click();
            return button->objectName().toStdString();
        };
        switch (Pick(12)) {
            case 0: return type(wnd->Freq, {"7.1", "14.2", "21.3"});
            case 1: return type(wnd->EditDM1, {"100", "200", "400"});
            case 2: return type(wnd->EditDM2, {"10", "20", "40"});
            case 3: return type(wnd->EditEC, {"1", "2", "3"});
            case 4: return type(wnd->EditSC, {"1.1", "2.0", "3.0"});
            case 5: return type(wnd->DoFreq, {"0", "7.1", "14.2"});
            case 6: return type(wnd->AntHeight, {"0", "5", "12"});
            case 7: return click(wnd->CalcSel->Button(Pick(3))) + " ground";
            case 8: {
                const int i = Pick(3);
                wnd->MaterialSel->setCurrentIndex(i);
                emit wnd->MaterialSel->activated(i);
                return "material " + std::to_string(i);
            }
            case 9: return click(wnd->EnbLoad);
            case 10: return click(wnd->AutoVol);
            default:
                wnd->AntName->setFocus();
                QTest::keyClicks(wnd->AntName, "x");
                return "name";
        }
    }

    // Start, field changes, Elevation: a cut is taken only into results that
    // a calculation of the antenna as the user now has it gives again, and
    // is refused (the row left alone) into any others.
    bool ChangesBetweenStartAndElevation() {
        RepairFields();
        if (!PressStart("the fields repaired")) return false;
        prompter.Clear();
        if (!Results.HasFarField || wnd->LogFailed()) return true;
        // The fields are on the first tabs; Elevation is on the last.
        wnd->Page->setCurrentWidget(PickOf(std::vector<QWidget*>{wnd->TabSheet1, wnd->TabSheet3}));
        std::string what = "changes:";
        for (int n = Pick(4); n > 0; --n) what += " " + RandomFieldChange() + ";";
        CloseMenus();
        wnd->Page->setCurrentWidget(wnd->TabSheet4);
        QApplication::processEvents();
        if (!CheckInvariants(what)) return false;
        const bool offered = wnd->EleBtn->isEnabled();
        const ResultRow before = *Results.Row(0);
        prompter.AnswerInput(true, PickOf(std::vector<std::string>{"10", "30", "45"}));
        wnd->EleBtnClick();  // the handler itself, offered or not
        prompter.Clear();
        auto fail = [&](const std::string& why) {
            ADD_FAILURE() << "seed " << seed_ << ", step " << step_ << " (" << what << "): " << why;
            return false;
        };
        if (!offered) {
            const ResultRow& after = *Results.Row(0);
            if (after.F != before.F || after.R != before.R || after.jX != before.jX || after.Ga != before.Ga)
                return fail("a refused Elevation wrote into the newest row");
            return true;
        }
        const ResultRow cut = *Results.Row(0);
        const int rows = Results.RowCount;
        wnd->CalTrgBtn->click();
        QApplication::processEvents();
        if (wnd->LogFailed() || !prompter.ShownBoxes().empty() || (rows < 128 && Results.RowCount != rows + 1))
            return fail("Elevation was offered for an antenna that does not calculate");
        const ResultRow& fresh = *Results.Row(0);
        // The same model solved once more: float rounding apart, the same
        // frequency and feed impedance.
        const double z = std::hypot(fresh.R, fresh.jX);
        if (std::fabs(cut.F - fresh.F) > 1e-6 * fresh.F || std::fabs(cut.R - fresh.R) > 1e-4 * z ||
            std::fabs(cut.jX - fresh.jX) > 1e-4 * z) {
            std::ostringstream rows;
            rows << "the cut went into a row of F " << cut.F << ", Z " << cut.R << " " << cut.jX
                 << "; a calculation now gives F " << fresh.F << ", Z " << fresh.R << " " << fresh.jX;
            return fail(rows.str());
        }
        return true;
    }

    // After Exit a user starts the program again.
    bool Reshow(bool closed) {
        if (closed) {
            wnd->show();
            QApplication::processEvents();
        }
        return true;
    }
};

TEST_F(MonkeyActions, TypingGarbageIntoFieldsAndTables) {
    for (unsigned seed : {11u, 12u, 13u}) {
        Seed(seed);
        if (seed != 11u) {
            prompter.AnswerMessage(BoxNo);  // the previous seed's edits
            OpenDipole(seed == 12u ? "dipole.kva" : "other.kva");
        }
        NoteUnchangedText();
        for (int i = 0; i < 160; ++i)
            if (!RandomEdit()) return;
    }
}

TEST_F(MonkeyActions, FullTablesTakeNoMoreEntries) {
    // Tables one short of their capacity: the monkey reaches the limits.
    Seed(21);
    AntDef& a = wnd->Ant;
    for (int i = 0; i < MaxWires - 1; ++i) a.Wires[i] = WireRec{0, 0.1 * i, 10, 0, 0.1 * i + 0.1, 10, 0.001, 1, 0, 0, 0};
    a.WireCount = MaxWires - 1;
    for (int i = 0; i < MaxSources - 1; ++i) CopyText(a.Sources[i].Pos, "w1c");
    a.SourceCount = MaxSources - 1;
    for (int i = 0; i < MaxLoads - 1; ++i) CopyText(a.Loads[i].Pos, "w2c");
    a.LoadCount = MaxLoads - 1;
    wnd->SetAntDef();
    wnd->UpdateCount();
    wnd->UpdateMenuState();
    for (int i = 0; i < 40; ++i) {
        TypeCell(wnd->Grid2, 1 + Pick(8), a.WireCount + 1 - Pick(2), RandomText());
        TypeCell(wnd->Grid3, 1 + Pick(3), a.SourceCount + 1 - Pick(2), RandomText());
        TypeCell(wnd->Grid4, 1 + Pick(LoadColumns), a.LoadCount + 1 - Pick(2), RandomText());
        if (wnd->PopupLoad->isVisible()) {
            wnd->PopupLoad->close();
            PickOf(std::vector<QAction*>{wnd->KS1, wnd->KS2, wnd->KS3})->trigger();
        }
        CloseMenus();
        if (!CheckInvariants("typing into full tables")) return;
    }
    EXPECT_LE(a.WireCount, MaxWires);
    EXPECT_LE(a.SourceCount, MaxSources);
    EXPECT_LE(a.LoadCount, MaxLoads);
    // Every table ends at its capacity with an append row that opens no editor.
    for (int i = 0; i < 20 && a.WireCount < MaxWires; ++i) TypeCell(wnd->Grid2, 1, a.WireCount + 1, "1");
    EXPECT_EQ(a.WireCount, MaxWires);
    EXPECT_FALSE(EditorOpens(wnd->Grid2, 1, MaxWires + 1));
    ASSERT_TRUE(PressStart("full tables"));
}

TEST_F(MonkeyActions, FieldChangesBetweenACalculationAndElevation) {
    const QString files[] = {WriteFile("dipole.kva", DipoleText()),
                             WriteFile("yagi.kva", ReadFile(QString(KORVA_TEST_DATA) + "/yagi3.kva"))};
    for (unsigned seed : {41u, 42u, 43u, 44u}) {
        Seed(seed);
        prompter.Clear();
        prompter.AnswerMessage(BoxNo);  // the previous seed's changes
        prompter.AnswerFile(files[seed % 2].toStdString());
        wnd->K3->trigger();
        ASSERT_GT(wnd->Ant.WireCount, 0) << Shown();
        for (int i = 0; i < 25; ++i)
            if (!ChangesBetweenStartAndElevation()) return;
    }
}

TEST_F(MonkeyActions, CommandsTabsAndStartInAnyOrder) {
    for (unsigned seed : {31u, 32u, 33u, 34u}) {
        Seed(seed);
        NoteUnchangedText();
        for (int i = 0; i < 90; ++i) {
            const bool ok = Chance(45) ? RandomCommand() : RandomEdit();
            if (!ok) return;
        }
    }
}
