#include "ui/SetupDialog.h"

#include "machine/Machine.h"
#include "machine/OperatorDialog.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace korvel::ui {

SetupDialog::SetupDialog(machine::Machine& machine, common::AppDir app,
                         machine::OperatorDialog& dialog, QWidget* parent)
    : QDialog(parent), m_machine(machine), m_app(std::move(app)), m_dialog(dialog),
      m_tests(machine, machine.form().Check3 != 0) {
    setModal(true);
}

void SetupDialog::tell(const common::Message& message) {
    if (!message.empty()) {
        m_dialog.show(message);
    }
}

common::Language SetupDialog::language() const {
    return m_machine.tables().LanguageFlag == 0 ? common::Language::Chinese
                                                : common::Language::English;
}

QPushButton* NamedButton(QWidget* parent, const QString& objectName) {
    auto* b = new QPushButton(parent);
    b->setObjectName(objectName);
    b->setAutoDefault(false);
    return b;
}

QLineEdit* NamedLineEdit(QWidget* parent, const QString& objectName, int width,
                         const QString& value) {
    auto* e = new QLineEdit(value, parent);
    e->setObjectName(objectName);
    e->setFixedWidth(width);
    return e;
}

QLabel* NamedLabel(QWidget* parent, const QString& objectName) {
    auto* l = new QLabel(parent);
    l->setObjectName(objectName);
    return l;
}

QLineEdit* LabelledField(QGridLayout& grid, int row, const QString& labelName,
                         const QString& fieldName, const QString& value) {
    QWidget* parent = grid.parentWidget();
    auto* field = NamedLineEdit(parent, fieldName, 90, value);
    grid.addWidget(NamedLabel(parent, labelName), row, 0);
    grid.addWidget(field, row, 1);
    return field;
}

} // namespace korvel::ui
