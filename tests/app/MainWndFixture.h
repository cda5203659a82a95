#pragma once
// A main window for one test, with scripted answers to every box and a way to
// type into the cells of its tables as a user would.
#include "app/AboutBox.h"
#include "app/MainWnd.h"
#include "app/RecordsReset.h"
#include "app/Settings.h"
#include "model/EnvDef.h"
#include "model/ResultOrigin.h"
#include "model/ResultStore.h"
#include "platform/ColourChoice.h"
#include "platform/FontChoice.h"
#include "platform/FormPattern.h"
#include "platform/ScriptedPrompter.h"
#include "platform/StringGrid.h"

#include <QApplication>
#include <QDialog>
#include <QEventLoop>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTimer>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

class MainWndTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetRecords();
        scope_ = std::make_unique<ScopedPrompter>(prompter);
        SettingsPathOverride = SettingsPath().toStdString();
        aboutShown = 0;
        aboutTimed = 0;
        // No colour or font dialog waits for a user either.
        ChooseColour = [](QWidget*, const QColor&) { return QColor(); };
        ChooseFont = [](QFont&, QWidget*) { return false; };
        // No dialog of a command waits for a user; the about box is counted.
        ExecModalDialog = [](QDialog& dialog) {
            if (auto* box = dynamic_cast<TVerDspDlg*>(&dialog)) {
                ++aboutShown;
                if (box->Timer1->isActive()) ++aboutTimed;
            }
            return int(QDialog::Rejected);
        };
        Open();
    }
    void TearDown() override {
        wnd.reset();
        ResetRecords();
        scope_.reset();
        SettingsPathOverride.clear();
    }

    // A new window, as at a program start.
    void Open(const QStringList& args = {"korva"}) {
        wnd.reset();
        wnd = std::make_unique<TMainWnd>(args);
        wnd->show();
        QApplication::processEvents();
    }
    // Waits until no re-layout of the window is pending.
    void Settle() {
        QApplication::processEvents();
        QTRY_VERIFY_WITH_TIMEOUT(!wnd->Timer1->isActive() && !wnd->ResizePending, 2000);
    }
    QString SettingsPath() const { return dir_.filePath("Korva.ini"); }
    QString TempPath(const QString& name) const { return dir_.filePath(name); }

    // Opens the cell editor, types the text and closes the editor with Enter.
    static void Type(StringGrid* grid, int col, int row, const QString& text) {
        grid->setFocus();
        const QModelIndex index = grid->model()->index(row - 1, col - 1);
        ASSERT_TRUE(index.isValid()) << "no cell " << col << "," << row;
        grid->setCurrentIndex(index);
        grid->edit(index);
        auto* editor = qobject_cast<QLineEdit*>(grid->indexWidget(index));
        ASSERT_NE(editor, nullptr) << "no editor at " << col << "," << row;
        editor->selectAll();
        QTest::keyClicks(editor, text);
        QTest::keyClick(editor, Qt::Key_Return);
        QApplication::processEvents();
    }

    // True when an editor opens on the cell.
    static bool EditorOpens(StringGrid* grid, int col, int row) {
        const QModelIndex index = grid->model()->index(row - 1, col - 1);
        grid->setCurrentIndex(index);
        grid->edit(index);
        const bool open = grid->indexWidget(index) != nullptr;
        if (open) grid->CloseEditor();
        return open;
    }

    // Results a test put into the store count as computed from the antenna
    // and the settings as they stand.
    void ShowResultsOfThisAntenna() {
        CalculationFields fields;
        ASSERT_TRUE(wnd->ReadCalculationFields(fields, nullptr));
        wnd->Origin.Prepared(CalculationFingerprint(wnd->Ant, fields, EnvDef, UserMaterialDef));
        wnd->Origin.Computed(ResultHolder::Row);
        wnd->Origin.Computed(ResultHolder::Sweep);
    }

    // The event loop runs until it waits for input, as after a user's step.
    static void UntilIdle() {
        QEventLoop loop;
        QTimer::singleShot(20, &loop, &QEventLoop::quit);
        loop.exec();
    }

    void TypeWire(int row, const QStringList& cells) {
        for (int c = 0; c < cells.size(); ++c)
            if (!cells[c].isEmpty()) Type(wnd->Grid2, c + 1, row, cells[c]);
    }

    ScriptedPrompter prompter;
    std::unique_ptr<TMainWnd> wnd;
    static inline int aboutShown = 0;
    static inline int aboutTimed = 0;

private:
    QTemporaryDir dir_;
    std::unique_ptr<ScopedPrompter> scope_;
};
