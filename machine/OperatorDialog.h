#pragma once
// The operator's side of the machine: notices, alarms and yes/no questions
// raised while the machine runs. The window shows them as message boxes in
// the current language; the command line prints them and answers questions
// from its options; tests answer them programmatically. Calls come from the
// executor's tick and from the manual operations, always on the one thread
// that drives the machine.

#include "common/Message.h"

namespace korvel::machine {

class OperatorDialog {
public:
    virtual ~OperatorDialog() = default;
    // A notice or an error; returns when the operator has acknowledged it.
    virtual void show(const common::Message& message) = 0;
    // A yes/no question; true for Yes.
    virtual bool ask(const common::Message& message) = 0;
};

} // namespace korvel::machine
