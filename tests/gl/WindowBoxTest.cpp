// Every form that keeps its window box, framed by a real window manager
// (openbox, on the test's X display): the box it saves is its frame, title
// bar and borders included; opened and closed again and again it stays where
// it was; a box saved off the screen (a monitor since removed) comes back
// with its whole frame on the screen, and one saved far too small comes back
// at a size the form can be used at; a form closed minimized or never shown
// leaves the saved box as it was. A picture of the screen with the 3D
// view so restored goes to screenshots/windowbox beside the test program.
#include "ScreenshotPath.h"
#include "EveryForm.h"
#include "PreparedMainWnd.h"

#include "model/ScopedValue.h"
#include "platform/IniFile.h"
#include "platform/WindowBox.h"
#include "views/OpenGLForm.h"

#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QProcess>
#include <QScreen>
#include <QStandardPaths>
#include <algorithm>
#include <string>

namespace {

const struct KeptBox {
    const char* form;
    const char* section;
    const char* heightKey;  // nullptr: the form keeps only its corner
} Kept[] = {
    {"MainWnd", "Position", "Height"},        {"TextEditDlg", "Textf", "Height"},   {"WireCadDlg", "WireEd", "Heigth"},
    {"GrpWireDlg", "EledPosition", "Height"}, {"BwDispDlg", "PositionBW", nullptr}, {"ResCmpDlg", "ResCmp", "Height"},
    {"ACalDlg", "Optim", "Height"},           {"ACalResDlg", "ResDld", "Height"},   {"OpenGLForm", "GLForm", "Height"},
};

QString Text(const QRect& r) {
    return QStringLiteral("%1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
}

bool Framed(const QWidget& w) { return w.frameGeometry() != w.geometry(); }

// Lets the window manager frame and place the window, until its frame has
// stood still for a moment.
void SettleFrame(const QWidget& w) {
    QElapsedTimer clock;
    clock.start();
    QRect last;
    int still = 0;
    while (clock.elapsed() < 3000 && still < 4) {
        QTest::qWait(50);
        const QRect now = w.frameGeometry();
        still = Framed(w) && now == last ? still + 1 : 0;
        last = now;
    }
}

class WindowBoxTest : public PreparedMainWndTest {
protected:
    void SetUp() override {
        PreparedMainWndTest::SetUp();
        Current() = this;
        ExecModalDialog = [](QDialog& dialog) {
            if (Current()->seen_) Current()->seen_(dialog);
            dialog.reject();
            return dialog.result();
        };
        StartWindowManager();
        MakeDipole();
    }
    void TearDown() override {
        if (OpenGL_Form) delete OpenGL_Form;
        Current() = nullptr;
        PreparedMainWndTest::TearDown();
        if (wm_.state() != QProcess::NotRunning) {
            wm_.terminate();
            wm_.waitForFinished(3000);
        }
    }
    static WindowBoxTest*& Current() {
        static WindowBoxTest* current = nullptr;
        return current;
    }

    void StartWindowManager() {
        const QString openbox = QStandardPaths::findExecutable("openbox");
        ASSERT_FALSE(openbox.isEmpty()) << "openbox is missing (scripts/install-deps installs it)";
        wm_.start(openbox, {"--sm-disable"});
        ASSERT_TRUE(wm_.waitForStarted(5000));
        wnd->hide();
        wnd->show();
        SettleFrame(*wnd);
        ASSERT_TRUE(Framed(*wnd)) << "the window manager frames no window";
    }

    // Opens the form as a user does, hands it to `seen` once it is framed,
    // and closes it as a user does, so that it saves its box.
    // A modal form opened `unshown` is closed before it is ever shown.
    void OpenAndClose(const KeptBox& k, const std::function<void(QWidget&)>& seen, bool unshown = false) {
        // Only the form opened here is looked at (not, say, an About box).
        const ScopedValue<std::function<void(QWidget&)>> looking(seen_, [&](QWidget& form) {
            if (!unshown) {
                if (!form.isVisible()) form.show();
                SettleFrame(form);
            }
            seen(form);
        });
        if (std::string(k.form) == "MainWnd") {
            // Started from what the settings hold (a new window that the
            // window manager has not framed yet), then closed, which saves.
            Open();
            seen_(*wnd);
            wnd->Ant.Changed = 0;
            wnd->close();
            {
                // Closed minimized it would start minimized; the forms that follow open over a normal one.
                IniFile ini(SettingsPath().toStdString());
                ini.WriteInteger("Job", "WindowState", 0);
                ASSERT_TRUE(ini.UpdateFile());
            }
            Open();
            MakeDipole();
            return;
        }
        Calculated();
        const auto form = std::find_if(EveryForm().begin(), EveryForm().end(),
                                       [&](const FormCase& f) { return std::string(f.name) == k.form; });
        ASSERT_NE(form, EveryForm().end()) << k.form;
        if (QWidget* modeless = form->open(*wnd)) {
            seen_(*modeless);
            modeless->close();
            QApplication::processEvents();
            if (OpenGL_Form) delete OpenGL_Form;
        }
    }

    void WriteBox(const KeptBox& k, const QRect& box) const {
        IniFile ini(SettingsPath().toStdString());
        ini.WriteInteger(k.section, "Left", box.x());
        ini.WriteInteger(k.section, "Top", box.y());
        ini.WriteInteger(k.section, "Width", box.width());
        if (k.heightKey) ini.WriteInteger(k.section, k.heightKey, box.height());
        ASSERT_TRUE(ini.UpdateFile());
    }

    QRect Saved(const KeptBox& k) const {
        const IniFile ini(SettingsPath().toStdString());
        const QRect box(ini.ReadInteger(k.section, "Left", -1), ini.ReadInteger(k.section, "Top", -1),
                        ini.ReadInteger(k.section, "Width", -1),
                        k.heightKey ? ini.ReadInteger(k.section, k.heightKey, -1) : -1);
        return box;
    }

    std::function<void(QWidget&)> seen_;
    QProcess wm_;
};

TEST_F(WindowBoxTest, EveryKeptBoxIsTheFrameAndStaysWhereItWas) {
    for (const KeptBox& k : Kept) {
        SCOPED_TRACE(k.form);
        {
            // A place the window manager would not choose by itself.
            IniFile ini(SettingsPath().toStdString());
            ini.WriteInteger(k.section, "Left", 215);
            ini.WriteInteger(k.section, "Top", 115);
            ASSERT_TRUE(ini.UpdateFile());
        }
        QRect first;
        for (int cycle = 1; cycle <= 5; ++cycle) {
            SCOPED_TRACE("open " + std::to_string(cycle));
            QRect shown;
            int seen = 0;
            OpenAndClose(k, [&](QWidget& form) {
                ++seen;
                shown = FrameBox(form);
            });
            ASSERT_EQ(seen, 1);
            if (cycle == 1) {
                first = shown;
                EXPECT_EQ(first.topLeft(), QPoint(215, 115)) << Text(first).toStdString();
            }
            EXPECT_EQ(shown, first) << Text(shown).toStdString() << " after " << Text(first).toStdString();
            const QRect saved = Saved(k);
            EXPECT_EQ(saved.topLeft(), shown.topLeft()) << Text(saved).toStdString();
            if (k.heightKey) {
                EXPECT_EQ(saved.width(), shown.width());
                EXPECT_EQ(saved.height(), shown.height());
            }
        }
    }
}

TEST_F(WindowBoxTest, EveryKeptBoxSavedOffTheScreenComesBackWithItsWholeFrame) {
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    for (const QPoint corner : {QPoint(5000, 4000), QPoint(-5000, -4000)}) {
        for (const KeptBox& k : Kept) {
            const std::string trace = std::string(k.form) + " saved at " + std::to_string(corner.x());
            SCOPED_TRACE(trace);
            WriteBox(k, QRect(corner, QSize(400, 300)));
            int seen = 0;
            OpenAndClose(k, [&](QWidget& form) {
                ++seen;
                const QRect frame = FrameBox(form);
                EXPECT_TRUE(area.contains(frame)) << "frame at " << Text(frame).toStdString();
                // The title bar is there, above the client area, on the screen.
                EXPECT_LT(frame.top(), form.geometry().top());
                if (std::string(k.form) == "OpenGLForm") {
                    EXPECT_TRUE(form.screen()->grabWindow(0).save(
                        ShotPath(QStringLiteral("3d-view-saved-at-%1.png").arg(corner.x()), "windowbox")));
                }
            });
            EXPECT_EQ(seen, 1);
            const QRect saved = Saved(k);
            EXPECT_TRUE(area.contains(saved.topLeft())) << Text(saved).toStdString();
        }
    }
}

TEST_F(WindowBoxTest, EveryKeptBoxSavedFarTooSmallComesBackAtLeastHalfItsFreshSize) {
    for (const KeptBox& k : Kept) {
        SCOPED_TRACE(k.form);
        {
            IniFile ini(SettingsPath().toStdString());
            ini.EraseSection(k.section);
            ASSERT_TRUE(ini.UpdateFile());
        }
        // Half the fresh client area: the main window takes its fresh size
        // before it is framed, so its frame is not part of the fresh size.
        QSize fresh;
        OpenAndClose(k, [&](QWidget& form) { fresh = form.size(); });
        WriteBox(k, QRect(215, 115, 1, 1));
        for (int cycle = 1; cycle <= 2; ++cycle) {
            QRect shown;
            OpenAndClose(k, [&](QWidget& form) { shown = FrameBox(form); });
            EXPECT_GE(shown.width(), fresh.width() / 2) << Text(shown).toStdString() << " opening " << cycle;
            EXPECT_GE(shown.height(), fresh.height() / 2) << Text(shown).toStdString() << " opening " << cycle;
        }
    }
}

TEST_F(WindowBoxTest, EveryKeptBoxStaysAsSavedWhenTheFormClosesMinimizedOrUnshown) {
    const QRect box(215, 115, 700, 560);
    for (const bool unshown : {false, true}) {
        for (const KeptBox& k : Kept) {
            // A main window and a view the user opens are always shown.
            if (unshown && (std::string(k.form) == "MainWnd" || std::string(k.form) == "OpenGLForm")) continue;
            SCOPED_TRACE(std::string(k.form) + (unshown ? " closed unshown" : " closed minimized"));
            WriteBox(k, box);
            OpenAndClose(
                k,
                [&](QWidget& form) {
                    if (unshown) return;
                    // Moved and resized, then minimized: the box kept is the one before.
                    form.setGeometry(form.geometry().adjusted(40, 30, 60, 50));
                    SettleFrame(form);
                    form.showMinimized();
                    QTRY_VERIFY_WITH_TIMEOUT(form.isMinimized(), 3000);
                },
                unshown);
            const QRect saved = Saved(k);
            EXPECT_EQ(saved.topLeft(), box.topLeft()) << Text(saved).toStdString();
            if (k.heightKey) {
                EXPECT_EQ(saved.size(), box.size()) << Text(saved).toStdString();
            }
        }
    }
}

}  // namespace
