#pragma once
// The parameter groups on disk and the operations the windows call on
// them: load and save the current parameter group, the curvature and
// tapping-spacing tables of the curvature group, start-up loading and the
// group manager's switch and copy commands.
//
// The store works on a ParameterSet and a ParameterTables owned by the
// application and handed in by reference. It never shows anything: every
// operation that has something to tell the operator returns the message,
// and the window shows it in the language of LanguageFlag.
//
// The geometry keeps its own copy of the discretisation values. Whenever
// the parameters are loaded or saved the store hands them over through the
// TranParas hook, which the application points at CoreAlgorithm::TranParas
// (this library does not know the geometry).

#include "common/AppDir.h"
#include "common/Message.h"
#include "common/TextFile.h"
#include "machine/ParameterSet.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace korvel::machine {

// ChordErrorTol, LineStepLength, JoinAngleThreshold, DensifyPointCount,
// BladeAngle / 2 and the constant 105, in this order.
using TranParasHook =
    std::function<void(double chordErrorTol, double lineStepLength, double joinAngleThreshold,
                       std::int16_t densifyPointCount, double halfBladeAngle, double fixedValue)>;

using Messages = std::vector<common::Message>;

class ParameterStore {
public:
    ParameterStore(common::AppDir appDir, ParameterSet& params, ParameterTables& tables);

    void setTranParasHook(TranParasHook hook) { m_tranParas = std::move(hook); }

    // Start-up loading: ParaGroup.ini, the curvature tables and the
    // tapping-spacing table of the curvature group (writing pfjj.ini), then
    // the parameter group, handed over to the geometry.
    Messages LoadAtStartup();

    // Reads SYS_<ParaGroupNo>.ini into the parameter set.
    common::Message LoadSysPara();
    // Writes the parameter set to SYS_<group>.ini and hands the geometry
    // values over; unless quiet, returns "参数保存成功！". A write failure
    // returns its error message and leaves the old file as it was.
    common::Message SaveSysPara(int group, bool quiet);

    // Row `index` (0..200) of the positive / negative curvature table: with
    // set, store (a, b); otherwise return the row in a and b.
    void TranWanFuP(bool set, int index, double& a, double& b);
    void TranWanFuN(bool set, int index, double& a, double& b);
    // Writes both curvature tables to the files of `group`; unless quiet,
    // returns "曲率表保存成功！".
    common::Message SaveWanFuBiao(int group, bool quiet);
    // Writes the tapping-spacing table to pfjj_<group>.ini.
    common::Message SaveTapSpacing(int group);

    // Reads the curvature and tapping-spacing tables of CurvGroupNo and
    // writes the active spacing table to pfjj.ini.
    Messages LoadCurvatureGroup();
    // Writes ParaGroup.ini (group numbers and the names in the tables).
    common::Message SaveParaGroup();

    // Group manager. Switch: select the two groups (0..9), write
    // ParaGroup.ini with the names now in the tables, load the curvature
    // group and the parameter group; the last message is the switch
    // notice.
    Messages SwitchGroups(int paraGroup, int curvGroup);
    // Copy the current parameter set to all ten groups.
    common::Message CopyParamsToAllGroups();
    // Copy the current curvature and tapping-spacing tables to all ten groups.
    common::Message CopyCurvatureToAllGroups();

    // The status line of the main window.
    std::string StatusLine(common::Language lang) const;

    // Hand the geometry values to the hook (when one is set).
    void handOverGeometry() const;

    const common::AppDir& appDir() const { return m_appDir; }

private:
    common::Message saveFile(const std::filesystem::path& file,
                             const std::vector<std::string>& lines);
    // Commits the files; `done` when all were written, else the error.
    static common::Message saveAll(common::FileReplacement& files, common::Message done);
    static void tranRow(std::array<CurvatureRow, kCurvatureRows>& table, bool set, int index,
                        double& a, double& b);

    common::AppDir m_appDir;
    ParameterSet& m_params;
    ParameterTables& m_tables;
    TranParasHook m_tranParas;
};

// File names of group n.
std::string SysParaFileName(int group);
std::string CurvatureFileName(bool positive, int group);
std::string TapSpacingFileName(int group);

} // namespace korvel::machine
