#include "ui/QtOperatorDialog.h"

#include <QApplication>
#include <QMessageBox>

namespace korvel::ui {

namespace {

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace

QtOperatorDialog::QtOperatorDialog(std::function<common::Language()> language)
    : m_language(std::move(language)) {}

void QtOperatorDialog::show(const common::Message& message) {
    const common::Language lang = m_language();
    QWidget* parent = m_parent != nullptr ? m_parent : QApplication::activeWindow();
    if (message.kind == common::MessageKind::Error) {
        QMessageBox::critical(parent, Q(message.title(lang)), Q(message.text(lang)));
    } else {
        QMessageBox::information(parent, Q(message.title(lang)), Q(message.text(lang)));
    }
}

bool QtOperatorDialog::ask(const common::Message& message) {
    const common::Language lang = m_language();
    QWidget* parent = m_parent != nullptr ? m_parent : QApplication::activeWindow();
    return QMessageBox::question(parent, Q(message.title(lang)), Q(message.text(lang)),
                                 QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::Yes) == QMessageBox::Yes;
}

} // namespace korvel::ui
