#pragma once
// Follows one job from its start to its end for the job log: what was
// started (drawing, pieces, runs) and when, then how it ended, how much
// strip it used and how much machine time it took.

#include "app/JobLog.h"
#include "common/AppDir.h"
#include "common/Message.h"

#include <cstdint>
#include <optional>
#include <string>

namespace korvel::app {

class JobRecorder {
public:
    explicit JobRecorder(common::AppDir app) : m_app(std::move(app)) {}

    void begin(std::string drawing, int pieces, int runs, std::int64_t startMs);
    bool active() const { return m_active; }
    // Appends the job's line to JobLog.csv. A log that cannot be written is
    // reported, never lost silently, and never stops the machine.
    std::optional<common::Message> end(const common::Message* alarm, bool finished, double strip,
                                       std::int64_t endMs);
    // Machine time of the job that ended last (ms).
    std::optional<std::int64_t> lastJobMs() const { return m_lastMs; }

private:
    common::AppDir m_app;
    bool m_active = false;
    JobLogEntry m_entry;
    std::int64_t m_startMs = 0;
    std::optional<std::int64_t> m_lastMs;
};

} // namespace korvel::app
