#include "machine/DriverLibraryFile.h"

#include "common/Basic.h"

#include <array>
#include <cstdint>
#include <fstream>
#include <string>
#include <system_error>

namespace korvel::machine {

namespace {

// The fields of an ELF header that decide whether a file can be loaded:
// the identification bytes, then the object type and the processor, which
// sit at the same offsets in 32- and 64-bit files.
constexpr std::size_t kIdentSize = 16;
constexpr std::size_t kHeaderPrefix = 20;
constexpr std::size_t kClassByte = 4;
constexpr std::size_t kDataByte = 5;
constexpr std::uint8_t kClass64 = 2;
constexpr std::uint8_t kClass32 = 1;
constexpr std::uint8_t kLittleEndian = 1;
constexpr std::uint16_t kSharedObject = 3; // ET_DYN

#if defined(__x86_64__)
constexpr std::uint16_t kOwnMachine = 62;
#elif defined(__aarch64__)
constexpr std::uint16_t kOwnMachine = 183;
#elif defined(__i386__)
constexpr std::uint16_t kOwnMachine = 3;
#elif defined(__arm__)
constexpr std::uint16_t kOwnMachine = 40;
#elif defined(__riscv)
constexpr std::uint16_t kOwnMachine = 243;
#else
constexpr std::uint16_t kOwnMachine = 0; // unknown here: the loader decides
#endif
constexpr std::uint8_t kOwnClass = sizeof(void*) == 8 ? kClass64 : kClass32;
constexpr bool kOwnLittleEndian = __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__;

// Processor names of the ELF machine numbers a card driver is likely to be
// built for.
std::string machineName(std::uint16_t machine) {
    std::string number = common::FormatNumber(machine, "0");
    switch (machine) {
    case 3:
        return number + " x86";
    case 8:
        return number + " MIPS";
    case 20:
        return number + " PowerPC";
    case 21:
        return number + " PowerPC64";
    case 40:
        return number + " ARM";
    case 62:
        return number + " x86-64";
    case 183:
        return number + " AArch64";
    case 243:
        return number + " RISC-V";
    default:
        return number;
    }
}

std::uint16_t read16(const std::array<unsigned char, kHeaderPrefix>& header, std::size_t at,
                     bool littleEndian) {
    const auto lo = static_cast<std::uint16_t>(header[littleEndian ? at : at + 1]);
    const auto hi = static_cast<std::uint16_t>(header[littleEndian ? at + 1 : at]);
    return static_cast<std::uint16_t>(lo | (hi << 8));
}

common::Message notALibrary(const std::string& file) {
    return common::error(file + " 不是共享库", file + " is not a shared library");
}

common::Message otherProcessor(const std::string& file, const std::string& found) {
    const std::string own = kOwnClass == kClass64 ? machineName(kOwnMachine) + " 64-bit"
                                                  : machineName(kOwnMachine) + " 32-bit";
    return common::error("驱动库 " + file + " 是为其他处理器编译的（" + found + "，本程序需要 " +
                             own + "）",
                         "driver library " + file + " is built for another processor (" + found +
                             "; this program needs " + own + ")");
}

} // namespace

std::optional<common::Message> CheckDriverLibraryFile(const std::filesystem::path& file) {
    const std::string name = file.string();
    std::error_code ec;
    if (!std::filesystem::exists(file, ec)) {
        return common::error("找不到驱动库 " + name, "driver library " + name + " not found");
    }
    if (!std::filesystem::is_regular_file(file, ec)) {
        return notALibrary(name);
    }
    std::array<unsigned char, kHeaderPrefix> header{};
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        return common::error("无法读取驱动库 " + name,
                             "driver library " + name + " cannot be read");
    }
    in.read(reinterpret_cast<char*>(header.data()), static_cast<std::streamsize>(header.size()));
    if (in.gcount() < static_cast<std::streamsize>(header.size()) || header[0] != 0x7f ||
        header[1] != 'E' || header[2] != 'L' || header[3] != 'F') {
        return notALibrary(name);
    }
    const std::uint8_t elfClass = header[kClassByte];
    const bool littleEndian = header[kDataByte] == kLittleEndian;
    const std::uint16_t type = read16(header, kIdentSize, littleEndian);
    const std::uint16_t machine = read16(header, kIdentSize + 2, littleEndian);
    if (type != kSharedObject) {
        return notALibrary(name);
    }
    const std::string bits = elfClass == kClass64 ? " 64-bit" : " 32-bit";
    if (kOwnMachine != 0 &&
        (machine != kOwnMachine || elfClass != kOwnClass || littleEndian != kOwnLittleEndian)) {
        return otherProcessor(name, machineName(machine) + bits);
    }
    return std::nullopt;
}

} // namespace korvel::machine
