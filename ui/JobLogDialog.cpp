#include "ui/JobLogDialog.h"

#include "common/Basic.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QTableWidget>
#include <QVBoxLayout>

namespace korvel::ui {

namespace {

QString Pick(common::Language language, const char* zh, const char* en) {
    return QString::fromUtf8(language == common::Language::English ? en : zh);
}

QStringList RowOf(const app::JobLogEntry& e) {
    return {QString::fromStdString(e.time),
            QString::fromStdString(e.drawing),
            QString::number(e.pieces),
            QString::number(e.runs),
            QString::fromStdString(common::FormatNumber(e.strip, "0.0")),
            QString::fromStdString(common::FormatNumber(e.seconds, "0.0")),
            QString::fromStdString(e.message.empty() ? e.ended : e.ended + ": " + e.message)};
}

} // namespace

JobLogDialog::JobLogDialog(const std::vector<app::JobLogEntry>& entries, common::Language language,
                           QWidget* parent)
    : QDialog(parent) {
    setObjectName("JobLogDialog");
    setWindowTitle(Pick(language, "加工记录", "Job log"));
    auto* table = new QTableWidget(static_cast<int>(entries.size()), 7, this);
    table->setObjectName("JobLogTable");
    table->setHorizontalHeaderLabels(
        {Pick(language, "时间", "Time"), Pick(language, "图形", "Drawing"),
         Pick(language, "段数", "Pieces"), Pick(language, "字数", "Runs"),
         Pick(language, "用料(mm)", "Strip (mm)"),
         Pick(language, "机器时间(s)", "Machine time (s)"), Pick(language, "结束", "Ended")});
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->verticalHeader()->hide();
    for (int row = 0; row < static_cast<int>(entries.size()); ++row) {
        const QStringList cells = RowOf(entries[static_cast<std::size_t>(row)]);
        for (int column = 0; column < cells.size(); ++column) {
            table->setItem(row, column, new QTableWidgetItem(cells[column]));
        }
    }
    table->resizeColumnsToContents();
    table->horizontalHeader()->setStretchLastSection(true);
    table->scrollToBottom();

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(table);
    layout->addWidget(buttons);
    resize(820, 360);
}

} // namespace korvel::ui
