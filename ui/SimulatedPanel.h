#pragma once
// The machine's own buttons (start, pause, feed, retract) while the
// simulated card stands in for the machine: a small dock whose buttons
// press the card's inputs for as long as they are held, so the operator
// can try what the buttons on the machine do.

#include "machine/ParameterSet.h"

#include <QDockWidget>

namespace korvel::machine {
class SimulatedCard;
}

namespace korvel::ui {

class SimulatedPanel : public QDockWidget {
    Q_OBJECT
public:
    SimulatedPanel(machine::SimulatedCard& card, const machine::ParameterSet& params,
                   QWidget* parent = nullptr);
    // Captions in the current language (the dock has no caption file).
    void retranslate(int languageFlag);

private:
    machine::SimulatedCard& m_card;
    const machine::ParameterSet& m_params;
};

} // namespace korvel::ui
