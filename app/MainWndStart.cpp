// Start: one full calculation of the antenna in the fields and tables, at the
// calculation frequency, and the refresh of everything that shows results.
#include "views/OpenGLForm.h"
#include "app/MainWnd.h"
#include "engine/CalcRuns.h"
#include "model/EnvDef.h"
#include "model/Messages.h"
#include "model/NumberText.h"
#include "model/ResultStore.h"
#include "model/Impedance.h"
#include "draw/PolarPlot.h"
#include "app/PlainNumber.h"
#include "platform/BusyRun.h"
#include "platform/Prompter.h"
#include "platform/StringGrid.h"
#include "platform/TextCodec.h"
#include "platform/System.h"

#include <QApplication>
#include <QCursor>
#include <QEventLoop>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QTimer>
#include "platform/RadioGroup.h"
#include <cmath>

namespace {

// Busy state of one Start: restored on every path out of the command.
class StartGuard {
public:
    explicit StartGuard(QPushButton* button) : button_(button) {
        button_->setEnabled(false);
    }
    ~StartGuard() {
        if (cursor_) QApplication::restoreOverrideCursor();
        button_->setEnabled(true);
    }
    void Hourglass() {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        cursor_ = true;
    }
    StartGuard(const StartGuard&) = delete;
    StartGuard& operator=(const StartGuard&) = delete;

private:
    QPushButton* button_;
    bool cursor_ = false;
};

}  // namespace

void TMainWnd::CalTrgBtnClick() {
    if (!CalTrgBtn->isEnabled() || JobDef.Busy) return;
    if (!GetAntDef()) return;
    if (Ant.CalcFreq == 0.0) Ant.CalcFreq = Ant.Freq;
    Ant.Edited = 0;
    JobDef.Interactive = 1;
    const CalculationNotices notices(*this);
    ClearLog();
    bool ok = false;
    {
        StartGuard guard(CalTrgBtn);
        if (PrepareCalcAnt()) {
            if (EnvDef.Type != GroundFree && CalcAnt->LowestZ + EnvDef.AntHeight < 0.0) {
                CurrentPrompter().Message(MainMessages[MsgUnderGround], "KORVA-TEZ", BoxIcon::Warning, BoxButtons::Ok);
            } else {
                guard.Hourglass();
                PushResultRow();

                const uint32_t t0 = TickCount();
                {
                    BusyRun busy;
                    ok = RunFullCalc();
                    // Paint what the calculation left; user input waits until Start is
                    // done, and a close request waits for the busy flag to drop.
                    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
                }
                if (ok) {
                    const uint32_t t1 = TickCount();
                    const double secs = RoundTo((t1 - t0) * 0.001, 2);
                    AddLogLine(QString::fromStdString(ShortestFloat(secs)) + " sec");
                    Results.HasFarField = 1;
                    CopyText(Results.Title, Ant.Name);
                    Results.InitSweep(Ant.CalcFreq);
                    PatternMaxGain = Results.GainMax;
                    Grid1->Invalidate();
                    Origin.Computed(ResultHolder::Row);
                    Origin.Computed(ResultHolder::Sweep);
                } else {
                    // The new row holds what the failed run left.
                    Origin.Forget(ResultHolder::Row);
                    Origin.Forget(ResultHolder::Sweep);
                    SetLogFailed(true);
                }
            }
        }
    }
    UpdateMenuState();
    UpdatePlotCursor();
    if (ok) Refresh3DView();
    UpdateMenuState();
    // What the edits did to the positions stands in the log over the results.
    PositionLinesShown();
    if (CloseAfterRun) {
        CloseAfterRun = false;
        QTimer::singleShot(0, this, [this] { close(); });
    }
}

void TMainWnd::PushResultRow() {
    Results.PushRow();
    ResultRow* row = Results.Row(0);
    row->Ground = EnvDef.Type;
    row->Height = static_cast<float>(EnvDef.AntHeight);
    row->AzEl = EnvDef.AzEl;
    Results.ClearSweep();
    Grid1->SetRowCount(Results.RowCount == 0 ? 2 : Results.RowCount + 1);
}

void TMainWnd::SetupResultsTable() {
    Grid1->CellText = [this](int c, int r) { return Grid1CellText(c, r); };
    Grid1->CellHint = [](int c, int r) -> QString {
        if (r != 0) return {};
        const int hint = c == 1 ? 0 : c == 5 ? 1 : c == 8 ? 2 : c == 10 ? 3 : c == 11 ? 4 : -1;
        return hint < 0 ? QString() : DisplayQString(ResultColumnHints[hint]);
    };
    Grid1->DrawCell = [this](QPainter& p, const QRect& rect, int col, int row, bool current) {
        const QPalette& pal = Grid1->palette();
        p.fillRect(rect, current ? pal.highlight() : pal.base());
        p.setPen(current ? pal.highlightedText().color() : pal.text().color());
        p.drawText(rect.adjusted(4, 2, 0, 0), Qt::AlignLeft | Qt::AlignTop, Grid1CellText(col, row));
    };
    // Start's own guard has restored the state when an error is shown.
    ConnectGuarded(CalTrgBtn, &QPushButton::clicked, this, [this] { CalTrgBtnClick(); });
}

// ---- The results table ----

QString TMainWnd::Grid1CellText(int col, int row) const {
    if (col < 0 || col >= ResultColumnHeadCount) return {};
    if (row == 0) {
        QString head = DisplayQString(ResultColumnHeads[col]);
        if (col == 4) {
            head += ' ' + QString::fromStdString(DblToStr1(EnvDef.Z0R));
            if (EnvDef.Z0X != 0.0) head += '*';
        }
        return head;
    }
    if (row > Results.RowCount) return {};
    const ResultRow& r = *Results.Row(row - 1);
    const QString none = QStringLiteral("  ---");
    auto q = [](const std::string& s) { return QString::fromStdString(s); };
    switch (col) {
        case 0: return QString::number(Results.RowCount + 1 - row);
        case 1: return r.F == 0 ? none : q(DblToStr3(r.F));
        case 2: return r.R == 0 ? none : q(DblToStr3(r.R));
        case 3: return r.jX == 0 ? none : q(DblToStr3(r.jX));
        case 4: {
            if (r.R == 0) return none;
            const bool sameRef = static_cast<double>(r.Z0R) == static_cast<double>(static_cast<float>(EnvDef.Z0R)) &&
                                 static_cast<double>(r.Z0X) == static_cast<double>(static_cast<float>(EnvDef.Z0X));
            return q(DblToStr2(sameRef ? r.SWR : CalcSWR(r.R, r.jX, EnvDef.Z0R, EnvDef.Z0X)));
        }
        case 5:
            if (r.Ga == 0) return none;
            if (r.Ground != GroundFree) return QStringLiteral("---");
            return q(DblToStr2(std::max(static_cast<double>(r.Ga) - 2.15, -999.0)));
        case 6: return r.Ga == 0 ? none : q(DblToStr2(std::max(static_cast<double>(r.Ga), -999.0)));
        case 7: return r.FB == 0 ? none : q(DblToStr2(r.FB));
        case 8: return r.Elev == 0 ? none : q(DblToStr1(r.Elev));
        case 9: return (r.Ground >= 0 && r.Ground < GroundNameCount) ? DisplayQString(GroundNames[r.Ground]) : QString();
        case 10: return r.Ground == GroundFree ? none : q(DblToStr(r.Height));
        case 11:
            if (r.GvMax == 0) return none;
            return DisplayQString(PolarNames[r.Vertical() ? 0 : 1]);
        default: return {};
    }
}
