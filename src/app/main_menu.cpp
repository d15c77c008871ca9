// The menu bar of the main window. Items whose commands come with later
// subsystems exist already and do nothing yet.

#include "app/cp1252_codec.h"
#include "app/frm_main.h"
#include "app/session_log_switch.h"
#include "app/terminal_controller.h"
#include "app/transfer_controller.h"
#include "basictools/tool_runner.h"
#include "dialogs/frm_about.h"
#include "dialogs/frm_ascii.h"
#include "dialogs/frm_remkill.h"
#include "dialogs/help_texts.h"
#include "editor/navigator_pane.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace quandel {

namespace {

QAction *Item(QMenu *menu, const char *name, const QString &text,
              const QKeySequence &shortcut = {}) {
    QAction *action = menu->addAction(text);
    action->setObjectName(QString::fromLatin1(name));
    action->setShortcut(shortcut);
    return action;
}

QAction *TopLevel(QMenuBar *bar, const char *name, const QString &text) {
    QAction *action = bar->addAction(text);
    action->setObjectName(QString::fromLatin1(name));
    return action;
}

QMenu *Menu(QMenuBar *bar, const char *name, const QString &title) {
    QMenu *menu = bar->addMenu(title);
    menu->setObjectName(QString::fromLatin1(name));
    return menu;
}

} // namespace

void FrmMain::BuildMenuBar() {
    QMenuBar *bar = menuBar();

    QMenu *file = Menu(bar, "mnuFile", QStringLiteral("&Datei"));
    QAction *load = Item(file, "mnuFileLoad", QStringLiteral("Programm laden"),
                         QKeySequence(Qt::CTRL | Qt::Key_L));
    QAction *loadChanges = Item(file, "mnuFileLoadChanges", QStringLiteral("Änderungen laden"));
    QAction *readout = Item(file, "mnuFileSave", QStringLiteral("Daten auslesen und speichern"),
                            QKeySequence(Qt::CTRL | Qt::Key_S));
    readout->setCheckable(true);
    QAction *compare = Item(file, "mnuFileCompare", QStringLiteral("Programm vergleichen"));
    QAction *sessionLog = Item(file, "mnuFileSessionLog", QStringLiteral("Sitzungsprotokoll"));
    sessionLog->setCheckable(true);
    file->addSeparator();
    Item(file, "mnuFileLogOpen", QStringLiteral("Log-Datei öffnen"));
    Item(file, "mnuFileParamLoad", QStringLiteral("Parameterdatei laden"));
    Item(file, "mnuFileParamSave", QStringLiteral("Parameterdatei speichern"));
    Item(file, "mnuFileParamSaveAs", QStringLiteral("Parameterdatei speichern unter"));
    Item(file, "mnuFileEepromRead", QStringLiteral("EEPROM lesen"));
    Item(file, "mnuFileEepromSave", QStringLiteral("EEPROM speichern"));
    file->addSeparator();
    QAction *fileExit = Item(file, "mnuFileExit", QStringLiteral("Ende"));

    QAction *ascii = TopLevel(bar, "mnuAscii", QStringLiteral("&ASCII-Tabelle"));

    QMenu *tools = Menu(bar, "mnuTools", QStringLiteral("&Programmiertools"));
    const std::pair<QAction *, ToolMode> toolItems[] = {
        {Item(tools, "mnuToolsRemkill", QStringLiteral("Remkill"),
              QKeySequence(Qt::CTRL | Qt::Key_R)),
         ToolMode::RemKill},
        {Item(tools, "mnuToolsDenumber", QStringLiteral("Denumber"),
              QKeySequence(Qt::CTRL | Qt::Key_D)),
         ToolMode::DeNumber},
        {Item(tools, "mnuToolsVarlist", QStringLiteral("Variablenliste"),
              QKeySequence(Qt::CTRL | Qt::Key_G)),
         ToolMode::VarList}};
    for (const auto &[action, mode] : toolItems)
        connect(action, &QAction::triggered, this, [this, mode = mode] {
            // Tools and transfers share the thread's event passes: not both at once.
            if (transfers_->Busy())
                return;
            ToolsDialog().ShowForMode(mode);
        });

    QMenu *com = Menu(bar, "mnuCom", QStringLiteral("&Com-Anschluss"));
    QAction *open =
        Item(com, "mnuComOpen", QStringLiteral("Com öffnen"), QKeySequence(Qt::Key_F11));
    QAction *close = Item(com, "mnuComClose", QStringLiteral("Com Schließen"),
                          QKeySequence(Qt::SHIFT | Qt::Key_F11));
    QAction *settings =
        Item(com, "mnuProperties", QStringLiteral("&Einstellungen"), QKeySequence(Qt::Key_F9));

    QMenu *help = Menu(bar, "mnuHelp", QStringLiteral("&Hilfe"));
    QAction *manual = Item(help, "mnuHelpBasic", QStringLiteral("BASIC-Manual"));
    QAction *version = Item(help, "mnuHelpAbout", QStringLiteral("Version"));
    QAction *info = Item(help, "mnuHelpInfo", QStringLiteral("Info"));

    // Keeps "&Ende" apart from the other menus.
    TopLevel(bar, "mnuSpacer", QString(16, QLatin1Char(' ')));
    QAction *exit = TopLevel(bar, "mnuEnd", QStringLiteral("&Ende"));

    readoutAction_ = readout;
    sessionLogAction_ = sessionLog;
    sessionLog_ = std::make_unique<SessionLogSwitch>(*sessionLog, *loggedPort_, services_.settings,
                                                     services_.dialogs, openLog_);
    connect(sessionLog, &QAction::triggered, this, [this] { sessionLog_->Toggle(); });
    connect(load, &QAction::triggered, this, [this] {
        transfers_->programFileName = ToCp1252(navigator_->programFileName());
        transfers_->LoadCommand();
    });
    connect(loadChanges, &QAction::triggered, this, [this] {
        transfers_->programFileName = ToCp1252(navigator_->programFileName());
        transfers_->LoadChangesCommand();
    });
    connect(compare, &QAction::triggered, this, [this] {
        transfers_->programFileName = ToCp1252(navigator_->programFileName());
        transfers_->CompareCommand();
    });
    connect(readout, &QAction::triggered, this, [this] {
        transfers_->ReadoutCommand();
        // The check mark tells whether a read-out runs, not how often it was chosen.
        readoutAction_->setChecked(terminalController_->Receive().ReadoutActive());
    });
    connect(fileExit, &QAction::triggered, this, &FrmMain::ExitCommand);
    connect(exit, &QAction::triggered, this, &FrmMain::ExitCommand);
    connect(open, &QAction::triggered, this, [this] { connection_->Open(); });
    connect(close, &QAction::triggered, this, [this] { connection_->Close(); });
    connect(settings, &QAction::triggered, this, &FrmMain::SettingsCommand);
    connect(ascii, &QAction::triggered, this, [this] { FrmAscii::ShowTable(this); });
    connect(manual, &QAction::triggered, this, [this] { ShowBasicManual(services_.dialogs); });
    connect(version, &QAction::triggered, this,
            [this] { FrmAbout::ShowModal(services_.dialogs, this); });
    connect(info, &QAction::triggered, this, [this] { ShowOverview(services_.dialogs); });
}

} // namespace quandel
