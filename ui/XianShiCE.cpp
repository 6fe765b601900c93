#include "ui/XianShiCE.h"

#include <QAbstractButton>
#include <QAction>
#include <QDockWidget>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTabBar>
#include <QTabWidget>
#include <QWidget>

namespace korvel::ui {

namespace {

bool applyToTab(QWidget& window, const QString& name, int index, const QString& text) {
    bool applied = false;
    for (auto* bar : window.findChildren<QTabBar*>(name)) {
        if (index < bar->count()) {
            bar->setTabText(index, text);
            applied = true;
        }
    }
    for (auto* tabs : window.findChildren<QTabWidget*>(name)) {
        if (index < tabs->count()) {
            tabs->setTabText(index, text);
            applied = true;
        }
    }
    return applied;
}

void applyToObject(QObject& object, const QString& text) {
    if (auto* button = qobject_cast<QAbstractButton*>(&object)) {
        button->setText(text);
    } else if (auto* label = qobject_cast<QLabel*>(&object)) {
        label->setText(text);
    } else if (auto* edit = qobject_cast<QLineEdit*>(&object)) {
        edit->setText(text);
    } else if (auto* group = qobject_cast<QGroupBox*>(&object)) {
        group->setTitle(text);
    } else if (auto* menu = qobject_cast<QMenu*>(&object)) {
        menu->setTitle(text);
    } else if (auto* action = qobject_cast<QAction*>(&object)) {
        action->setText(text);
    } else if (auto* dock = qobject_cast<QDockWidget*>(&object)) {
        dock->setWindowTitle(text);
    }
}

} // namespace

void ApplyCaption(QWidget& window, const app::CaptionText& caption, const QString& titleSuffix) {
    const QString text = QString::fromStdString(caption.text);
    if (caption.key == app::kTitleKey) {
        window.setWindowTitle(text + titleSuffix);
        return;
    }
    const QString key = QString::fromStdString(caption.key);
    const qsizetype hash = key.lastIndexOf(u'#');
    if (hash > 0) {
        bool ok = false;
        const int index = key.mid(hash + 1).toInt(&ok);
        if (ok && index >= 0 && applyToTab(window, key.left(hash), index, text)) {
            return;
        }
    }
    for (auto* object : window.findChildren<QObject*>(key)) {
        applyToObject(*object, text);
    }
}

void XianShiCE(QWidget& window, const app::CaptionTable& table, const common::AppDir& app,
               std::string_view fileName, int languageFlag, const QString& titleSuffix) {
    for (const auto& caption : app::LoadCaptions(app, fileName, table, languageFlag)) {
        ApplyCaption(window, caption, titleSuffix);
    }
}

} // namespace korvel::ui
