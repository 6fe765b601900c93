#pragma once
// "关于我们": four lines of supplier information from cinf.ini in the
// current language and the motto. Esc closes it.

#include "common/AppDir.h"

#include <QDialog>

namespace korvel::ui {

class AboutMe_Form : public QDialog {
    Q_OBJECT
public:
    AboutMe_Form(const common::AppDir& dir, int languageFlag, QWidget* parent = nullptr);
};

} // namespace korvel::ui
