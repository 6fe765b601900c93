#include "ui/TextLettersDialog.h"

#include "app/MainFormCaptions.h"
#include "ui/XianShiCE.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

namespace korvel::ui {

namespace {

constexpr const char* kStartHeight = "300";
constexpr const char* kStartSpacing = "0";

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace

// The letters fitted into the widget, y upwards as on the machine's table,
// outer contours and holes filled by the even-odd rule as they will bend.
class TextPreviewView : public QWidget {
public:
    explicit TextPreviewView(QWidget* parent) : QWidget(parent) {
        setMinimumSize(480, 200);
        setAutoFillBackground(true);
        QPalette p = palette();
        p.setColor(QPalette::Window, Qt::white);
        setPalette(p);
    }
    void show(const app::TextPreview* preview) {
        m_preview = preview;
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override {
        if (m_preview == nullptr || !m_preview->acceptable()) {
            return;
        }
        const double width = m_preview->high.x - m_preview->low.x;
        const double height = m_preview->high.y - m_preview->low.y;
        const double margin = 12.0;
        const double scale = std::min((this->width() - 2 * margin) / std::max(width, 1e-9),
                                      (this->height() - 2 * margin) / std::max(height, 1e-9));
        // Centred in the widget.
        const double left = (this->width() - width * scale) / 2.0;
        const double bottom = (this->height() + height * scale) / 2.0;
        QPainterPath path;
        path.setFillRule(Qt::OddEvenFill);
        for (const auto& outline : m_preview->outlines) {
            for (std::size_t i = 0; i < outline.size(); ++i) {
                const QPointF p(left + (outline[i].x - m_preview->low.x) * scale,
                                bottom - (outline[i].y - m_preview->low.y) * scale);
                i == 0 ? path.moveTo(p) : path.lineTo(p);
            }
            path.closeSubpath();
        }
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(QColor(20, 60, 160), 1.5));
        painter.setBrush(QColor(200, 215, 245));
        painter.drawPath(path);
    }

private:
    const app::TextPreview* m_preview = nullptr;
};

TextLettersDialog::TextLettersDialog(const common::AppDir& app, int languageFlag, QWidget* parent)
    : QDialog(parent),
      m_language(languageFlag == 0 ? common::Language::Chinese : common::Language::English),
      m_families(geometry::InstalledFontFamilies()), m_text(new QLineEdit(this)),
      m_family(new QComboBox(this)), m_style(new QComboBox(this)),
      m_height(new QLineEdit(kStartHeight, this)), m_spacing(new QLineEdit(kStartSpacing, this)),
      m_view(new TextPreviewView(this)), m_problem(new QLabel(this)), m_ok(new QPushButton(this)) {
    setObjectName("TextLettersDialog");
    m_text->setObjectName("TextEdit");
    m_family->setObjectName("FamilyBox");
    m_style->setObjectName("StyleBox");
    m_height->setObjectName("HeightEdit");
    m_spacing->setObjectName("SpacingEdit");
    m_view->setObjectName("TextPreview");
    m_problem->setObjectName("TextProblem");
    m_problem->setWordWrap(true);
    m_ok->setObjectName("TextOk");
    m_ok->setDefault(true);
    auto* cancel = new QPushButton(this);
    cancel->setObjectName("TextCancel");

    auto* form = new QFormLayout;
    const char* labels[] = {"TextLabel_Text", "TextLabel_Font", "TextLabel_Style",
                            "TextLabel_Height", "TextLabel_Spacing"};
    QWidget* editors[] = {m_text, m_family, m_style, m_height, m_spacing};
    for (int i = 0; i < 5; ++i) {
        auto* label = new QLabel(this);
        label->setObjectName(labels[i]);
        form->addRow(label, editors[i]);
    }
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_view, 1);
    layout->addWidget(m_problem);
    layout->addLayout(buttons);

    for (const auto& family : m_families) {
        m_family->addItem(Q(family.name));
    }
    m_family->setCurrentIndex(static_cast<int>(app::PreferredFamily(m_families)));
    familyChanged();
    XianShiCE(*this, app::TextDialogCaptions(), app, app::kMainFormCaptionFile, languageFlag);

    connect(m_family, &QComboBox::currentIndexChanged, this, [this] { familyChanged(); });
    connect(m_style, &QComboBox::currentIndexChanged, this, [this] { refresh(); });
    for (QLineEdit* edit : {m_text, m_height, m_spacing}) {
        connect(edit, &QLineEdit::textChanged, this, [this] { refresh(); });
    }
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    refresh();
    resize(640, 480);
}

app::TextFields TextLettersDialog::fields() const {
    return {m_text->text().toStdString(), m_family->currentText().toStdString(),
            m_style->currentText().toStdString(), m_height->text().toStdString(),
            m_spacing->text().toStdString()};
}

geometry::TextRequest TextLettersDialog::request() const {
    return app::TextRequestOf(fields());
}

void TextLettersDialog::familyChanged() {
    const QSignalBlocker quiet(m_style);
    m_style->clear();
    const auto index = static_cast<std::size_t>(std::max(m_family->currentIndex(), 0));
    if (index < m_families.size()) {
        for (const auto& style : m_families[index].styles) {
            m_style->addItem(Q(style));
        }
    }
    refresh();
}

void TextLettersDialog::refresh() {
    m_preview = app::PreviewText(fields());
    m_problem->setText(m_preview.acceptable() ? QString() : Q(m_preview.problem.text(m_language)));
    m_ok->setEnabled(m_preview.acceptable());
    m_view->show(&m_preview);
}

} // namespace korvel::ui
