#pragma once
// Which motion card the program drives, as the machine maker set it in
// Card.ini in the application folder:
//
//   ; the simulated machine, or the card's driver library
//   card = library
//   library = /opt/cards/libcard8940.so
//   cardnumber = 0
//
// Names are case-insensitive, blanks around '=' do not count, lines that
// start with ';' or '#' are comments. A relative library path is taken from
// the application folder. A missing file means the simulated machine.
//
// On the command line --card simulated or --card library:PATH overrides the
// card and its library; the card number always comes from the file.

#include "common/AppDir.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korvel::app {

inline constexpr std::string_view kCardFileName = "Card.ini";
// Card numbers a machine may give (one PC holds at most this many cards).
inline constexpr int kMaxCardNumber = 15;

enum class CardKind { Simulated, Library };

struct CardSettings {
    CardKind kind = CardKind::Simulated;
    // As written; see libraryPath() for where it is looked for.
    std::filesystem::path library;
    int cardNumber = 0;

    // The library file: a relative path lies in the application folder.
    std::filesystem::path libraryPath(const common::AppDir& dir) const;
    bool operator==(const CardSettings&) const = default;
};

// The settings in Card.ini text. Throws common::UserError naming the line
// that cannot be read, or saying what is missing.
CardSettings ParseCardSettings(std::string_view text);
// Card.ini of the application folder; the simulated machine when there is
// none. Throws common::UserError for a broken file.
CardSettings ReadCardSettings(const common::AppDir& dir);

// The --card option ("simulated" or "library:PATH") applied to `settings`;
// a relative PATH is taken from the working folder, like any path typed on
// a command line. Throws common::UserError for any other text.
CardSettings ApplyCardOption(CardSettings settings, std::string_view option);

// The text of "--card TEXT" or "--card=TEXT" among a program's arguments
// (the window's command line), nothing when it is not there. Throws
// common::UserError when --card is the last argument.
std::optional<std::string> CardOptionOf(const std::vector<std::string>& arguments);

} // namespace korvel::app
