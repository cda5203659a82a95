// No exception may reach Qt's event loop: every signal of the window and its
// forms is connected through ConnectGuarded (platform/CommandGuard.h), which
// shows what a handler throws in the error box. A plain connect in a form
// folder is the hole this test finds; platform/ holds the guard itself and
// the widgets' own plumbing.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <vector>

#include <unistd.h>

namespace fs = std::filesystem;

namespace {

const char* const FormFolders[] = {"app", "views", "editing", "tools", "optimizer", "draw"};

// Every plain connect (also QObject::connect) in the form folders under
// `root`, as "file:line".
std::vector<std::string> PlainConnections(const fs::path& root) {
    static const std::regex plain(R"((^|[^A-Za-z_])connect\s*\()");
    std::vector<std::string> found;
    for (const char* folder : FormFolders) {
        if (!fs::is_directory(root / folder)) continue;
        for (const auto& entry : fs::directory_iterator(root / folder)) {
            const std::string ext = entry.path().extension().string();
            if (ext != ".cpp" && ext != ".h") continue;
            std::ifstream in(entry.path());
            std::string line;
            for (int number = 1; std::getline(in, line); ++number)
                if (std::regex_search(line, plain))
                    found.push_back(entry.path().lexically_relative(root).string() + ":" + std::to_string(number));
        }
    }
    return found;
}

TEST(CommandConnections, EveryFormConnectsThroughTheGuard) {
    const fs::path root = fs::path(KORVA_TEST_DATA).parent_path().parent_path();
    ASSERT_TRUE(fs::exists(root / "platform" / "CommandGuard.h")) << root;
    std::string list;
    for (const std::string& f : PlainConnections(root)) list += f + "\n";
    EXPECT_TRUE(list.empty()) << list;
}

TEST(CommandConnections, APlantedPlainConnectIsFound) {
    const fs::path root = fs::path(::testing::TempDir()) / ("korva-connections-" + std::to_string(::getpid()));
    fs::create_directories(root / "views");
    fs::create_directories(root / "platform");
    std::ofstream(root / "views" / "Dlg.cpp") << "ConnectGuarded(a, &A::b, this, [this] { Go(); });\n"
                                                 "    connect(a, &A::b, this, [this] { Go(); });\n"
                                                 "disconnect(qApp, nullptr, this, nullptr);\n"
                                                 "QObject::connect(a, &A::b, b, &B::c);\n";
    std::ofstream(root / "platform" / "Grid.cpp") << "connect(this, &QTableView::clicked, this, [] {});\n";
    const std::vector<std::string> expected = {"views/Dlg.cpp:2", "views/Dlg.cpp:4"};
    EXPECT_EQ(PlainConnections(root), expected);
    fs::remove_all(root);
}

}  // namespace
