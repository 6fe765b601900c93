#include "ui/AboutMe_Form.h"

#include "app/AboutText.h"

#include <QLabel>
#include <QVBoxLayout>

namespace korvel::ui {

AboutMe_Form::AboutMe_Form(const common::AppDir& dir, int languageFlag, QWidget* parent)
    : QDialog(parent) {
    setObjectName("AboutMe_Form");
    const app::AboutText about = app::ReadAboutText(dir, languageFlag);
    setWindowTitle(QString::fromStdString(about.title));
    auto* layout = new QVBoxLayout(this);
    const auto label = [&](const QString& name, const std::string& text) {
        auto* l = new QLabel(QString::fromStdString(text));
        l->setObjectName(name);
        l->setTextInteractionFlags(Qt::TextSelectableByMouse);
        layout->addWidget(l);
        return l;
    };
    for (size_t i = 0; i < about.lines.size(); ++i) {
        label(QString("Label%1").arg(i + 1), about.lines[i]);
    }
    layout->addSpacing(8);
    auto* motto = label("Label5", about.motto);
    QFont font = motto->font();
    font.setBold(true);
    motto->setFont(font);
    if (about.note) {
        const auto language =
            languageFlag != 0 ? common::Language::English : common::Language::Chinese;
        auto* note = label("NoteLabel", about.note->text(language));
        note->setWordWrap(true);
    }
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

} // namespace korvel::ui
