#pragma once
// "IO配置": the machine's inputs and outputs as lamps, refreshed every
// 200 ms from the card (red while on), the output buttons the
// configuration offers, and output switching by a click on an output's
// label for the system maker (level 2). "返回" and Esc close it; output
// changes act at once and are not saved.

#include "app/IoBoard.h"

#include <QDialog>
#include <array>
#include <cstdint>

class QLabel;
class QPushButton;
class QTimer;

namespace korvel::machine {
class Machine;
}

namespace korvel::ui {

class IO_Form : public QDialog {
    Q_OBJECT
public:
    IO_Form(machine::Machine& machine, std::int16_t userLevel, QWidget* parent = nullptr);

    // The lamp refresh of Timer1 (also run once on opening).
    void refreshLamps();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* buildInputs();
    QWidget* buildOutputs();
    void loadCaptions();
    static QLabel* lamp(const QString& name);
    static void light(QLabel* lamp, bool on);

    machine::Machine& m_machine;
    std::int16_t m_userLevel;
    app::IoBoard m_board;
    std::array<QLabel*, app::kIoInputLamps> m_inputLamps{};
    std::array<QLabel*, app::kIoOutputLamps> m_outputLamps{};
    std::array<QLabel*, app::kIoOutputLamps> m_outputLabels{};
    QTimer* m_timer = nullptr;
};

} // namespace korvel::ui
