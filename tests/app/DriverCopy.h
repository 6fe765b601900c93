#pragma once
// A fresh copy of the card test driver in a temporary folder. The test loads
// it to reach the driver's controls; a LibraryCard opening the same file gets
// the same loaded library, so the test sets up and reads the very driver the
// machine runs on. Each copy is a driver of its own.

#include "support/TempDir.h"

#include <dlfcn.h>
#include <filesystem>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace korvel::test {

class DriverCopy {
public:
    explicit DriverCopy(const std::filesystem::path& built = KORVEL_TEST_CARD_DRIVER)
        : m_file(m_dir / built.filename().string()) {
        std::filesystem::copy_file(built, m_file);
        m_handle = dlopen(m_file.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (m_handle == nullptr) {
            throw std::runtime_error(dlerror());
        }
    }
    // The library stays loaded: the card opened on it may outlive the copy.
    DriverCopy(const DriverCopy&) = delete;
    DriverCopy& operator=(const DriverCopy&) = delete;

    const std::filesystem::path& file() const { return m_file; }
    std::string option() const { return "library:" + m_file.string(); }

    void setCards(int count) { control<void (*)(int)>("korvel_test_set_cards")(count); }
    void fail(const char* function, int code) {
        control<void (*)(const char*, int)>("korvel_test_fail")(function, code);
    }
    void record() { control<void (*)(int)>("korvel_test_record")(1); }
    // Calls that carried a card number: all (-1) or those with `card`.
    long long calls(int card = -1) {
        return control<long long (*)(int)>("korvel_test_calls")(card);
    }
    std::vector<std::string> recording() {
        std::istringstream text(control<const char* (*)()>("korvel_test_recording")());
        std::vector<std::string> lines;
        for (std::string line; std::getline(text, line);) {
            lines.push_back(line);
        }
        return lines;
    }

private:
    template <typename Function> Function control(const char* name) {
        auto function = reinterpret_cast<Function>(dlsym(m_handle, name));
        if (function == nullptr) {
            throw std::runtime_error(std::string("test driver lacks ") + name);
        }
        return function;
    }

    TempDir m_dir;
    std::filesystem::path m_file;
    void* m_handle = nullptr;
};

} // namespace korvel::test
