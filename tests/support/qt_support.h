#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace quandel::test {

// Points QSettings at a fresh folder for the life of the object, so a test
// never touches the user's own settings and starts from an empty store.
class TempSettings {
public:
    TempSettings();
    ~TempSettings();
    QString iniPath() const; // where Quandel/Quandel.ini lands
    QString dir() const { return dir_.path(); }

private:
    QTemporaryDir dir_;
};

// A velnor-sim child process on a pseudo-terminal, reachable through a
// symlink that survives restarts of the simulator.
class SimProcess {
public:
    explicit SimProcess(const QString &linkPath, const QStringList &extraArgs = {});
    ~SimProcess();
    SimProcess(const SimProcess &) = delete;
    SimProcess &operator=(const SimProcess &) = delete;

    bool running() const { return ok_; }
    QString ptyPath() const { return pty_; }
    // Ends the simulator like an unplugged adapter: its side of the line is gone.
    void hangUp();

private:
    QProcess process_;
    QString pty_;
    bool ok_ = false;
};

// A file's bytes, or "<missing>" when it cannot be read.
QByteArray FileBytes(const QString &path);
// Writes the bytes as the whole file; false when that failed.
[[nodiscard]] bool WriteFileBytes(const QString &path, const QByteArray &bytes);

// CPU seconds this process has used so far (user + system).
double ProcessCpuSeconds();

} // namespace quandel::test
