#pragma once

#include "dialogs/sys_info.h"

#include <QDialog>
#include <QString>
#include <QUrl>
#include <functional>

namespace quandel {

class RegistryReader;
class UserDialogs;

// Starts programs with QProcess and finds them on the search path.
class QtProgramStarter final : public ProgramStarter {
public:
    bool FileExists(const std::string &path) const override;
    std::string FindProgram(const std::string &name) const override;
    bool Start(const std::string &path) override;
};

// "Info zu Quandel": title, version, description and a warning; OK closes
// it (Enter and Escape alike), "&Systeminfo..." starts the system
// information program.
class FrmAbout : public QDialog {
    Q_OBJECT
public:
    FrmAbout(UserDialogs &dialogs, RegistryReader &registry, ProgramStarter &starter,
             QWidget *parent = nullptr);

    // "Version" in the help menu: the box, modal, until it is closed.
    static void ShowModal(UserDialogs &dialogs, QWidget *parent);

    void StartSysInfo();

private:
    UserDialogs &dialogs_;
    RegistryReader &registry_;
    ProgramStarter &starter_;
};

// "BASIC-Manual": opens, in the system's browser, a controller maker's manual
// beside the program or else the manual shipped with it (FindManual); a
// message when there is none or no browser takes it.
void ShowBasicManual(UserDialogs &dialogs, const QString &exeFolder,
                     const std::function<bool(const QUrl &)> &open);
// The same for the running program, opened with the desktop's viewer.
void ShowBasicManual(UserDialogs &dialogs);

} // namespace quandel
