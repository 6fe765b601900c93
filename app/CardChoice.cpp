#include "app/CardChoice.h"

#include "common/Basic.h"
#include "machine/DefaultInstall.h"
#include "machine/SimulatedStartup.h"

namespace korvel::app {

namespace {

common::Message noCard(const common::Message& problem) {
    return common::error("8940A1卡未正确安装：" + problem.zh + "。改用模拟机床运行。",
                         "8940A1 motion card is not installed correctly: " + problem.en +
                             ". Running on the simulated machine.");
}

CardChoice libraryChoice(std::unique_ptr<machine::LibraryCard> card) {
    CardChoice choice;
    choice.library = card.get();
    const std::string number = common::FormatNumber(card->cardNumber(), "0");
    const std::string file = card->library().string();
    if (card->runsInVirtualTime()) {
        choice.advance = [library = choice.library](std::int64_t ms) {
            library->advanceSimulator(ms);
        };
        choice.description = common::notice(
            "运动卡驱动库 " + file + "，卡号 " + number + "（模拟驱动，虚拟时间）",
            "Card driver " + file + ", card " + number + " (simulator driver, virtual time)");
    } else {
        choice.advance = [](std::int64_t) {};
        choice.realTime = true;
        choice.description = common::notice("运动卡驱动库 " + file + "，卡号 " + number,
                                            "Card driver " + file + ", card " + number);
    }
    choice.card = std::move(card);
    return choice;
}

// The simulated machine in place of a card that cannot be used, with the
// no-card message that says why.
CardChoice fallBack(const common::AppDir& dir, const std::filesystem::path& resources,
                    std::vector<common::Message> messages, const common::Message& problem) {
    CardChoice choice = ChooseSimulatedCard(dir, resources);
    messages.push_back(noCard(problem));
    choice.messages = std::move(messages);
    choice.description =
        common::notice("模拟机床（运动卡未就绪）", "Simulated machine (motion card not ready)");
    return choice;
}

} // namespace

CardChoice ChooseSimulatedCard(const common::AppDir& dir, const std::filesystem::path& resources) {
    CardChoice choice;
    auto card = machine::MakeSimulatedCard(dir, resources);
    choice.simulated = card.get();
    choice.advance = [simulated = choice.simulated](std::int64_t ms) { simulated->advance(ms); };
    choice.description = common::notice("模拟机床", "Simulated machine");
    choice.card = std::move(card);
    return choice;
}

CardChoice ChooseCard(const common::AppDir& dir, const std::filesystem::path& resources,
                      const std::optional<std::string>& cardOption) {
    // A typing error on the command line is refused before anything starts.
    const CardSettings fromOption = cardOption ? ApplyCardOption({}, *cardOption) : CardSettings{};

    dir.create();
    machine::InstallDefaults(dir, resources);
    std::vector<common::Message> messages;
    CardSettings settings;
    try {
        settings = ReadCardSettings(dir);
    } catch (const common::UserError& e) {
        if (!cardOption) {
            // The machine maker meant some card, but which is unknown.
            return fallBack(dir, resources, {}, e.message());
        }
        // The option names the card; only the card number is lost.
        messages.push_back(e.message());
    }
    if (cardOption) {
        settings.kind = fromOption.kind;
        settings.library = fromOption.library;
    }
    if (settings.kind == CardKind::Simulated) {
        CardChoice choice = ChooseSimulatedCard(dir, resources);
        choice.messages = std::move(messages);
        return choice;
    }

    machine::LibraryCardSetup setup;
    setup.library = settings.libraryPath(dir);
    setup.cardNumber = settings.cardNumber;
    setup.applicationFolder = dir.root();
    machine::LibraryCard::Opening opening = machine::LibraryCard::open(setup);
    if (!opening.card) {
        return fallBack(dir, resources, std::move(messages), opening.problem);
    }
    CardChoice choice = libraryChoice(std::move(opening.card));
    choice.messages = std::move(messages);
    return choice;
}

} // namespace korvel::app
