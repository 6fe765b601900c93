#pragma once
// The operator's messages of the DXF import, each in Chinese and English.
// The import never shows them itself: it throws them as UserError and the
// caller (the open command, korvel-cli) shows them.

#include "common/Message.h"

#include <string_view>

namespace korvel::geometry::dxfmsg {

common::Message emptyFile(std::string_view file);
common::Message fileTooLarge(std::string_view file, long long limitMegabytes);
// `variable` is "$EXTMIN" or "$EXTMAX".
common::Message missingExtents(std::string_view variable);
common::Message tooManySplines(long long count, long long limit);
common::Message missingExtrusion(int spline);
common::Message endsInsideSpline(int spline);
// A group 70, 71, 72, 73 or 40/10/20 value that is no usable number.
common::Message badValue(int spline, std::string_view code, std::string_view text);
common::Message countTooLarge(int spline, std::string_view code, long long value, long long limit);
common::Message unsupportedDegree(int spline, int degree, int maxDegree);
common::Message countsMismatch(int spline, int knots, int points, int degree);
common::Message missingData(int spline);
common::Message badKnots(int spline);
common::Message badDensify(long long count);
common::Message tooManyDisplayPoints(long long count, long long limit);

} // namespace korvel::geometry::dxfmsg
