#pragma once
// The curvature table window's own copies of the tables it edits: the
// positive and the negative curvature table (201 rows of bend angle and
// radius, 15 of them shown at a time from the scroll bar's row on, one of
// them the current row) and the tapping-spacing table as its 13 radius
// rows and the "其它" spacing. Edits change only these copies; "保存"
// checks the spacing rows and every number before the shared tables and
// the group's files are written, and writes nothing on a refusal.

#include "common/Message.h"
#include "machine/ParameterSet.h"
#include "machine/ParameterStore.h"
#include "machine/TableFiles.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace korvel::app {

inline constexpr int kShownTableRows = 15;
// The scroll bar's largest value: rows 186 to 200 shown.
inline constexpr int kLastFirstShownRow = machine::kCurvatureRows - kShownTableRows;
// The current row is shown grey (220, 220, 220), the others white.
inline constexpr int kCurrentRowGrey = 220;

enum class CurvatureColumn { Angle = 0, Radius = 1 };

class CurvatureTableCopy {
public:
    CurvatureTableCopy(const machine::CurvatureTable& rows, std::int16_t last)
        : m_rows(rows), m_last(last) {}

    // The scroll bar: first table row shown (kept within 0 .. 186).
    void scrollTo(int firstRow);
    int firstShown() const { return m_first; }
    int rowOfBox(int box) const { return m_first + box; }

    // Entering a cell makes its row the current row.
    void enterBox(int box) { m_current = rowOfBox(box); }
    int currentRow() const { return m_current; }
    bool isCurrentBox(int box) const { return rowOfBox(box) == m_current; }

    // A text box changed: its value (non-numeric text counts as 0) goes
    // into the row. Typing into a row beyond the last used one makes the
    // table reach down to it, so nothing typed is lost at "保存".
    void setCell(int box, CurvatureColumn column, std::string_view text);
    // What a box shows: the value of a used row, empty below the table.
    std::string cellText(int box, CurvatureColumn column) const;

    // "增加行": rows from the current one to the last move down, the current
    // row is doubled for the operator to edit. A full table (201 rows) or a
    // current row below the table changes nothing; returns whether it did.
    bool insertRow();
    // "删除行": the rows after the current one move up. The last remaining
    // row stays (a table has at least one row).
    bool deleteRow();

    const machine::CurvatureTable& rows() const { return m_rows; }
    std::int16_t last() const { return m_last; }

private:
    machine::CurvatureTable m_rows;
    std::int16_t m_last;
    int m_first = 0;
    int m_current = 0;
};

// Window rows 1..13 of the spacing table and the "其它" spacing, as typed.
inline constexpr int kSpacingWindowRows = 13;
// The shared table keeps 11 rows: ten radius rows and the "其它" row.
inline constexpr int kSpacingRadiusRows = machine::kTapSpacingRows - 1;

struct TapSpacingCopy {
    std::array<std::string, kSpacingWindowRows + 1> radius;  // index 1..13
    std::array<std::string, kSpacingWindowRows + 1> spacing; // index 1..13
    std::string other;

    static TapSpacingCopy Load(const machine::TapSpacingTable& rows, std::int16_t count);
};

struct CheckedSpacing {
    common::Message refusal; // empty when the rows may be saved
    machine::TapSpacingTable rows{};
    std::int16_t count = 0;
};
// The save checks of the spacing rows, in the order the operator meets
// them: radii increasing from the first row, every spacing at least 0.1,
// a first row, an "其它" spacing of at least 0.1; then no row after an
// empty radius and no more rows than the shared table keeps.
CheckedSpacing CheckTapSpacing(const TapSpacingCopy& copy);

// "保存": checks the spacing rows and both curvature tables, then stores
// them in the shared tables and writes pfjj_<m>.ini and both curvature
// files of the current curvature group. Returns the refusal or the save
// notice ("曲率表保存成功！").
common::Message SaveCurvatureWindow(const CurvatureTableCopy& positive,
                                    const CurvatureTableCopy& negative,
                                    const TapSpacingCopy& spacing, machine::ParameterStore& store,
                                    machine::ParameterTables& tables);

} // namespace korvel::app
