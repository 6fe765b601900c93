// The curvature table window's copies: scrolling, the current row, row
// insert and delete, and the save checks of the tapping-spacing rows with
// what reaches the shared tables and the group's files.

#include "app/CurvatureTables.h"

#include "common/TextFile.h"
#include "machine/MachineRig.h"
#include "machine/ParameterStore.h"

#include <gtest/gtest.h>

namespace korvel::test {
namespace {

using app::CurvatureColumn;
using app::CurvatureTableCopy;

// Rows 0..last with radius 1000 - 4 i and angle i / 2 (distinct per row).
CurvatureTableCopy numberedTable(int last) {
    machine::CurvatureTable rows{};
    for (int i = 0; i <= last; ++i) {
        rows[static_cast<size_t>(i)] = {i / 2.0, 1000.0 - 4 * i};
    }
    return {rows, static_cast<std::int16_t>(last)};
}

app::TapSpacingCopy spacingRows(std::vector<std::pair<std::string, std::string>> rows,
                                std::string other = "4") {
    app::TapSpacingCopy copy;
    for (size_t i = 0; i < rows.size(); ++i) {
        copy.radius[i + 1] = rows[i].first;
        copy.spacing[i + 1] = rows[i].second;
    }
    copy.other = std::move(other);
    return copy;
}

TEST(CurvatureTableCopy, ScrollingShowsFifteenRowsFromTheBarsValue) {
    auto table = numberedTable(200);
    table.scrollTo(100);
    for (int box = 0; box < app::kShownTableRows; ++box) {
        EXPECT_EQ(table.rowOfBox(box), 100 + box);
    }
    EXPECT_EQ(table.cellText(0, CurvatureColumn::Radius), "600");
    EXPECT_EQ(table.cellText(14, CurvatureColumn::Angle), "57");
    table.scrollTo(500);
    EXPECT_EQ(table.rowOfBox(14), 200) << "the last row is the last one shown";
    table.scrollTo(-5);
    EXPECT_EQ(table.firstShown(), 0);

    auto shortTable = numberedTable(4);
    EXPECT_EQ(shortTable.cellText(4, CurvatureColumn::Angle), "2");
    EXPECT_EQ(shortTable.cellText(5, CurvatureColumn::Angle), "") << "nothing below the table";
}

TEST(CurvatureTableCopy, EnteringACellMakesItsRowCurrentWhereverTheViewIs) {
    auto table = numberedTable(50);
    table.scrollTo(20);
    table.enterBox(3);
    EXPECT_EQ(table.currentRow(), 23);
    EXPECT_TRUE(table.isCurrentBox(3));
    table.scrollTo(21);
    EXPECT_TRUE(table.isCurrentBox(2)) << "the grey row follows its table row";
    EXPECT_FALSE(table.isCurrentBox(3));
}

TEST(CurvatureTableCopy, InsertOpensTheCurrentRowAndDeleteClosesIt) {
    auto table = numberedTable(10);
    const auto original = table.rows();
    table.enterBox(4);
    ASSERT_TRUE(table.insertRow());
    EXPECT_EQ(table.last(), 11);
    EXPECT_EQ(table.rows()[4], original[4]) << "the opened row starts as a copy";
    EXPECT_EQ(table.rows()[5], original[4]);
    EXPECT_EQ(table.rows()[11], original[10]);
    ASSERT_TRUE(table.deleteRow());
    EXPECT_EQ(table.rows(), original);
    EXPECT_EQ(table.last(), 10);

    auto full = numberedTable(200);
    full.scrollTo(186);
    full.enterBox(14);
    const auto before = full.rows();
    EXPECT_FALSE(full.insertRow()) << "201 rows are the most a table holds";
    EXPECT_EQ(full.rows(), before);
    EXPECT_EQ(full.last(), 200);
    ASSERT_TRUE(full.deleteRow());
    EXPECT_EQ(full.last(), 199);

    auto single = numberedTable(0);
    EXPECT_FALSE(single.deleteRow());
    EXPECT_EQ(single.last(), 0);
}

TEST(CurvatureTableCopy, TypingBelowTheTableExtendsItAndTextCountsAsItsValue) {
    auto table = numberedTable(2);
    table.setCell(5, CurvatureColumn::Radius, "12.5");
    table.setCell(5, CurvatureColumn::Angle, "abc");
    EXPECT_EQ(table.last(), 5);
    EXPECT_EQ(table.rows()[5], (machine::CurvatureRow{0, 12.5}));
}

// The four save checks with their exact texts, then the two rules for
// rows the shared table cannot keep: none is dropped without a word.
TEST(TapSpacingSave, RefusedRowsWithTheirMessages) {
    struct Case {
        app::TapSpacingCopy copy;
        const char* zh;
    };
    std::vector<std::pair<std::string, std::string>> thirteen;
    for (int i = 1; i <= 13; ++i) {
        thirteen.emplace_back(std::to_string(10 * i), "1");
    }
    const Case cases[] = {
        {spacingRows({{"10", "1"}, {"20", "2"}, {"15", "3"}}),
         "保存失败！拍弧间距半径设置必须逐个增大"},
        {spacingRows({{"10", "1"}, {"20", "0.05"}}), "保存失败！拍弧间距设置值太小"},
        {spacingRows({{"", "1"}, {"20", "2"}}), "保存失败！拍弧间距半径设置数据不能为空"},
        {spacingRows({{"10", "1"}}, "0.05"), "保存失败！拍弧间距其它半径间距设置不能小于0.1"},
        {spacingRows(thirteen), "保存失败！拍弧间距最多10行（不含其它）"},
        {spacingRows({{"10", "1"}, {"", ""}, {"30", "2"}}),
         "保存失败！拍弧间距第2行半径为空，其后的行不能保存"},
        {spacingRows({{"10", "1e308"}}), "保存失败！拍弧间距第1行数值无效"},
    };
    for (const Case& c : cases) {
        const auto checked = app::CheckTapSpacing(c.copy);
        EXPECT_EQ(checked.refusal.zh, c.zh);
        EXPECT_EQ(checked.refusal.en.rfind("Save failed! ", 0), 0u);
        EXPECT_EQ(checked.refusal.kind, common::MessageKind::Notice);
    }
}

TEST(TapSpacingSave, AcceptedRowsEndWithTheOtherRadiiRow) {
    const auto checked = app::CheckTapSpacing(spacingRows({{"40", "1"}, {"100", "2.5"}}, "4"));
    ASSERT_TRUE(checked.refusal.empty());
    EXPECT_EQ(checked.count, 3);
    EXPECT_EQ(checked.rows[1], (machine::TapSpacingRow{100, 2.5}));
    EXPECT_EQ(checked.rows[2], (machine::TapSpacingRow{0, 4}));
    // The shown copy of what was accepted is the same rows again.
    const auto shown = app::TapSpacingCopy::Load(checked.rows, checked.count);
    EXPECT_EQ(shown.radius[2], "100");
    EXPECT_EQ(shown.spacing[2], "2.5");
    EXPECT_EQ(shown.other, "4");
    EXPECT_EQ(shown.radius[3], "");
}

TEST(CurvatureWindowSave, RefusalWritesNothingAndASaveReachesTablesAndFiles) {
    MachineRig rig;
    auto& tables = rig.machine->tables();
    const auto groupFiles = [&] {
        const int m = tables.CurvGroupNo;
        return common::ReadText(rig.dir.sysPara(machine::CurvatureFileName(true, m))) +
               common::ReadText(rig.dir.sysPara(machine::CurvatureFileName(false, m))) +
               common::ReadText(rig.dir.sysPara(machine::TapSpacingFileName(m)));
    };
    // Make sure all three files exist before comparing.
    ASSERT_TRUE(rig.machine->store().SaveTapSpacing(tables.CurvGroupNo).empty());
    ASSERT_TRUE(rig.machine->store().SaveWanFuBiao(tables.CurvGroupNo, true).empty());
    const auto filesBefore = groupFiles();
    const auto tablesBefore = tables;

    CurvatureTableCopy positive(tables.ArcTablePos, tables.ArcTablePosLast);
    CurvatureTableCopy negative(tables.ArcTableNeg, tables.ArcTableNegLast);
    positive.enterBox(0);
    ASSERT_TRUE(positive.insertRow());
    positive.setCell(0, CurvatureColumn::Radius, "1500");
    const auto bad = spacingRows({{"10", "1"}, {"20", "2"}, {"15", "3"}});
    EXPECT_FALSE(
        app::SaveCurvatureWindow(positive, negative, bad, rig.machine->store(), tables).empty());
    EXPECT_EQ(tables, tablesBefore);
    EXPECT_EQ(groupFiles(), filesBefore);
    // A cell the table file cannot hold is refused like a broken one.
    const auto good = spacingRows({{"30", "1"}, {"90", "2"}}, "3");
    const std::string angle = positive.cellText(1, CurvatureColumn::Angle);
    positive.setCell(1, CurvatureColumn::Angle, "1e308");
    EXPECT_EQ(app::SaveCurvatureWindow(positive, negative, good, rig.machine->store(), tables).en,
              "Save failed! Row 1 of the positive table is not a number");
    EXPECT_EQ(groupFiles(), filesBefore);
    positive.setCell(1, CurvatureColumn::Angle, angle);

    const auto saved =
        app::SaveCurvatureWindow(positive, negative, good, rig.machine->store(), tables);
    EXPECT_EQ(saved.zh, "曲率表保存成功！");
    EXPECT_EQ(tables.ArcTablePosLast, tablesBefore.ArcTablePosLast + 1);
    machine::ParameterSet params;
    machine::ParameterTables reloaded;
    machine::ParameterStore(rig.dir, params, reloaded).LoadAtStartup();
    EXPECT_EQ(reloaded.ArcTablePosLast, positive.last());
    EXPECT_EQ(reloaded.ArcTablePos[0].radius, 1500);
    EXPECT_EQ(reloaded.TapSpacingCount, 3);
    EXPECT_EQ(reloaded.TapSpacing[1], (machine::TapSpacingRow{90, 2}));
}

} // namespace
} // namespace korvel::test
