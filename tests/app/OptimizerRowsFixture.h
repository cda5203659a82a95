#pragma once
// A main window holding the 3-element Yagi with optimizer rows on element
// widths, and the steps a user takes around them.
#include "MainWndFixture.h"
#include "model/ElementVariables.h"
#include "model/EnvDef.h"
#include "optimizer/ACalDlg.h"
#include "optimizer/OptimizerState.h"

#include <QAction>
#include <QPushButton>
#include <QTimer>
#include <QTabWidget>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

// The steps, over any main-window fixture.
template <class Base>
class OptimizerRowsSteps : public Base {
public:
    using Base::Open;
    using Base::TypeWire;
    using Base::prompter;
    using Base::wnd;

    // The 3-element Yagi along X with two rows: the reflector's width (10.7 m)
    // and the director's (9.6 m), elements 1 and 3.
    void OpenYagiWithRows() {
        Open({"korva", QStringLiteral(KORVA_TEST_DATA "/../../examples/yagi3.kva")});
        ASSERT_EQ(wnd->Ant.WireCount, 3);
        CACal& cal = wnd->OptimizerState();
        wnd->AttachOptimizer();
        for (int element : {0, 2}) {
            ACalVarRec width;
            width.Kind = KindElement;
            width.Item = element;
            width.Field = ElWidth;
            cal.AddElementVar(element, ElWidth, cal.GetElementValue(width), 10);
        }
        ASSERT_EQ(cal.RowCount(), 2);
        wnd->ClearLog();
    }
    // The Calculate tab shown, as a user goes on from an edit: the width each
    // row varies now.
    std::vector<double> WidthsTheRowsVary() {
        wnd->Page->setCurrentWidget(wnd->TabSheet3);
        QApplication::processEvents();
        std::vector<double> widths;
        CACal& cal = *wnd->ACal;
        for (int i = 0; i < cal.RowCount(); ++i) widths.push_back(std::round(cal.GetValue(i) * 1000) / 1000);
        return widths;
    }
    std::vector<std::string> OptimizerLogLines() const {
        std::vector<std::string> lines;
        for (const QString& line : wnd->LogLines())
            if (line.startsWith("Optimization line") || line.startsWith("The optimization"))
                lines.push_back(line.toStdString());
        return lines;
    }
    void DeleteWire(int row) {
        wnd->Page->setCurrentWidget(wnd->TabSheet1);
        wnd->activateWindow();
        wnd->Grid2->setFocus();
        wnd->Grid2->SetCurrentCell(1, row);
        QApplication::processEvents();
        wnd->UpdateMenuState();
        wnd->K13->trigger();
    }
    template <class Dialog>
    void Answer(std::function<void(Dialog&)> step) {
        ExecModalDialog = [step](QDialog& d) {
            auto* dialog = dynamic_cast<Dialog*>(&d);
            if (!dialog) return int(QDialog::Rejected);
            step(*dialog);
            return int(QDialog::Accepted);
        };
    }
    // Calculate, Optimization: `setUp` on the dialog, then Start; the run is
    // stopped after `points` logged points.
    void RunOptimizationStoppedEarly(std::function<void(TACalDlg&)> setUp = {}, int points = 1) {
        ExecModalDialog = [setUp](QDialog& d) {
            auto* dlg = dynamic_cast<TACalDlg*>(&d);
            if (!dlg) return int(QDialog::Rejected);
            if (setUp) setUp(*dlg);
            dlg->OKBtnClick();
            return dlg->result();
        };
        QTimer abort;
        QObject::connect(&abort, &QTimer::timeout, [this, points] {
            if (JobDef.Busy && wnd->ACal->LogCount >= points) wnd->ACalBtn->click();
        });
        abort.start(0);
        wnd->ACalBtn->click();
        abort.stop();
    }
};

class OptimizerRowsTest : public OptimizerRowsSteps<MainWndTest> {};
