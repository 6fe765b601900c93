#include "machine/Dialect.h"

#include "common/Basic.h"

#include <charconv>
#include <cmath>

namespace korvel::machine {

namespace {

// The word letters in the order of Word.
constexpr std::string_view kLetters = "XYZAGMFP";

// Index of a word letter in either case, -1 for any other character.
int letterIndex(char c) {
    const char upper = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
    const size_t at = kLetters.find(upper);
    return at == std::string_view::npos ? -1 : static_cast<int>(at);
}

constexpr OutputCode kOutputCodes[] = {
    {"10", 0, 1, -1}, // cutter spin on
    {"11", 0, 0, -1}, // cutter spin off
    {"12", 1, 1, -1}, // cutter out
    {"13", 1, 0, -1}, //
    {"14", 2, 1, -1}, // cutter back
    {"15", 2, 0, -1}, //
    {"16", 3, 1, 11}, // material clamp, with its companion output
    {"17", 3, 0, 11}, //
    {"18", 4, 1, -1}, // bender I in/out
    {"19", 4, 0, -1}, //
    {"20", 5, 1, -1}, // bender II in/out
    {"21", 5, 0, -1}, //
    {"22", 4, 1, -1}, // gripper I clamp: the bender I output
    {"23", 4, 0, -1}, //
    {"24", 5, 1, -1}, // gripper II clamp: the bender II output
    {"25", 5, 0, -1}, //
};

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

} // namespace

Words splitWords(std::string_view line) {
    Words words;
    std::string* current = nullptr;
    for (char c : line) {
        const int index = letterIndex(c);
        if (index >= 0) {
            current = &words[static_cast<Word>(index)];
        } else if (c == ' ') {
            current = nullptr;
        } else if (c == ';') {
            break;
        } else if (current != nullptr) {
            current->push_back(c);
        }
    }
    return words;
}

double wordValue(std::string_view text) {
    size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    const size_t start = i;
    bool anyDigit = false;
    for (; i < text.size() && isDigit(text[i]); ++i) {
        anyDigit = true;
    }
    if (i < text.size() && text[i] == '.') {
        for (++i; i < text.size() && isDigit(text[i]); ++i) {
            anyDigit = true;
        }
    }
    if (!anyDigit) {
        return 0.0;
    }
    // The nearest double to the decimal text: "X0.0025" with 200 pulses per
    // mm must give exactly half a pulse, which then rounds to even.
    double value = 0.0;
    const char* first = text.data() + start;
    const auto [end, error] = std::from_chars(first, text.data() + i, value);
    if (error != std::errc() || end == first || !std::isfinite(value)) {
        return 0.0;
    }
    return negative ? -value : value;
}

double Words::value(Word word) const {
    return wordValue((*this)[word]);
}

const OutputCode* findOutputCode(std::string_view mValue) {
    for (const OutputCode& entry : kOutputCodes) {
        if (entry.value == mValue) {
            return &entry;
        }
    }
    return nullptr;
}

bool isHomingCode(std::string_view mValue) {
    return mValue == code::kHomeX || mValue == code::kHomeY || mValue == code::kReturnZ ||
           mValue == code::kHomeA || mValue == code::kToolSetA;
}

void LineBuilder::separate() {
    if (!m_text.empty()) {
        m_text.push_back(' ');
    }
}

LineBuilder& LineBuilder::word(char letter, double value, std::string_view pattern) {
    separate();
    m_text.push_back(letter);
    m_text += common::FormatNumber(value, pattern);
    return *this;
}

LineBuilder& LineBuilder::word(char letter, std::string_view valueText) {
    separate();
    m_text.push_back(letter);
    m_text += valueText;
    return *this;
}

LineBuilder& LineBuilder::comment(std::string_view text) {
    m_text += " ;";
    m_text += text;
    return *this;
}

std::string dwellLine(double milliseconds) {
    return LineBuilder().word('G', "04").word('P', milliseconds, "0").str();
}

std::string mLine(std::string_view value) {
    return LineBuilder().word('M', value).str();
}

} // namespace korvel::machine
