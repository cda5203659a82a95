// The print button of the far-field tab (one page of the far-field plots
// through the print dialog) and the wiring of the print and picture buttons.
#include "app/MainWnd.h"
#include "model/EnvDef.h"
#include "draw/FarFieldPage.h"
#include "platform/Canvas.h"
#include "platform/Printing.h"
#include "platform/Prompter.h"
#include "platform/System.h"

#include <QApplication>
#include <QLineEdit>
#include <QPrinter>
#include <QPushButton>
#include <exception>

namespace {

// The hourglass for the length of a job, whatever way it ends.
struct WaitCursor {
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

}  // namespace

void TMainWnd::PrintBtnClick() {
    if (JobDef.Busy || !PatternOfThisAntenna(ResultUse::Show)) return;
    QPrinter& printer = SharedPrinter();
    if (!CurrentPrintSetup().Choose(printer, this)) return;

    WaitCursor hourglass;
    Canvas c(&printer);
    if (!c.Active()) {
        ShowMessage("Can not print: the printer did not accept the job.");
        return;
    }
    std::string product, version;
    GetVersionText(product, version);
    DrawFarFieldPage(c, font().family(), QString::fromStdString(product + "  " + version), AntName->text());
    c.End();
    if (printer.printerState() == QPrinter::Error) ShowMessage("Can not print: the printer reported an error.");
}

void TMainWnd::ConnectPrintCommands() {
    ConnectGuarded(PrintBtn, &QPushButton::clicked, this, [this] { PrintBtnClick(); });
    ConnectGuarded(SavImBtn, &QPushButton::clicked, this, [this] { SavImBtnClick(); });
}
