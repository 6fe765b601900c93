#include "program/FeedWriter.h"

#include "common/Basic.h"

#include <algorithm>
#include <cmath>

namespace korvel::program {

using common::FormatNumber;

namespace {

// The stroke length in the stroke line: whole millimetres as the executor
// matches it, four decimals for a stroke that is not a whole number.
std::string strokeText(double stroke) {
    if (stroke == std::floor(stroke)) {
        return FormatNumber(stroke, "0");
    }
    return FormatNumber(stroke, "0.0000");
}

} // namespace

void WriteGripperHandover(ProgramText& out, bool toGripperII) {
    out.add(toGripperII ? "M24" : "M22");
    out.add(kGripperDwell);
    out.add(toGripperII ? "M23" : "M25");
    out.add(kGripperDwell);
}

void FeedWriter::writeMove(double x, std::optional<double> y) {
    std::string line = "X" + FormatNumber(x, "0.0000");
    if (y) {
        line += " Y" + FormatNumber(*y, "0.0000");
    }
    line += " F" + FormatNumber(m_p.AutoSpeedX, "0");
    m_out.add(std::move(line));
}

void FeedWriter::writeSingleStroke() {
    const std::string speed = " F" + FormatNumber(m_p.AutoSpeedX, "0");
    m_out.add("X" + FormatNumber(m_p.GripperStroke, "0.0000") + speed);
    m_out.add("M16"); // clamp holds the strip
    m_out.add(kGripperDwell);
    m_out.add("M23"); // gripper opens
    m_out.add(kGripperDwell);
    m_out.add("X-2 F" + FormatNumber(m_p.HomeOffsetSpeedX, "0"));
    m_out.add("G04 P100");
    m_out.add("X0" + speed);
    m_out.add("M22"); // gripper closes at the start of its stroke
    m_out.add(kGripperDwell);
    m_out.add("M17");
    m_out.add(kGripperDwell);
}

void FeedWriter::writeDoubleStroke(int strokeNumber) {
    const std::string speed = " F" + FormatNumber(m_p.AutoSpeedX, "0");
    const bool odd = strokeNumber % 2 == 1;
    m_out.add((odd ? "X" + strokeText(m_p.GripperStroke) : std::string("X0")) + speed);
    WriteGripperHandover(m_out, odd);
}

void FeedWriter::feedGripper(double x, std::optional<double> y) {
    const double stroke = m_p.GripperStroke;
    if (!(stroke > 0)) {
        // No stroke to split into (the job refuses such a set-up first).
        writeMove(x, y);
        return;
    }
    // The counter is the machine's 16-bit one; a program never gets near it
    // because the program's line limit stops the writer long before.
    const double n = std::min(common::Fix(x / stroke), 32767.0);
    while (m_strokeCounter < n) {
        ++m_strokeCounter;
        if (m_p.FeedType == kFeedGripperSingle) {
            writeSingleStroke();
        } else {
            writeDoubleStroke(m_strokeCounter);
        }
    }
    const double rest = x - m_strokeCounter * stroke;
    const bool carriageAtEnd = m_p.FeedType == kFeedGripperDouble && m_strokeCounter % 2 == 1;
    writeMove(carriageAtEnd ? stroke - rest : rest, y);
}

void FeedWriter::PrintXcode(double x, std::optional<double> y) {
    if (m_p.FeedType == kFeedGripperSingle || m_p.FeedType == kFeedGripperDouble) {
        feedGripper(x, y);
    } else {
        writeMove(x, y);
    }
}

} // namespace korvel::program
