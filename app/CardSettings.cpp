#include "app/CardSettings.h"

#include "common/Basic.h"
#include "common/Fields.h"
#include "common/Message.h"
#include "common/SettingLines.h"
#include "common/TextFile.h"

#include <charconv>
#include <optional>
#include <string>

namespace korvel::app {

namespace {

constexpr std::string_view kLibraryPrefix = "library:";

[[noreturn]] void badLine(size_t lineNumber, std::string_view line, std::string_view whyZh,
                          std::string_view whyEn) {
    const std::string number = common::FormatNumber(static_cast<double>(lineNumber), "0");
    throw common::UserError(common::error(
        "运动卡设置文件 Card.ini 第" + number + "行无法识别：" + std::string(line) +
            std::string(whyZh),
        "Card.ini line " + number + " cannot be read: " + std::string(line) + std::string(whyEn)));
}

std::optional<CardKind> kindNamed(std::string_view text) {
    const std::string upper = common::ToUpper(text);
    if (upper == "SIMULATED") {
        return CardKind::Simulated;
    }
    if (upper == "LIBRARY") {
        return CardKind::Library;
    }
    return std::nullopt;
}

// A whole number from 0 to kMaxCardNumber, nothing else on the line.
std::optional<int> cardNumberOf(std::string_view text) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size() || value < 0 ||
        value > kMaxCardNumber) {
        return std::nullopt;
    }
    return value;
}

common::Message badCardOption() {
    return common::error("--card 只能是 simulated 或 library:驱动库路径",
                         "--card takes simulated or library:PATH");
}

} // namespace

std::filesystem::path CardSettings::libraryPath(const common::AppDir& dir) const {
    return library.is_absolute() ? library : dir.root() / library;
}

CardSettings ParseCardSettings(std::string_view text) {
    CardSettings settings;
    const common::Lines lines = common::SplitLines(text);
    for (const common::SettingLine& setting : common::SettingLines(lines)) {
        // A line without '=' names no setting, like an unknown name.
        const std::string name = setting.hasEquals ? common::ToUpper(setting.name) : "";
        if (name == "CARD") {
            const auto kind = kindNamed(setting.value);
            if (!kind) {
                badLine(setting.number, setting.text, "（card 只能是 simulated 或 library）",
                        " (card is simulated or library)");
            }
            settings.kind = *kind;
        } else if (name == "LIBRARY") {
            settings.library = std::filesystem::path(std::string(setting.value));
        } else if (name == "CARDNUMBER") {
            const auto number = cardNumberOf(setting.value);
            if (!number) {
                badLine(setting.number, setting.text, "（卡号须为0至15的整数）",
                        " (the card number is a whole number from 0 to 15)");
            }
            settings.cardNumber = *number;
        } else {
            badLine(setting.number, setting.text, "", "");
        }
    }
    if (settings.kind == CardKind::Library && settings.library.empty()) {
        throw common::UserError(
            common::error("运动卡设置文件 Card.ini 选用了驱动库，但没有给出 library 路径",
                          "Card.ini chooses a driver library but gives no library path"));
    }
    return settings;
}

CardSettings ReadCardSettings(const common::AppDir& dir) {
    const std::filesystem::path path = dir.file(kCardFileName);
    std::error_code ec;
    if (!std::filesystem::exists(path, ec)) {
        return CardSettings{};
    }
    return ParseCardSettings(common::ReadText(path));
}

CardSettings ApplyCardOption(CardSettings settings, std::string_view option) {
    if (option == "simulated") {
        settings.kind = CardKind::Simulated;
        return settings;
    }
    if (option.starts_with(kLibraryPrefix) && option.size() > kLibraryPrefix.size()) {
        settings.kind = CardKind::Library;
        // A path typed on a command line is meant from where it was typed.
        std::error_code ec;
        const std::filesystem::path typed(std::string(option.substr(kLibraryPrefix.size())));
        const std::filesystem::path absolute = std::filesystem::absolute(typed, ec);
        settings.library = ec ? typed : absolute;
        return settings;
    }
    throw common::UserError(badCardOption());
}

std::optional<std::string> CardOptionOf(const std::vector<std::string>& arguments) {
    constexpr std::string_view kOption = "--card";
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string_view argument = arguments[i];
        if (argument.starts_with(kOption) && argument.size() > kOption.size() &&
            argument[kOption.size()] == '=') {
            return std::string(argument.substr(kOption.size() + 1));
        }
        if (argument == kOption) {
            if (i + 1 == arguments.size()) {
                throw common::UserError(badCardOption());
            }
            return arguments[i + 1];
        }
    }
    return std::nullopt;
}

} // namespace korvel::app
