#include "platform/System.h"

#include "Version.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QScreen>
#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {
std::string WithSlash(std::string folder) {
    if (folder.empty() || folder.back() != '/') folder.push_back('/');
    return folder;
}
}  // namespace

std::string ProgramFolder() {
    std::error_code ec;
    fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (ec || exe.empty()) return WithSlash(fs::current_path(ec).string());
    return WithSlash(exe.parent_path().string());
}

std::string SettingsFolder() {
    std::string program = ProgramFolder();
    if (::access(program.c_str(), W_OK) == 0) return program;
    std::string base;
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg) base = xdg;
    else if (const char* home = std::getenv("HOME"); home && *home) base = std::string(home) + "/.config";
    else return program;
    fs::path folder = fs::path(base) / "korva";
    std::error_code ec;
    fs::create_directories(folder, ec);
    return WithSlash(folder.string());
}

uint64_t PhysicalMemoryBytes() {
    long pages = ::sysconf(_SC_PHYS_PAGES);
    long pageSize = ::sysconf(_SC_PAGE_SIZE);
    if (pages <= 0 || pageSize <= 0) return 0;
    return static_cast<uint64_t>(pages) * static_cast<uint64_t>(pageSize);
}

uint32_t TickCount() {
    static QElapsedTimer timer = [] {
        QElapsedTimer t;
        t.start();
        return t;
    }();
    return static_cast<uint32_t>(timer.elapsed());
}

void GetVersionText(std::string& productName, std::string& versionText) {
    productName = KORVA_PRODUCT_NAME;
    versionText = " v. " + std::to_string(KORVA_VERSION_MAJOR) + "." + std::to_string(KORVA_VERSION_MINOR) + "." +
                  std::to_string(KORVA_VERSION_PATCH) + "." + std::to_string(KORVA_VERSION_BUILD);
}

int ScreenWidthPixels() {
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return 0;
    QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry().width() : 0;
}
