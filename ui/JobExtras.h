#pragma once
// What the main window adds around a job beyond running it: the remaining
// machine time beside the remaining length, the bent-letter preview over
// the outline with each piece's closure figures, the segment list's restart
// at a chosen piece and the job log. The class finds the controls it works
// with by their object names, so the main window only creates it and calls
// it at three moments (selection changed, display refreshed, tick done).

#include "common/Message.h"

#include <QObject>

class QAction;
class QLabel;
class QListWidget;

namespace korvel::app {
class OperatorSession;
}

namespace korvel::ui {

class MainForm;
class PictureView;

class JobExtras : public QObject {
    Q_OBJECT
public:
    explicit JobExtras(MainForm& window);

    // The display was brought up to date: the time label follows.
    void refresh();
    // The prepared path changed: the preview, when shown, is made again.
    void selectionChanged();

    // The commands, as the menu and the segment list give them.
    void setPreviewShown(bool shown);
    void startFromPiece(int piece);
    void showJobLog();

private:
    void updatePreview();
    void clearPreview();
    void applyTexts();
    void say(const common::Message& message);

    MainForm& m_window;
    app::OperatorSession& m_session;
    PictureView* m_view = nullptr;
    QListWidget* m_list1 = nullptr;
    QLabel* m_timeLabel = nullptr;
    QLabel* m_previewStatus = nullptr;
    QAction* m_previewAction = nullptr;
    QAction* m_fromPieceAction = nullptr;
    QAction* m_logAction = nullptr;
};

} // namespace korvel::ui
