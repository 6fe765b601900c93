// A card driver library for the tests: the C functions of the driver
// interface over the simulated machine, so that a whole job can run through
// LibraryCard and be compared call by call with the same job on the
// simulated card. It is a simulator driver: it reads the machine of the
// application folder it is given and keeps virtual time.
//
// Besides the driver interface it exports controls for the tests (korvel_test_*):
// how many cards the initialisation finds, a function made to return an
// error code on every call, the recording of every call, and how many calls
// carried which card number. Every loaded copy of the library file is a
// fresh driver, so each test loads its own copy.
//
// Built with KORVEL_DRIVER_WITHOUT_GET_SPEED it lacks get_speed, as a
// driver written against an older table would.

#include "machine/CardDriverAbi.h"
#include "machine/SimulatedCard.h"
#include "machine/SimulatedStartup.h"

#include <exception>
#include <map>
#include <memory>
#include <string>

namespace {

using korvel::machine::SimulatedCard;

struct Driver {
    std::unique_ptr<SimulatedCard> card;
    int cardsFitted = 1;
    bool recording = false;
    std::map<std::string, int> failing;
    long long calls = 0;
    std::map<int, long long> callsOnCard;
    std::string recordingText;
};

Driver& driver() {
    static Driver d;
    return d;
}

SimulatedCard& simulated() {
    Driver& d = driver();
    if (!d.card) {
        d.card = std::make_unique<SimulatedCard>();
    }
    return *d.card;
}

// One call of the driver interface: counted with its card number, refused
// with the code it is made to fail with, refused for a card that is not
// fitted, otherwise done on card 0 of the simulated machine.
template <typename Call> int forward(const char* function, int card, Call call) {
    Driver& d = driver();
    ++d.calls;
    ++d.callsOnCard[card];
    if (const auto it = d.failing.find(function); it != d.failing.end()) {
        return it->second;
    }
    if (!d.card || card < 0 || card >= d.cardsFitted) {
        return korvel::machine::kCardBadArgument;
    }
    return call(*d.card);
}

} // namespace

extern "C" {

KORVEL_CARD_EXPORT int korvel_sim_folder(const char* application_folder) {
    try {
        Driver& d = driver();
        d.card = korvel::machine::MakeSimulatedCard(korvel::common::AppDir(application_folder), {});
        d.card->setRecording(d.recording ? korvel::machine::RecordLevel::All
                                         : korvel::machine::RecordLevel::Off);
        return 0;
    } catch (const std::exception&) {
        return -1;
    }
}

KORVEL_CARD_EXPORT int korvel_sim_advance(int milliseconds) {
    simulated().advance(milliseconds);
    return 0;
}

KORVEL_CARD_EXPORT int adt8940a1_initial(void) {
    Driver& d = driver();
    if (const auto it = d.failing.find("adt8940a1_initial"); it != d.failing.end()) {
        return it->second;
    }
    return simulated().adt8940a1_initial() >= 1 ? d.cardsFitted : 0;
}

KORVEL_CARD_EXPORT int set_limit_mode(int card, int axis, int positive_enable, int negative_enable,
                                      int level) {
    return forward("set_limit_mode", card, [&](SimulatedCard& c) {
        return c.set_limit_mode(0, axis, positive_enable, negative_enable, level);
    });
}

KORVEL_CARD_EXPORT int set_stop0_mode(int card, int axis, int enable, int level) {
    return forward("set_stop0_mode", card,
                   [&](SimulatedCard& c) { return c.set_stop0_mode(0, axis, enable, level); });
}

KORVEL_CARD_EXPORT int set_stop1_mode(int card, int axis, int enable, int level) {
    return forward("set_stop1_mode", card,
                   [&](SimulatedCard& c) { return c.set_stop1_mode(0, axis, enable, level); });
}

KORVEL_CARD_EXPORT int set_startv(int card, int axis, int32_t pulses_per_second) {
    return forward("set_startv", card,
                   [&](SimulatedCard& c) { return c.set_startv(0, axis, pulses_per_second); });
}

KORVEL_CARD_EXPORT int set_speed(int card, int axis, int32_t pulses_per_second) {
    return forward("set_speed", card,
                   [&](SimulatedCard& c) { return c.set_speed(0, axis, pulses_per_second); });
}

KORVEL_CARD_EXPORT int set_acc(int card, int axis, int32_t acceleration) {
    return forward("set_acc", card,
                   [&](SimulatedCard& c) { return c.set_acc(0, axis, acceleration); });
}

KORVEL_CARD_EXPORT int pmove(int card, int axis, int32_t pulses) {
    return forward("pmove", card, [&](SimulatedCard& c) { return c.pmove(0, axis, pulses); });
}

KORVEL_CARD_EXPORT int dec_stop(int card, int axis) {
    return forward("dec_stop", card, [&](SimulatedCard& c) { return c.dec_stop(0, axis); });
}

KORVEL_CARD_EXPORT int get_status(int card, int axis, int32_t* moving) {
    return forward("get_status", card, [&](SimulatedCard& c) {
        *moving = c.get_status(0, axis);
        return 0;
    });
}

KORVEL_CARD_EXPORT int get_inp_status(int card, int32_t* running) {
    return forward("get_inp_status", card, [&](SimulatedCard& c) {
        *running = c.get_inp_status(0);
        return 0;
    });
}

KORVEL_CARD_EXPORT int fifo_inp_move2(int card, int axis1, int axis2, int32_t delta1,
                                      int32_t delta2, int32_t speed) {
    return forward("fifo_inp_move2", card, [&](SimulatedCard& c) {
        return c.fifo_inp_move2(0, axis1, axis2, delta1, delta2, speed);
    });
}

KORVEL_CARD_EXPORT int reset_fifo(int card) {
    return forward("reset_fifo", card, [](SimulatedCard& c) { return c.reset_fifo(0); });
}

KORVEL_CARD_EXPORT int read_fifo_empty(int card) {
    return forward("read_fifo_empty", card, [](SimulatedCard& c) { return c.read_fifo_empty(0); });
}

KORVEL_CARD_EXPORT int get_command_pos(int card, int axis, int32_t* position) {
    return forward("get_command_pos", card, [&](SimulatedCard& c) {
        *position = c.get_command_pos(0, axis);
        return 0;
    });
}

KORVEL_CARD_EXPORT int get_actual_pos(int card, int axis, int32_t* position) {
    return forward("get_actual_pos", card, [&](SimulatedCard& c) {
        *position = c.get_actual_pos(0, axis);
        return 0;
    });
}

KORVEL_CARD_EXPORT int set_command_pos(int card, int axis, int32_t position) {
    return forward("set_command_pos", card,
                   [&](SimulatedCard& c) { return c.set_command_pos(0, axis, position); });
}

KORVEL_CARD_EXPORT int set_actual_pos(int card, int axis, int32_t position) {
    return forward("set_actual_pos", card,
                   [&](SimulatedCard& c) { return c.set_actual_pos(0, axis, position); });
}

#ifndef KORVEL_DRIVER_WITHOUT_GET_SPEED
KORVEL_CARD_EXPORT int get_speed(int card, int axis, int32_t* speed) {
    return forward("get_speed", card, [&](SimulatedCard& c) {
        *speed = c.get_speed(0, axis);
        return 0;
    });
}
#endif

KORVEL_CARD_EXPORT int read_bit(int card, int input) {
    return forward("read_bit", card, [&](SimulatedCard& c) { return c.read_bit(0, input); });
}

KORVEL_CARD_EXPORT int write_bit(int card, int output, int value) {
    return forward("write_bit", card,
                   [&](SimulatedCard& c) { return c.write_bit(0, output, value); });
}

KORVEL_CARD_EXPORT int get_out(int card, int output) {
    return forward("get_out", card, [&](SimulatedCard& c) { return c.get_out(0, output); });
}

// --- controls for the tests -------------------------------------------------

// Cards the initialisation reports (default 1; 0 = no card).
KORVEL_CARD_EXPORT void korvel_test_set_cards(int count) {
    driver().cardsFitted = count;
}

// From now on `function` returns `code` on every call without acting; code
// 0 lets it work again.
KORVEL_CARD_EXPORT void korvel_test_fail(const char* function, int code) {
    if (code == 0) {
        driver().failing.erase(function);
    } else {
        driver().failing[function] = code;
    }
}

// Records every call on the simulated machine from its creation on (set
// before the card is opened).
KORVEL_CARD_EXPORT void korvel_test_record(int on) {
    driver().recording = on != 0;
}

// Calls of the interface that carried a card number: all of them (card
// -1) or those with the given number.
KORVEL_CARD_EXPORT long long korvel_test_calls(int card) {
    const Driver& d = driver();
    if (card < 0) {
        return d.calls;
    }
    const auto it = d.callsOnCard.find(card);
    return it == d.callsOnCard.end() ? 0 : it->second;
}

// The recording as "<ms> <call or output change>" lines joined by '\n';
// valid until the next call of this function.
KORVEL_CARD_EXPORT const char* korvel_test_recording(void) {
    Driver& d = driver();
    d.recordingText.clear();
    if (d.card) {
        for (const std::string& line : d.card->recordingLines()) {
            d.recordingText += line;
            d.recordingText += '\n';
        }
    }
    return d.recordingText.c_str();
}

} // extern "C"
