// Application entry: one QApplication, '.' as the decimal separator for all
// number text, and the main window.
#include "app/MainWnd.h"

#include <QApplication>
#include <clocale>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    QStringList args;
    for (int i = 0; i < argc; ++i) args << QString::fromLocal8Bit(argv[i]);
    TMainWnd window(args);
    window.show();
    return app.exec();
}
