#pragma once
// "文件" -> "文字…": the operator types a word, picks the font, its style,
// the letter height and the spacing, and sees the letters as they will be
// opened. OK is offered only while the letters can be made; the reason why
// not is shown under the preview.

#include "app/TextLetterRules.h"
#include "common/AppDir.h"

#include <QDialog>
#include <vector>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace korvel::ui {

class TextPreviewView;

class TextLettersDialog : public QDialog {
    Q_OBJECT
public:
    TextLettersDialog(const common::AppDir& app, int languageFlag, QWidget* parent = nullptr);

    // The request of the fields (the dialog accepts only a good one).
    geometry::TextRequest request() const;
    const app::TextPreview& preview() const { return m_preview; }

private:
    app::TextFields fields() const;
    void familyChanged();
    void refresh();

    common::Language m_language;
    std::vector<geometry::FontFamily> m_families;
    app::TextPreview m_preview;
    QLineEdit* m_text;
    QComboBox* m_family;
    QComboBox* m_style;
    QLineEdit* m_height;
    QLineEdit* m_spacing;
    TextPreviewView* m_view;
    QLabel* m_problem;
    QPushButton* m_ok;
};

} // namespace korvel::ui
