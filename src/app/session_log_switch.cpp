#include "app/session_log_switch.h"

#include "core/number_text.h"
#include "core/settings_store.h"
#include "core/system_error.h"
#include "core/user_dialogs.h"
#include "terminal/logging_port.h"

#include <QAction>
#include <QDate>

namespace quandel {

SessionLogSwitch::SessionLogSwitch(QAction &action, LoggingPort &port, SettingsStore &settings,
                                   UserDialogs &dialogs, FileDialogState &fileDialog)
    : action_(action), port_(port), settings_(settings), dialogs_(dialogs),
      fileDialog_(fileDialog) {
    // Often enough for the pause rule; idle while the log is off.
    tick_.setInterval(int(SessionLog::kPause.count() / 2));
    connect(&tick_, &QTimer::timeout, this, &SessionLogSwitch::Tick);
}

SessionLogSwitch::~SessionLogSwitch() {
    Finish();
}

void SessionLogSwitch::Toggle() {
    if (Active())
        End();
    else
        Start();
    // The check mark tells whether the log runs, not how often it was chosen.
    action_.setChecked(Active());
}

void SessionLogSwitch::Start() {
    fileDialog_.title = "Sitzungsprotokoll speichern";
    fileDialog_.filter = "Protokolldateien (*.log)|*.log|Alle Dateien (*.*)|*.*";
    fileDialog_.defaultExt = "LOG";
    fileDialog_.fileName = settings_.Get(kAppTitle, kSection, kPathKey, "");
    // The file is appended to: "replace it?" would ask the wrong question.
    fileDialog_.confirmOverwrite = false;
    const bool chosen = dialogs_.SaveFileDialog(fileDialog_);
    fileDialog_.confirmOverwrite = true;
    if (!chosen)
        return;
    const std::string path = fileDialog_.fileName;
    int err = 0;
    if (!file_.Open(path, err)) {
        dialogs_.MessageBox(Cp1252("Die Datei ") + path + Cp1252(" kann nicht geöffnet werden:\r") +
                                SystemErrorText(err) +
                                Cp1252("\rDas Sitzungsprotokoll wird nicht begonnen."),
                            kAppTitle, BoxIcon::Exclamation, BoxButtons::Ok);
        return;
    }
    path_ = path;
    settings_.Save(kAppTitle, kSection, kPathKey, path_);
    port_.StartLog(file_);
    // Stamps carry the time only: the first line of each session says the day.
    port_.NoteInLog("Sitzungsprotokoll begonnen am " +
                    QDate::currentDate().toString(QStringLiteral("dd.MM.yyyy")).toStdString() +
                    (port_.PortOpen() ? ", COM" + NumberText(port_.CommPort()) + "," +
                                            port_.Settings() + " offen"
                                      : ", COM" + NumberText(port_.CommPort()) + " geschlossen"));
    if (port_.LogFailed()) {
        Failed();
        return;
    }
    tick_.start();
}

void SessionLogSwitch::End() {
    if (!Active())
        return;
    if (!Finish())
        dialogs_.MessageBox(Cp1252("Die Datei ") + path_ +
                                Cp1252(" konnte nicht vollständig geschrieben werden."),
                            kAppTitle, BoxIcon::Exclamation, BoxButtons::Ok);
    action_.setChecked(false);
}

bool SessionLogSwitch::Finish() {
    tick_.stop();
    if (!file_.IsOpen())
        return true;
    if (port_.LogActive())
        port_.NoteInLog("Sitzungsprotokoll beendet");
    bool ok = port_.StopLog();
    ok = file_.Close() && ok;
    return ok;
}

void SessionLogSwitch::Tick() {
    port_.TickLog();
    if (port_.LogFailed())
        Failed();
}

void SessionLogSwitch::Failed() {
    // Said once: the log is off from here on, and the file closed.
    const int err = file_.LastError();
    tick_.stop();
    port_.StopLog();
    file_.Close();
    action_.setChecked(false);
    dialogs_.MessageBox(Cp1252("In die Datei ") + path_ +
                            Cp1252(" kann nicht mehr geschrieben werden:\r") +
                            SystemErrorText(err) +
                            Cp1252("\rDas Sitzungsprotokoll wurde beendet; die Datei enthält "
                                   "alles bis dahin Protokollierte."),
                        kAppTitle, BoxIcon::Exclamation, BoxButtons::Ok);
}

} // namespace quandel
