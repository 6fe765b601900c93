#include "app/LaunchOptions.h"

#include "common/Message.h"
#include "machine/ParameterTable.h"

#include <cmath>
#include <cstdlib>

namespace korvel::app {

namespace {

[[noreturn]] void Refuse(const std::string& zh, const std::string& en) {
    throw common::UserError(common::error(zh + "\n" + LaunchUsage(), en + "\n" + LaunchUsage()));
}

class ArgReader {
public:
    explicit ArgReader(const std::vector<std::string>& args) : m_args(args) {}
    bool done() const { return m_next >= m_args.size(); }
    const std::string& take() { return m_args[m_next++]; }
    const std::string& value(const std::string& option) {
        if (done() || m_args[m_next].rfind("--", 0) == 0) {
            Refuse("选项 " + option + " 缺少数值", "The option " + option + " needs a value");
        }
        return take();
    }

private:
    const std::vector<std::string>& m_args;
    std::size_t m_next = 0;
};

int LanguageOf(const std::string& text) {
    if (text == "zh") {
        return 0;
    }
    if (text == "en") {
        return 1;
    }
    Refuse("语言只能是 zh 或 en：" + text, "The language is zh or en, not " + text);
}

bool AnswerOf(const std::string& text) {
    if (text == "yes" || text == "no") {
        return text == "yes";
    }
    Refuse("回答只能是 yes 或 no：" + text, "The answer is yes or no, not " + text);
}

double PlaneOf(const std::string& text) {
    const auto value = machine::ParseNumber(text);
    if (!value || !std::isfinite(*value)) {
        Refuse("加工平面需要一个数值：" + text, "The plane needs a number: " + text);
    }
    return *value;
}

} // namespace

LaunchOptions ParseLaunchOptions(const std::vector<std::string>& args) {
    LaunchOptions options;
    ArgReader reader(args);
    while (!reader.done()) {
        const std::string option = reader.take();
        if (option == "--appdir") {
            options.appDir = reader.value(option);
        } else if (option == "--lang") {
            options.languageFlag = LanguageOf(reader.value(option));
        } else if (option == "--open") {
            options.drawing = reader.value(option);
        } else if (option == "--plane") {
            options.planeZ = PlaneOf(reader.value(option));
        } else if (option == "--select-all") {
            options.selectAll = true;
        } else if (option == "--run") {
            options.run = true;
        } else if (option == "--answer") {
            options.answer = AnswerOf(reader.value(option));
        } else if (option == "--screenshot") {
            options.screenshot = reader.value(option);
        } else if (option == "--quit") {
            options.quit = true;
        } else if (option == "--card") {
            options.card = reader.value(option);
        } else {
            Refuse("未知选项：" + option, "Unknown option: " + option);
        }
    }
    if (options.planeZ && options.drawing.empty()) {
        Refuse("--plane 需要 --open", "--plane needs --open");
    }
    if (options.answer && !options.run) {
        Refuse("--answer 需要 --run", "--answer needs --run");
    }
    return options;
}

std::string LaunchUsage() {
    return "korvel [--appdir DIR] [--lang zh|en] [--open DRAWING [--plane Z]] [--select-all] "
           "[--run [--answer yes|no]] [--card simulated|library:PATH] [--screenshot FILE.png] "
           "[--quit]";
}

std::filesystem::path UserAppFolder() {
    if (const char* data = std::getenv("XDG_DATA_HOME"); data != nullptr && *data != '\0') {
        return std::filesystem::path(data) / "korvel";
    }
    if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') {
        return std::filesystem::path(home) / ".local" / "share" / "korvel";
    }
    return {};
}

} // namespace korvel::app
