#include "machine/FormText.h"

#include "common/Basic.h"
#include "common/Fields.h"
#include "machine/LoadProblems.h"

#include <cmath>
#include <functional>
#include <vector>

namespace korvel::machine {
namespace {

// The offset box takes -100 .. 100 mm; the run button checks it again.
constexpr double kMaxRememberedOffset = 100.0;

std::string textField(const std::string& line) {
    return std::string(common::Trim(std::string_view(line).substr(0, line.find(','))));
}

// Each line of the file, in order: how it is read and how it is written.
struct FieldIo {
    std::function<void(FormText&, const std::string&, const ParameterSet&)> read;
    std::function<std::string(const FormText&)> write;
};

FieldIo text(std::string FormText::*member) {
    return {[member](FormText& f, const std::string& line, const ParameterSet&) {
                f.*member = textField(line);
            },
            [member](const FormText& f) { return f.*member; }};
}
FieldIo flag(std::int16_t FormText::*member) {
    return {[member](FormText& f, const std::string& line, const ParameterSet&) {
                f.*member = common::CIntSaturated(common::Val(line));
            },
            [member](const FormText& f) { return common::Str(f.*member); }};
}
FieldIo number(double FormText::*member) {
    return {[member](FormText& f, const std::string& line, const ParameterSet&) {
                f.*member = common::Val(line);
            },
            [member](const FormText& f) { return common::Str(f.*member); }};
}

const std::vector<FieldIo>& fieldOrder() {
    static const std::vector<FieldIo> order = {
        text(&FormText::Text3),
        text(&FormText::Text4),
        text(&FormText::Text7),
        flag(&FormText::Check2),
        flag(&FormText::Check3),
        // The contour offset is restored only on machines set to keep it.
        {[](FormText& f, const std::string& line, const ParameterSet& params) {
             // A broken line (an offset of 1E+300) keeps the box as it was.
             const double offset = common::Val(line);
             if (params.SaveContourOffset == 1 && std::fabs(offset) <= kMaxRememberedOffset) {
                 f.Text6 = common::FormatNumber(offset, "0.00");
             }
         },
         [](const FormText& f) { return f.Text6; }},
        flag(&FormText::Check4),
        flag(&FormText::LanguageFlag),
        number(&FormText::Setting1),
        flag(&FormText::Setting2),
        flag(&FormText::Setting3),
        flag(&FormText::Setting4),
        number(&FormText::Setting5),
        text(&FormText::Text14),
        flag(&FormText::Check1),
        flag(&FormText::Check5),
    };
    return order;
}

} // namespace

void ReadFormText(const std::filesystem::path& file, const ParameterSet& params, FormText& fields) {
    LoadProblems ignored(file);
    common::Lines lines;
    if (!ReadSmallTextFile(file, lines, ignored)) {
        return;
    }
    const auto& order = fieldOrder();
    for (size_t i = 0; i < order.size() && i < lines.size(); ++i) {
        order[i].read(fields, lines[i], params);
    }
}

common::Lines FormTextLines(const FormText& fields) {
    common::Lines lines;
    for (const auto& io : fieldOrder()) {
        lines.push_back(io.write(fields));
    }
    return lines;
}

void WriteFormText(const std::filesystem::path& file, const FormText& fields) {
    common::RewriteAtomically(file, FormTextLines(fields));
}

} // namespace korvel::machine
