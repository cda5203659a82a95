// Every form at the screen sizes users have (factor 1.0, 1.41 and 1.56 of the
// 768-pixel design height): no visible control may lie outside its window or
// be smaller than what it needs to show itself, and the form's font follows
// the factor. A screenshot of each form (each page of a tabbed form) goes to
// screenshots/layout beside the test program.
#include "ScreenshotPath.h"
#include "EveryForm.h"
#include "PreparedMainWnd.h"

#include "app/MainWndLayout.h"
#include "model/EnvDef.h"
#include "model/ResultStore.h"
#include "platform/FormLayout.h"
#include "platform/RadioGroup.h"
#include "platform/StringGrid.h"
#include "draw/PolarPlot.h"
#include "tools/OptDlgBox.h"
#include "views/OpenGLForm.h"
#include "views/ResCmpDlg.h"

#include <QAbstractScrollArea>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QDir>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>
#include <QToolBar>
#include <algorithm>
#include <cmath>

namespace {

// The screens users have: the form scale and the screen's shape, which sets
// the far-field plots' aspect correction.
const struct Screen {
    double factor;
    int width, height;
} Screens[] = {{1.0, 1024, 768}, {1.41, 1920, 1080}, {1.56, 1600, 1200}};

// Controls inside these are the widget's own parts, placed and scrolled by it.
bool IsPartOfComposite(const QWidget* w, const QWidget* form) {
    for (const QWidget* p = w->parentWidget(); p && p != form; p = p->parentWidget())
        if (qobject_cast<const QAbstractScrollArea*>(p) || qobject_cast<const QComboBox*>(p) ||
            qobject_cast<const QAbstractSpinBox*>(p) || qobject_cast<const QTabBar*>(p) ||
            qobject_cast<const QToolBar*>(p) || qobject_cast<const QMenuBar*>(p))
            return true;
    return false;
}

QString Describe(const QWidget* w) {
    const QString name = w->objectName().isEmpty() ? QStringLiteral("(unnamed)") : w->objectName();
    return name + " [" + w->metaObject()->className() + "]";
}

// What a control needs to show itself: its minimum size hint, except that
// the style's padding beyond the text line (frames around a one-line field,
// the 80-pixel least width of a push button) is no need: a control is too
// small when its text or indicator cannot show.
QSize Needs(const QWidget* w) {
    QSize need = w->minimumSizeHint();
    if (!need.isValid()) return need;
    const QFontMetrics fm = w->fontMetrics();
    need.setHeight(std::min(need.height(), fm.height() + 2));
    if (auto* b = qobject_cast<const QPushButton*>(w)) {
        const int padding = 2 * w->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, w);
        QString text = b->text();
        text.remove('&');
        need.setWidth(std::min(need.width(), fm.horizontalAdvance(text) + padding));
    }
    return need;
}

QString Text(const QRect& r) {
    return QStringLiteral("%1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
}

// Header texts of a string grid that do not fit their column.
QStringList HeaderFaults(const StringGrid* grid) {
    QStringList faults;
    const QFontMetrics fm = grid->horizontalHeader()->fontMetrics();
    for (int col = 0; col < grid->ColCount(); ++col) {
        const QString text = grid->Cells(col, 0);
        const int width = grid->ColWidth(col);
        if (width > 0 && fm.horizontalAdvance(text) + 2 > width)
            faults << Describe(grid) + QStringLiteral(" column %1 \"%2\" is %3 wide, its header needs %4")
                                           .arg(col)
                                           .arg(text)
                                           .arg(width)
                                           .arg(fm.horizontalAdvance(text) + 2);
    }
    return faults;
}

// Whether a line's pen reaches into a block: its middle within a pixel of
// the block's pixels.
bool Crosses(const PanelPart& line, const PanelPart& block) {
    const ScreenRect near{block.Box.Left - 1, block.Box.Top - 1, block.Box.Right + 2, block.Box.Bottom + 2};
    double x1 = line.X1, y1 = line.Y1, x2 = line.X2, y2 = line.Y2;
    return ClipLineToRect(near, x1, y1, x2, y2);
}

// Parts of a drawn panel (plots, text blocks, lines) outside the panel,
// blocks over each other, lines across blocks.
QStringList PanelFaults(const QWidget* panel, const std::vector<PanelPart>& parts) {
    QStringList faults;
    if (!panel->isVisible()) return faults;
    const QRect inside = panel->rect();
    auto rect = [](const ScreenRect& b) { return QRect(QPoint(b.Left, b.Top), QPoint(b.Right, b.Bottom)); };
    for (std::size_t i = 0; i < parts.size(); ++i) {
        const QRect r = rect(parts[i].Box);
        if (!inside.contains(r))
            faults << QStringLiteral("%1 at %2 lies outside its panel %3").arg(parts[i].Name, Text(r), Text(inside));
        for (std::size_t j = i + 1; j < parts.size(); ++j) {
            const PanelPart &a = parts[i], &b = parts[j];
            if (a.IsLine && b.IsLine) continue;
            const bool fault = a.IsLine ? Crosses(a, b) : b.IsLine ? Crosses(b, a) : r.intersects(rect(b.Box));
            if (fault)
                faults << QStringLiteral("%1 at %2 %3 %4 at %5")
                              .arg(a.Name, Text(r), a.IsLine || b.IsLine ? "crosses" : "overlaps", b.Name,
                                   Text(rect(b.Box)));
        }
    }
    return faults;
}

// What is wrong with the form as it is shown now.
QStringList LayoutFaults(QWidget* form) {
    QStringList faults;
    const QRect window = form->rect();
    for (QWidget* w : form->findChildren<QWidget*>()) {
        if (w->isWindow() || !w->isVisibleTo(form) || IsPartOfComposite(w, form)) continue;
        if (w->objectName().startsWith("qt_")) continue;  // Qt's own frames and stacks
        const QRect r(w->mapTo(form, QPoint(0, 0)), w->size());
        if (!window.contains(r))
            faults << Describe(w) + " at " + Text(r) + " lies outside the window " + Text(window);
        const QSize need = Needs(w);
        if (need.isValid() && (w->width() < need.width() || w->height() < need.height()))
            faults << Describe(w) + " is " + Text(r) + ", smaller than it needs: " +
                          QStringLiteral("%1x%2").arg(need.width()).arg(need.height());
        if (auto* grid = qobject_cast<StringGrid*>(w)) faults << HeaderFaults(grid);
    }
    return faults;
}

class FormLayoutTest : public PreparedMainWndTest {
protected:
    void SetUp() override {
        Results = CResult{};
        savedScale_ = ScreenScale;
        PreparedMainWndTest::SetUp();
        Current() = this;
        ExecModalDialog = [](QDialog& dialog) {
            Current()->CheckForm(dialog);
            return int(QDialog::Rejected);
        };
        MakeDipole();
    }
    void TearDown() override {
        if (OpenGL_Form) delete OpenGL_Form;
        ScreenScale = savedScale_;
        Current() = nullptr;
        PreparedMainWndTest::TearDown();
        Results = CResult{};
    }
    static FormLayoutTest*& Current() {
        static FormLayoutTest* current = nullptr;
        return current;
    }

    void CheckForm(QWidget& form) {
        ++checked_;
        const bool wasVisible = form.isVisible();
        if (!wasVisible) form.show();
        QApplication::processEvents();
        if (scaling_ == FormScaling::Screen) {
            EXPECT_EQ(form.font().pointSize(), ScaledFontSize(EnvDef.FontSize, factor_))
                << shot_.toStdString() << ": the font does not follow the screen";
        } else if (&form != wnd.get()) {
            form.resize(form.size() * factor_);
            QApplication::processEvents();
        }
        ForEachPage(form, [&](int page) {
            CheckPage(form, page == 0 ? shot_ : shot_ + QStringLiteral("-page%1").arg(page));
        });
        if (!wasVisible) form.hide();
    }
    void CheckPage(QWidget& form, const QString& shot) {
        QStringList faults = LayoutFaults(&form);
        if (&form == wnd.get())
            faults << PanelFaults(wnd->DNImage, PatternGeometry.Parts) << PanelFaults(wnd->ViewImage, wnd->ViewState.Parts);
        if (auto* compare = dynamic_cast<TResCmpDlg*>(&form)) {
            compare->PBox->grab();
            faults << PanelFaults(compare->PBox, compare->PlotParts());
        }
        // The pictures of the calculator pages, scaled with the form; the L
        // network in both arrangements and both compositions.
        if (auto* calculators = dynamic_cast<TOptDlgBox*>(&form)) {
            auto check = [&](QWidget* picture, const QString& what) {
                QImage image = picture->grab().toImage();
                const std::vector<PanelPart> parts = calculators->PictureParts(picture);
                if (parts.empty()) faults << Describe(picture) + " shows no picture" + what;
                for (const QString& fault : PanelFaults(picture, parts)) faults << fault + what;
                return image;
            };
            if (calculators->SMImage->isVisible()) check(calculators->SMImage, {});
            if (calculators->PBoxM->isVisible()) {
                const LMatchCalc shown = calculators->LMatch;
                const struct {
                    double r, x;
                } loads[] = {{25, 10}, {1000, -500}, {1000, 0}};
                for (const auto& load : loads)
                    for (int seriesC : {0, 1}) {
                        LMatchCalc& m = calculators->LMatch;
                        m.R = load.r, m.X = load.x, m.SeriesC = seriesC;
                        m.Calc();
                        const QString what = QStringLiteral(" (R %1, jX %2, composition %3)");
                        const QString name = QStringLiteral("-lmatch-%1-%2-%3.png");
                        check(calculators->PBoxM, what.arg(load.r).arg(load.x).arg(seriesC))
                            .save(ShotPath(shot + name.arg(load.r).arg(load.x).arg(seriesC), "layout"));
                    }
                calculators->LMatch = shown;
                calculators->PBoxM->grab();
            }
        }
        EXPECT_TRUE(faults.isEmpty()) << shot.toStdString() << ":\n  " << faults.join("\n  ").toStdString();
        EXPECT_TRUE(form.grab().save(ShotPath(shot + ".png", "layout"))) << shot.toStdString();
    }

    double factor_ = 1.0;
    FormScaling scaling_ = FormScaling::Screen;
    QString shot_;
    int checked_ = 0;

private:
    std::function<double()> savedScale_;
};

TEST_F(FormLayoutTest, EveryFormShowsEveryControlAtEveryScreenSize) {
    const double aspect = ScreenAspect;
    for (const Screen& screen : Screens) {
        const double factor = screen.factor;
        factor_ = factor;
        ScreenAspect = static_cast<double>(screen.height) / screen.width * 4.0 / 3.0;
        ScreenScale = [factor] { return factor; };
        wnd->resize(static_cast<int>(std::lround(DesignWidth * factor)),
                    static_cast<int>(std::lround(DesignHeight * factor)));
        Settle();
        for (const FormCase& form : EveryForm()) {
            shot_ = QStringLiteral("%1-%2").arg(form.name).arg(std::lround(factor * 100));
            checked_ = 0;
            scaling_ = form.scaling;
            Calculated();
            if (QWidget* modeless = form.open(*wnd)) CheckForm(*modeless);
            if (OpenGL_Form) {
                delete OpenGL_Form;
                QApplication::processEvents();
            }
            EXPECT_GE(checked_, 1) << shot_.toStdString() << ": no form was opened";
        }
    }
    ScreenAspect = aspect;
}

}  // namespace
