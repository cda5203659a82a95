#include "platform/Printing.h"

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

}  // namespace

PrintSetup& CurrentPrintSetup() { return Active ? *Active : DefaultSetup(); }

PrintSetup* SetPrintSetup(PrintSetup* setup) {
    PrintSetup* previous = Active;
    Active = setup;
    return previous;
}

bool PdfPrintSetup::Choose(QPrinter& printer, QWidget*) {
    ++Asked;
    if (Cancel) return false;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QFile::decodeName(path_.c_str()));
    printer.setPageOrientation(landscape_ ? QPageLayout::Landscape : QPageLayout::Portrait);
    return true;
}
