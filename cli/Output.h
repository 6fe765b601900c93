#pragma once
// How korvel-cli shows the machine's messages: "title: text" in the
// language chosen with --lang (English unless "--lang zh"); errors go to
// standard error, everything else to standard output.

#include "common/Message.h"
#include "geometry/DrawingOpener.h"

#include <string>
#include <vector>

namespace korvel::cli {

// The language named by "--lang" in the arguments.
common::Language LanguageOf(const std::vector<std::string>& args);

void PrintMessage(const common::Message& message, common::Language lang);
void PrintMessages(const std::vector<common::Message>& messages, common::Language lang);

// What an opened drawing holds ("outlines N points P nodes K") and, when
// outlines were left out, stay open or parts were skipped, the summary
// message for the drawing called `name`.
void PrintOpenSummary(const geometry::OpenSummary& summary, const std::string& name,
                      common::Language lang);

} // namespace korvel::cli
