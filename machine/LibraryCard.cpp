#include "machine/LibraryCard.h"

#include "common/Basic.h"
#include "machine/AxisUnits.h"
#include "machine/CardDriverAbi.h"
#include "machine/DriverLibraryFile.h"

#include <algorithm>
#include <dlfcn.h>
#include <limits>
#include <string>
#include <vector>

namespace korvel::machine {

// Every function of the driver, in the order of the card's table; each is
// resolved under its own name.
#define KORVEL_CARD_FUNCTIONS(X)                                                                   \
    X(adt8940a1_initial)                                                                           \
    X(set_limit_mode)                                                                              \
    X(set_stop0_mode)                                                                              \
    X(set_stop1_mode)                                                                              \
    X(set_startv)                                                                                  \
    X(set_speed)                                                                                   \
    X(set_acc)                                                                                     \
    X(pmove)                                                                                       \
    X(dec_stop)                                                                                    \
    X(get_status)                                                                                  \
    X(get_inp_status)                                                                              \
    X(fifo_inp_move2)                                                                              \
    X(reset_fifo)                                                                                  \
    X(read_fifo_empty)                                                                             \
    X(get_command_pos)                                                                             \
    X(get_actual_pos)                                                                              \
    X(set_command_pos)                                                                             \
    X(set_actual_pos)                                                                              \
    X(get_speed)                                                                                   \
    X(read_bit)                                                                                    \
    X(write_bit)                                                                                   \
    X(get_out)

struct LibraryCard::Functions {
// A member named after the function, typed by its declaration (a name, so
// it cannot be put in parentheses).
#define KORVEL_CARD_SLOT(name)                                                                     \
    decltype(&::name) name = nullptr; // NOLINT(bugprone-macro-parentheses)
    KORVEL_CARD_FUNCTIONS(KORVEL_CARD_SLOT)
#undef KORVEL_CARD_SLOT
    // Simulators only; may be missing.
    decltype(&::korvel_sim_folder) simFolder = nullptr;
    decltype(&::korvel_sim_advance) simAdvance = nullptr;
};

namespace {

template <typename Function> Function lookUp(void* handle, const char* name) {
    // POSIX guarantees that a function's address survives the trip through
    // dlsym's void*.
    return reinterpret_cast<Function>(dlsym(handle, name));
}

template <typename Function>
void resolve(void* handle, const char* name, Function& slot, std::vector<std::string>& missing) {
    slot = lookUp<Function>(handle, name);
    if (slot == nullptr) {
        missing.emplace_back(name);
    }
}

std::string joined(const std::vector<std::string>& names) {
    std::string text;
    for (const std::string& name : names) {
        text += (text.empty() ? "" : ", ") + name;
    }
    return text;
}

std::string number(long long value) {
    return common::FormatNumber(static_cast<double>(value), "0");
}

bool validAxis(int card, int axis) {
    return card == kCard && axis >= 1 && axis <= kCardAxisCount;
}
bool validInput(int card, int input) {
    return card == kCard && input >= 0 && input < kCardInputCount;
}
bool validOutput(int card, int output) {
    return card == kCard && output >= 0 && output < kCardOutputCount;
}

} // namespace

LibraryCard::Opening LibraryCard::open(const LibraryCardSetup& setup) {
    const std::string name = setup.library.string();
    if (auto problem = CheckDriverLibraryFile(setup.library)) {
        return {nullptr, *problem};
    }
    // Every symbol is bound now, so a driver that needs a library this
    // system lacks fails here and not in the middle of a job.
    void* handle = dlopen(setup.library.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        const char* why = dlerror();
        const std::string reason = why != nullptr ? why : "";
        return {nullptr, common::error("无法加载驱动库 " + name + "：" + reason,
                                       "driver library " + name + " cannot be loaded: " + reason)};
    }
    auto f = std::make_unique<Functions>();
    std::vector<std::string> missing;
#define KORVEL_CARD_RESOLVE(fn) resolve(handle, #fn, f->fn, missing);
    KORVEL_CARD_FUNCTIONS(KORVEL_CARD_RESOLVE)
#undef KORVEL_CARD_RESOLVE
    if (!missing.empty()) {
        // None of the driver's functions has run: it can go again.
        dlclose(handle);
        return {nullptr,
                common::error("驱动库 " + name + " 缺少函数 " + joined(missing),
                              "driver library " + name + " lacks " +
                                  (missing.size() == 1 ? "the function " : "the functions ") +
                                  joined(missing))};
    }
    f->simFolder = lookUp<decltype(f->simFolder)>(handle, "korvel_sim_folder");
    f->simAdvance = lookUp<decltype(f->simAdvance)>(handle, "korvel_sim_advance");

    // From here on the driver's code has run; it may have opened the device
    // or started threads, so the library stays loaded until the program ends.
    if (f->simFolder != nullptr) {
        const std::string folder = setup.applicationFolder.string();
        if (const int code = f->simFolder(folder.c_str()); code != 0) {
            return {nullptr,
                    common::error("模拟驱动库 " + name + " 不接受应用文件夹 " + folder + "（返回 " +
                                      number(code) + "）",
                                  "simulator driver " + name + " refused the application folder " +
                                      folder + " (code " + number(code) + ")")};
        }
    }
    const int found = f->adt8940a1_initial();
    if (found < 1) {
        return {nullptr,
                common::error("驱动库 " + name + " 没有找到运动卡（adt8940a1_initial 返回 " +
                                  number(found) + "）",
                              "driver library " + name +
                                  " found no card (adt8940a1_initial returned " + number(found) +
                                  ")")};
    }
    if (setup.cardNumber < 0 || setup.cardNumber >= found) {
        return {nullptr, common::error("卡号 " + number(setup.cardNumber) + " 不存在：驱动库 " +
                                           name + " 只找到 " + number(found) + " 块卡",
                                       "card number " + number(setup.cardNumber) +
                                           " is not fitted: " + name + " found " + number(found) +
                                           (found == 1 ? " card" : " cards"))};
    }
    return {std::unique_ptr<LibraryCard>(
                new LibraryCard(setup.library, setup.cardNumber, found, std::move(f))),
            {}};
}

LibraryCard::LibraryCard(std::filesystem::path library, int cardNumber, int cardsFound,
                         std::unique_ptr<Functions> functions)
    : m_library(std::move(library)), m_number(cardNumber), m_cardsFound(cardsFound),
      m_f(std::move(functions)) {}

// The library is not closed: the card keeps its outputs and the driver its
// state after the program lets go of it.
LibraryCard::~LibraryCard() = default;

// --- error codes ---------------------------------------------------------------

void LibraryCard::note(const char* function, int code) {
    if (!m_fault) {
        m_fault = CardFault{function, code};
    }
}

int LibraryCard::status(const char* function, int code) {
    if (code != 0) {
        note(function, code);
    }
    return code;
}

std::int32_t LibraryCard::readBack(const char* function, int code, std::int32_t value,
                                   std::int32_t onError) {
    if (code != 0) {
        note(function, code);
        return onError;
    }
    return value;
}

int LibraryCard::levelOf(const char* function, int result, int onError) {
    if (result < 0) {
        note(function, result);
        return onError;
    }
    return result != 0 ? 1 : 0;
}

template <typename... Args>
int LibraryCard::axisCommand(const char* function, int card, int axis,
                             int (*call)(int, int, Args...), std::type_identity_t<Args>... args) {
    if (!validAxis(card, axis)) {
        return kCardBadArgument;
    }
    return status(function, call(m_number, axis, args...));
}

std::int32_t LibraryCard::axisRead(const char* function, int card, int axis,
                                   int (*call)(int, int, std::int32_t*)) {
    if (!validAxis(card, axis)) {
        return 0;
    }
    std::int32_t value = 0;
    const int code = call(m_number, axis, &value);
    return readBack(function, code, value, 0);
}

std::optional<CardFault> LibraryCard::takeFault() {
    std::optional<CardFault> fault;
    fault.swap(m_fault);
    return fault;
}

// --- configuration ---------------------------------------------------------------

int LibraryCard::adt8940a1_initial() {
    return m_cardsFound;
}

int LibraryCard::set_limit_mode(int card, int axis, int positiveEnable, int negativeEnable,
                                int level) {
    return axisCommand("set_limit_mode", card, axis, m_f->set_limit_mode, positiveEnable,
                       negativeEnable, level);
}

int LibraryCard::set_stop0_mode(int card, int axis, int enable, int level) {
    return axisCommand("set_stop0_mode", card, axis, m_f->set_stop0_mode, enable, level);
}

int LibraryCard::set_stop1_mode(int card, int axis, int enable, int level) {
    return axisCommand("set_stop1_mode", card, axis, m_f->set_stop1_mode, enable, level);
}

int LibraryCard::set_startv(int card, int axis, std::int32_t pulsesPerSecond) {
    return axisCommand("set_startv", card, axis, m_f->set_startv, pulsesPerSecond);
}

int LibraryCard::set_speed(int card, int axis, std::int32_t pulsesPerSecond) {
    return axisCommand("set_speed", card, axis, m_f->set_speed, pulsesPerSecond);
}

int LibraryCard::set_acc(int card, int axis, std::int32_t acceleration) {
    return axisCommand("set_acc", card, axis, m_f->set_acc, acceleration);
}

// --- motion --------------------------------------------------------------------------

int LibraryCard::pmove(int card, int axis, std::int32_t pulses) {
    return axisCommand("pmove", card, axis, m_f->pmove, pulses);
}

int LibraryCard::dec_stop(int card, int axis) {
    return axisCommand("dec_stop", card, axis, m_f->dec_stop);
}

int LibraryCard::get_status(int card, int axis) {
    if (!validAxis(card, axis)) {
        return kCardBadArgument;
    }
    std::int32_t moving = 0;
    const int code = m_f->get_status(m_number, axis, &moving);
    // A failed read says "moving", so nothing waiting for the axis goes on.
    return readBack("get_status", code, moving != 0 ? 1 : 0, 1);
}

int LibraryCard::get_inp_status(int card) {
    if (card != kCard) {
        return kCardBadArgument;
    }
    std::int32_t running = 0;
    const int code = m_f->get_inp_status(m_number, &running);
    return readBack("get_inp_status", code, running != 0 ? 1 : 0, 1);
}

int LibraryCard::fifo_inp_move2(int card, int axis1, int axis2, std::int32_t delta1,
                                std::int32_t delta2, std::int32_t speed) {
    if (card != kCard || axis1 != kAxisX || axis2 != kAxisY) {
        return kCardBadArgument;
    }
    return status("fifo_inp_move2",
                  m_f->fifo_inp_move2(m_number, axis1, axis2, delta1, delta2, speed));
}

int LibraryCard::reset_fifo(int card) {
    if (card != kCard) {
        return kCardBadArgument;
    }
    return status("reset_fifo", m_f->reset_fifo(m_number));
}

int LibraryCard::read_fifo_empty(int card) {
    if (card != kCard) {
        return kCardBadArgument;
    }
    return levelOf("read_fifo_empty", m_f->read_fifo_empty(m_number), 0);
}

// --- positions ---------------------------------------------------------------------------

std::int32_t LibraryCard::get_command_pos(int card, int axis) {
    return axisRead("get_command_pos", card, axis, m_f->get_command_pos);
}

std::int32_t LibraryCard::get_actual_pos(int card, int axis) {
    return axisRead("get_actual_pos", card, axis, m_f->get_actual_pos);
}

int LibraryCard::set_command_pos(int card, int axis, std::int32_t value) {
    return axisCommand("set_command_pos", card, axis, m_f->set_command_pos, value);
}

int LibraryCard::set_actual_pos(int card, int axis, std::int32_t value) {
    return axisCommand("set_actual_pos", card, axis, m_f->set_actual_pos, value);
}

std::int32_t LibraryCard::get_speed(int card, int axis) {
    return axisRead("get_speed", card, axis, m_f->get_speed);
}

// --- inputs and outputs ----------------------------------------------------------------------

int LibraryCard::read_bit(int card, int input) {
    if (!validInput(card, input)) {
        return kCardBadArgument;
    }
    // Buttons and switches read 1 at rest: a failed read presses nothing.
    return levelOf("read_bit", m_f->read_bit(m_number, input), 1);
}

int LibraryCard::write_bit(int card, int output, int value) {
    if (!validOutput(card, output)) {
        return kCardBadArgument;
    }
    return status("write_bit", m_f->write_bit(m_number, output, value));
}

int LibraryCard::get_out(int card, int output) {
    if (!validOutput(card, output)) {
        return kCardBadArgument;
    }
    return levelOf("get_out", m_f->get_out(m_number, output), 0);
}

// --- simulator time ----------------------------------------------------------------------------

bool LibraryCard::runsInVirtualTime() const {
    return m_f->simAdvance != nullptr;
}

void LibraryCard::advanceSimulator(std::int64_t milliseconds) {
    if (m_f->simAdvance == nullptr) {
        return;
    }
    // The driver counts in int; an absurd step is given in pieces.
    constexpr std::int64_t kLargestStep = std::numeric_limits<int>::max();
    while (milliseconds > 0) {
        const std::int64_t step = std::min(milliseconds, kLargestStep);
        status("korvel_sim_advance", m_f->simAdvance(static_cast<int>(step)));
        milliseconds -= step;
    }
}

} // namespace korvel::machine
