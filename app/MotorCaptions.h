#pragma once
// Caption tables of the motor, calibration and curvature table windows:
// caption-file line, control (its objectName) and built-in Chinese text.
// The English texts are the lines of Language/JJZ_Form.txt, XZh_Form.txt
// and WFB_Form.txt in the same order.

#include "app/Captions.h"

namespace korvel::app {

const CaptionTable& JJZ_FormCaptions();
const CaptionTable& XZh_FormCaptions();
const CaptionTable& WFB_FormCaptions();

} // namespace korvel::app
