#pragma once
// formtext.ini: the main window's remembered field values, written when
// the window closes and read back at start-up, one value per line in the
// order of the members below. The fields keep the main window's control
// names so the window can copy them one to one.

#include "common/TextFile.h"
#include "machine/ParameterSet.h"

#include <cstdint>
#include <filesystem>
#include <string>

namespace korvel::machine {

struct FormText {
    std::string Text3 = "60";  // single-step length (mm)
    std::string Text4 = "10";  // joining length between letters (mm)
    std::string Text7 = "100"; // end feed after the last letter (mm)
    std::int16_t Check2 = 0;   // home before machining
    std::int16_t Check3 = 0;   // feed encoder on
    std::string Text6 = "0";   // contour offset (mm); restored only with SaveContourOffset 1
    std::int16_t Check4 = 0;   // feed homing before machining
    std::int16_t LanguageFlag = 0;
    // Five further settings of the main window, kept in this order; the
    // main window gives them their meaning.
    double Setting1 = 0;
    std::int16_t Setting2 = 0;
    std::int16_t Setting3 = 0;
    std::int16_t Setting4 = 0;
    double Setting5 = 0;
    std::string Text14 = "2500"; // cutter spin delay (ms)
    std::int16_t Check1 = 0;     // single-step feed
    std::int16_t Check5 = 0;     // bending disabled

    bool operator==(const FormText&) const = default;
};

// Reads formtext.ini over `fields`. A missing file (the first start) leaves
// every field as it is. The lines are applied in order as far as the file
// has them; the contour offset (sixth line) only when
// params.SaveContourOffset is 1, written with two decimals.
void ReadFormText(const std::filesystem::path& file, const ParameterSet& params, FormText& fields);
common::Lines FormTextLines(const FormText& fields);
// Writes the file through a temporary file. Throws UserError.
void WriteFormText(const std::filesystem::path& file, const FormText& fields);

} // namespace korvel::machine
