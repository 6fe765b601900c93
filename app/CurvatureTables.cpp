#include "app/CurvatureTables.h"

#include "common/Basic.h"
#include "common/FieldText.h"

#include <algorithm>
#include <cmath>

namespace korvel::app {
namespace {

constexpr double kMinSpacing = 0.1;
// No bend angle or radius comes near this; a cell beyond it is a typing
// slip ("1e308") that the table file could not hold.
constexpr double kMaxCell = 1.0e6;

bool usableCell(double v) {
    return std::fabs(v) <= kMaxCell;
}

double& cell(machine::CurvatureRow& row, CurvatureColumn column) {
    return column == CurvatureColumn::Angle ? row.angle : row.radius;
}

common::Message saveFailed(std::string zh, std::string en) {
    return common::notice("保存失败！" + std::move(zh), "Save failed! " + std::move(en));
}

common::Message checkCurvature(const CurvatureTableCopy& table, bool positive) {
    for (int i = 0; i <= table.last(); ++i) {
        const auto& row = table.rows()[static_cast<size_t>(i)];
        if (!usableCell(row.angle) || !usableCell(row.radius)) {
            const std::string n = std::to_string(i);
            return positive ? saveFailed("正向曲率表第" + n + "行数值无效",
                                         "Row " + n + " of the positive table is not a number")
                            : saveFailed("负向曲率表第" + n + "行数值无效",
                                         "Row " + n + " of the negative table is not a number");
        }
    }
    return {};
}

} // namespace

void CurvatureTableCopy::scrollTo(int firstRow) {
    m_first = std::clamp(firstRow, 0, kLastFirstShownRow);
}

void CurvatureTableCopy::setCell(int box, CurvatureColumn column, std::string_view text) {
    const int row = rowOfBox(box);
    cell(m_rows.at(static_cast<size_t>(row)), column) = common::Val(text);
    m_last = static_cast<std::int16_t>(std::max<int>(m_last, row));
}

std::string CurvatureTableCopy::cellText(int box, CurvatureColumn column) const {
    const int row = rowOfBox(box);
    if (row > m_last) {
        return {};
    }
    auto copy = m_rows.at(static_cast<size_t>(row));
    return common::FieldText(cell(copy, column));
}

bool CurvatureTableCopy::insertRow() {
    if (m_last >= machine::kCurvatureRows - 1 || m_current > m_last) {
        return false;
    }
    std::copy_backward(m_rows.begin() + m_current, m_rows.begin() + m_last + 1,
                       m_rows.begin() + m_last + 2);
    ++m_last;
    return true;
}

bool CurvatureTableCopy::deleteRow() {
    if (m_last <= 0 || m_current > m_last) {
        return false;
    }
    std::copy(m_rows.begin() + m_current + 1, m_rows.begin() + m_last + 1,
              m_rows.begin() + m_current);
    m_rows[static_cast<size_t>(m_last)] = {};
    --m_last;
    return true;
}

TapSpacingCopy TapSpacingCopy::Load(const machine::TapSpacingTable& rows, std::int16_t count) {
    TapSpacingCopy copy;
    if (count <= 0) {
        return copy;
    }
    // The last valid row holds the spacing for every larger radius.
    for (size_t i = 0; i + 1 < static_cast<size_t>(count) && i < kSpacingWindowRows; ++i) {
        copy.radius[i + 1] = common::FieldText(rows[i].radiusLimit);
        copy.spacing[i + 1] = common::FieldText(rows[i].spacing);
    }
    copy.other = common::FieldText(rows[static_cast<size_t>(count - 1)].spacing);
    return copy;
}

CheckedSpacing CheckTapSpacing(const TapSpacingCopy& copy) {
    CheckedSpacing result;
    int used = 0;
    double above = 0;
    for (int i = 1; i <= kSpacingWindowRows; ++i) {
        const double radius = common::Val(copy.radius[static_cast<size_t>(i)]);
        if (radius == 0) {
            break;
        }
        const double spacing = common::Val(copy.spacing[static_cast<size_t>(i)]);
        if (!usableCell(radius) || !usableCell(spacing)) {
            result.refusal =
                saveFailed("拍弧间距第" + std::to_string(i) + "行数值无效",
                           "Row " + std::to_string(i) + " of the tapping spacing is not a number");
            return result;
        }
        if (!(radius > above)) {
            result.refusal = saveFailed("拍弧间距半径设置必须逐个增大",
                                        "The tapping spacing radii must increase row by row");
            return result;
        }
        if (spacing < kMinSpacing) {
            result.refusal = common::notice("保存失败！拍弧间距设置值太小",
                                            "Save failed! A tapping spacing is too small");
            return result;
        }
        above = radius;
        if (used < kSpacingRadiusRows) {
            result.rows[static_cast<size_t>(used)] = {radius, spacing};
        }
        ++used;
    }
    if (used == 0) {
        result.refusal = common::notice("保存失败！拍弧间距半径设置数据不能为空",
                                        "Save failed! The tapping spacing radii cannot be empty");
        return result;
    }
    const double other = common::Val(copy.other);
    if (!(other >= kMinSpacing) || !usableCell(other)) {
        result.refusal =
            common::notice("保存失败！拍弧间距其它半径间距设置不能小于0.1",
                           "Save failed! The spacing for other radii cannot be below 0.1");
        return result;
    }
    for (int i = used + 1; i <= kSpacingWindowRows; ++i) {
        // An empty radius ends the table; a row typed below it would be
        // dropped without a word, so the save stops instead.
        if (common::Val(copy.radius[static_cast<size_t>(i)]) != 0 ||
            common::Val(copy.spacing[static_cast<size_t>(i)]) != 0) {
            result.refusal =
                saveFailed("拍弧间距第" + std::to_string(used + 1) + "行半径为空，其后的行不能保存",
                           "Row " + std::to_string(used + 1) +
                               " of the tapping spacing has no radius, the rows after it "
                               "cannot be saved");
            return result;
        }
    }
    if (used > kSpacingRadiusRows) {
        result.refusal =
            saveFailed("拍弧间距最多" + std::to_string(kSpacingRadiusRows) + "行（不含其它）",
                       "At most " + std::to_string(kSpacingRadiusRows) +
                           " tapping spacing rows (besides the other radii)");
        return result;
    }
    result.rows[static_cast<size_t>(used)] = {0, other};
    result.count = static_cast<std::int16_t>(used + 1);
    return result;
}

common::Message SaveCurvatureWindow(const CurvatureTableCopy& positive,
                                    const CurvatureTableCopy& negative,
                                    const TapSpacingCopy& spacing, machine::ParameterStore& store,
                                    machine::ParameterTables& tables) {
    const CheckedSpacing checked = CheckTapSpacing(spacing);
    if (!checked.refusal.empty()) {
        return checked.refusal;
    }
    for (const auto& problem : {checkCurvature(positive, true), checkCurvature(negative, false)}) {
        if (!problem.empty()) {
            return problem;
        }
    }
    const int group = tables.CurvGroupNo;
    tables.TapSpacing = checked.rows;
    tables.TapSpacingCount = checked.count;
    if (auto failed = store.SaveTapSpacing(group); !failed.empty()) {
        return failed;
    }
    for (int i = 0; i < machine::kCurvatureRows; ++i) {
        auto p = positive.rows()[static_cast<size_t>(i)];
        auto n = negative.rows()[static_cast<size_t>(i)];
        store.TranWanFuP(true, i, p.angle, p.radius);
        store.TranWanFuN(true, i, n.angle, n.radius);
    }
    tables.ArcTablePosLast = positive.last();
    tables.ArcTableNegLast = negative.last();
    return store.SaveWanFuBiao(group, false);
}

} // namespace korvel::app
