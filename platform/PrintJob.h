#pragma once
// One print job. Each job has a printer of its own, so that nothing a failed
// job left in its printer reaches the next one; the choices made in the
// session's earlier print dialogs (printer, file, paper, orientation) are
// carried over. A job that writes a file (PDF) writes it as every save does:
// into a temporary beside the file, which replaces the file only when the
// printout is whole.
#include "model/SafeFile.h"

#include <QPointer>
#include <QString>
#include <QWidget>
#include <memory>

class QPrinter;

class PrintJob {
public:
    PrintJob();
    ~PrintJob();
    PrintJob(const PrintJob&) = delete;
    PrintJob& operator=(const PrintJob&) = delete;

    // Runs the print service. False when the user cancels, and when the file
    // chosen cannot be written (said).
    bool Choose(QWidget* owner);
    QPrinter& Printer() { return *printer_; }
    // Shows that the job is under way: `box` while `owner` waits disabled,
    // or the hourglass when there is no box. It is taken away before the job
    // says anything and when the job ends, so no message stands under it.
    void ShowProgress(QWidget* box = nullptr, QWidget* owner = nullptr);
    void EndProgress();
    // Says that the printer did not take the job.
    void ReportNotStarted();
    // After the painter has ended: a printout to a file is checked to be
    // whole and put in place, a printer is asked for its state; a failure is
    // said. `allPagesMade` false: a page could not be started. True when the
    // job went out.
    bool Finish(bool allPagesMade = true);

private:
    std::unique_ptr<QPrinter> printer_;
    QString target_;  // the file the user chose; empty for a printer
    ReplacingFile file_;
    bool hourglass_ = false;
    QPointer<QWidget> box_, owner_;
};
