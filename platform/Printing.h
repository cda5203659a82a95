#pragma once
// The print dialog behind one replaceable service, so that tests print to a
// PDF file and never block on a modal dialog. The default service shows
// QPrintDialog.
#include <string>

class QPrinter;
class QWidget;

class PrintSetup {
public:
    virtual ~PrintSetup() = default;
    // Lets the user choose the printer, paper and orientation of a job;
    // false when the user cancels.
    virtual bool Choose(QPrinter& printer, QWidget* owner) = 0;
};

// The service in use.
PrintSetup& CurrentPrintSetup();
// Replaces the service and returns the one that was in use; nullptr restores
// the print dialog.
PrintSetup* SetPrintSetup(PrintSetup* setup);

class ScopedPrintSetup {
public:
    explicit ScopedPrintSetup(PrintSetup& setup) : previous_(SetPrintSetup(&setup)) {}
    ~ScopedPrintSetup() { SetPrintSetup(previous_); }
    ScopedPrintSetup(const ScopedPrintSetup&) = delete;
    ScopedPrintSetup& operator=(const ScopedPrintSetup&) = delete;

private:
    PrintSetup* previous_;
};

// A service that answers without asking: it prints to a PDF file in the
// orientation given, or cancels.
class PdfPrintSetup : public PrintSetup {
public:
    explicit PdfPrintSetup(std::string path, bool landscape = true) : path_(std::move(path)), landscape_(landscape) {}
    bool Choose(QPrinter& printer, QWidget* owner) override;

    bool Cancel = false;
    int Asked = 0;  // how often a job asked

private:
    std::string path_;
    bool landscape_;
};
