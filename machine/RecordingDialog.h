#pragma once
// An operator dialog that keeps every message it was given and answers
// every question with a fixed answer: the command line's and the tests'
// operator.

#include "machine/OperatorDialog.h"

#include <functional>
#include <vector>

namespace korvel::machine {

class RecordingDialog : public OperatorDialog {
public:
    struct Entry {
        common::Message message;
        bool question = false;
        bool answer = false;
    };

    explicit RecordingDialog(bool answer = false) : m_answer(answer) {}

    void show(const common::Message& message) override;
    bool ask(const common::Message& message) override;

    void setAnswer(bool answer) { m_answer = answer; }
    // Called with every entry as it arrives (the command line prints them).
    void setListener(std::function<void(const Entry&)> listener) {
        m_listener = std::move(listener);
    }

    const std::vector<Entry>& entries() const { return m_entries; }
    // True when a message with this Chinese text was raised.
    bool saw(const std::string& zh) const;
    void clear() { m_entries.clear(); }

private:
    void record(Entry entry);

    bool m_answer;
    std::vector<Entry> m_entries;
    std::function<void(const Entry&)> m_listener;
};

} // namespace korvel::machine
