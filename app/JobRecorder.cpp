#include "app/JobRecorder.h"

namespace korvel::app {

void JobRecorder::begin(std::string drawing, int pieces, int runs, std::int64_t startMs) {
    m_active = true;
    m_entry = {};
    m_entry.time = LocalTimeText();
    m_entry.drawing = std::move(drawing);
    m_entry.pieces = pieces;
    m_entry.runs = runs;
    m_startMs = startMs;
}

std::optional<common::Message> JobRecorder::end(const common::Message* alarm, bool finished,
                                                double strip, std::int64_t endMs) {
    if (!m_active) {
        return std::nullopt;
    }
    m_active = false;
    m_lastMs = endMs - m_startMs;
    m_entry.strip = strip;
    m_entry.seconds = static_cast<double>(*m_lastMs) / 1000.0;
    m_entry.ended = finished ? "finished" : (alarm != nullptr ? "alarm" : "stopped");
    if (alarm != nullptr) {
        m_entry.message = alarm->zh == alarm->en ? alarm->zh : alarm->zh + " / " + alarm->en;
    }
    try {
        AppendJobLog(m_app, m_entry);
    } catch (const common::UserError& e) {
        return e.message();
    }
    return std::nullopt;
}

} // namespace korvel::app
