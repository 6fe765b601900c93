#include "geometry/SelectionList.h"

#include "common/Message.h"

#include <string>

namespace korvel::geometry {

PieceDirection ChooseDirection(std::int16_t orientation, bool shift) {
    const std::int16_t o = orientation >= 0 ? 1 : -1;
    if (shift) {
        return {o, 2};
    }
    return {static_cast<std::int16_t>(-o), 3};
}

void SelectionList::throwFull() {
    const std::string n = std::to_string(kEntries);
    throw common::UserError(common::notice("最多只能选择 " + n + " 段轮廓，请先加工或取消选择",
                                           "At most " + n +
                                               " outline pieces can be selected; run or "
                                               "cancel the selection first"));
}

void SelectionList::pickStart(std::int32_t node, std::int16_t orientation, bool shift) {
    if (full()) {
        throwFull();
    }
    const PieceDirection d = ChooseDirection(orientation, shift);
    SelectionEntry& e = m_entries[m_current];
    e.sign = d.sign;
    e.mode = d.mode;
    e.startNode = node;
    e.endNode = 0;
}

SelectionEntry SelectionList::pickEnd(std::int32_t node) {
    SelectionEntry& e = m_entries.at(m_current);
    e.endNode = node;
    ++m_current;
    return e;
}

void SelectionList::stepBack() {
    if (!full()) {
        m_entries[m_current] = {};
    }
    if (m_current > 0) {
        --m_current;
        m_entries[m_current] = {};
    }
}

void SelectionList::clear() {
    m_entries.fill({});
    m_current = 0;
}

} // namespace korvel::geometry
