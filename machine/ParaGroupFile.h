#pragma once
// ParaGroup.ini in the application folder: which of the ten parameter
// groups and which of the ten curvature groups are current, and their
// names. 22 lines: the parameter group number 1..10 (one more than
// ParaGroupNo, leading blank), the ten names, the curvature group number
// 1..10, the ten curvature group names.

#include "common/Message.h"
#include "common/TextFile.h"
#include "machine/ParameterSet.h"

#include <filesystem>
#include <string>
#include <vector>

namespace korvel::machine {

// Names a new installation gives its groups ("参数组1" ... , "曲率表1" ...).
std::string FactoryParaGroupName(int group);
std::string FactoryCurvGroupName(int group);

// Reads the group choice and names into `tables`. When both numbers read 0
// the file is taken as missing: "qspzhwj缺少参数组配置文件！" and both groups
// stay 0. A missing or unreadable file, a number outside 1..10 or missing
// names are reported too; group 0 and the factory names are used for what
// is missing. The returned messages are in the order to be shown.
std::vector<common::Message> ReadParaGroup(const std::filesystem::path& file,
                                           ParameterTables& tables);
common::Lines ParaGroupLines(const ParameterTables& tables);

} // namespace korvel::machine
