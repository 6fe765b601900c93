#include "ui/SetupForm.h"

#include "common/FieldText.h"
#include "machine/Machine.h"
#include "machine/OperatorDialog.h"
#include "ui/XianShiCE.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <cmath>

namespace korvel::ui {
namespace {

// Wide enough for a pulse equivalent with its decimals.
constexpr int kBoxWidth = 90;

} // namespace

SetupForm::SetupForm(machine::Machine& machine, app::OperatorState& state, common::AppDir app,
                     machine::OperatorDialog& dialog, const std::vector<std::string_view>& fields,
                     QWidget* parent)
    : SetupDialog(machine, std::move(app), dialog, parent), m_state(state),
      m_copy(machine, fields) {
    // Esc closes the dialog (reject), which drops the copy like "返回".
}

std::vector<app::CaptionText> SetupForm::loadCaptions(const app::CaptionTable& table,
                                                      std::string_view fileName) {
    const auto& tables = m_machine.tables();
    QString group;
    if (tables.ParaGroupNo >= 0 && tables.ParaGroupNo < machine::kGroupCount) {
        group =
            QString::fromStdString(tables.ParaGroupNames[static_cast<size_t>(tables.ParaGroupNo)]);
    }
    auto captions = app::LoadCaptions(m_app, fileName, table, tables.LanguageFlag);
    for (const auto& caption : captions) {
        ApplyCaption(*this, caption, group);
    }
    return captions;
}

QLabel* SetupForm::label(QWidget* parent, const QString& name, const QString& zh) {
    auto* l = NamedLabel(parent, name);
    l->setText(zh);
    return l;
}

QPushButton* SetupForm::button(QWidget* parent, const QString& name, const QString& zh) {
    auto* b = NamedButton(parent, name);
    b->setText(zh);
    return b;
}

QLineEdit* SetupForm::box(QWidget* parent, const QString& name, std::string_view field) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(name);
    e->setMinimumWidth(kBoxWidth);
    e->setText(QString::fromStdString(common::FieldText(m_copy.value(field))));
    m_boxes[e] = field;
    connect(e, &QLineEdit::textEdited, this, [this, field](const QString& text) {
        m_copy.setText(field, text.toStdString());
        edited();
    });
    return e;
}

QCheckBox* SetupForm::flag(QWidget* parent, const QString& name, const QString& zh,
                           std::string_view field) {
    auto* c = new QCheckBox(zh, parent);
    c->setObjectName(name);
    c->setChecked(m_copy.value(field) != 0);
    m_flags[c] = field;
    connect(c, &QCheckBox::clicked, this, [this, field](bool on) {
        m_copy.setValue(field, on ? 1 : 0);
        edited();
    });
    return c;
}

QRadioButton* SetupForm::option(QWidget* parent, const QString& name, const QString& zh,
                                std::string_view field, int value) {
    auto* o = new QRadioButton(zh, parent);
    o->setObjectName(name);
    auto*& group = m_groups[field];
    if (group == nullptr) {
        group = new QButtonGroup(this);
    }
    group->addButton(o);
    o->setChecked(std::lround(m_copy.value(field)) == value);
    m_options[o] = {field, value};
    connect(o, &QRadioButton::clicked, this, [this, field, value] {
        m_copy.setValue(field, value);
        edited();
    });
    return o;
}

void SetupForm::refresh() {
    for (auto& [e, field] : m_boxes) {
        e->setText(QString::fromStdString(common::FieldText(m_copy.value(field))));
    }
    for (auto& [c, field] : m_flags) {
        c->setChecked(m_copy.value(field) != 0);
    }
    for (auto& [o, fv] : m_options) {
        o->setChecked(std::lround(m_copy.value(fv.first)) == fv.second);
    }
}

void SetupForm::save() {
    tell(m_copy.save());
}

} // namespace korvel::ui
