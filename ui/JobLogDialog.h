#pragma once
// The job log (JobLog.csv) as a read-only table, newest job last.

#include "app/JobLog.h"
#include "common/Message.h"

#include <QDialog>
#include <vector>

namespace korvel::ui {

class JobLogDialog : public QDialog {
    Q_OBJECT
public:
    JobLogDialog(const std::vector<app::JobLogEntry>& entries, common::Language language,
                 QWidget* parent = nullptr);
};

} // namespace korvel::ui
