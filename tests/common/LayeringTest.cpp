// The core folders and the application layer stay plain C++: no Qt header
// may creep into them, and geometry and machine never reach into each
// other or into program.

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
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

} // namespace

TEST(Layering, NoQtInTheCoreAndDependenciesPointOneWay) {
    const std::vector<std::string> qt = {"<Q", "<qt", "\"Q"};
    const std::pair<const char*, std::vector<std::string>> rules[] = {
        {"common", {"geometry/", "machine/", "program/"}},
        {"geometry", {"machine/", "program/"}},
        {"machine", {"geometry/", "program/"}},
        {"program", {}},
        {"app", {}},
        {"cli", {}}};
    for (const auto& [folder, forbidden] : rules) {
        std::vector<std::string> all = qt;
        all.insert(all.end(), forbidden.begin(), forbidden.end());
        for (const auto& hit : offendingIncludes(folder, all)) {
            ADD_FAILURE() << hit;
        }
    }
}
