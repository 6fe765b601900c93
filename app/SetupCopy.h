#pragma once
// The editing model every settings window shares. The window loads the
// current parameter set into a private copy, the operator edits the copy
// (each text box by its numeric value, integers rounded), and only "保存"
// brings the edits into the parameter set and writes the current group
// file; "返回" and Esc drop them.
//
// A window owns a list of fields: the ones it shows and saves. Saving
// copies only those, so a window never writes back a value that another
// part of the machine changed while it was open (a calibration, the tool
// setting). Before anything is copied every owned value is checked against
// the range of its line and the values are checked together; the first
// refusal is returned, naming the field, and nothing changes, neither in
// memory nor on disk.

#include "common/Message.h"
#include "machine/ParameterSet.h"
#include "machine/ParameterTable.h"

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace korvel::machine {
class Machine;
class ParameterStore;
} // namespace korvel::machine

namespace korvel::app {

class SetupCopy {
public:
    // `fields`: names of the owned parameters ("PulseEquivX",
    // "CutStroke(2)"); empty means every line of the group file.
    SetupCopy(machine::ParameterStore& store, machine::ParameterSet& params,
              const machine::ParameterTables& tables, const std::vector<std::string_view>& fields);
    SetupCopy(machine::Machine& machine, const std::vector<std::string_view>& fields);

    // The private copy as edited so far (a value that does not fit its
    // integer field is kept aside for the check and shows here saturated).
    const machine::ParameterSet& values() const { return m_copy; }
    // The value of an owned field as the operator entered it.
    double value(std::string_view field) const;

    // A text box changed: its numeric value (non-numeric text counts 0).
    void setText(std::string_view field, std::string_view text);
    void setValue(std::string_view field, double value);
    void setSlotActionOrder(std::string order);

    // True when an owned field differs from the parameter set.
    bool edited() const;
    // Why the copy cannot be saved; empty when it can.
    common::Message check() const;
    // Checks, copies the owned fields into the parameter set and writes the
    // current group ("参数保存成功！" on success). A refusal or a failed
    // write returns its error and leaves the parameter set as it was.
    common::Message save();
    // Drops the edits: the copy is taken again from the parameter set.
    void reload();

    const std::vector<const machine::ParameterInfo*>& fields() const { return m_fields; }

private:
    const machine::ParameterInfo& owned(std::string_view field) const;
    machine::ParameterSet merged() const;

    machine::ParameterStore& m_store;
    machine::ParameterSet& m_params;
    const machine::ParameterTables& m_tables;
    std::vector<const machine::ParameterInfo*> m_fields;
    machine::ParameterSet m_copy;
    // Numbers as entered, by line, for the range check at save.
    std::map<int, double> m_entered;
};

} // namespace korvel::app
