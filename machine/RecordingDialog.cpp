#include "machine/RecordingDialog.h"

namespace korvel::machine {

void RecordingDialog::show(const common::Message& message) {
    record({message, false, false});
}

bool RecordingDialog::ask(const common::Message& message) {
    record({message, true, m_answer});
    return m_answer;
}

bool RecordingDialog::saw(const std::string& zh) const {
    for (const auto& e : m_entries) {
        if (e.message.zh == zh) {
            return true;
        }
    }
    return false;
}

void RecordingDialog::record(Entry entry) {
    m_entries.push_back(std::move(entry));
    if (m_listener) {
        m_listener(m_entries.back());
    }
}

} // namespace korvel::machine
