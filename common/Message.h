#pragma once
// Texts the operator sees. Every message exists in Chinese and English and
// is chosen by the language flag (0 Chinese, 1 English) when it is shown;
// the core never shows anything itself, it hands a Message to its caller.

#include <stdexcept>
#include <string>

namespace korvel::common {

enum class Language { Chinese = 0, English = 1 };

enum class MessageKind {
    Notice,   // "操作提示" / "Operation Tips"
    Error,    // "错误" / "Wrong"
    Question, // a yes/no question, titled as a notice
};

struct Message {
    std::string zh;
    std::string en;
    MessageKind kind = MessageKind::Notice;

    const std::string& text(Language lang) const { return lang == Language::English ? en : zh; }
    std::string title(Language lang) const;
    bool empty() const { return zh.empty() && en.empty(); }
};

inline Message notice(std::string zh, std::string en) {
    return {std::move(zh), std::move(en), MessageKind::Notice};
}
inline Message error(std::string zh, std::string en) {
    return {std::move(zh), std::move(en), MessageKind::Error};
}
inline Message question(std::string zh, std::string en) {
    return {std::move(zh), std::move(en), MessageKind::Question};
}

// An error the operator must see (bad drawing, unreadable file, absurd
// value). Bugs are not UserErrors: they are assertions or other exceptions.
class UserError : public std::runtime_error {
public:
    explicit UserError(Message message)
        : std::runtime_error(message.en), m_message(std::move(message)) {}
    const Message& message() const { return m_message; }

private:
    Message m_message;
};

} // namespace korvel::common
