// Application entry: one QApplication, '.' as the decimal separator for all
// number text, and the main window.
#include <QApplication>
#include <QMainWindow>
#include <clocale>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    QMainWindow window;
    window.setWindowTitle("KORVA-TEZ");
    window.resize(1024, 768);
    window.show();
    return app.exec();
}
