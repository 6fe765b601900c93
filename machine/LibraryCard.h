#pragma once
// A motion card driven through its maker's driver library: a shared library
// exporting the C functions of machine/CardDriverAbi.h, loaded at run time so
// that a machine maker points the program at his card without a rebuild.
//
// Opening is all or nothing. The file is checked, loaded once, and every
// function is resolved before any is called; then the driver is initialised
// and must report the configured card. Anything short of that leaves the
// card unopened with a message naming what is missing, and nothing on the
// machine has been touched except the driver's own initialisation. Nothing
// is loaded or resolved again afterwards, so a library file replaced or
// removed while the program runs changes nothing.
//
// The program addresses the card as card 0 throughout; this card hands the
// configured card number to the driver on every call instead. Calls with an
// argument out of range are refused here, like on every card, and never
// reach the driver.
//
// Error codes: an operation that returns a status passes the driver's code
// on; a read-back has no room for one, so a failed read gives the value
// that holds the machine where it is (busy, queue not empty, position 0,
// input 1 = not pressed, output 0). Either way the first refused call is
// kept for takeFault(), which the executor turns into a stop and a message.

#include "common/Message.h"
#include "machine/MotionCard.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <type_traits>

namespace korvel::machine {

struct LibraryCardSetup {
    std::filesystem::path library;
    // The card number the driver is given on every call.
    int cardNumber = 0;
    // Handed to a simulator driver's korvel_sim_folder.
    std::filesystem::path applicationFolder;
};

class LibraryCard : public MotionCard {
public:
    struct Opening {
        std::unique_ptr<LibraryCard> card; // empty when the card could not be opened
        common::Message problem;           // what is missing, naming the library
    };

    static Opening open(const LibraryCardSetup& setup);

    LibraryCard(const LibraryCard&) = delete;
    LibraryCard& operator=(const LibraryCard&) = delete;
    ~LibraryCard() override;

    // The driver was initialised when the card was opened, and only then; a
    // second initialisation could reset a card that is already configured,
    // so this returns the number of cards found at opening.
    int adt8940a1_initial() override;
    int set_limit_mode(int card, int axis, int positiveEnable, int negativeEnable,
                       int level) override;
    int set_stop0_mode(int card, int axis, int enable, int level) override;
    int set_stop1_mode(int card, int axis, int enable, int level) override;
    int set_startv(int card, int axis, std::int32_t pulsesPerSecond) override;
    int set_speed(int card, int axis, std::int32_t pulsesPerSecond) override;
    int set_acc(int card, int axis, std::int32_t acceleration) override;
    int pmove(int card, int axis, std::int32_t pulses) override;
    int dec_stop(int card, int axis) override;
    int get_status(int card, int axis) override;
    int get_inp_status(int card) override;
    int fifo_inp_move2(int card, int axis1, int axis2, std::int32_t delta1, std::int32_t delta2,
                       std::int32_t speed) override;
    int reset_fifo(int card) override;
    int read_fifo_empty(int card) override;
    std::int32_t get_command_pos(int card, int axis) override;
    std::int32_t get_actual_pos(int card, int axis) override;
    int set_command_pos(int card, int axis, std::int32_t value) override;
    int set_actual_pos(int card, int axis, std::int32_t value) override;
    std::int32_t get_speed(int card, int axis) override;
    int read_bit(int card, int input) override;
    int write_bit(int card, int output, int value) override;
    int get_out(int card, int output) override;
    std::optional<CardFault> takeFault() override;

    // A simulator driver keeps its own time: true when it exports
    // korvel_sim_advance, which advanceSimulator calls.
    bool runsInVirtualTime() const;
    void advanceSimulator(std::int64_t milliseconds);

    const std::filesystem::path& library() const { return m_library; }
    int cardNumber() const { return m_number; }

private:
    struct Functions;

    LibraryCard(std::filesystem::path library, int cardNumber, int cardsFound,
                std::unique_ptr<Functions> functions);

    // An axis operation answering with a status code: refused here for an
    // argument out of range, otherwise the driver's code (noted when not 0).
    template <typename... Args>
    int axisCommand(const char* function, int card, int axis, int (*call)(int, int, Args...),
                    std::type_identity_t<Args>... args);
    // A position or speed of an axis through the driver's pointer: 0 when
    // refused.
    std::int32_t axisRead(const char* function, int card, int axis,
                          int (*call)(int, int, std::int32_t*));
    // The driver's status code, noting a refusal.
    int status(const char* function, int code);
    // A read-back through the driver's pointer; `onError` when refused.
    std::int32_t readBack(const char* function, int code, std::int32_t value, std::int32_t onError);
    // A 0/1 value returned directly; negative is an error code.
    int levelOf(const char* function, int result, int onError);
    void note(const char* function, int code);

    std::filesystem::path m_library;
    int m_number;
    int m_cardsFound;
    std::unique_ptr<Functions> m_f;
    std::optional<CardFault> m_fault;
};

} // namespace korvel::machine
