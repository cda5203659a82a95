#include "platform/Printing.h"

#include <QCoreApplication>
#include <QFile>
#include <QPageLayout>
#include <QPrintDialog>
#include <QPrinter>

namespace {

class DialogPrintSetup : public PrintSetup {
public:
    bool Choose(QPrinter& printer, QWidget* owner) override {
        QPrintDialog dialog(&printer, owner);
        return dialog.exec() == QDialog::Accepted;
    }
};

DialogPrintSetup& DefaultSetup() {
    static DialogPrintSetup setup;
    return setup;
}

PrintSetup* Active = nullptr;
QPrinter* Printer = nullptr;

// The printer holds resources of the application's platform plug-in: it goes
// with the application, not with the program's static objects.
void ReleasePrinter() {
    delete Printer;
    Printer = nullptr;
}

}  // namespace

PrintSetup& CurrentPrintSetup() { return Active ? *Active : DefaultSetup(); }

PrintSetup* SetPrintSetup(PrintSetup* setup) {
    PrintSetup* previous = Active;
    Active = setup;
    return previous;
}

QPrinter& SharedPrinter() {
    if (!Printer) {
        Printer = new QPrinter(QPrinter::HighResolution);
        if (QCoreApplication::instance()) qAddPostRoutine(ReleasePrinter);
    }
    return *Printer;
}

bool PdfPrintSetup::Choose(QPrinter& printer, QWidget*) {
    ++Asked;
    if (Cancel) return false;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QFile::decodeName(path_.c_str()));
    printer.setPageOrientation(landscape_ ? QPageLayout::Landscape : QPageLayout::Portrait);
    return true;
}
