#include "app/frm_main.h"

#include "app/cp1252_codec.h"
#include "app/error_link.h"
#include "app/session_log_switch.h"
#include "app/status_panel.h"
#include "app/terminal_controller.h"
#include "app/terminal_keys.h"
#include "app/terminal_page.h"
#include "app/transfer_controller.h"
#include "core/event_pump.h"
#include "core/number_text.h"
#include "core/settings_store.h"
#include "core/twips.h"
#include "core/user_dialogs.h"
#include "dialogs/frm_properties.h"
#include "dialogs/frm_remkill.h"
#include "editor/code_editor.h"
#include "editor/editor_pane.h"
#include "editor/findings_panel.h"
#include "editor/navigator_pane.h"
#include "editor/splitter_bar.h"
#include "port/device_map.h"
#include "port/serial_port.h"
#include "terminal/logging_port.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSaveFile>
#include <QScreen>
#include <QStatusBar>
#include <QTabWidget>
#include <QTime>
#include <QToolBar>
#include <QVBoxLayout>
#include <QWindow>

namespace quandel {

namespace {

constexpr const char *kSettings = "Settings";
const QString kCaption = QStringLiteral("KAVOLT Quandel");

double ScreenDpi(const QWidget *w) {
    const QScreen *screen = w->screen() ? w->screen() : QGuiApplication::primaryScreen();
    return screen ? screen->logicalDotsPerInchX() : 96.0;
}

} // namespace

FrmMain::FrmMain(AppServices services, QWidget *parent)
    : QMainWindow(parent),
      loggedPort_(std::make_unique<LoggingPort>(
          services.port,
          [clock = &services.clock] {
              return LogTime{clock->Now(), QTime::currentTime().msecsSinceStartOfDay()};
          })),
      services_{services.settings, services.dialogs, *loggedPort_,
                services.events,   services.clock,   services.devices} {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(kCaption);
    connection_ = std::make_unique<PortConnection>(
        services_.port, services_.dialogs, services_.clock, static_cast<ConnectionView &>(*this));
    BuildCentralArea();
    BuildStatusBar();
    properties_ = new FrmProperties(services_.port, services_.settings, services_.dialogs,
                                    services_.events, services_.devices, this);
    transfers_ =
        new TransferController(*this, services_, flags_, *terminalController_, openLog_, this);
    keys_ = new TerminalKeys(
        *sstMain_, *terminal_, services_.port, flags_, [this] { transfers_->SendClipboardLines(); },
        this);
    keys_->SetBlockedWhen([this] {
        const QWidget *focus = QApplication::focusWidget();
        return focus && navigator_->isAncestorOf(focus);
    });
    BuildMenuBar();
    WireTerminalCommands();
    BuildTimers();
    DescribeWidgetsForAutomation();
    services_.port.SetLostHandler([this] { connection_->OnPortLost(); });
}

FrmMain::~FrmMain() {
    services_.port.SetLostHandler({});
}

void FrmMain::BuildCentralArea() {
    // No layout here: the window layout places the navigator, the splitters
    // and the tab control by its own rules.
    auto *central = new QWidget(this);
    navigator_ = new NavigatorPane(services_.dialogs, flags_, central);

    sstMain_ = new QTabWidget(central);
    sstMain_->setObjectName(QStringLiteral("sstMain"));
    terminal_ = new TerminalPage(sstMain_);
    terminalController_ =
        new TerminalController(*terminal_, services_.port, services_.events, services_.clock, this);
    sstMain_->addTab(terminal_, QStringLiteral("Terminal"));
    editor_ = new EditorPane(services_.dialogs, openLog_, flags_, sstMain_);
    sstMain_->addTab(editor_, QStringLiteral("Editor"));
    setCentralWidget(central);
    layoutHost_ =
        new WindowLayoutHost({this, central, navigator_, sstMain_, statusBar(),
                              terminal_->terminalPane(), editor_->textPane(), editor_->toolbar()},
                             this);

    connect(editor_, &EditorPane::captionChanged, this, &QWidget::setWindowTitle);
    navigator_->setTerminalTabQuery([this] { return sstMain_->currentIndex() == 0; });
    connect(navigator_, &NavigatorPane::programChosen, this, [this](const QString &path) {
        transfers_->programFileName = ToCp1252(path);
        transfers_->DownloadProg(ToCp1252(path));
    });
    new ErrorLink(*terminal_->terminalPane(),
                  [this](const ControllerError &error) { OpenControllerError(error); });
    // From the editor: the user watches the download on the Terminal tab.
    connect(editor_, &EditorPane::downloadRequested, this, [this](const QString &path) {
        sstMain_->setCurrentIndex(0);
        transfers_->programFileName = ToCp1252(path);
        transfers_->DownloadProg(ToCp1252(path));
    });
}

void FrmMain::OpenInEditor(const QString &path) {
    sstMain_->setCurrentIndex(1);
    editor_->Document().OpenFile(ToCp1252(QDir::toNativeSeparators(path)));
}

void FrmMain::OpenControllerError(const ControllerError &error) {
    const std::string number = DecimalText(std::int64_t(error.line));
    const std::string &file = transfers_->LastProgram();
    if (file.empty()) {
        services_.dialogs.MessageBox(
            Cp1252("Zur Fehlerzeile ") + number +
                Cp1252(" ist keine Datei bekannt: Quandel hat in dieser Sitzung noch kein "
                       "Programm geladen.\rÖffnen Sie das Programm im Editor und gehen Sie mit "
                       "Strg+J zur BASIC-Zeile ") +
                number + ".",
            kAppTitle, BoxIcon::Information, BoxButtons::Ok);
        return;
    }
    EditorDocument &document = editor_->Document();
    if (document.FileName() != file && !document.OpenAfterAsking(file))
        return;
    sstMain_->setCurrentIndex(1);
    if (!editor_->GoToBasicLine(error.line)) {
        services_.dialogs.MessageBox(Cp1252("Die BASIC-Zeile ") + number + Cp1252(" gibt es in ") +
                                         file + Cp1252(" nicht mehr."),
                                     kAppTitle, BoxIcon::Information, BoxButtons::Ok);
        return;
    }
    editor_->findings()->ShowExternal(
        editor_->codeEditor()->CursorLine(),
        FromCp1252(Cp1252("Controller: ") + error.message + Cp1252(" in BASIC-Zeile ") + number));
}

bool FrmMain::EditorModified() const {
    return editor_->EditorModified();
}

FrmRemkill &FrmMain::ToolsDialog() {
    if (!frmRemkill_)
        frmRemkill_ = new FrmRemkill(services_.dialogs, services_.events, flags_, lineModel_,
                                     *navigator_, this);
    return *frmRemkill_;
}

void FrmMain::BuildStatusBar() {
    QStatusBar *bar = statusBar();
    bar->setObjectName(QStringLiteral("sbrStatus"));
    bar->setSizeGripEnabled(true);
    panelStatus_ = new StatusPanel(QStringLiteral("Status"), QStringLiteral("Status:"),
                                   QStringLiteral("Einstellungen des Kommunikationsanschlusses"));
    panelMeldung_ = new StatusPanel(QStringLiteral("Meldung"), QString(),
                                    QStringLiteral("Meldungen und Erläuterungen"));
    panelConnectTime_ = new StatusPanel(QStringLiteral("ConnectTime"), QStringLiteral("Verbindung"),
                                        QStringLiteral("Dauer der Verbindung"));
    panelRealTime_ = new StatusPanel(QStringLiteral("RealTime"), QStringLiteral("Zeit"),
                                     QStringLiteral("Uhrzeit"));
    panelConnectTime_->setMinimumWidth(
        fontMetrics().horizontalAdvance(QStringLiteral("00:00:00  ")));
    panelRealTime_->setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("00:00:00  ")));
    bar->addPermanentWidget(panelStatus_);
    bar->addPermanentWidget(panelMeldung_, 1);
    // The editor's cursor, while the Editor tab is shown.
    panelCursor_ = new StatusPanel(QStringLiteral("EditorPosition"), QString(),
                                   QStringLiteral("Position der Schreibmarke im Editor"));
    bar->addPermanentWidget(panelCursor_);
    const auto showCursor = [this] {
        const CodeEditor *code = editor_->codeEditor();
        panelCursor_->setText(QStringLiteral("Zeile %1, Spalte %2")
                                  .arg(code->CursorLine())
                                  .arg(code->CursorColumn()));
        panelCursor_->setVisible(sstMain_->currentIndex() == 1);
    };
    connect(editor_->codeEditor(), &QPlainTextEdit::cursorPositionChanged, this, showCursor);
    connect(sstMain_, &QTabWidget::currentChanged, this, showCursor);
    showCursor();
    bar->addPermanentWidget(panelConnectTime_);
    bar->addPermanentWidget(panelRealTime_);
    for (StatusPanel *panel : {panelStatus_, panelMeldung_, panelConnectTime_, panelRealTime_})
        connect(panel, &StatusPanel::clicked, this,
                [this, panel] { OnStatusPanelClicked(panel->objectName()); });
}

void FrmMain::BuildTimers() {
    timer1_.setObjectName(QStringLiteral("Timer1"));
    timer1_.setInterval(900);
    connect(&timer1_, &QTimer::timeout, this, [this] { connection_->ConnectTimeTick(); });

    timer3_.setObjectName(QStringLiteral("Timer3"));
    timer3_.setInterval(990);
    connect(&timer3_, &QTimer::timeout, this, &FrmMain::ClockTick);
    timer3_.start();

    reconnectTimer_.setObjectName(QStringLiteral("timReconnect"));
    reconnectTimer_.setInterval(500);
    connect(&reconnectTimer_, &QTimer::timeout, this, [this] { connection_->ReconnectTick(); });
}

void FrmMain::DescribeWidgetsForAutomation() {
    // Assistive tools see no object names; the description carries them.
    for (QWidget *w : findChildren<QWidget *>())
        if (!w->objectName().isEmpty() && !w->objectName().startsWith(QLatin1String("qt_")))
            w->setAccessibleDescription(w->objectName());
    setAccessibleDescription(objectName());
}

void FrmMain::Startup() {
    // The key preview sits on the native window, where it sees each
    // keystroke once and before the focused pane.
    winId();
    windowHandle()->installEventFilter(keys_);
    services_.events.ProcessEvents();
    connection_->ResetConnectStart();
    ApplyStoredGeometry();
    LoadFunctionKeyTexts();
    ApplyStoredDirectory();
    navigator_->syncWithCurrentDirectory();

    terminalController_->ShowBanners();

    layoutHost_->StartupPlacement();
    editor_->Document().SetModified(false);
    properties_->Load(); // applies the stored port configuration
    connection_->Open(PortConnection::OpenBy::Startup);
    StatusRefresh();
    // Typed keys go to the controller from the first moment on.
    terminal_->lcdPane()->setFocus(Qt::OtherFocusReason);
}

void FrmMain::ApplyStoredGeometry() {
    const auto read = [this](const char *key, int fallback) -> std::optional<int> {
        return ParseStoredNumber(
            services_.settings.Get(kAppTitle, kSettings, key, DecimalText(fallback)));
    };
    const double dpi = ScreenDpi(this);
    // Each value is a step of its own: an unreadable one keeps what the window has.
    const QRect current = geometry();
    Rect r{current.x(), current.y(), current.width(), current.height()};
    if (auto v = read("MainLeft", 0))
        r.x = TwipsToPixels(*v, dpi);
    if (auto v = read("MainTop", 0))
        r.y = TwipsToPixels(*v, dpi);
    if (auto v = read("MainWidth", 11250); v && *v > 0)
        r.width = TwipsToPixels(*v, dpi);
    if (auto v = read("MainHeight", 7000); v && *v > 0)
        r.height = TwipsToPixels(*v, dpi);

    std::vector<Rect> screens;
    if (const QScreen *primary = QGuiApplication::primaryScreen()) {
        const QRect g = primary->availableGeometry();
        screens.push_back({g.x(), g.y(), g.width(), g.height()});
    }
    for (const QScreen *screen : QGuiApplication::screens()) {
        const QRect g = screen->availableGeometry();
        const Rect s{g.x(), g.y(), g.width(), g.height()};
        if (std::find(screens.begin(), screens.end(), s) == screens.end())
            screens.push_back(s);
    }
    r = BringOntoScreens(r, screens);
    move(r.x, r.y);
    resize(r.width, r.height);
}

FrmMain::TwipsGeometry FrmMain::GeometryInTwips() const {
    const double dpi = ScreenDpi(this);
    return {PixelsToTwips(x(), dpi), PixelsToTwips(y(), dpi), PixelsToTwips(width(), dpi),
            PixelsToTwips(height(), dpi)};
}

void FrmMain::LoadFunctionKeyTexts() {
    for (int i = 4; i < 8; ++i) {
        const std::string section = "FTaste" + DecimalText(i + 1);
        const std::string key = "FTast(" + DecimalText(i) + ").ToolTipText";
        const std::string current = ToCp1252(terminal_->functionKeyText(i));
        terminal_->setFunctionKeyText(
            i, FromCp1252(services_.settings.Get(kAppTitle, section, key, current)));
    }
}

void FrmMain::ApplyStoredDirectory() {
    const QString dir = FromCp1252(services_.settings.Get(kAppTitle, kSettings, "MyDir", "C:\\"));
    if (dir.isEmpty())
        return;
    // The Windows default means "the user's own folder" where there is no C:.
    if (dir == QLatin1String("C:\\") && !QDir(dir).exists()) {
        QDir::setCurrent(QDir::homePath());
        return;
    }
    QDir::setCurrent(dir); // a folder that is gone is skipped
}

void FrmMain::StatusRefresh() {
    connection_->StatusRefresh();
}

void FrmMain::SetClocksRunning(bool running) {
    if (!running) {
        timer1_.stop();
        timer3_.stop();
        return;
    }
    timer1_.start();
    timer3_.start();
}

void FrmMain::WireTerminalCommands() {
    for (int i = 0; i < 8; ++i)
        connect(terminal_->functionKey(i), &QPushButton::clicked, this,
                [this, i] { OnFunctionKeyClicked(i); });
    const auto action = [this](const char *name) {
        return terminal_->toolbar()->findChild<QAction *>(QString::fromLatin1(name));
    };
    connect(action("btnClip"), &QAction::triggered, this,
            [this] { transfers_->SendClipboardLines(); });
    connect(action("btnInfo"), &QAction::triggered, this, &FrmMain::ShowTerminalHelp);
    connect(action("btnStop"), &QAction::triggered, this, [this] {
        if (services_.port.PortOpen())
            services_.port.Output(std::string(1, char(3)));
    });
    QAction *compare = findChild<QAction *>(QStringLiteral("mnuFileCompare"));
    connect(action("btnCompare"), &QAction::triggered, compare, &QAction::trigger);
}

void FrmMain::OnFunctionKeyClicked(int index) {
    if (index >= 4) {
        const auto answer =
            services_.dialogs.InputBox(Cp1252("Text, der beim Drücken der F-Taste gesendet wird"),
                                       "Funktionstaste " + DecimalText(index + 1),
                                       ToCp1252(terminal_->functionKeyText(index)));
        if (answer && !answer->empty())
            terminal_->setFunctionKeyText(index, FromCp1252(*answer));
        SaveFunctionKeyTexts();
    }
    terminal_->terminalPane()->setFocus(Qt::OtherFocusReason);
}

void FrmMain::SaveFunctionKeyTexts() {
    for (int i = 4; i < 8; ++i)
        services_.settings.Save(kAppTitle, "FTaste" + DecimalText(i + 1),
                                "FTast(" + DecimalText(i) + ").ToolTipText",
                                ToCp1252(terminal_->functionKeyText(i)));
}

void FrmMain::ShowTerminalHelp() {
    static const char *const kLines[] = {
        "    Kurze Übersicht über den Terminalbetrieb mit einem Controller.  ",
        "",
        "Auswahl der Schnittstelle (F9). Status wird in der Statusleiste unten angezeigt",
        "Verbinden drücken (F11). Es erscheint die Anzeige 'active'. ",
        "Trennen drücken (Shift+F11). Es erscheint die Anzeige 'not active'. ",
        "Das obere Verbindungsfenster emuliert die Anzeige im LCD-Display.",
        "Das untere Terminalfeld erlaubt immer eine aktuelle Beobachtung der Verbindung. ",
        "",
        "Es ist besonders auch für den direkten Online-Betrieb und den Programm-Downlaod "
        "geeignet. ",
    };
    std::string text;
    for (const char *line : kLines)
        text += Cp1252(line) + "\r\n";
    services_.dialogs.MessageBox(text, kAppTitle, BoxIcon::None, BoxButtons::Ok);
}

void FrmMain::SettingsCommand() {
    // The dialog may close, renumber and scan the port: a lost port is not
    // to be reopened behind its back while it is shown. Afterwards the watch
    // goes on only when it still means the same device.
    const int number = services_.port.CommPort();
    const std::string device = DeviceFor(number, services_.settings);
    connection_->PauseWatch();
    properties_->ShowModal();
    connection_->AfterSettingsDialog(services_.port.CommPort() == number &&
                                     DeviceFor(number, services_.settings) == device);
    StatusRefresh();
}

void FrmMain::OnStatusPanelClicked(const QString &key) {
    if (key == QLatin1String("Status"))
        connection_->TogglePanel();
}

void FrmMain::ClockTick() {
    panelRealTime_->setText(QTime::currentTime().toString(QStringLiteral("hh:mm:ss")));
}

void FrmMain::ShowPortStatus(const std::string &text, bool connectedIcon) {
    panelStatus_->setText(FromCp1252(text));
    panelStatus_->setPicture(connectedIcon ? ConnectedIcon() : NotConnectedIcon(),
                             connectedIcon ? QStringLiteral("imgConnected")
                                           : QStringLiteral("imgNotConnected"));
}

void FrmMain::ShowConnectTime(const std::string &text) {
    panelConnectTime_->setText(FromCp1252(text));
}

void FrmMain::ShowMessage(const std::string &text) {
    panelMeldung_->setText(FromCp1252(text));
}

void FrmMain::SetConnectTimerRunning(bool running) {
    if (running)
        timer1_.start();
    else
        timer1_.stop();
}

void FrmMain::SetReconnectWatch(bool watching) {
    if (watching)
        reconnectTimer_.start();
    else
        reconnectTimer_.stop();
}

bool FrmMain::CloseRequest() {
    // A text that could not be saved (or whose save was cancelled) keeps the
    // window open; the geometry is stored either way.
    const bool cancelled = !editor_->SaveBeforeClose();
    SaveGeometryAndDirectory();
    return !cancelled;
}

void FrmMain::SaveGeometryAndDirectory() {
    if (windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen))
        return;
    const TwipsGeometry g = GeometryInTwips();
    SettingsStore &store = services_.settings;
    store.Save(kAppTitle, kSettings, "MainLeft", DecimalText(g.left));
    store.Save(kAppTitle, kSettings, "MainTop", DecimalText(g.top));
    store.Save(kAppTitle, kSettings, "MainWidth", DecimalText(g.width));
    store.Save(kAppTitle, kSettings, "MainHeight", DecimalText(g.height));
    store.Save(kAppTitle, kSettings, "MyDir",
               ToCp1252(QDir::toNativeSeparators(QDir::currentPath())));
}

void FrmMain::closeEvent(QCloseEvent *event) {
    if (!CloseRequest()) {
        event->ignore();
        return;
    }
    // A read-out still running gets its last line and is closed, as if
    // chosen again: the file is complete before the program ends.
    transfers_->EndReadout();
    sessionLog_->End();
    event->accept();
}

void FrmMain::ExitCommand() {
    // Cancel in the save prompt keeps the program running: an exit that
    // throws away unsaved text on Cancel would lose the user's work.
    close();
}

} // namespace quandel
