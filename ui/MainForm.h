#pragma once
// MainForm: the operator's one top-level window. The outline view takes
// most of it; beside it sit the control and setup tabs, the job panel, the
// job information, segment list and calibration tabs and the tool panels;
// below it the machine status. The window only forwards commands to the
// application layer and copies results into its controls: every rule it
// applies lives in app/ (activation, captions, lamps, strokes, tabs).

#include "app/MainFormActivation.h"
#include "app/OperatorState.h"
#include "common/Message.h"

#include <QElapsedTimer>
#include <QMainWindow>
#include <filesystem>
#include <functional>
#include <optional>

class QAction;
class QDialog;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QTabBar;
class QTimer;

namespace korvel::app {
class OperatorSession;
}

namespace korvel::ui {

class EngravePanel;
class GluePanel;
class ParameterGroupPanel;
class PictureView;
class SimulatedPanel;

class MainForm : public QMainWindow {
    Q_OBJECT
public:
    // The machine has started up in `session`; the window restores the
    // remembered fields, loads its captions and activates.
    explicit MainForm(app::OperatorSession& session, QWidget* parent = nullptr);
    ~MainForm() override;

    app::OperatorSession& session() { return m_session; }
    app::OperatorState& operatorState() { return m_state; }

    // Timer2 drives the executor on the real clock; an unattended run
    // stops it and drives the machine in virtual time instead.
    void startTimer2();
    void stopTimer2();

    // The commands as the operator gives them; the scripted start and the
    // tests call them too. Every problem goes to the operator dialog.
    bool openDrawing(const std::filesystem::path& drawing, std::optional<double> planeZ);
    void selectWholeLetter();
    void Command_Run();
    void Command_Pause();
    void Command_Stop();
    void setLanguage(int languageFlag);
    // The activation handler (at start and after every setup window).
    void activate();
    // One Timer2 period: the machine moves for `elapsedMs` of real time,
    // the executor ticks and the display follows.
    void advance(std::int64_t elapsedMs);
    // Runs the machine in virtual time until no run is left (unattended).
    bool runToEnd(std::int64_t maxTicks);
    // Brings the status frame and job labels up to date.
    void refreshDisplay();

    // Opens a setup window modally and re-applies the activation handler
    // when it closes (the windows of the setup buttons).
    void showSetupWindow(QDialog& window);

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // Construction.
    void buildMenus();
    QWidget* buildSideColumn();
    QWidget* buildControlPage();
    QWidget* buildSetupPage();
    QWidget* buildJobFrame();
    QWidget* buildInfoTabs();
    QWidget* buildStatusFrame();
    QMenu* buildContextMenu();
    QAction* action(QMenu* menu, const char* name, const char* caption, void (MainForm::*slot)());

    // Captions and activation.
    void loadCaptions();
    void applyActivation(const app::MainFormActivation& activation);
    void applyModeCaptions(const app::MainFormActivation& activation);
    void restoreFormText();
    void saveFormText();

    // Menu commands.
    void openFileDialog();
    // "文字…": the text dialog; OK opens its letters like a drawing.
    void showTextDialog();
    // After a drawing or typed letters were opened: the name in the
    // drawing label, the lengths cleared, the view redrawn.
    void showOpenedDrawing(const std::string& name, const std::string& shown);
    void closeFile();
    void exportPlt();
    void showEngravePanel();
    void exitWindow();
    void mirror();
    void restoreView();
    void cancelSelection();
    void showArea();
    void showGluePanel();
    void deleteNodeMode();
    void undoAllDeletes();
    void undoLastDelete();
    void addNodeMode();
    void undoAllAdds();
    void undoLastAdd();
    void showGroupManager();
    void showCurrentGroups();
    void showAbout();
    void cancelPath();
    void chinese() { setLanguage(0); }
    void english() { setLanguage(1); }

    // The setup windows of the setup buttons, each created when opened.
    template <typename Window> void openSetup();
    void connectSetupButtons();
    void openIoWindow();
    void openUserWindow();

    // Buttons and tabs.
    void Command1();
    void Command7();
    void tabStrip1Clicked(int tab);
    void tabStrip3Clicked(int tab);
    void list1Clicked(int row);

    // Running.
    void timer2Tick();
    void jobFinished();
    void copyRunFields();
    void selectionChanged();
    void showPreparation();
    void redrawView(int highlightedSegment = 0);

    void say(const common::Message& message);
    common::Language language() const;
    int languageFlag() const;
    // A control of the window by its object name.
    template <typename T = QWidget> T* child(const QString& name) const {
        return findChild<T*>(name);
    }

    app::OperatorSession& m_session;
    app::OperatorState m_state;
    PictureView* m_view = nullptr;
    QMenu* m_contextMenu = nullptr;
    QTabBar* m_tabStrip1 = nullptr;
    QTabBar* m_tabStrip3 = nullptr;
    QWidget* m_controlPage = nullptr;
    QWidget* m_frame4 = nullptr;
    QListWidget* m_list1 = nullptr;
    QLineEdit* m_text1 = nullptr;
    ParameterGroupPanel* m_groupPanel = nullptr;
    EngravePanel* m_engravePanel = nullptr;
    GluePanel* m_gluePanel = nullptr;
    SimulatedPanel* m_simPanel = nullptr;
    QLabel* m_machineStatus = nullptr;
    QLabel* m_groupStatus = nullptr;
    QTimer* m_timer2 = nullptr;
    QElapsedTimer m_clock;
    bool m_closing = false;
    bool m_inTick = false;
};

} // namespace korvel::ui
