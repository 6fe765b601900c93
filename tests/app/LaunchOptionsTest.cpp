// The operator program's command line: what a demonstration script may ask
// and what it must be told is wrong before any window opens.

#include "app/LaunchOptions.h"

#include "common/Message.h"

#include <gtest/gtest.h>

namespace korvel::test {
namespace {

TEST(LaunchOptions, AWholeScriptedJobParses) {
    const auto o = app::ParseLaunchOptions(
        {"--appdir", "/tmp/a", "--lang", "en", "--open", "d.nc", "--plane", "-1.5", "--select-all",
         "--run", "--answer", "yes", "--card", "library:/x.so", "--screenshot", "w.png"});
    EXPECT_EQ(o.appDir, "/tmp/a");
    EXPECT_EQ(o.languageFlag, 1);
    EXPECT_EQ(o.drawing, "d.nc");
    EXPECT_EQ(o.planeZ, -1.5);
    EXPECT_TRUE(o.selectAll && o.run);
    EXPECT_EQ(o.answer, true);
    EXPECT_EQ(o.card, "library:/x.so");
    // A picture asks for an unattended run even without --quit.
    EXPECT_TRUE(o.unattended());
    EXPECT_FALSE(app::ParseLaunchOptions({}).unattended());
}

TEST(LaunchOptions, MistakesAreRefusedWithTheUsage) {
    const std::vector<std::vector<std::string>> bad = {
        {"--lang", "fr"},
        {"--lang"},
        {"--open"},
        {"--open", "--run"},
        {"--plane", "1"},
        {"--open", "d.nc", "--plane", "inf"},
        {"--open", "d.nc", "--plane", "x"},
        {"--answer", "yes"},
        {"--run", "--answer", "maybe"},
        {"--fullscreen"},
    };
    for (const auto& args : bad) {
        try {
            app::ParseLaunchOptions(args);
            ADD_FAILURE() << "accepted " << args.front();
        } catch (const common::UserError& e) {
            EXPECT_NE(e.message().en.find("korvel [--appdir"), std::string::npos);
            EXPECT_FALSE(e.message().zh.empty());
        }
    }
}

} // namespace
} // namespace korvel::test
