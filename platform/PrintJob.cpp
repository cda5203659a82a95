#include "platform/PrintJob.h"

#include "platform/FilePaths.h"
#include "platform/Printing.h"
#include "platform/Prompter.h"

#include <QApplication>
#include <QFile>
#include <QPageLayout>
#include <QPrinter>
#include <algorithm>

namespace {

// What the user chose in the last print dialog of the session.
struct PrintChoices {
    bool Made = false;
    QPrinter::OutputFormat Format = QPrinter::NativeFormat;
    QString PrinterName;
    QString FileName;
    QPageLayout Layout;
    int Copies = 1;
    bool Collate = true;
    QPrinter::ColorMode Color = QPrinter::Color;
    QPrinter::DuplexMode Duplex = QPrinter::DuplexNone;
};

PrintChoices& SessionChoices() {
    static PrintChoices choices;
    return choices;
}

void Keep(const QPrinter& p) {
    PrintChoices& c = SessionChoices();
    c.Made = true;
    c.Format = p.outputFormat();
    c.PrinterName = p.printerName();
    c.FileName = p.outputFileName();
    c.Layout = p.pageLayout();
    c.Copies = p.copyCount();
    c.Collate = p.collateCopies();
    c.Color = p.colorMode();
    c.Duplex = p.duplex();
}

void Apply(const PrintChoices& c, QPrinter& p) {
    if (!c.Made) return;
    p.setOutputFormat(c.Format);
    if (c.Format == QPrinter::NativeFormat && !c.PrinterName.isEmpty()) p.setPrinterName(c.PrinterName);
    // An empty name would switch a PDF printer back to the system's printer.
    if (!c.FileName.isEmpty()) p.setOutputFileName(c.FileName);
    p.setPageLayout(c.Layout);
    p.setCopyCount(c.Copies);
    p.setCollateCopies(c.Collate);
    p.setColorMode(c.Color);
    p.setDuplex(c.Duplex);
}

// The PDF writer reports no failed write: a full disk leaves a file cut
// short, or nothing after the first failure. A whole file begins with the
// header and ends with the trailer, whose cross-reference offset points at
// the table it names.
bool IsWholePdf(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly) || f.size() < 32 || !f.read(5).startsWith("%PDF-")) return false;
    const qint64 tailSize = std::min<qint64>(f.size(), 1024);
    if (!f.seek(f.size() - tailSize)) return false;
    const QByteArray tail = f.read(tailSize);
    const qsizetype at = tail.lastIndexOf("startxref");
    if (at < 0 || !tail.trimmed().endsWith("%%EOF")) return false;
    bool ok = false;
    const qint64 xref = tail.mid(at + 9).replace("%%EOF", "").trimmed().toLongLong(&ok);
    if (!ok || xref <= 0 || xref >= f.size() || !f.seek(xref)) return false;
    return f.read(4) == "xref";
}

}  // namespace

PrintJob::PrintJob() : printer_(std::make_unique<QPrinter>(QPrinter::HighResolution)) {
    Apply(SessionChoices(), *printer_);
}

PrintJob::~PrintJob() { EndProgress(); }

bool PrintJob::Choose(QWidget* owner) {
    if (!CurrentPrintSetup().Choose(*printer_, owner)) return false;
    Keep(*printer_);
    target_ = printer_->outputFileName();
    if (target_.isEmpty()) return true;
    std::string error;
    if (!file_.Begin(LocalPath(target_), &error)) {
        ReportCannotSave(target_, error);
        return false;
    }
    printer_->setOutputFileName(FromLocalPath(file_.TemporaryPath()));
    return true;
}

void PrintJob::ShowProgress(QWidget* box, QWidget* owner) {
    EndProgress();
    if (!box) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        hourglass_ = true;
        return;
    }
    box_ = box;
    if (owner && owner != box) {
        owner_ = owner;
        owner->setEnabled(false);
        // A box owned by the waiting window would wait with it: its Abort
        // must still answer.
        box->setEnabled(true);
    }
    box->show();
}

void PrintJob::EndProgress() {
    if (hourglass_) QApplication::restoreOverrideCursor();
    hourglass_ = false;
    if (owner_) owner_->setEnabled(true);
    if (box_) box_->hide();
    owner_ = nullptr;
    box_ = nullptr;
}

void PrintJob::ReportNotStarted() {
    EndProgress();
    ShowMessage("Can not print: the printer did not accept the job.");
}

bool PrintJob::Finish(bool allPagesMade) {
    // The pages are made: what is said now is said over the window, not under the progress.
    EndProgress();
    if (target_.isEmpty()) {
        if (allPagesMade && printer_->printerState() != QPrinter::Error) return true;
        ShowMessage("Can not print: the printer reported an error.");
        return false;
    }
    if (!allPagesMade || printer_->printerState() == QPrinter::Error ||
        !IsWholePdf(FromLocalPath(file_.TemporaryPath()))) {
        file_.Discard();
        ReportCannotSave(target_, "The printout could not be written whole; the disk may be full.");
        return false;
    }
    std::string error;
    if (file_.Commit(&error)) return true;
    ReportCannotSave(target_, error);
    return false;
}
