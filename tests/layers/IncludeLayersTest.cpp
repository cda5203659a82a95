// The folders are layers: a file may include its own folder and the folders
// below it, never one above or beside it. The table below is the whole rule;
// every include that names a folder is checked against it: quoted
// ("folder/File.h") always, in angle brackets when the folder is one of ours
// (the source root is on the include path, so <views/X.h> compiles too). The
// folders without Qt are checked for Qt headers.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct Layer {
    std::set<std::string> MayInclude;
    bool Qt = true;
};

const std::map<std::string, Layer>& LayerTable() {
    static const std::set<std::string> all = {"model", "engine", "platform", "draw",  "views",
                                              "optimizer", "editing", "tools", "app"};
    static const std::set<std::string> dialogs = {"draw", "engine", "model", "platform"};
    auto with = [](std::set<std::string> below, const std::string& self) {
        below.insert(self);
        return below;
    };
    static const std::map<std::string, Layer> table = {
        {"model", {{"model"}, false}},
        {"engine", {{"engine", "model"}, false}},
        {"platform", {{"platform", "model"}}},
        {"draw", {{"draw", "engine", "model", "platform"}}},
        {"views", {with(dialogs, "views")}},
        {"optimizer", {with(dialogs, "optimizer")}},
        {"editing", {with(dialogs, "editing")}},
        {"tools", {with(dialogs, "tools")}},
        {"app", {all}},
        // A benchmark includes whatever it measures.
        {"bench", {all}},
        // A test program may include what it links: the model and engine
        // tests and the fuzzed readers run without Qt on those two
        // libraries (the fuzzed edits with the wire editor's working model,
        // the optimizer's state and the frequency runs of the sweep table
        // too), every other test program links the whole program. A
        // test's own helper header (tests/app/MainWndFixture.h) counts as
        // its folder (app).
        {"tests/model", {{"model", "engine"}, false}},
        {"tests/engine", {{"model", "engine"}, false}},
        {"tests/fuzz", {{"model", "engine", "editing", "optimizer", "views"}, false}},
        {"tests", {all}},
    };
    return table;
}

// The layer of a file: its top folder, for a test its folder below tests/.
std::string LayerOf(const fs::path& relative) {
    auto part = relative.begin();
    const std::string top = part->string();
    if (top != "tests") return top;
    ++part;
    const std::string sub = part->string();
    return ++part == relative.end() ? top : top + "/" + sub;
}

const Layer* FindLayer(const std::string& layer) {
    const auto& table = LayerTable();
    if (auto it = table.find(layer); it != table.end()) return &it->second;
    if (layer.starts_with("tests/")) return &table.at("tests");
    return nullptr;
}

// The folder an include names: "model/AntDef.h" -> model; a relative
// "../model/AntennaSamples.h" of a test is resolved first.
std::string IncludedFolder(const fs::path& root, const fs::path& file, const std::string& include) {
    fs::path target = include;
    if (include.starts_with("..")) target = (file.parent_path() / include).lexically_normal().lexically_relative(root);
    auto part = target.begin();
    if (*part == "tests" && std::next(part) != target.end()) ++part;
    return part->string();
}

// The folders of the program itself, as an angle-bracket include names them.
bool IsProjectFolder(const std::string& folder) {
    return !folder.starts_with("tests") && folder != "bench" && LayerTable().contains(folder);
}

bool IsSource(const fs::path& p) {
    const std::string ext = p.extension().string();
    return ext == ".cpp" || ext == ".h" || ext == ".in";
}

// Build folders (configured by CMake) and hidden folders are no source.
bool Skipped(const fs::path& dir) {
    return dir.filename().string().starts_with(".") || fs::exists(dir / "CMakeCache.txt");
}

// Every include of the tree under `root` that breaks the table, as
// "file:line: text"; also every source file in a folder the table lacks.
std::vector<std::string> LayerViolations(const fs::path& root) {
    static const std::regex named(R"(^\s*#\s*include\s*([<"])([^">]+)[">])");
    static const std::regex qtHeader(R"(^\s*#\s*include\s*<Q)");
    std::vector<std::string> found;
    for (auto it = fs::recursive_directory_iterator(root); it != fs::recursive_directory_iterator(); ++it) {
        if (it->is_directory()) {
            if (Skipped(it->path())) it.disable_recursion_pending();
            continue;
        }
        if (!IsSource(it->path())) continue;
        const fs::path relative = it->path().lexically_relative(root);
        if (std::next(relative.begin()) == relative.end()) continue;  // CMake and scripts at the top
        const std::string layer = LayerOf(relative);
        const Layer* rule = FindLayer(layer);
        if (!rule) {
            found.push_back(relative.string() + ": folder " + layer + " is not in the layer table");
            continue;
        }
        std::ifstream in(it->path());
        std::string line;
        for (int number = 1; std::getline(in, line); ++number) {
            const std::string where = relative.string() + ":" + std::to_string(number) + ": ";
            std::smatch m;
            if (!rule->Qt && std::regex_search(line, qtHeader)) found.push_back(where + line + " (no Qt in " + layer + ")");
            if (!std::regex_search(line, m, named) || m[2].str().find('/') == std::string::npos) continue;
            const std::string folder = IncludedFolder(root, it->path(), m[2].str());
            if (m[1] == "<" && !IsProjectFolder(folder)) continue;  // a system or library header
            if (!rule->MayInclude.contains(folder)) found.push_back(where + line + " (" + layer + " -> " + folder + ")");
        }
    }
    return found;
}

std::string Joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const auto& l : lines) text += l + "\n";
    return text;
}

TEST(IncludeLayers, NoIncludeGoesUpOrSideways) {
    const fs::path root = fs::path(KORVA_TEST_DATA).parent_path().parent_path();
    ASSERT_TRUE(fs::exists(root / "model" / "AntDef.h")) << root;
    const auto found = LayerViolations(root);
    EXPECT_TRUE(found.empty()) << Joined(found);
}

TEST(IncludeLayers, APlantedSidewaysUpwardOrQtIncludeIsFound) {
    const fs::path root = fs::path(::testing::TempDir()) / "korva-layers";
    fs::remove_all(root);
    auto write = [&](const std::string& name, const std::string& text) {
        fs::create_directories((root / name).parent_path());
        std::ofstream(root / name) << text;
    };
    write("editing/Table.cpp", "#include \"editing/Table.h\"\n#include \"model/AntDef.h\"\n"
                               "  # include \"optimizer/OptimizerState.h\"\n");
    write("model/Record.h", "#include <QString>\n#include \"platform/Prompter.h\"\n");
    write("app/Window.cpp", "#include \"views/Sweep.h\"\n#include \"editing/Table.h\"\n");
    write("editing/Grid.cpp", "#include <views/SweepHost.h>\n#include <gtest/gtest.h>\n#include <sys/stat.h>\n"
                              "#include <editing/Grid.h>\n#include <QWidget>\n");
    write("tests/model/Helper.h", "#include \"platform/IniFile.h\"\n");
    write("tests/fuzz/Reader.cpp", "#include \"../model/Helper.h\"\n");
    write("tests/app/Fixture.h", "#include \"app/Window.h\"\n");
    write("build/CMakeCache.txt", "");
    write("build/moc_Table.cpp", "#include \"app/Window.h\"\n");
    write("gadgets/Thing.h", "");

    const auto found = LayerViolations(root);
    const std::vector<std::string> expected = {"editing/Table.cpp:3", "editing/Grid.cpp:1", "model/Record.h:1", "model/Record.h:2",
                                               "tests/model/Helper.h:1", "gadgets/Thing.h"};
    EXPECT_EQ(found.size(), expected.size()) << Joined(found);
    for (const auto& e : expected)
        EXPECT_TRUE(std::any_of(found.begin(), found.end(), [&](const std::string& f) { return f.starts_with(e); }))
            << e << " not found in\n" << Joined(found);
    fs::remove_all(root);
}

}  // namespace
