#include "ui/SimulatedPanel.h"

#include "app/MainFormRules.h"
#include "machine/SimulatedCard.h"

#include <QHBoxLayout>
#include <QPushButton>

namespace korvel::ui {

namespace {

struct PanelKey {
    app::PanelButton button;
    const char* name;
    const char* zh;
    const char* en;
};

constexpr PanelKey kKeys[] = {
    {app::PanelButton::Start, "SimStart", "启动", "Start"},
    {app::PanelButton::Pause, "SimPause", "暂停", "Pause"},
    {app::PanelButton::Feed, "SimFeed", "送料", "Feed"},
    {app::PanelButton::Retract, "SimRetract", "退料", "Retract"},
};

} // namespace

SimulatedPanel::SimulatedPanel(machine::SimulatedCard& card, const machine::ParameterSet& params,
                               QWidget* parent)
    : QDockWidget(parent), m_card(card), m_params(params) {
    setObjectName("SimulatedPanel");
    setFeatures(QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable);
    auto* body = new QWidget(this);
    auto* row = new QHBoxLayout(body);
    row->setContentsMargins(4, 2, 4, 2);
    for (const auto& key : kKeys) {
        auto* button = new QPushButton(body);
        button->setObjectName(key.name);
        row->addWidget(button);
        // The input is looked up at each press: the feed buttons move to
        // IN22/IN23 when the infeed limit switches are switched on.
        connect(button, &QPushButton::pressed, this, [this, key] {
            m_card.setButton(app::PanelButtonInput(key.button, m_params), true);
        });
        connect(button, &QPushButton::released, this, [this, key] {
            m_card.setButton(app::PanelButtonInput(key.button, m_params), false);
        });
    }
    row->addStretch();
    setWidget(body);
    retranslate(0);
}

void SimulatedPanel::retranslate(int languageFlag) {
    setWindowTitle(languageFlag == 0 ? "模拟机器按键" : "Simulated machine panel");
    for (const auto& key : kKeys) {
        if (auto* button = findChild<QPushButton*>(key.name)) {
            button->setText(QString::fromUtf8(languageFlag == 0 ? key.zh : key.en));
        }
    }
}

} // namespace korvel::ui
