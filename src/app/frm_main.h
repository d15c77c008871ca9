#pragma once

#include "app/app_services.h"
#include "basictools/line_model.h"
#include "core/shared_flags.h"
#include "core/user_dialogs.h"
#include "port/port_connection.h"

#include <QMainWindow>
#include <QTimer>
#include <array>
#include <memory>

class QAction;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QToolBar;

namespace quandel {

struct ControllerError;
class EditorPane;
class FrmProperties;
class FrmRemkill;
class LoggingPort;
class NavigatorPane;
class WindowLayoutHost;
class SessionLogSwitch;
class StatusPanel;
class TerminalController;
class TerminalKeys;
class TransferController;
class TerminalPage;

// The main window: owns the panes, menus, status bar and timers, and wires
// user events to the core. Start-up and the close request live here.
class FrmMain : public QMainWindow, private ConnectionView {
    Q_OBJECT
public:
    explicit FrmMain(AppServices services, QWidget *parent = nullptr);
    ~FrmMain() override;

    // The start-up sequence; runs once, before the window is shown.
    void Startup();
    // Asks to save a changed editor text and stores geometry and working
    // directory. False when the user cancelled.
    bool CloseRequest();
    // "Ende" in "&Datei" and the top-level "&Ende".
    void ExitCommand();

    void StatusRefresh();
    PortConnection &Connection() { return *connection_; }
    SharedFlags &Flags() { return flags_; }
    TerminalController &Terminal() { return *terminalController_; }
    TransferController &Transfers() { return *transfers_; }
    TerminalKeys &Keys() { return *keys_; }
    TerminalPage &TerminalPageWidget() { return *terminal_; }
    StatusPanel &MessagePanel() { return *panelMeldung_; }
    QAction &ReadoutAction() { return *readoutAction_; }
    QAction &SessionLogAction() { return *sessionLogAction_; }
    FrmProperties &Properties() { return *properties_; }
    // The connect-time and clock displays stand still during a read-out.
    void SetClocksRunning(bool running);
    bool EditorModified() const;
    EditorPane &Editor() { return *editor_; }
    NavigatorPane &Navigator() { return *navigator_; }
    WindowLayoutHost &LayoutHost() { return *layoutHost_; }
    // The tools dialog, made on first use and kept (its fields carry over).
    FrmRemkill &ToolsDialog();
    // Shows `path` on the Editor tab; a file that cannot be loaded is said so.
    void OpenInEditor(const QString &path);
    // A double-click on the controller's error report: the program last
    // downloaded opens in the editor, on the line the report names.
    void OpenControllerError(const ControllerError &error);

    // Window geometry in twips as the settings store keeps it.
    struct TwipsGeometry {
        int left, top, width, height;
    };
    TwipsGeometry GeometryInTwips() const;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void BuildMenuBar();
    void BuildCentralArea();
    void BuildStatusBar();
    void BuildTimers();
    void DescribeWidgetsForAutomation();

    void ApplyStoredGeometry();
    void SaveGeometryAndDirectory();
    void LoadFunctionKeyTexts();
    void ApplyStoredDirectory();

    void OnStatusPanelClicked(const QString &key);
    void SettingsCommand();
    void OnFunctionKeyClicked(int index);
    void SaveFunctionKeyTexts();
    void ShowTerminalHelp();
    void WireTerminalCommands();
    void ClockTick();

    // ConnectionView
    void ShowPortStatus(const std::string &text, bool connectedIcon) override;
    void ShowConnectTime(const std::string &text) override;
    void ShowMessage(const std::string &text) override;
    void SetConnectTimerRunning(bool running) override;
    void SetReconnectWatch(bool watching) override;

    // In front of the port handed in: everything sent and received passes
    // the session log. Declared first, as every part below holds it.
    std::unique_ptr<LoggingPort> loggedPort_;
    AppServices services_;
    SharedFlags flags_;
    std::unique_ptr<PortConnection> connection_;

    QTabWidget *sstMain_ = nullptr;
    TerminalPage *terminal_ = nullptr;
    TerminalController *terminalController_ = nullptr;
    TransferController *transfers_ = nullptr;
    TerminalKeys *keys_ = nullptr;
    QAction *readoutAction_ = nullptr;
    QAction *sessionLogAction_ = nullptr;
    std::unique_ptr<SessionLogSwitch> sessionLog_;
    FrmProperties *properties_ = nullptr;
    EditorPane *editor_ = nullptr;
    NavigatorPane *navigator_ = nullptr;
    WindowLayoutHost *layoutHost_ = nullptr;
    FrmRemkill *frmRemkill_ = nullptr;
    FileDialogState openLog_; // the window's one file dialog, shared by its commands
    LineModel lineModel_;     // the source tools' tables live as long as the window
    StatusPanel *panelStatus_ = nullptr;
    StatusPanel *panelMeldung_ = nullptr;
    StatusPanel *panelCursor_ = nullptr;
    StatusPanel *panelConnectTime_ = nullptr;
    StatusPanel *panelRealTime_ = nullptr;

    QTimer timer1_;
    QTimer timer3_;
    QTimer reconnectTimer_;
};

} // namespace quandel
