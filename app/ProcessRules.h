#pragma once
// The rules of the two process windows without the windows: the maker's
// process window GY_Form (thresholds, force factors, compensations,
// discretisation) and the operator's process window GY1_Form (lengths,
// bending and slotting values with their tests). Which parameters each
// edits, what the operator level allows, and GY1_Form's down-stroke check.

#include "common/Message.h"
#include "machine/ParameterSet.h"

#include <cstdint>
#include <string_view>
#include <vector>

namespace korvel::app {

// A text box of GY_Form: Text1(index) edits `field`.
struct ProcessBox {
    int index;
    std::string_view field;
};
// GY_Form's text boxes in the order of its table (RunMode is the option
// pair, not a box).
const std::vector<ProcessBox>& MakerProcessBoxes();
// The boxes inside the discretisation frame (Frame1), shown at level 2 only.
bool InDiscretisationFrame(int index);
// Every parameter GY_Form saves: its boxes and RunMode.
std::vector<std::string_view> MakerProcessFields();

struct MakerProcessAccess {
    bool save = false;                // "保存"
    bool discretisationFrame = false; // Frame1 with Text1(11..14) and the run mode
    bool operator==(const MakerProcessAccess&) const = default;
};
// Level 0 (machine user) reads only; level 1 (machine maker) edits all but
// the discretisation frame, which only level 2 (system maker) sees.
MakerProcessAccess MakerProcessAccessFor(std::int16_t userLevel);

// Every parameter GY1_Form saves: the lengths, bending and slotting values
// of its three frames, the longest single feed and the values of the
// user process window without a line of their own before.
const std::vector<std::string_view>& UserProcessFields();

// GY1_Form's "下刀行程" box after an edit. With an infeed axis fitted and
// "锁定总切深" ticked the stroke must stay within the cutter's total travel
// (HomeOffsetZ + DownStrokeFront of the parameter set): at least -0.1 and
// below the travel. A refused value is replaced by the saved stroke and the
// message is shown.
struct StrokeCheck {
    bool accepted = true;
    double value = 0;        // the value the box keeps
    common::Message message; // empty when accepted
};
StrokeCheck CheckDownStroke(const machine::ParameterSet& saved, double entered,
                            bool lockTotalDepth);

// XZh_Form's slot-depth scroll bars: the coarse bar stores its position
// truncated to a multiple of 10 percent, the fine bar its exact position.
std::int16_t CoarseSlotDepth(int position);
std::int16_t FineSlotDepth(int position);
// "开槽深度：" + value + "%" / "Slott Depth：" + value + "%".
std::string SlotDepthLabel(std::int16_t percent, std::int16_t languageFlag);

} // namespace korvel::app
