// The core folders stay plain C++: no Qt header may creep into them, and
// geometry and machine never reach into each other or into program.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

std::vector<std::string> offendingIncludes(const std::string& folder,
                                           const std::vector<std::string>& forbidden) {
    std::vector<std::string> hits;
    const fs::path root = fs::path(KORVEL_SOURCE_DIR) / folder;
    if (!fs::exists(root)) {
        return hits;
    }
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        const auto ext = entry.path().extension();
        if (ext != ".h" && ext != ".cpp") {
            continue;
        }
        std::ifstream in(entry.path());
        std::string line;
        while (std::getline(in, line)) {
            if (line.rfind("#include", 0) != 0) {
                continue;
            }
            for (const auto& f : forbidden) {
                if (line.find(f) != std::string::npos) {
                    hits.push_back(entry.path().string() + ": " + line);
                }
            }
        }
    }
    return hits;
}

std::string joined(const std::vector<std::string>& v) {
    std::ostringstream s;
    for (const auto& x : v) {
        s << x << "\n";
    }
    return s.str();
}

} // namespace

TEST(Layering, CoreFoldersNeverIncludeQt) {
    for (const char* folder : {"common", "geometry", "program", "machine"}) {
        const auto hits = offendingIncludes(folder, {"<Q", "<qt", "\"Q"});
        EXPECT_TRUE(hits.empty()) << joined(hits);
    }
}

TEST(Layering, DependenciesPointOneWay) {
    auto hits = offendingIncludes("common", {"geometry/", "machine/", "program/"});
    auto more = offendingIncludes("geometry", {"machine/", "program/"});
    hits.insert(hits.end(), more.begin(), more.end());
    more = offendingIncludes("machine", {"geometry/", "program/"});
    hits.insert(hits.end(), more.begin(), more.end());
    EXPECT_TRUE(hits.empty()) << joined(hits);
}
