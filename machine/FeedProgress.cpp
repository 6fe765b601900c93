#include "machine/FeedProgress.h"

#include "common/Basic.h"
#include "machine/AxisUnits.h"
#include "machine/Dialect.h"
#include "machine/ParameterSet.h"
#include "machine/RunState.h"

#include <cmath>

namespace korvel::machine {

namespace {

bool startsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

bool carriageReturning(int feedType, double strokes) {
    return feedType == 2 && std::fmod(strokes, 2.0) >= 1.0;
}

double stripOf(int feedType, double stroke, double strokes, double x) {
    if (feedType != 1 && feedType != 2) {
        return x;
    }
    return strokes * stroke + (carriageReturning(feedType, strokes) ? stroke - x : x);
}

} // namespace

bool FeedProgress::isStrokeLine(std::string_view line, const ParameterSet& params) {
    if (params.FeedType == 1) {
        return startsWith(line, "X0 F");
    }
    if (params.FeedType == 2) {
        const std::string speed = common::FormatNumber(params.AutoSpeedX, "0");
        return line == "X0 F" + speed ||
               line == "X" + common::FormatNumber(params.GripperStroke, "0") + " F" + speed;
    }
    return false;
}

double FeedProgress::stripFed(const ParameterSet& params, double strokes, double x) {
    return stripOf(params.FeedType, params.GripperStroke, strokes, x);
}

double FeedProgress::carriageDirection(const ParameterSet& params, double strokes) {
    return carriageReturning(params.FeedType, strokes) ? -1.0 : 1.0;
}

void FeedProgress::clear() {
    m_planned = false;
    m_end = 0.0;
    m_offset = 0.0;
    m_anchors.clear();
    m_nextAnchor = 0;
}

void FeedProgress::plan(const RunState& run, const ParameterSet& params, std::int32_t startX) {
    clear();
    m_pulseEquivX = params.PulseEquivX > 0 ? params.PulseEquivX : 1.0;
    m_feedType = params.FeedType;
    m_stroke = params.GripperStroke;
    const auto snapped = [this](double units) {
        return static_cast<double>(ToPulses(units, m_pulseEquivX)) / m_pulseEquivX;
    };

    double offset = 0.0;
    double strokes = 0.0;
    double x = 0.0;
    const auto fedNow = [&] { return offset + stripOf(m_feedType, m_stroke, strokes, x); };
    for (int i = 0; i < run.LineCount; ++i) {
        const std::string_view text = run.line(i);
        if (text == line::kPassOver) {
            continue;
        }
        const Words words = splitWords(text);
        const std::string& g = words[Word::G];
        if (g == code::kSetPosition) {
            if (words.has(Word::X)) {
                const double before = fedNow();
                x = snapped(words.value(Word::X));
                offset = before - stripOf(m_feedType, m_stroke, strokes, x);
                m_anchors.push_back({i, offset});
            }
            continue;
        }
        if (g == code::kDwell) {
            continue;
        }
        if (isStrokeLine(text, params)) {
            strokes += 1.0;
        }
        if (words.has(Word::X)) {
            x = snapped(words.value(Word::X));
        }
        if (isHomingCode(words[Word::M])) {
            ++i; // the line after a homing code never runs
        }
    }
    m_end = fedNow();
    m_offset = -static_cast<double>(startX) / m_pulseEquivX;
    m_planned = true;
}

void FeedProgress::passLine(int index) {
    while (m_nextAnchor < m_anchors.size() && m_anchors[m_nextAnchor].line < index) {
        ++m_nextAnchor;
    }
    if (m_nextAnchor < m_anchors.size() && m_anchors[m_nextAnchor].line == index) {
        m_offset = m_anchors[m_nextAnchor].offset;
        ++m_nextAnchor;
    }
}

double FeedProgress::fed(std::int32_t xPulses, double strokes) const {
    return m_offset +
           stripOf(m_feedType, m_stroke, strokes, static_cast<double>(xPulses) / m_pulseEquivX);
}

} // namespace korvel::machine
