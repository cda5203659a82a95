// Application entry: one QApplication, '.' as the decimal separator for all
// number text, no death by the file-size signal, and the main window.
#include "app/MainWnd.h"

#include <QApplication>
#include <clocale>
#include <csignal>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    // A file growing past the size limit fails its write (reported by the
    // saves, the PDF printer included) instead of killing the program.
    std::signal(SIGXFSZ, SIG_IGN);
    QStringList args;
    for (int i = 0; i < argc; ++i) args << QString::fromLocal8Bit(argv[i]);
    TMainWnd window(args);
    window.show();
    return app.exec();
}
