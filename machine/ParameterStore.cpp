#include "machine/ParameterStore.h"

#include "common/TextFile.h"
#include "machine/GroupFile.h"
#include "machine/ParaGroupFile.h"
#include "machine/TableFiles.h"

#include <stdexcept>

namespace korvel::machine {
namespace {

constexpr double kTranParasFixedValue = 105.0;

void append(Messages& to, const common::Message& message) {
    if (!message.empty()) {
        to.push_back(message);
    }
}

void checkGroup(int group) {
    if (group < 0 || group >= kGroupCount) {
        const std::string n = std::to_string(group);
        throw common::UserError(common::error("参数组号 " + n + " 不在0至9之间",
                                              "Group " + n + " is not within 0 to 9"));
    }
}

} // namespace

std::string SysParaFileName(int group) {
    return "SYS_" + std::to_string(group) + ".ini";
}
std::string CurvatureFileName(bool positive, int group) {
    return std::string(positive ? "wanfubiaoP_" : "wanfubiaoN_") + std::to_string(group) + ".ini";
}
std::string TapSpacingFileName(int group) {
    return "pfjj_" + std::to_string(group) + ".ini";
}

ParameterStore::ParameterStore(common::AppDir appDir, ParameterSet& params, ParameterTables& tables)
    : m_appDir(std::move(appDir)), m_params(params), m_tables(tables) {}

Messages ParameterStore::LoadAtStartup() {
    Messages messages = ReadParaGroup(m_appDir.file("ParaGroup.ini"), m_tables);
    for (const auto& m : LoadCurvatureGroup()) {
        messages.push_back(m);
    }
    append(messages, LoadSysPara());
    handOverGeometry();
    return messages;
}

common::Message ParameterStore::LoadSysPara() {
    return ReadGroupFile(m_appDir.sysPara(SysParaFileName(m_tables.ParaGroupNo)), m_params);
}

common::Message ParameterStore::saveFile(const std::filesystem::path& file,
                                         const std::vector<std::string>& lines) {
    try {
        common::RewriteAtomically(file, lines);
    } catch (const common::UserError& e) {
        return e.message();
    }
    return {};
}

common::Message ParameterStore::SaveSysPara(int group, bool quiet) {
    checkGroup(group);
    common::Message failed =
        saveFile(m_appDir.sysPara(SysParaFileName(group)), GroupFileLines(m_params));
    if (!failed.empty()) {
        return failed;
    }
    handOverGeometry();
    return quiet ? common::Message{} : common::notice("参数保存成功！", "Save OK!");
}

void ParameterStore::tranRow(std::array<CurvatureRow, kCurvatureRows>& table, bool set, int index,
                             double& a, double& b) {
    if (index < 0 || index >= kCurvatureRows) {
        throw std::out_of_range("curvature table row " + std::to_string(index));
    }
    CurvatureRow& row = table[static_cast<size_t>(index)];
    // The last-row index belongs to whoever edits the table (the curvature
    // window sets it after inserting or deleting rows).
    if (set) {
        row = {a, b};
    } else {
        a = row.angle;
        b = row.radius;
    }
}

void ParameterStore::TranWanFuP(bool set, int index, double& a, double& b) {
    tranRow(m_tables.ArcTablePos, set, index, a, b);
}

void ParameterStore::TranWanFuN(bool set, int index, double& a, double& b) {
    tranRow(m_tables.ArcTableNeg, set, index, a, b);
}

common::Message ParameterStore::SaveWanFuBiao(int group, bool quiet) {
    checkGroup(group);
    // The two halves of the table go together or not at all.
    common::FileReplacement files;
    files.add(m_appDir.sysPara(CurvatureFileName(true, group)),
              CurvatureTableLines(m_tables.ArcTablePos, m_tables.ArcTablePosLast));
    files.add(m_appDir.sysPara(CurvatureFileName(false, group)),
              CurvatureTableLines(m_tables.ArcTableNeg, m_tables.ArcTableNegLast));
    return saveAll(files,
                   quiet ? common::Message{} : common::notice("曲率表保存成功！", "Save OK!"));
}

common::Message ParameterStore::SaveTapSpacing(int group) {
    checkGroup(group);
    return saveFile(m_appDir.sysPara(TapSpacingFileName(group)),
                    TapSpacingLines(m_tables.TapSpacing, m_tables.TapSpacingCount));
}

Messages ParameterStore::LoadCurvatureGroup() {
    Messages messages;
    const int group = m_tables.CurvGroupNo;
    append(messages, ReadCurvatureTable(m_appDir.sysPara(CurvatureFileName(true, group)), true,
                                        m_tables.ArcTablePos, m_tables.ArcTablePosLast));
    append(messages, ReadCurvatureTable(m_appDir.sysPara(CurvatureFileName(false, group)), false,
                                        m_tables.ArcTableNeg, m_tables.ArcTableNegLast));
    append(messages, ReadTapSpacing(m_appDir.sysPara(TapSpacingFileName(group)),
                                    m_tables.TapSpacing, m_tables.TapSpacingCount));
    append(messages, saveFile(m_appDir.file("pfjj.ini"),
                              TapSpacingLines(m_tables.TapSpacing, m_tables.TapSpacingCount)));
    return messages;
}

common::Message ParameterStore::SaveParaGroup() {
    return saveFile(m_appDir.file("ParaGroup.ini"), ParaGroupLines(m_tables));
}

Messages ParameterStore::SwitchGroups(int paraGroup, int curvGroup) {
    checkGroup(paraGroup);
    checkGroup(curvGroup);
    // The choice is stored first: a folder that cannot take it keeps the
    // groups it has, and nothing reports a switch that did not happen.
    ParameterTables chosen = m_tables;
    chosen.ParaGroupNo = static_cast<std::int16_t>(paraGroup);
    chosen.CurvGroupNo = static_cast<std::int16_t>(curvGroup);
    const common::Message failed = saveFile(m_appDir.file("ParaGroup.ini"), ParaGroupLines(chosen));
    if (!failed.empty()) {
        return {failed};
    }
    m_tables.ParaGroupNo = chosen.ParaGroupNo;
    m_tables.CurvGroupNo = chosen.CurvGroupNo;
    Messages messages = LoadCurvatureGroup();
    append(messages, LoadSysPara());
    handOverGeometry();
    const std::string& para = m_tables.ParaGroupNames[static_cast<size_t>(paraGroup)];
    const std::string& curv = m_tables.CurvGroupNames[static_cast<size_t>(curvGroup)];
    messages.push_back(
        common::notice("当前系统参数切换至" + para + "，曲率表参数切换至" + curv,
                       "Current Sys Parameter:" + para + "，Curvature Parameter:" + curv));
    return messages;
}

common::Message ParameterStore::saveAll(common::FileReplacement& files, common::Message done) {
    try {
        files.commit();
    } catch (const common::UserError& e) {
        return e.message();
    }
    return done;
}

// The ten groups are written as one change: a folder that cannot take all
// of them keeps every group as it was.
common::Message ParameterStore::CopyParamsToAllGroups() {
    common::FileReplacement files;
    const auto lines = GroupFileLines(m_params);
    for (int g = 0; g < kGroupCount; ++g) {
        files.add(m_appDir.sysPara(SysParaFileName(g)), lines);
    }
    return saveAll(files, common::notice("设备参数复制完成！", "Copy Over!"));
}

common::Message ParameterStore::CopyCurvatureToAllGroups() {
    common::FileReplacement files;
    const auto positive = CurvatureTableLines(m_tables.ArcTablePos, m_tables.ArcTablePosLast);
    const auto negative = CurvatureTableLines(m_tables.ArcTableNeg, m_tables.ArcTableNegLast);
    const auto spacing = TapSpacingLines(m_tables.TapSpacing, m_tables.TapSpacingCount);
    for (int g = 0; g < kGroupCount; ++g) {
        files.add(m_appDir.sysPara(CurvatureFileName(true, g)), positive);
        files.add(m_appDir.sysPara(CurvatureFileName(false, g)), negative);
        files.add(m_appDir.sysPara(TapSpacingFileName(g)), spacing);
    }
    return saveAll(files, common::notice("曲率表参数复制完成！", "Copy Over!"));
}

std::string ParameterStore::StatusLine(common::Language lang) const {
    const std::string& para = m_tables.ParaGroupNames.at(static_cast<size_t>(m_tables.ParaGroupNo));
    const std::string& curv = m_tables.CurvGroupNames.at(static_cast<size_t>(m_tables.CurvGroupNo));
    if (lang == common::Language::English) {
        return "Current Sys Parameter:" + para + "，Curvature Parameter:" + curv;
    }
    return "当前系统参数：" + para + "，曲率表参数：" + curv;
}

void ParameterStore::handOverGeometry() const {
    if (m_tranParas) {
        m_tranParas(m_params.ChordErrorTol, m_params.LineStepLength, m_params.JoinAngleThreshold,
                    m_params.DensifyPointCount, m_params.BladeAngle / 2, kTranParasFixedValue);
    }
}

} // namespace korvel::machine
