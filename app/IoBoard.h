#pragma once
// The IO window's rules: which input and output each lamp shows, which
// output buttons the machine's configuration offers, what each button and
// each output label switches, and the lamp states read from the card.
// Output changes act at once and are not saved; a program running at the
// same time may switch the same outputs, the lamps show whatever the card
// reports.

#include "app/Captions.h"
#include "machine/ManualHoming.h"
#include "machine/MotionCard.h"
#include "machine/ParameterSet.h"

#include <array>
#include <cstdint>
#include <string>

namespace korvel::app {

inline constexpr int kIoInputLamps = 14;
inline constexpr int kIoOutputLamps = 8;

struct IoLamp {
    std::string key; // objectName of the caption label ("Label7", "Label21_3")
    int bit;         // card input or output
    std::string zh;  // built-in caption
};

// Label1 .. Label14 in caption-file order. IN18 and IN19 are the infeed
// limit switches when the machine uses them (InfeedLimitActive 1),
// otherwise the feed and retract buttons.
std::array<IoLamp, kIoInputLamps> InputLamps(const machine::ParameterSet& params);
// English captions of IN18 and IN19 as the feed and retract buttons (the
// caption file holds the infeed-limit ones).
std::array<std::string, 2> ButtonInputCaptionsEnglish();
// Label21(0) .. Label21(7): outputs 0 .. 7.
const std::array<IoLamp, kIoOutputLamps>& OutputLamps();

// The window's captions in the order of IO_Form.txt; the lines of the
// spare lamp labels (18 to 23, 32, 33) are read and ignored.
CaptionTable IoFormCaptions(const machine::ParameterSet& params);

// Command1(0..7) "刀转" .. "机械手II": which are offered by the
// configuration.
std::array<bool, kIoOutputLamps> OutputButtonsEnabled(const machine::ParameterSet& params);

struct IoLampStates {
    std::array<bool, kIoInputLamps> inputs{};
    std::array<bool, kIoOutputLamps> outputs{};
    bool operator==(const IoLampStates&) const = default;
};

class IoBoard {
public:
    IoBoard(machine::MotionCard& card, machine::ManualHoming& cutter,
            const machine::ParameterSet& params)
        : m_card(card), m_cutter(cutter), m_inputs(InputLamps(params)) {}

    // Input lamps are lit while their input reads 1, output lamps while
    // the output is on.
    IoLampStates read();
    // Command1(button).
    void pressButton(int button);
    // A click on output label `output`: inverts it at operator level 2
    // only. Returns true when the output was switched.
    bool clickOutputLabel(int output, std::int16_t userLevel);

private:
    machine::MotionCard& m_card;
    machine::ManualHoming& m_cutter;
    std::array<IoLamp, kIoInputLamps> m_inputs;
};

} // namespace korvel::app
