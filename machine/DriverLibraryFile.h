#pragma once
// A look at a card driver's file before it is loaded: whether it is there,
// whether it is a shared library at all and whether it was built for this
// processor. Loading a library runs its code, so a file that cannot be one
// for this program is refused with a message that says why, instead of the
// loader's terse text.

#include "common/Message.h"

#include <filesystem>
#include <optional>

namespace korvel::machine {

// Nothing when the file looks like a shared library this program can load;
// otherwise what is wrong with it (the text names the file).
std::optional<common::Message> CheckDriverLibraryFile(const std::filesystem::path& file);

} // namespace korvel::machine
