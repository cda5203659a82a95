#include "BuiltInLanguage.h"

#include "EveryForm.h"
#include "app/MainWnd.h"
#include "editing/GrpWireDlg.h"
#include "editing/StackDlgBox.h"
#include "optimizer/ACalDlg.h"
#include "optimizer/ACalInfoBox.h"
#include "optimizer/ACalResDlg.h"
#include "tools/OptDlgBox.h"
#include "views/AVEZForm.h"
#include "views/BwDispDlg.h"
#include "views/NWLForm.h"
#include "views/ResCmpDlg.h"
#include "model/LanguageFile.h"
#include "model/LanguageState.h"
#include "model/Messages.h"
#include "platform/FormPattern.h"
#include "platform/StringGrid.h"
#include "views/OpenGLForm.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QRegularExpression>
#include <QTabBar>
#include <QTabWidget>
#include <algorithm>
#include <set>

namespace {

void Add(ScreenTexts& texts, const std::string& key, const QString& text) { texts[key] = text; }

void AddGrid(ScreenTexts& texts, const std::string& key, const StringGrid& grid) {
    for (int row = 0; row < grid.RowCount(); ++row)
        for (int col = 0; col < grid.ColCount(); ++col) {
            const std::string cell = key + ".cell" + std::to_string(col) + "," + std::to_string(row);
            if (grid.CellText) Add(texts, cell, grid.CellText(col, row));
            if (grid.CellHint) Add(texts, cell + ".hint", grid.CellHint(col, row));
        }
}

void AddObject(ScreenTexts& texts, const std::string& key, QObject* o) {
    if (auto* a = qobject_cast<QAction*>(o)) {
        Add(texts, key + ".text", a->text());
        Add(texts, key + ".hint", a->toolTip());
        return;
    }
    auto* w = qobject_cast<QWidget*>(o);
    if (!w) return;
    Add(texts, key + ".hint", w->toolTip());
    if (w->isWindow()) Add(texts, key + ".title", w->windowTitle());
    if (auto* l = qobject_cast<QLabel*>(w)) Add(texts, key + ".text", l->text());
    if (auto* b = qobject_cast<QAbstractButton*>(w)) Add(texts, key + ".text", b->text());
    if (auto* g = qobject_cast<QGroupBox*>(w)) Add(texts, key + ".title", g->title());
    if (auto* e = qobject_cast<QLineEdit*>(w)) Add(texts, key + ".text", e->text());
    if (auto* m = qobject_cast<QMenu*>(w)) Add(texts, key + ".title", m->title());
    if (auto* t = qobject_cast<QTabWidget*>(w))
        for (int i = 0; i < t->count(); ++i) Add(texts, key + ".tab" + std::to_string(i), t->tabText(i));
    if (auto* t = qobject_cast<QTabBar*>(w); t && !qobject_cast<QTabWidget*>(w->parentWidget()))
        for (int i = 0; i < t->count(); ++i) Add(texts, key + ".tab" + std::to_string(i), t->tabText(i));
    if (auto* c = qobject_cast<QComboBox*>(w))
        for (int i = 0; i < c->count(); ++i) Add(texts, key + ".item" + std::to_string(i), c->itemText(i));
    if (auto* g = qobject_cast<StringGrid*>(w)) AddGrid(texts, key, *g);
}

void AddList(ScreenTexts& texts, const char* name, const std::vector<std::string>& list) {
    for (std::size_t i = 0; i < list.size(); ++i) Add(texts, name + std::to_string(i), QString::fromStdString(list[i]));
}

// Texts of a language section that a form keeps outside its controls (grid
// words, prompts, questions). A form that keeps such a text must show it
// here: a line whose token shows nowhere is written as unused, empty.
void AddHeldTexts(ScreenTexts& texts, QWidget& form) {
    if (auto* f = dynamic_cast<TACalDlg*>(&form)) AddList(texts, "Text", f->HeldLanguageTexts());
    if (auto* f = dynamic_cast<TACalResDlg*>(&form)) AddList(texts, "Text", f->HeldLanguageTexts());
    if (auto* f = dynamic_cast<TACalInfoBox*>(&form)) AddList(texts, "Text", {f->HeldLanguageText()});
    if (auto* f = dynamic_cast<TOptDlgBox*>(&form))
        AddList(texts, "Text", {f->HairpinPrompt, f->SwrWords[0].toStdString(), f->SwrWords[1].toStdString(),
                                f->SwrWords[2].toStdString()});
    if (auto* f = dynamic_cast<TNWLForm*>(&form)) AddList(texts, "Text", {f->StopText.toStdString()});
    if (auto* f = dynamic_cast<TAVEZForm*>(&form))
        AddList(texts, "Text", {f->AzPrefix.toStdString(), f->EvPrefix.toStdString()});
    if (auto* f = dynamic_cast<TBwDispDlg*>(&form)) AddList(texts, "Text", {f->ResonanceQuestion.toStdString()});
    if (auto* f = dynamic_cast<TResCmpDlg*>(&form)) AddList(texts, "Text", {f->Words().begin(), f->Words().end()});
    if (auto* f = dynamic_cast<TGrpWireDlg*>(&form)) {
        const ElementTableWords& w = f->Table().Words;
        std::vector<std::string> list{w.Next};
        for (const auto* group : {&w.Messages}) list.insert(list.end(), group->begin(), group->end());
        list.insert(list.end(), w.Forms.begin(), w.Forms.end());
        list.insert(list.end(), w.MetreHeads.begin(), w.MetreHeads.end());
        list.insert(list.end(), w.WaveHeads.begin(), w.WaveHeads.end());
        AddList(texts, "Text", list);
    }
}

template <std::size_t Rows, std::size_t Width>
void AddBuffer(ScreenTexts& texts, const char* name, const char (&buffer)[Rows][Width]) {
    for (std::size_t i = 0; i < Rows; ++i) Add(texts, std::string(name) + std::to_string(i), QString::fromUtf8(buffer[i]));
}

// A token names a section (by its probe number) and a line.
QString Token(int section, int line) { return QStringLiteral("`%1.%2`").arg(section).arg(line); }

std::string TokenLanguage(const std::string& name, int lines, int section) {
    std::string text = "0\r\n\r\n\r\n" + name + " " + Token(section, 0).toStdString() + "\r\n";
    for (int k = 1; k <= lines; ++k) text += "k" + std::to_string(k) + " " + Token(section, k).toStdString() + "\r\n";
    return text + "\r\n";
}

// What the probes learnt about one section.
struct Section {
    int Lines = 0;           // after the header
    int Probe = -1;          // its number in the tokens, -1 until probed
    struct Line {
        std::string Word;  // the key word
        QString Text;      // the built-in text
        int Rank = 0;      // of the place it was found: higher names the line better
    };
    std::map<int, Line> Found;
};

// The control's name as the line's key word, when it is one word that names
// no section (a key word is never compared, but a section is found by its name).
std::string KeyWord(const std::string& key, int line) {
    std::string name = key.substr(0, key.find('#'));
    const bool plain = !name.empty() && std::all_of(name.begin(), name.end(), [](unsigned char c) {
        return std::isalnum(c) || c == '_';
    });
    bool namesSection = false;
    for (const std::string& s : LanguageSectionOrder()) namesSection = namesSection || name.find(s) != std::string::npos;
    if (!plain || namesSection || name.rfind("Q", 0) == 0 || name.rfind("qt_", 0) == 0) return "Line" + std::to_string(line);
    return name;
}

// Each text that shows one token of the probed section gives its line the
// text at the same place before: what surrounds the token (a number before
// it, a value after it) is taken off.
void Resolve(Section& section, const ScreenTexts& before, const ScreenTexts& after) {
    static const QRegularExpression token(QStringLiteral("`(\\d+)\\.(\\d+)`"));
    for (const auto& [key, text] : after) {
        const QRegularExpressionMatch m = token.match(text);
        if (!m.hasMatch() || m.captured(1).toInt() != section.Probe || token.match(text, m.capturedEnd()).hasMatch())
            continue;
        const int line = m.captured(2).toInt();
        const auto old = before.find(key);
        const QString builtIn = old == before.end() ? QString() : old->second;
        const QString prefix = text.left(m.capturedStart()), suffix = text.mid(m.capturedEnd());
        // (QString's == takes a null text for an empty one, startsWith does not.)
        if (builtIn.size() < prefix.size() + suffix.size() || builtIn.left(prefix.size()) != prefix ||
            builtIn.right(suffix.size()) != suffix)
            continue;
        const QString found = builtIn.mid(prefix.size(), builtIn.size() - prefix.size() - suffix.size());
        // A buffer may hold a text cut to its width: the longest wins; of
        // equal ones, a named control or buffer before a grid cell.
        const std::string word = KeyWord(key, line);
        const int rank = (key.find(".cell") == std::string::npos ? 2 : 0) + (word.rfind("Line", 0) != 0 ? 1 : 0);
        const auto known = section.Found.find(line);
        if (known == section.Found.end() || known->second.Text.size() < found.size() ||
            (known->second.Text.size() == found.size() && known->second.Rank < rank))
            section.Found[line] = {word, found, rank};
    }
}

// A text is one line: line breaks inside it become blanks.
std::string OneLine(const QString& text) {
    QString line = text;
    line.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    line.replace('\n', ' ').replace('\r', ' ');
    return line.toStdString();
}

class Prober {
public:
    Prober(TMainWnd& wnd, std::function<void()> prepare) : wnd_(wnd), prepare_(std::move(prepare)) {}

    void ProbeForms() {
        for (const FormCase& form : EveryForm()) {
            if (std::string_view(form.name) == "MainWnd") continue;
            // Without any section: the sections it reads, and its built-in texts.
            const ScreenTexts before = Open(form, "0\r\n", true);
            for (const std::string& name : readByLast_) {
                Section& s = sections_[name];
                if (s.Probe >= 0) continue;
                s.Probe = nextProbe_++;
                Resolve(s, before, Open(form, TokenLanguage(name, s.Lines, s.Probe), false));
            }
        }
    }

    // Last: the main window keeps what a language gave it.
    void ProbeMainWindow() {
        const ScreenTexts before = MainWindowUnder("0\r\n", true);
        for (const std::string& name : readByLast_) {
            Section& s = sections_[name];
            s.Probe = nextProbe_++;
            LanguageText = TokenLanguage(name, s.Lines, s.Probe);
            wnd_.ApplyLanguage();
            Resolve(s, before, MainWindowTexts());
        }
        LanguageIndex = -1;
        LanguageText.clear();
        ApplyDefaultMessages();
    }

    std::vector<std::string> ChangesUnder(const std::string& text) {
        std::vector<std::string> changes;
        auto compare = [&changes](const char* form, const ScreenTexts& before, const ScreenTexts& after) {
            for (const auto& [key, value] : after) {
                const auto old = before.find(key);
                const QString was = old == before.end() ? QString() : old->second;
                if (OneLine(was) != OneLine(value))
                    changes.push_back(std::string(form) + " " + key + ": \"" + was.toStdString() + "\" became \"" +
                                      value.toStdString() + "\"");
            }
        };
        for (const FormCase& form : EveryForm()) {
            if (std::string_view(form.name) == "MainWnd") continue;
            const ScreenTexts before = Open(form, "", false);
            compare(form.name, before, Open(form, text, false));
        }
        prepare_();
        const ScreenTexts before = MainWindowUnder(text, false);
        compare("MainWnd", before, MainWindowTexts());
        LanguageIndex = -1;
        LanguageText.clear();
        ApplyDefaultMessages();
        return changes;
    }

    BuiltInLanguage Write() const {
        BuiltInLanguage out;
        // Line 0 the charset (western), line 1 a title, line 2 the news line
        // (empty: no news), then the sections, each ended by an empty line.
        out.Text = "0\r\nKORVA-TEZ English\r\n\r\n";
        for (const std::string& name : LanguageSectionOrder()) {
            const auto it = sections_.find(name);
            if (it == sections_.end()) {
                out.Problems.push_back("no form read the section " + name);
                continue;
            }
            const Section& s = it->second;
            const auto header = s.Found.find(0);
            out.Text += name + (header == s.Found.end() ? "" : " " + OneLine(header->second.Text)) + "\r\n";
            for (int k = 1; k <= s.Lines; ++k) {
                const auto line = s.Found.find(k);
                // A line whose token shows nowhere is read and not used (or
                // its control shows a value instead): it holds no text.
                if (line == s.Found.end()) {
                    out.Text += "Unused \r\n";
                } else {
                    out.Text += line->second.Word + " " + OneLine(line->second.Text) + "\r\n";
                }
            }
            out.Text += "\r\n";
        }
        for (const auto& [name, s] : sections_)
            if (std::find(LanguageSectionOrder().begin(), LanguageSectionOrder().end(), name) ==
                LanguageSectionOrder().end())
                out.Problems.push_back("the section " + name + " is read but has no place in the file's order");
        return out;
    }

private:
    void Record(const std::function<void()>& run) {
        readByLast_.clear();
        static Prober* current = nullptr;
        current = this;
        LanguageSectionLookup = [](const char* name, int lines) {
            Section& s = current->sections_[name];
            s.Lines = std::max(s.Lines, lines);
            if (std::find(current->readByLast_.begin(), current->readByLast_.end(), name) ==
                current->readByLast_.end())
                current->readByLast_.emplace_back(name);
        };
        run();
        LanguageSectionLookup = nullptr;
    }

    // The form opened under the language `text`: the texts of the form where
    // it waits for the user, and the message buffers.
    ScreenTexts Open(const FormCase& form, const std::string& text, bool record) {
        prepare_();
        LanguageIndex = text.empty() ? -1 : 0;
        LanguageText = text;
        ScreenTexts texts;
        auto take = [&texts](QWidget& w) {
            texts = TextsOnScreen(w);
            AddHeldTexts(texts, w);
            for (const auto& [key, value] : MessageBufferTexts()) texts[key] = value;
        };
        const auto saved = ExecModalDialog;
        ExecModalDialog = [&take](QDialog& d) {
            take(d);
            return int(QDialog::Rejected);
        };
        auto open = [&] {
            if (QWidget* modeless = form.open(wnd_)) take(*modeless);
        };
        if (record)
            Record(open);
        else
            open();
        ExecModalDialog = saved;
        if (OpenGL_Form) delete OpenGL_Form;
        QApplication::processEvents();
        LanguageIndex = -1;
        LanguageText.clear();
        return texts;
    }

    // The main window's built-in texts; then the language `text` applied.
    ScreenTexts MainWindowUnder(const std::string& text, bool record) {
        LanguageIndex = -1;
        LanguageText.clear();
        wnd_.ApplyLanguage();
        wnd_.UpdateCount();
        const ScreenTexts before = MainWindowTexts();
        LanguageIndex = 0;
        LanguageText = text;
        if (record)
            Record([this] { wnd_.ApplyLanguage(); });
        else
            wnd_.ApplyLanguage();
        return before;
    }

    ScreenTexts MainWindowTexts() {
        ScreenTexts texts = TextsOnScreen(wnd_);
        for (const auto& [key, value] : MessageBufferTexts()) texts[key] = value;
        return texts;
    }

    TMainWnd& wnd_;
    std::function<void()> prepare_;
    std::map<std::string, Section> sections_;
    std::vector<std::string> readByLast_;
    int nextProbe_ = 0;
};

}  // namespace

ScreenTexts TextsOnScreen(QWidget& form) {
    ScreenTexts texts;
    std::map<QString, int> seen;
    AddObject(texts, "form", &form);
    for (QObject* o : form.findChildren<QObject*>()) {
        const QString name = o->objectName().isEmpty() ? QString::fromLatin1(o->metaObject()->className()) : o->objectName();
        AddObject(texts, (name + "#" + QString::number(seen[name]++)).toStdString(), o);
    }
    return texts;
}

ScreenTexts MessageBufferTexts() {
    ScreenTexts texts;
    AddBuffer(texts, "MainMessages", MainMessages);
    AddBuffer(texts, "PolarNames", PolarNames);
    AddBuffer(texts, "OptWireMessages", OptWireMessages);
    AddBuffer(texts, "ResultColumnHeads", ResultColumnHeads);
    AddBuffer(texts, "GroundNames", GroundNames);
    AddBuffer(texts, "ResultColumnHints", ResultColumnHints);
    AddBuffer(texts, "PlotTexts", PlotTexts);
    AddBuffer(texts, "EngineMessages", EngineMessages);
    AddBuffer(texts, "CsvHeaders", CsvHeaders);
    AddBuffer(texts, "ViewLabels", ViewLabels);
    AddBuffer(texts, "OptButtonCaptions", OptButtonCaptions);
    AddBuffer(texts, "StackMessages", StackMessages);
    Add(texts, "CommentCaption", QString::fromUtf8(CommentCaption));
    Add(texts, "ElevationPrompt", QString::fromUtf8(ElevationPrompt));
    Add(texts, "NotDefinedText", QString::fromUtf8(NotDefinedText));
    Add(texts, "EmptyRowText", QString::fromUtf8(EmptyRowText));
    return texts;
}

const std::vector<std::string>& LanguageSectionOrder() {
    static const std::vector<std::string> order = {
        "MainWnd", "HintMain_Wnd", "MININEC", "FFStrings",
        "AVEZForm", "FarSetDlg", "FreqSetDlg", "NearSetDlg", "NWLForm", "ResCmpDlg", "GLColForm", "OpenGL_Form",
        "BwDispDlg", "MessagBwDisp_Dlg",
        "ACalDlg", "ACalEleBox", "ACalInfoBox", "ACalMultDlg", "ACalResDlg", "MsessagACal_Dlg", "ACalRes_Dlg",
        "GrpWireDlg", "MessagGrpWire_Dlg", "MediaDlgBox", "MoveDlgBox", "StackDlgBox", "MessagStack_DlgBox",
        "TextEditDlg", "ValRepDlg", "WCombDlg", "WCombDspDlg", "WireCadDlg", "WireEditDlg", "WireScaleDlg",
        "RotWireDlg",
        "OptDlgBox", "UsCase", "UserMaterial",
    };
    return order;
}

std::vector<std::string> ChangesUnderLanguage(TMainWnd& wnd, const std::function<void()>& prepare,
                                              const std::string& text) {
    return Prober(wnd, prepare).ChangesUnder(text);
}

BuiltInLanguage WriteBuiltInLanguage(TMainWnd& wnd, const std::function<void()>& prepare) {
    Prober prober(wnd, prepare);
    prober.ProbeForms();
    prober.ProbeMainWindow();
    return prober.Write();
}
