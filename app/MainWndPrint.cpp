// The print button of the far-field tab (one page of the far-field plots
// through the print dialog) and the wiring of the print and picture buttons.
#include "app/MainWnd.h"
#include "model/EnvDef.h"
#include "draw/FarFieldPage.h"
#include "platform/Canvas.h"
#include "platform/PrintJob.h"
#include "platform/System.h"

#include <QLineEdit>
#include <QPrinter>
#include <QPushButton>
#include <exception>

void TMainWnd::PrintBtnClick() {
    if (JobDef.Busy || !PatternOfThisAntenna(ResultUse::Show)) return;
    PrintJob job;
    if (!job.Choose(this)) return;

    job.ShowProgress();
    Canvas c(&job.Printer());
    if (!c.Active()) {
        job.ReportNotStarted();
        return;
    }
    std::string product, version;
    GetVersionText(product, version);
    DrawFarFieldPage(c, font().family(), QString::fromStdString(product + "  " + version), AntName->text());
    c.End();
    job.Finish();
}

void TMainWnd::ConnectPrintCommands() {
    ConnectGuarded(PrintBtn, &QPushButton::clicked, this, [this] { PrintBtnClick(); });
    ConnectGuarded(SavImBtn, &QPushButton::clicked, this, [this] { SavImBtnClick(); });
}
