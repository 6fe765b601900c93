#include "ui/YH_Form.h"

#include "app/Captions.h"
#include "machine/Machine.h"
#include "machine/OperatorDialog.h"
#include "ui/XianShiCE.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace korvel::ui {

namespace {

QPushButton* makeButton(const char* name, const QString& caption) {
    auto* b = new QPushButton(caption);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}

} // namespace

YH_Form::YH_Form(machine::Machine& machine, std::int16_t& userLevel, QWidget* parent)
    : QDialog(parent), m_machine(machine), m_levels(machine.appDir(), userLevel) {
    setObjectName("YH_Form");
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(buildUserFrame());
    layout->addWidget(buildPasswordFrame());
    layout->addWidget(buildChangeFrame());
    m_note = new QLabel;
    m_note->setObjectName("NoteLabel");
    m_note->setWordWrap(true);
    layout->addWidget(m_note);

    m_changeButton = makeButton("Command5", QString());
    auto* back = makeButton("Command6", QString());
    connect(m_changeButton, &QPushButton::clicked, this, [this] {
        if (m_levels.openChange()) {
            m_old->clear();
            m_new->clear();
            m_confirm->clear();
            sync();
            m_old->setFocus();
        }
    });
    connect(back, &QPushButton::clicked, this, &QDialog::reject);
    auto* row = new QHBoxLayout;
    row->addWidget(m_changeButton);
    row->addStretch();
    row->addWidget(back);
    layout->addLayout(row);

    loadCaptions();
    sync();
}

QGroupBox* YH_Form::buildUserFrame() {
    m_user = new QGroupBox;
    m_user->setObjectName("user");
    auto* column = new QVBoxLayout(m_user);
    auto* prompt = new QLabel(QString());
    prompt->setObjectName("Label1");
    column->addWidget(prompt);
    for (int i = 0; i < 3; ++i) {
        m_options[i] = new QRadioButton;
        m_options[i]->setObjectName(QString("Option%1").arg(i + 1));
        column->addWidget(m_options[i]);
        connect(m_options[i], &QRadioButton::clicked, this, [this, i] {
            m_levels.selectOption(i);
            if (m_levels.frame() == app::LevelFrame::Password) {
                m_text1->clear();
                m_text1->setFocus();
            }
            sync();
        });
    }
    return m_user;
}

QLineEdit* YH_Form::passwordField(const char* name) {
    auto* field = new QLineEdit;
    field->setObjectName(name);
    field->setEchoMode(QLineEdit::Password);
    return field;
}

QGroupBox* YH_Form::buildPasswordFrame() {
    m_password = new QGroupBox(QString());
    m_password->setObjectName("PassIn");
    auto* row = new QHBoxLayout(m_password);
    m_text1 = passwordField("Text1");
    auto* ok = makeButton("Command4", QString());
    auto* cancel = makeButton("Command3", QString());
    connect(ok, &QPushButton::clicked, this, [this] { confirmPassword(app::ConfirmedBy::Button); });
    connect(cancel, &QPushButton::clicked, this, [this] {
        m_levels.cancelPassword();
        sync();
    });
    row->addWidget(m_text1);
    row->addWidget(ok);
    row->addWidget(cancel);
    return m_password;
}

QGroupBox* YH_Form::buildChangeFrame() {
    m_change = new QGroupBox(QString());
    m_change->setObjectName("PassEdit");
    auto* form = new QFormLayout(m_change);
    const auto row = [&](const char* labelName, QLineEdit* field) {
        auto* label = new QLabel;
        label->setObjectName(labelName);
        form->addRow(label, field);
    };
    m_old = passwordField("Text2");
    m_new = passwordField("Text3");
    m_confirm = passwordField("Text4");
    row("Label4", m_old);
    row("Label2", m_new);
    row("Label3", m_confirm);
    auto* ok = makeButton("Command1", QString());
    auto* cancel = makeButton("Command2", QString());
    connect(ok, &QPushButton::clicked, this, &YH_Form::confirmChange);
    connect(cancel, &QPushButton::clicked, this, [this] {
        m_levels.cancelChange();
        sync();
    });
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    form->addRow(buttons);
    return m_change;
}

void YH_Form::loadCaptions() {
    const int language = m_machine.tables().LanguageFlag;
    XianShiCE(*this, app::YhFormCaptions(), m_machine.appDir(), "YH_Form.txt", language);
    // The confirm and cancel buttons have no lines in the caption file.
    const bool english = language != 0;
    for (const char* name : {"Command4", "Command1"}) {
        findChild<QPushButton*>(name)->setText(english ? "OK" : QStringLiteral("确定"));
    }
    for (const char* name : {"Command3", "Command2"}) {
        findChild<QPushButton*>(name)->setText(english ? "Cancel" : QStringLiteral("取消"));
    }
}

void YH_Form::sync() {
    m_user->setVisible(m_levels.frame() == app::LevelFrame::User);
    m_password->setVisible(m_levels.frame() == app::LevelFrame::Password);
    m_change->setVisible(m_levels.frame() == app::LevelFrame::Change);
    for (int i = 0; i < 3; ++i) {
        const QSignalBlocker quiet(m_options[i]);
        m_options[i]->setChecked(m_levels.selected() == i);
    }
    m_changeButton->setEnabled(m_levels.changeEnabled() &&
                               m_levels.frame() == app::LevelFrame::User);
    const auto& note = m_levels.note();
    m_note->setVisible(note.has_value());
    if (note) {
        const auto language = m_machine.tables().LanguageFlag != 0 ? common::Language::English
                                                                   : common::Language::Chinese;
        m_note->setText(QString::fromStdString(note->text(language)));
    }
}

void YH_Form::tell(const std::optional<common::Message>& message) {
    if (message) {
        m_machine.dialog().show(*message);
    }
}

void YH_Form::confirmPassword(app::ConfirmedBy by) {
    const auto message = m_levels.confirmPassword(m_text1->text().toStdString(), by);
    m_text1->clear();
    sync();
    tell(message);
}

void YH_Form::confirmChange() {
    const auto message = m_levels.confirmChange(
        m_old->text().toStdString(), m_new->text().toStdString(), m_confirm->text().toStdString());
    sync();
    tell(message);
}

void YH_Form::keyPressEvent(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && m_levels.frame() == app::LevelFrame::Password) {
        confirmPassword(app::ConfirmedBy::EnterKey);
        return;
    }
    if (enter) {
        // Enter never closes the window; only "返回" and Esc do.
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace korvel::ui
