#pragma once
// The application folder: where the outline files, G5.dat, the parameter
// groups and the caption files live. It is a value handed to whoever needs
// it, never the process's working folder, so tests run in temporary folders.

#include <filesystem>
#include <string_view>

namespace korvel::common {

class AppDir {
public:
    AppDir() = default;
    explicit AppDir(std::filesystem::path root) : m_root(std::move(root)) {}

    const std::filesystem::path& root() const { return m_root; }
    // A file directly in the application folder ("PointForDisplay.dat").
    std::filesystem::path file(std::string_view name) const { return m_root / name; }
    // A file of the parameter groups ("SYS_0.ini").
    std::filesystem::path sysPara(std::string_view name) const { return m_root / "SysPara" / name; }
    // A caption file ("mainform.txt").
    std::filesystem::path language(std::string_view name) const {
        return m_root / "Language" / name;
    }
    // Creates the folder and its SysPara and Language subfolders.
    void create() const;

private:
    std::filesystem::path m_root;
};

} // namespace korvel::common
