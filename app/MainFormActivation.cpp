#include "app/MainFormActivation.h"

#include "common/FieldText.h"
#include "machine/MachineBuild.h"

namespace korvel::app {

namespace {

using machine::kMotorInfeed;
using machine::kNoBender;
constexpr std::int16_t kNoSwing = 1;
constexpr std::int16_t kFrontFaceOnly = 1;

void ApplyFeedType(std::int16_t feedType, MainFormActivation& a) {
    switch (feedType) {
    case 0: // rolling friction: no clamp or grippers, the feed can step
        a.clamp = a.gripper1 = a.gripper2 = Shown::Hidden;
        a.singleStep = a.encoder = a.feedHoming = Shown::Visible;
        break;
    case 1: // one gripper stroke: the stroke is the step, no encoder check
        a.clamp = a.gripper1 = Shown::Visible;
        a.gripper2 = Shown::Hidden;
        a.singleStep = a.encoder = a.feedHoming = Shown::Hidden;
        break;
    case 2: // two grippers hand the strip over; the step box stays as it was
        a.clamp = a.gripper1 = a.gripper2 = Shown::Visible;
        a.encoder = Shown::Visible;
        a.feedHoming = Shown::Hidden;
        break;
    default:
        break;
    }
}

} // namespace

MainFormActivation ActivationFor(const machine::ParameterSet& p) {
    MainFormActivation a;
    a.axes.infeed = p.InfeedControl == kMotorInfeed;
    a.axes.zIsSwing = p.ZAxisSwingCutter != 0;
    a.aUnit = a.axes.infeed ? "mm" : "deg";
    // A swing axis that never swings (front cuts only, no swing) has
    // nothing to home.
    a.swingHomingEnabled =
        a.axes.infeed || !(p.FrontSwingControl == kNoSwing && p.SlotControl == kFrontFaceOnly);
    a.cutDepthRowVisible = p.CutterUpDownControl != 0 || a.axes.zIsSwing;
    a.feedSpeed = common::FieldText(p.ManualSpeedX);
    a.curvatureTableEnabled = p.BenderType != kNoBender;
    ApplyFeedType(p.FeedType, a);
    a.frontStroke = common::FieldText(p.DownStrokeFront);
    a.backStroke = common::FieldText(p.DownStrokeBack);
    return a;
}

} // namespace korvel::app
