#pragma once
// The main-window fields that a job reads when the operator presses the run
// button: the run panel's texts and tick boxes, as plain values.

#include <string>

namespace korvel::program {

struct MainWindowFields {
    std::string Text4 = "10"; // "接料长度：" join length J between two letters (mm)
    std::string Text5 = "1";  // "加工次数：" repeat count R
    std::string Text7 = "0";  // end feed E after the last letter (mm)
    std::string Text6 = "0";  // contour offset (mm), used by path preparation
    bool Check2 = false;      // home the axes before machining
    bool Check3 = false;      // feed-axis encoder on
    bool Check4 = false;      // home the feed before machining (roller feed only)
    bool Check5 = false;      // "禁止弯弧": bending disabled
};

} // namespace korvel::program
