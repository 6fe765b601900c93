// Damaged parameter files: random truncations, byte flips and line
// shuffles of the shipped files must load without a crash, and whatever
// the reader keeps must be a value the machine can run with.

#include "common/TextFile.h"
#include "machine/GroupFile.h"
#include "machine/ParaGroupFile.h"
#include "machine/ParameterTable.h"
#include "machine/TableFiles.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <random>

namespace korvel::machine {
namespace {

namespace fs = std::filesystem;
const fs::path kSysPara = fs::path(KORVEL_RESOURCES_DIR) / "SysPara";

std::string damage(std::string bytes, std::mt19937& rng) {
    std::uniform_int_distribution<int> kind(0, 3);
    switch (kind(rng)) {
    case 0: // truncated anywhere
        bytes.resize(std::uniform_int_distribution<size_t>(0, bytes.size())(rng));
        break;
    case 1: // a few bytes replaced by anything
        for (int i = 0; i < 8 && !bytes.empty(); ++i) {
            bytes[std::uniform_int_distribution<size_t>(0, bytes.size() - 1)(rng)] =
                static_cast<char>(std::uniform_int_distribution<int>(0, 255)(rng));
        }
        break;
    case 2: // digits replaced by signs, points and letters
        for (char& c : bytes) {
            if (c >= '0' && c <= '9' && rng() % 7 == 0) {
                c = "-.E,\"x "[rng() % 7];
            }
        }
        break;
    default: // a stretch removed
        if (!bytes.empty()) {
            const size_t at = std::uniform_int_distribution<size_t>(0, bytes.size() - 1)(rng);
            bytes.erase(at, std::uniform_int_distribution<size_t>(0, 400)(rng));
        }
        break;
    }
    return bytes;
}

TEST(ParameterFuzz, DamagedFilesLoadToUsableValues) {
    std::mt19937 rng(20261205);
    test::TempDir dir;
    const std::string group = common::ReadBytes(kSysPara / "SYS_0.ini");
    const std::string curv = common::ReadBytes(kSysPara / "wanfubiaoP_0.ini");
    const std::string spacing = common::ReadBytes(kSysPara / "pfjj_0.ini");
    const std::string choice = common::ReadBytes(kSysPara.parent_path() / "ParaGroup.ini");
    for (int round = 0; round < 300; ++round) {
        SCOPED_TRACE(round);
        common::RewriteBytesAtomically(dir / "SYS.ini", damage(group, rng));
        ParameterSet set = FactoryParameterSet();
        ReadGroupFile(dir / "SYS.ini", set);
        for (const auto& info : ParameterTable()) {
            if (info.type == ParameterType::String) {
                EXPECT_TRUE(IsValidSlotActionOrder(set.SlotActionOrder));
            } else {
                EXPECT_EQ(CheckValue(info, NumericValue(set, info)), ValueProblem::None)
                    << info.name;
            }
        }

        common::RewriteBytesAtomically(dir / "P.ini", damage(curv, rng));
        CurvatureTable rows;
        std::int16_t last = -1;
        ReadCurvatureTable(dir / "P.ini", true, rows, last);
        EXPECT_GE(last, 0);
        EXPECT_LT(last, kCurvatureRows);

        common::RewriteBytesAtomically(dir / "pfjj.ini", damage(spacing, rng));
        TapSpacingTable spacingRows;
        std::int16_t count = 0;
        ReadTapSpacing(dir / "pfjj.ini", spacingRows, count);
        EXPECT_GE(count, 1);
        EXPECT_LE(count, kTapSpacingRows);

        common::RewriteBytesAtomically(dir / "ParaGroup.ini", damage(choice, rng));
        ParameterTables tables;
        ReadParaGroup(dir / "ParaGroup.ini", tables);
        EXPECT_GE(tables.ParaGroupNo, 0);
        EXPECT_LT(tables.ParaGroupNo, kGroupCount);
        EXPECT_GE(tables.CurvGroupNo, 0);
        EXPECT_LT(tables.CurvGroupNo, kGroupCount);
    }
}

} // namespace
} // namespace korvel::machine
