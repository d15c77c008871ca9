#include "support/qt_support.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QStandardPaths>
#include <sys/resource.h>

namespace quandel::test {

TempSettings::TempSettings() {
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir_.path());
}

TempSettings::~TempSettings() {
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope,
                       QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation));
}

QString TempSettings::iniPath() const {
    return dir_.path() + QStringLiteral("/Quandel/Quandel.ini");
}

SimProcess::SimProcess(const QString &linkPath, const QStringList &extraArgs) {
    process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process_.start(QStringLiteral(VELNOR_SIM_PATH),
                   QStringList{QStringLiteral("--link"), linkPath} + extraArgs);
    if (!process_.waitForStarted(5000))
        return;
    QByteArray line;
    while (!line.contains('\n') && process_.waitForReadyRead(5000))
        line += process_.readAll();
    if (!line.startsWith("PTY "))
        return;
    pty_ = QString::fromLocal8Bit(line.mid(4, line.indexOf('\n') - 4)).trimmed();
    ok_ = true;
}

SimProcess::~SimProcess() {
    hangUp();
}

void SimProcess::hangUp() {
    if (process_.state() == QProcess::NotRunning)
        return;
    process_.terminate();
    if (!process_.waitForFinished(5000)) {
        process_.kill();
        process_.waitForFinished(5000);
    }
}

double ProcessCpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

QByteArray FileBytes(const QString &path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

bool WriteFileBytes(const QString &path, const QByteArray &bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size() && f.flush();
}

} // namespace quandel::test
