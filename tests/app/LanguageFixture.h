#pragma once
// A main window whose program folder is a folder of the test, with language
// files written by the test, and a record of what it would hand the desktop.
#include "MainWndFixture.h"
#include "app/ExternalOpen.h"
#include "app/LanguageTargets.h"
#include "model/LanguageFile.h"
#include "model/LanguageState.h"
#include "model/Messages.h"
#include "platform/RadioGroup.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <functional>
#include <string>
#include <vector>

// The texts of one language: a function per section gives line k (1-based);
// an empty function leaves the section out.
struct LanguageRecipe {
    std::string Charset = "0";
    std::string Help = "hilfe";
    std::string News = "News neu.txt";
    std::function<std::string(int)> Main, Hint, Engine, Plot;
};

inline std::string BuildLanguage(const LanguageRecipe& recipe) {
    std::string text = recipe.Charset + "\r\n" + (recipe.Help.empty() ? "" : "HelpFile " + recipe.Help) + "\r\n" +
                       recipe.News + "\r\n\r\n";
    auto section = [&](const char* header, int count, const std::function<std::string(int)>& line) {
        if (!line) return;
        text += std::string(header) + "\r\n";
        for (int k = 1; k <= count; ++k) {
            std::string one = line(k);
            for (char& c : one)
                if (c == '\r' || c == '\n') c = ' ';
            text += 'k';
            text += std::to_string(k);
            text += ' ';
            text += one;
            text += "\r\n";
        }
        text += "\r\n";
    };
    section("MainWnd Hauptfenster", MainWndSectionLines - 1, recipe.Main);
    section("HintMain_Wnd", HintSectionLines - 1, recipe.Hint);
    section("MININEC", EngineLanguageMessageCount, recipe.Engine);
    section("FFStrings", PlotTextCount, recipe.Plot);
    return text;
}

// A complete language whose every text is its section letter and line number.
inline LanguageRecipe GermanRecipe() {
    LanguageRecipe recipe;
    recipe.Main = [](int k) {
        if (k == RoundDigitsLine) return std::string("Stellen");
        if (k == UserMenuLine + 2) return std::string("3Nicht belegt");
        return "de" + std::to_string(k);
    };
    recipe.Hint = [](int k) { return "dh" + std::to_string(k); };
    recipe.Engine = [](int k) { return "DE" + std::to_string(k); };
    recipe.Plot = [](int k) { return "dp" + std::to_string(k); };
    return recipe;
}

class LanguageTest : public MainWndTest {
protected:
    void SetUp() override {
        LanguageIndex = -1;
        LanguageText.clear();
        MainWndTest::SetUp();
        folder = programDir_.filePath("program folder");
        QDir().mkpath(folder + "/Language");
        savedOpen_ = ExternalOpen;
        ExternalOpen = [this](OpenKind kind, const std::string& target, const std::string& argument) {
            opened.push_back({kind, target, argument});
            return true;
        };
    }
    void TearDown() override {
        ExternalOpen = savedOpen_;
        MainWndTest::TearDown();
        LanguageIndex = -1;
        LanguageText.clear();
        ApplyDefaultMessages();
    }

    void WriteLanguageFile(const QString& name, const std::string& bytes) {
        QFile f(folder + "/Language/" + name);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes.data(), static_cast<qint64>(bytes.size()));
    }
    void WriteList(const QStringList& names) { WriteLanguageFile("krvlanguage.txt", names.join("\r\n").toStdString()); }

    // The window shown again with the test's program folder, as at a start.
    void ShowAgain() {
        wnd->ProgramFolder = folder;
        wnd->hide();
        wnd->show();
        QApplication::processEvents();
    }

    QObject* Target(const char* name) const { return wnd->findChild<QObject*>(QString::fromLatin1(name)); }

    QString TextOf(const char* name) const {
        QObject* o = Target(name);
        if (auto* a = qobject_cast<QAction*>(o)) return a->text();
        if (auto* m = qobject_cast<QMenu*>(o)) return m->title();
        if (auto* w = qobject_cast<QWidget*>(o); w && wnd->Page->indexOf(w) >= 0)
            return wnd->Page->tabText(wnd->Page->indexOf(w));
        if (auto* g = qobject_cast<QGroupBox*>(o)) return g->title();
        if (auto* b = qobject_cast<QAbstractButton*>(o)) return b->text();
        if (auto* l = qobject_cast<QLabel*>(o)) return l->text();
        return QStringLiteral("<no control %1>").arg(name);
    }
    QString HintOf(const char* name) const {
        QObject* o = Target(name);
        if (auto* a = qobject_cast<QAction*>(o)) return a->toolTip();
        if (auto* w = qobject_cast<QWidget*>(o)) return w->toolTip();
        return QStringLiteral("<no control %1>").arg(name);
    }

    // Everything a language sets, as text, for comparisons before and after.
    std::vector<std::string> Snapshot() const {
        std::vector<std::string> s;
        for (const char* name : MainWndTextTargets)
            if (name) s.push_back(std::string(name) + "=" + TextOf(name).toStdString());
        for (const char* name : HintTargets)
            if (name) s.push_back(std::string(name) + "?" + HintOf(name).toStdString());
        for (int i = 0; i < wnd->MaterialSel->count(); ++i) s.push_back(wnd->MaterialSel->itemText(i).toStdString());
        for (const QString& item : wnd->CalcSel->Items()) s.push_back(item.toStdString());
        for (QAction* a : {wnd->User1Menu, wnd->User2Menu, wnd->User3Menu, wnd->K24, wnd->K25, wnd->K26, wnd->WnewM})
            s.push_back(a->isVisible() ? a->text().toStdString() : "(hidden)");
        s.push_back("help:" + wnd->HelpFileName.toStdString());
        auto add = [&s](const char* text) { s.emplace_back(text); };
        for (auto& t : MainMessages) add(t);
        for (auto& t : PolarNames) add(t);
        for (auto& t : OptWireMessages) add(t);
        for (auto& t : ResultColumnHeads) add(t);
        for (auto& t : GroundNames) add(t);
        for (auto& t : ResultColumnHints) add(t);
        for (auto& t : PlotTexts) add(t);
        for (auto& t : EngineMessages) add(t);
        for (auto& t : CsvHeaders) add(t);
        for (auto& t : ViewLabels) add(t);
        for (auto& t : OptButtonCaptions) add(t);
        for (const char* t : {CommentCaption, ElevationPrompt, NotDefinedText, EmptyRowText}) add(t);
        return s;
    }

    QAction* LanguageItem(std::size_t n) const { return n < wnd->LanguageItems.size() ? wnd->LanguageItems[n] : nullptr; }

    struct Opened {
        OpenKind Kind;
        std::string Target, Argument;
    };
    std::vector<Opened> opened;
    QString folder;

private:
    QTemporaryDir programDir_;
    std::function<bool(OpenKind, const std::string&, const std::string&)> savedOpen_;
};
