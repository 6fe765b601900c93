#pragma once
// Where the lines of a display point file go while an import makes them:
// a reader hands over outline headers ("SPLINE 1"), point lines and the
// closing "SPLINE END" one at a time, and the receiver cleans, collects or
// writes them. Nothing forces the whole unthinned drawing into memory.

#include <string_view>

namespace korvel::geometry {

class DisplayLineSink {
public:
    virtual ~DisplayLineSink() = default;
    // One line without its line end. The view is valid only during the
    // call: the reader reuses its buffer for the next line.
    virtual void line(std::string_view text) = 0;
};

} // namespace korvel::geometry
