// The layer order of the source tree, checked on every #include of every source:
//   platform, math < core < render, sound < world < shell, editor < app  (math uses nothing)
// A layer includes its own and lower layers' headers only (render and sound never each other,
// shell and editor never each other). Only platform/ includes SDL, OpenGL, OpenAL or POSIX headers;
// only world/ includes ODE's. Nothing outside tests/ includes from tests/. Tools, benchmarks and
// fuzz targets may use every library layer. Test and benchmark sources may include system headers
// (harnesses start processes, count the process's allocations, compare with SDL's own values).
//
// Inside world/ the folders have their own order, read from the "order:" line of world/README.md:
// a world source includes from its own folder and the folders before it only, so no include circle
// runs among them; every world source lies in a folder of that line.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace {

namespace fs = std::filesystem;

// The layers each library layer may include besides its own, as cmake/layers.cmake links them. The
// math types stand alone: their library links nothing, not even the platform.
const std::map<std::string, std::set<std::string, std::less<>>, std::less<>> LAYER_USES = {
    {"platform", {}},
    {"math", {}},
    {"core", {"math", "platform"}},
    {"render", {"core", "math", "platform"}},
    {"sound", {"core", "math", "platform"}},
    {"world", {"render", "sound", "core", "math", "platform"}},
    {"shell", {"world", "render", "sound", "core", "math", "platform"}},
    {"editor", {"world", "render", "sound", "core", "math", "platform"}},
    {"app", {"shell", "editor", "world", "render", "sound", "core", "math", "platform"}},
};

// Folders whose sources the check reads.
const std::set<std::string, std::less<>> CHECKED_AREAS = {"platform", "math",  "core",   "render", "sound",
                                                          "world",    "shell", "editor", "app",    "tools",
                                                          "bench",    "fuzz",  "tests"};

std::string_view FirstComponent(std::string_view path) {
    const std::size_t slash = path.find('/');
    return slash == std::string_view::npos ? std::string_view{} : path.substr(0, slash);
}

// The world folder of a path under world/ ("world/balls/ball.h" -> "balls"); empty for a file at
// the top of world/ itself.
std::string_view WorldFolder(std::string_view path) {
    const std::string_view rest = path.substr(path.find('/') + 1);
    const std::size_t slash = rest.find('/');
    return slash == std::string_view::npos ? std::string_view{} : rest.substr(0, slash);
}

// The world folders bottom to top, from the line "order: a < b < ..." of the note; empty when the
// note or the line is missing.
std::vector<std::string> ParseWorldOrder(std::istream& note) {
    std::vector<std::string> order;
    std::string line;
    while (std::getline(note, line)) {
        if (line.rfind("order:", 0) != 0) continue;
        std::istringstream words(line.substr(6));
        std::string word;
        bool wantName = true;
        while (words >> word) {
            if (wantName == (word == "<")) return {};                       // two names or two '<' in a row
            if (wantName && word.find('<') != std::string::npos) return {}; // '<' inside a name
            if (wantName) order.push_back(word);
            wantName = !wantName;
        }
        if (wantName) return {}; // ends in '<'
        return order;
    }
    return {};
}

const std::vector<std::string>& WorldOrder() {
    static const std::vector<std::string> order = [] {
        std::ifstream note(fs::path(KORVELIN_SOURCE_DIR) / "world" / "README.md");
        return ParseWorldOrder(note);
    }();
    return order;
}

// The folder's place in the world order, or -1.
int WorldRank(std::string_view folder) {
    const std::vector<std::string>& order = WorldOrder();
    const auto it = std::find(order.begin(), order.end(), folder);
    return it == order.end() ? -1 : static_cast<int>(it - order.begin());
}

// What is wrong with a world source including a world header; empty when nothing is.
std::string WorldIncludeProblem(std::string_view source, std::string_view header) {
    const std::string_view from = WorldFolder(source);
    const std::string_view to = WorldFolder(header);
    if (WorldRank(from) < 0) return "world source outside the folders of world/README.md's order";
    if (WorldRank(to) < 0) return "world header outside the folders of world/README.md's order";
    if (WorldRank(to) > WorldRank(from))
        return "world/" + std::string(from) + "/ includes world/" + std::string(to) +
               "/, which is after it in world/README.md's order";
    return {};
}

bool StartsWith(std::string_view s, std::string_view prefix) { return s.substr(0, prefix.size()) == prefix; }

// SDL, OpenGL, OpenAL and POSIX headers: the platform layer's alone.
bool IsPlatformOnlyHeader(std::string_view h) {
    static constexpr std::array<std::string_view, 8> PREFIXES = {"SDL",  "GL/", "GLES", "EGL/",
                                                                 "KHR/", "AL/", "sys/", "netinet/"};
    for (std::string_view p : PREFIXES)
        if (StartsWith(h, p)) return true;
    static constexpr std::array<std::string_view, 26> NAMES = {
        "al.h",     "alc.h",    "alext.h", "efx.h",     "unistd.h",   "fcntl.h",     "pthread.h",
        "dirent.h", "dlfcn.h",  "poll.h",  "signal.h",  "sched.h",    "semaphore.h", "fnmatch.h",
        "glob.h",   "pwd.h",    "grp.h",   "libgen.h",  "spawn.h",    "strings.h",   "termios.h",
        "netdb.h",  "syslog.h", "utime.h", "wordexp.h", "arpa/inet.h"};
    return std::find(NAMES.begin(), NAMES.end(), h) != NAMES.end();
}

// What is wrong with `source` (a path from the source root, '/'-separated) including `header`;
// empty when nothing is. `angled`: the header was named in <>.
std::string IncludeProblem(std::string_view source, std::string_view header, bool angled) {
    const std::string_view from = FirstComponent(source);
    if (angled) {
        if (from == "tests" || from == "bench") return {};
        if (StartsWith(header, "ode/")) return from == "world" ? std::string{} : "ODE header outside world/";
        if (IsPlatformOnlyHeader(header) && from != "platform") return "system header outside platform/";
        return {};
    }
    const std::string_view to = FirstComponent(header);
    if (to.empty()) return {}; // beside the source
    if (to == "tests") return from == "tests" ? std::string{} : "include of tests/ from outside tests/";
    if (from == "world" && to == "world") return WorldIncludeProblem(source, header);
    const auto fromLayer = LAYER_USES.find(from);
    if (fromLayer != LAYER_USES.end()) {
        if (to == from || fromLayer->second.count(to) != 0) return {};
        return "layer " + std::string(from) + " includes " + std::string(to) +
               "/, which is not below it in the layer order";
    }
    if (from == "tools" || from == "bench" || from == "fuzz") {
        if (to == from || to == "tools") return {};
        if (to == "app") return std::string(from) + "/ includes app/";
        return {};
    }
    return {};
}

struct Include {
    int line;
    std::string header;
    bool angled;
};

// The #include lines of a file; a computed include (a macro name) is skipped.
std::vector<Include> ReadIncludes(const fs::path& file) {
    std::vector<Include> out;
    std::ifstream in(file);
    std::string text;
    for (int line = 1; std::getline(in, text); ++line) {
        std::size_t p = text.find_first_not_of(" \t");
        if (p == std::string::npos || text[p] != '#') continue;
        p = text.find_first_not_of(" \t", p + 1);
        if (p == std::string::npos || text.compare(p, 7, "include") != 0) continue;
        p = text.find_first_not_of(" \t", p + 7);
        if (p == std::string::npos) continue;
        const char open = text[p];
        if (open != '"' && open != '<') continue;
        const std::size_t end = text.find(open == '"' ? '"' : '>', p + 1);
        if (end == std::string::npos) continue;
        out.push_back({line, text.substr(p + 1, end - p - 1), open == '<'});
    }
    return out;
}

TEST(IncludeRules, TableOfCases) {
    struct Case {
        const char* source;
        const char* header;
        bool angled;
        bool allowed;
    };
    const Case cases[] = {
        {"render/font.cpp", "core/log.h", false, true},
        {"render/font.cpp", "math/vector.h", false, true},
        {"render/font.cpp", "world/table.h", false, false},
        {"render/font.cpp", "sound/sound_fx.h", false, false},
        {"sound/sound_fx.cpp", "render/render.h", false, false},
        {"core/init.cpp", "render/video_mode.h", false, false},
        {"math/matrix.cpp", "platform/sys/files.h", false, false},
        {"math/matrix.cpp", "core/log.h", false, false},
        {"core/init.cpp", "math/vector.h", false, true},
        {"sound/sound_source.cpp", "math/vector.h", false, true},
        {"platform/window/window.cpp", "core/log.h", false, false},
        {"shell/game_framework.cpp", "editor/editor_framework.h", false, false},
        {"editor/editor_framework.cpp", "shell/game_framework.h", false, false},
        {"editor/editor_framework.cpp", "world/table.h", false, true},
        {"world/balls/ball.cpp", "shell/game_framework.h", false, false},
        {"world/racket/racket.cpp", "world/balls/ball.h", false, true},
        {"world/balls/ball.cpp", "world/balls/ball_mode.h", false, true},
        {"world/balls/ball.cpp", "world/racket/racket.h", false, false},
        {"world/physics/physics_world.cpp", "world/table/table.h", false, false},
        {"world/play/world_setup.cpp", "world/bonus/bonus.h", false, true},
        {"world/blocks/block.cpp", "world/world_sound.h", false, false},
        {"world/world_setup.cpp", "world/blocks/block.h", false, false},
        {"world/newfolder/x.cpp", "world/physics/zdelete.h", false, false},
        {"shell/game_framework.cpp", "world/play/world_setup.h", false, true},
        {"core/init.cpp", "app/main.h", false, false},
        {"app/main.cpp", "editor/editor_framework.h", false, true},
        {"app/main.cpp", "tests/support/temp_dir.h", false, false},
        {"tools/texgen/main.cpp", "tests/content/texture_names.h", false, false},
        {"tools/texgen/main.cpp", "tools/common/texture_names.h", false, true},
        {"tools/texgen/main.cpp", "platform/sys/files.h", false, true},
        {"tests/content/test_texture_content.cpp", "tools/common/texture_names.h", false, true},
        {"fuzz/markup.cpp", "tests/support/temp_dir.h", false, false},
        {"render/font.cpp", "SDL.h", true, false},
        {"core/log.cpp", "unistd.h", true, false},
        {"core/log.cpp", "sys/stat.h", true, false},
        {"sound/ogg_reader.cpp", "AL/al.h", true, false},
        {"render/texture.cpp", "GL/gl.h", true, false},
        {"platform/sys/files.cpp", "unistd.h", true, true},
        {"bench/support/alloc_counter.cpp", "unistd.h", true, true},
        {"platform/window/window.cpp", "SDL.h", true, true},
        {"world/physics/physics_world.cpp", "ode/ode.h", true, true},
        {"render/mesh/mesh.cpp", "ode/ode.h", true, false},
        {"platform/sys/threads.cpp", "ode/ode.h", true, false},
        {"core/log.cpp", "cstdio", true, true},
        {"tests/integration/game_runner.cpp", "unistd.h", true, true},
        {"bench/support/alloc_counter.cpp", "dlfcn.h", true, true},
        {"fuzz/markup.cpp", "unistd.h", true, false},
    };
    for (const Case& c : cases) {
        const std::string problem = IncludeProblem(c.source, c.header, c.angled);
        EXPECT_EQ(problem.empty(), c.allowed) << c.source << " including " << c.header << ": " << problem;
    }
}

TEST(IncludeRules, ReadsTheWorldOrderFromItsLine) {
    struct Case {
        const char* note;
        std::vector<std::string> order;
    };
    const Case cases[] = {
        {"# World\n```\norder: physics < table < balls\n```\n", {"physics", "table", "balls"}},
        {"order:physics<table\n", {}},      // the names and '<' stand apart
        {"order: physics table\n", {}},     // a '<' missing
        {"order: physics < table <\n", {}}, // a name missing
        {"no order here\norder\n", {}},     // no line
        {"  order: physics < table\n", {}}, // the line starts with it
    };
    for (const Case& c : cases) {
        std::istringstream note(c.note);
        EXPECT_EQ(ParseWorldOrder(note), c.order) << c.note;
    }
    // The note itself names every folder of world/ once.
    const std::vector<std::string>& order = WorldOrder();
    ASSERT_FALSE(order.empty()) << "world/README.md has no order line";
    const std::set<std::string> named(order.begin(), order.end());
    EXPECT_EQ(named.size(), order.size()) << "a folder is named twice";
    std::set<std::string> folders;
    for (const fs::directory_entry& e : fs::directory_iterator(fs::path(KORVELIN_SOURCE_DIR) / "world"))
        if (e.is_directory()) folders.insert(e.path().filename().string());
    EXPECT_EQ(named, folders);
}

TEST(IncludeRules, ReadsIncludeLines) {
    const fs::path file =
        fs::temp_directory_path() /
        ("korvelin_layers_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + ".h");
    {
        std::ofstream out(file);
        out << "// #include \"world/x.h\" in a comment is no include\n"
               "#include <vector>\n"
               "  #  include \"core/log.h\"\n"
               "#include FT_FREETYPE_H\n"
               "#include \"unterminated\n";
    }
    const std::vector<Include> found = ReadIncludes(file);
    fs::remove(file);
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0].line, 2);
    EXPECT_EQ(found[0].header, "vector");
    EXPECT_TRUE(found[0].angled);
    EXPECT_EQ(found[1].line, 3);
    EXPECT_EQ(found[1].header, "core/log.h");
    EXPECT_FALSE(found[1].angled);
}

TEST(SourceTree, EveryIncludeKeepsTheLayerOrder) {
    const fs::path root = KORVELIN_SOURCE_DIR;
    int files = 0;
    std::ostringstream problems;
    int count = 0;
    for (const std::string& area : CHECKED_AREAS) {
        const fs::path dir = root / area;
        if (!fs::is_directory(dir)) continue;
        for (const fs::directory_entry& entry : fs::recursive_directory_iterator(dir)) {
            if (!entry.is_regular_file()) continue;
            const std::string ext = entry.path().extension().string();
            if (ext != ".cpp" && ext != ".h") continue;
            ++files;
            const std::string rel = entry.path().lexically_relative(root).generic_string();
            if (area == "world" && WorldRank(WorldFolder(rel)) < 0) {
                ++count;
                problems << rel << ": outside the folders of world/README.md's order\n";
            }
            for (const Include& inc : ReadIncludes(entry.path())) {
                const std::string problem = IncludeProblem(rel, inc.header, inc.angled);
                if (problem.empty()) continue;
                ++count;
                problems << rel << ":" << inc.line << ": #include " << (inc.angled ? '<' : '"') << inc.header
                         << (inc.angled ? '>' : '"') << ": " << problem << "\n";
            }
        }
    }
    EXPECT_GT(files, 100) << "the source tree was not found at " << root;
    EXPECT_EQ(count, 0) << problems.str();
}

} // namespace
