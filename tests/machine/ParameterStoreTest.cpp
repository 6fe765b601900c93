// The parameter groups of an application folder: installation of the
// shipped files, start-up loading, saving, switching and copying groups.

#include "machine/ParameterStore.h"

#include "common/TextFile.h"
#include "machine/DefaultInstall.h"
#include "machine/GroupFile.h"
#include "machine/ParameterTable.h"
#include "machine/TableFiles.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <vector>

namespace korvel::machine {
namespace {

namespace fs = std::filesystem;
const fs::path kResources = KORVEL_RESOURCES_DIR;

struct HandOver {
    double chord, step, join;
    std::int16_t densify;
    double halfBlade, fixed;
    bool operator==(const HandOver&) const = default;
};

// An application folder installed from the shipped resources, loaded as at
// start-up, with the geometry hand-over recorded.
class InstalledFolder : public ::testing::Test {
protected:
    void SetUp() override {
        InstallDefaults(appDir, kResources);
        store.setTranParasHook(
            [this](double c, double s, double j, std::int16_t d, double h, double f) {
                handOvers.push_back({c, s, j, d, h, f});
            });
        startup = store.LoadAtStartup();
    }

    test::TempDir dir;
    common::AppDir appDir{dir.path()};
    ParameterSet params;
    ParameterTables tables;
    ParameterStore store{appDir, params, tables};
    std::vector<HandOver> handOvers;
    Messages startup;
};

TEST(Install, CopiesMissingFilesAndNeverOverwrites) {
    test::TempDir dir;
    const common::AppDir appDir(dir.path());
    const auto first = InstallDefaults(appDir, kResources);
    // ParaGroup.ini and 10 x (SYS, two curvature tables, spacing table).
    EXPECT_GE(first.size(), 41u);
    EXPECT_FALSE(fs::exists(dir / "README.md"));
    common::WriteLines(appDir.sysPara("SYS_3.ini"), {"mine"});
    fs::remove(appDir.sysPara("pfjj_7.ini"));
    const auto second = InstallDefaults(appDir, kResources);
    ASSERT_EQ(second.size(), 1u);
    EXPECT_EQ(second[0], fs::path("SysPara") / "pfjj_7.ini");
    EXPECT_EQ(common::ReadLines(appDir.sysPara("SYS_3.ini")), common::Lines{"mine"});
}

// Without resources the installer writes the parameter files from the
// built-in factory table; the shipped files must be exactly those, so that
// a new machine and a repaired folder run alike.
TEST(Install, ShippedFilesAreTheBuiltInFactoryFiles) {
    test::TempDir dir;
    const common::AppDir appDir(dir.path());
    InstallDefaults(appDir, dir / "no-resources");
    int compared = 0;
    for (const auto& entry : fs::directory_iterator(kResources / "SysPara")) {
        SCOPED_TRACE(entry.path().filename().string());
        EXPECT_EQ(common::ReadBytes(appDir.sysPara(entry.path().filename().string())),
                  common::ReadBytes(entry.path()));
        ++compared;
    }
    EXPECT_EQ(compared, 4 * kGroupCount);
    EXPECT_EQ(common::ReadBytes(appDir.file("ParaGroup.ini")),
              common::ReadBytes(kResources / "ParaGroup.ini"));
}

TEST_F(InstalledFolder, StartupLoadsTheShippedMachine) {
    EXPECT_TRUE(startup.empty());
    EXPECT_EQ(params, FactoryParameterSet());
    EXPECT_EQ(tables.ArcTablePosLast, 19);
    EXPECT_EQ(tables.TapSpacingCount, 4);
    EXPECT_EQ(common::ReadLines(appDir.file("pfjj.ini")),
              (common::Lines{" 40  1 ", " 100  2 ", " 240  3 ", " 0  4 "}));
    EXPECT_EQ(handOvers, (std::vector<HandOver>{{0.05, 2, 2, 10, 22.5, 105}}));
    EXPECT_EQ(store.StatusLine(common::Language::Chinese),
              "当前系统参数：参数组1，曲率表参数：曲率表1");
}

TEST_F(InstalledFolder, SaveReportsAndHandsOver) {
    params.BladeAngle = 60;
    const common::Message saved = store.SaveSysPara(0, false);
    EXPECT_EQ(saved.zh, "参数保存成功！");
    EXPECT_EQ(saved.en, "Save OK!");
    EXPECT_EQ(saved.kind, common::MessageKind::Notice);
    EXPECT_EQ(handOvers.back().halfBlade, 30);
    EXPECT_THROW(store.SaveSysPara(10, true), common::UserError);
    const common::Message curv = store.SaveWanFuBiao(0, false);
    EXPECT_EQ(curv.zh, "曲率表保存成功！");
}

TEST_F(InstalledFolder, SwitchingGroupsAndBackKeepsEachGroupsValues) {
    params.PulseEquivX = 123.25;
    ASSERT_TRUE(store.SaveSysPara(tables.ParaGroupNo, true).empty());
    double a = 7.5;
    double b = 333;
    store.TranWanFuP(true, 3, a, b);
    ASSERT_TRUE(store.SaveWanFuBiao(tables.CurvGroupNo, true).empty());

    const Messages toOther = store.SwitchGroups(3, 4);
    ASSERT_EQ(toOther.size(), 1u);
    EXPECT_EQ(toOther[0].zh, "当前系统参数切换至参数组4，曲率表参数切换至曲率表5");
    EXPECT_EQ(toOther[0].en, "Current Sys Parameter:参数组4，Curvature Parameter:曲率表5");
    EXPECT_EQ(params.PulseEquivX, 200);
    const common::Lines choice = common::ReadLines(appDir.file("ParaGroup.ini"));
    EXPECT_EQ((std::pair{choice[0], choice[11]}),
              (std::pair<std::string, std::string>{" 4", " 5"}));
    store.TranWanFuP(false, 3, a, b);
    EXPECT_EQ(b, 500);

    store.SwitchGroups(0, 0);
    EXPECT_EQ(params.PulseEquivX, 123.25);
    store.TranWanFuP(false, 3, a, b);
    EXPECT_EQ(a, 7.5);
    EXPECT_EQ(b, 333);
    EXPECT_THROW(store.TranWanFuN(false, 201, a, b), std::out_of_range);
}

TEST_F(InstalledFolder, CopyCommandsWriteAllTenGroups) {
    params.SlotDepthCorr = 90;
    tables.TapSpacing[0] = {25, 0.8};
    tables.ArcTableNegLast = 2;
    EXPECT_EQ(store.CopyParamsToAllGroups().zh, "设备参数复制完成！");
    EXPECT_EQ(store.CopyCurvatureToAllGroups().zh, "曲率表参数复制完成！");
    for (int g = 0; g < kGroupCount; ++g) {
        SCOPED_TRACE(g);
        ParameterSet set;
        ReadGroupFile(appDir.sysPara(SysParaFileName(g)), set);
        EXPECT_EQ(set.SlotDepthCorr, 90);
        EXPECT_EQ(common::ReadLines(appDir.sysPara(CurvatureFileName(false, g))).size(), 3u);
        EXPECT_EQ(common::ReadLines(appDir.sysPara(TapSpacingFileName(g)))[0], " 25  .8 ");
    }
}

TEST_F(InstalledFolder, BadGroupFileIsReportedAndKeptUntilSaved) {
    common::WriteLines(appDir.sysPara("SYS_2.ini"), {" 5 短文件"});
    const Messages m = store.SwitchGroups(2, 0);
    ASSERT_EQ(m.size(), 2u);
    EXPECT_EQ(m[0].kind, common::MessageKind::Error);
    EXPECT_NE(m[0].en.find("SYS_2.ini"), std::string::npos);
    EXPECT_EQ(params.PulseEquivX, 200);
    EXPECT_EQ(common::ReadLines(appDir.sysPara("SYS_2.ini")).size(), 1u);
    store.SaveSysPara(2, true);
    EXPECT_EQ(common::ReadLines(appDir.sysPara("SYS_2.ini")).size(),
              static_cast<size_t>(kParameterLineCount));
}

TEST_F(InstalledFolder, WriteFailureReturnsTheErrorAndKeepsTheOldFile) {
    const std::string before = common::ReadBytes(appDir.sysPara("SYS_0.ini"));
    // A folder where the temporary file would go makes the write fail.
    fs::create_directories(appDir.sysPara("SYS_0.ini.tmp"));
    fs::create_directories(appDir.sysPara("SYS_0.ini.tmp") / "x");
    params.PulseEquivX = 1;
    const common::Message m = store.SaveSysPara(0, false);
    EXPECT_EQ(m.kind, common::MessageKind::Error);
    EXPECT_EQ(common::ReadBytes(appDir.sysPara("SYS_0.ini")), before);
    EXPECT_EQ(store.CopyParamsToAllGroups().kind, common::MessageKind::Error);
}

} // namespace
} // namespace korvel::machine
