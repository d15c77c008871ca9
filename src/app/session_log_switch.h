#pragma once

#include "terminal/session_log.h"

#include <QObject>
#include <QTimer>
#include <string>

class QAction;

namespace quandel {

class LoggingPort;
class SettingsStore;
class UserDialogs;
struct FileDialogState;

// "Sitzungsprotokoll" in "&Datei": while checked, the port's dialogue goes
// into a file the user chose (appended to what it holds). The path is kept
// in the settings, the on-state is not. Independent of the read-out.
class SessionLogSwitch final : public QObject {
    Q_OBJECT
public:
    SessionLogSwitch(QAction &action, LoggingPort &port, SettingsStore &settings,
                     UserDialogs &dialogs, FileDialogState &fileDialog);
    ~SessionLogSwitch() override;

    void Toggle();
    // Closes the file, as when switched off (the program ends).
    void End();
    bool Active() const { return file_.IsOpen(); }

    static constexpr const char *kSection = "Sitzungsprotokoll";
    static constexpr const char *kPathKey = "Datei";

private:
    void Start();
    // False when the file could not be completed.
    bool Finish();
    void Tick();
    void Failed();

    QAction &action_;
    LoggingPort &port_;
    SettingsStore &settings_;
    UserDialogs &dialogs_;
    FileDialogState &fileDialog_;
    AppendFileSink file_;
    std::string path_;
    QTimer tick_;
};

} // namespace quandel
