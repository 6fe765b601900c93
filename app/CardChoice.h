#pragma once
// The motion card a session runs on, chosen at start-up: the card of
// Card.ini (or of the --card option), or the simulated machine when that is
// what is set, or when the card cannot be used. The window and korvel-cli
// both start here:
//
//   std::optional<std::string> option = CardOptionOf(arguments); // --card TEXT
//   CardChoice choice = ChooseCard(app, resources, option);
//   SimulatedSession session(app, resources, dialog, std::move(choice), tranParas);
//   status bar: session.cardDescription().text(language)
//
// The session shows the start-up messages through its operator dialog.
//
// A library card that cannot be used (library missing, not a shared
// library, built for another processor, a function missing, no card found,
// card number not fitted, broken Card.ini) is never half used: the start-up
// message "8940A1卡未正确安装" says what is missing and the simulated machine
// runs instead, so the operator can still prepare jobs, and the
// description says so.

#include "app/CardSettings.h"
#include "common/AppDir.h"
#include "common/Message.h"
#include "machine/LibraryCard.h"
#include "machine/MotionCard.h"
#include "machine/SimulatedCard.h"
#include "machine/VirtualClock.h"

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace korvel::app {

struct CardChoice {
    std::unique_ptr<machine::MotionCard> card;
    // The same card seen as what it is; exactly one is set.
    machine::SimulatedCard* simulated = nullptr;
    machine::LibraryCard* library = nullptr;
    // How the session's clock moves this card on by one tick interval:
    // virtual time on the simulated machine and on a simulator driver,
    // nothing on a real card, which moves by itself.
    machine::VirtualClock::Advance advance;
    // A real card runs in real time: a loop that runs the clock by itself
    // (not from a window timer) must wait for each interval to pass.
    bool realTime = false;
    // One line for the status bar and the command line's report.
    common::Message description;
    // To be shown at start-up, before the machine starts (the no-card
    // message of a card that could not be used).
    std::vector<common::Message> messages;
};

// Installs the shipped files into `dir` where missing, reads Card.ini,
// applies `cardOption` (the text after --card, when given) and opens the
// card. A bad --card text throws common::UserError before anything is
// opened; everything else that goes wrong with the card ends on the
// simulated machine with a message.
CardChoice ChooseCard(const common::AppDir& dir, const std::filesystem::path& resources,
                      const std::optional<std::string>& cardOption = std::nullopt);

// The simulated machine of `dir`, whatever Card.ini says.
CardChoice ChooseSimulatedCard(const common::AppDir& dir, const std::filesystem::path& resources);

} // namespace korvel::app
