// Proportional re-layout: bounds scale with the reference, fonts with the
// smaller ratio, grids scale their columns and row height.
#include "model/EnvDef.h"
#include "platform/FormLayout.h"
#include "platform/IniFile.h"
#include "platform/SettingsPath.h"
#include "platform/StringGrid.h"
#include "platform/WindowBox.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTemporaryDir>
#include <QWidget>
#include <gtest/gtest.h>

TEST(FormLayout, BoundsAndFontFollowTheReference) {
    EnvDef.FontSize = 2;
    QWidget parent;
    QWidget w(&parent);
    w.setGeometry(10, 20, 100, 30);
    CAlignList list;
    list.AddRect(&w, QRect(0, 0, 400, 300), true);

    list.AlignAll(800, 300);
    EXPECT_EQ(w.geometry(), QRect(20, 20, 200, 30));
    EXPECT_EQ(w.font().pointSize(), 12);

    list.AlignAll(200, 150);
    EXPECT_EQ(w.geometry(), QRect(5, 10, 50, 15));
    EXPECT_EQ(w.font().pointSize(), 6);
    EnvDef.FontSize = 0;
}

TEST(FormLayout, ListGrowsByDoubling) {
    QWidget parent;
    CAlignList list;
    EXPECT_EQ(list.Capacity(), 16);
    for (int i = 0; i < 17; ++i) list.AddRect(new QWidget(&parent), QRect(0, 0, 10, 10));
    EXPECT_EQ(list.Count(), 17);
    EXPECT_EQ(list.Capacity(), 32);
}

TEST(FormLayout, GridRescalesOnlyColumnsItStillHas) {
    StringGrid g;
    g.resize(500, 200);
    g.SetColCount(5);
    for (int c = 0; c < 5; ++c) g.SetColWidth(c, 60);
    g.SetDefaultRowHeight(20);
    CAlignGrid rec;
    rec.Save(&g);
    g.SetColCount(3);
    g.SetColWidth(1, 10);
    g.resize(1000, 400);
    rec.Apply(&g);
    EXPECT_EQ(g.ColCount(), 3);
    EXPECT_EQ(g.ColWidth(1), 120);
    EXPECT_EQ(g.ColWidth(2), 120);
    EXPECT_EQ(g.DefaultRowHeight(), 40);
}

// A window box from a damaged settings file still gives a usable window; a
// box saved off the screen (a monitor since removed) comes back against the
// nearest edges of the screen.
TEST(FormLayout, WindowBoxFromAnyFileIsUsableAndOnTheScreen) {
    QTemporaryDir dir;
    const std::string saved = SettingsPathOverride;
    SettingsPathOverride = dir.filePath("Korva.ini").toStdString();
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    enum Edge { Any, Near, Far };  // where the box must lie: anywhere, flush left (top), flush right (bottom)
    const struct {
        const char* left;
        const char* top;
        const char* width;
        const char* height;
        Edge x, y;
    } cases[] = {{"0", "0", "-5", "0", Any, Any},
                 {"0", "0", "2000000000", "2000000000", Any, Any},
                 {"0", "0", "abc", "1e9", Any, Any},
                 {"5000", "4000", "300", "200", Far, Far},
                 {"-5000", "-4000", "300", "200", Near, Near},
                 {"2147483647", "-2147483648", "2147483647", "300", Any, Any}};
    for (const auto& c : cases) {
        IniFile ini(SettingsPathOverride);
        ini.WriteString("Box", "Left", c.left);
        ini.WriteString("Box", "Top", c.top);
        ini.WriteString("Box", "Width", c.width);
        ini.WriteString("Box", "Height", c.height);
        ASSERT_TRUE(ini.UpdateFile());
        QWidget form;
        RestoreWindowBox(form, "Box", QRect(0, 0, 400, 300));
        const QRect box = FrameBox(form);
        SCOPED_TRACE(std::string(c.left) + "," + c.top + " " + c.width + "x" + c.height);
        EXPECT_GE(box.width(), 200);
        EXPECT_GE(box.height(), 150);
        EXPECT_LE(box.width(), area.width());
        EXPECT_LE(box.height(), area.height());
        EXPECT_TRUE(area.contains(box)) << box.x() << "," << box.y() << " " << box.width() << "x" << box.height();
        if (c.x == Near) {
            EXPECT_EQ(box.left(), area.left());
        }
        if (c.x == Far) {
            EXPECT_EQ(box.right(), area.right());
        }
        if (c.y == Near) {
            EXPECT_EQ(box.top(), area.top());
        }
        if (c.y == Far) {
            EXPECT_EQ(box.bottom(), area.bottom());
        }
    }
    SettingsPathOverride = saved;
}
