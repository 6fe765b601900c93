#include "app/SetupCopy.h"

#include "common/Basic.h"
#include "machine/Machine.h"
#include "machine/ParameterChecks.h"
#include "machine/ParameterStore.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace korvel::app {

using machine::ParameterInfo;
using machine::ParameterType;

SetupCopy::SetupCopy(machine::ParameterStore& store, machine::ParameterSet& params,
                     const machine::ParameterTables& tables,
                     const std::vector<std::string_view>& fields)
    : m_store(store), m_params(params), m_tables(tables), m_copy(params) {
    if (fields.empty()) {
        for (const auto& info : machine::ParameterTable()) {
            m_fields.push_back(&info);
        }
        return;
    }
    for (std::string_view name : fields) {
        const ParameterInfo* info = machine::FindParameter(name);
        if (info == nullptr) {
            throw std::invalid_argument("no parameter " + std::string(name));
        }
        m_fields.push_back(info);
    }
}

SetupCopy::SetupCopy(machine::Machine& machine, const std::vector<std::string_view>& fields)
    : SetupCopy(machine.store(), machine.params(), machine.tables(), fields) {}

const ParameterInfo& SetupCopy::owned(std::string_view field) const {
    const ParameterInfo* info = machine::FindParameter(field);
    if (info == nullptr || std::find(m_fields.begin(), m_fields.end(), info) == m_fields.end()) {
        // A window asking for a field it does not own is a programming error.
        throw std::invalid_argument("field not owned by this window: " + std::string(field));
    }
    return *info;
}

double SetupCopy::value(std::string_view field) const {
    const ParameterInfo& info = owned(field);
    const auto it = m_entered.find(info.line);
    return it != m_entered.end() ? it->second : machine::NumericValue(m_copy, info);
}

void SetupCopy::setText(std::string_view field, std::string_view text) {
    setValue(field, common::Val(text));
}

void SetupCopy::setValue(std::string_view field, double value) {
    const ParameterInfo& info = owned(field);
    if (info.type == ParameterType::String) {
        throw std::invalid_argument("not a numeric field: " + std::string(field));
    }
    m_entered[info.line] = value;
    // Integer fields keep the rounded value, so the enabling rules see what
    // will be saved; a value beyond the type shows saturated until the
    // check refuses it.
    machine::SetNumericValue(m_copy, info, std::isfinite(value) ? value : 0.0);
}

void SetupCopy::setSlotActionOrder(std::string order) {
    owned("SlotActionOrder");
    m_copy.SlotActionOrder = std::move(order);
}

machine::ParameterSet SetupCopy::merged() const {
    machine::ParameterSet result = m_params;
    for (const ParameterInfo* info : m_fields) {
        if (info->type == ParameterType::String) {
            result.SlotActionOrder = m_copy.SlotActionOrder;
        } else {
            machine::SetNumericValue(result, *info, machine::NumericValue(m_copy, *info));
        }
    }
    return result;
}

bool SetupCopy::edited() const {
    return merged() != m_params;
}

common::Message SetupCopy::check() const {
    for (const ParameterInfo* info : m_fields) {
        if (info->type == ParameterType::String) {
            if (!machine::IsValidSlotActionOrder(m_copy.SlotActionOrder)) {
                return common::error("开槽动作顺序只能由字母UDPNFB组成，参数未保存！",
                                     "The slot action order may only hold the letters U D P N F "
                                     "B; nothing was saved!");
            }
            continue;
        }
        const auto it = m_entered.find(info->line);
        const double v = it != m_entered.end() ? it->second : machine::NumericValue(m_copy, *info);
        common::Message refusal = machine::ValueRefusal(*info, v);
        if (!refusal.empty()) {
            return refusal;
        }
    }
    return machine::CombinationRefusal(merged());
}

common::Message SetupCopy::save() {
    common::Message refusal = check();
    if (!refusal.empty()) {
        return refusal;
    }
    const machine::ParameterSet before = m_params;
    m_params = merged();
    common::Message result = m_store.SaveSysPara(m_tables.ParaGroupNo, false);
    if (result.kind == common::MessageKind::Error) {
        // The file was not replaced: memory goes back to what the file holds.
        m_params = before;
        return result;
    }
    m_entered.clear();
    m_copy = m_params;
    return result;
}

void SetupCopy::reload() {
    m_copy = m_params;
    m_entered.clear();
}

} // namespace korvel::app
