// A device the system refuses to open: no permission for it, or held by
// another program. The user is told why and what to do, except at start-up.
// Run as root, this test gets started without the capability to override
// file permissions, or the mode-000 device would open anyway.
#include "app/cp1252_codec.h"
#include "app/status_panel.h"
#include "ui/app_under_test.h"

#include <QLabel>
#include <QSerialPort>
#include <QtTest>
#include <fcntl.h>
#include <grp.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace quandel;
using test::AppUnderTest;

namespace {

// Both ends of a pseudo-terminal, as a serial adapter would show up.
class Pty {
public:
    Pty() {
        master_ = ::posix_openpt(O_RDWR | O_NOCTTY);
        if (master_ >= 0 && ::grantpt(master_) == 0 && ::unlockpt(master_) == 0)
            slave_ = QString::fromLocal8Bit(::ptsname(master_));
    }
    ~Pty() {
        if (master_ >= 0)
            ::close(master_);
    }
    QString slave() const { return slave_; }
    QString group() const {
        struct stat st {};
        if (::stat(slave_.toLocal8Bit().constData(), &st) != 0)
            return {};
        const struct group *g = ::getgrgid(st.st_gid);
        return g ? QString::fromLocal8Bit(g->gr_name) : QString();
    }

private:
    int master_ = -1;
    QString slave_;
};

} // namespace

class TstPortRefusal : public QObject {
    Q_OBJECT
private slots:
    void refusedDeviceIsExplained_data();
    void refusedDeviceIsExplained();
};

void TstPortRefusal::refusedDeviceIsExplained_data() {
    QTest::addColumn<bool>("permission"); // else: held by another program
    QTest::newRow("no permission (mode 000)") << true;
    QTest::newRow("held by another program") << false;
}

void TstPortRefusal::refusedDeviceIsExplained() {
    QFETCH(bool, permission);
    test::TempSettings settings;
    Pty pty;
    QVERIFY(!pty.slave().isEmpty());
    const QByteArray slave = pty.slave().toLocal8Bit();
    QSerialPort other(pty.slave());
    if (permission) {
        QCOMPARE(::chmod(slave.constData(), 0), 0);
        if (::access(slave.constData(), R_OK | W_OK) == 0)
            QSKIP("this process may open any device (root with CAP_DAC_OVERRIDE)");
    } else {
        QVERIFY(other.open(QIODevice::ReadWrite));
    }
    test::MapCom1(pty.slave());
    AppUnderTest app;
    auto *message = app.child<QLabel>("Meldung");
    const QString firstLine = permission
                                  ? QStringLiteral("Keine Berechtigung für %1.").arg(pty.slave())
                                  : QStringLiteral("%1 wird schon von einem anderen Programm "
                                                   "benutzt.")
                                        .arg(pty.slave());

    // Start-up stays silent; the status line tells.
    app.window.Startup();
    app.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&app.window));
    QVERIFY(!app.port.PortOpen());
    QVERIFY(app.dialogs.boxes.empty());
    QCOMPARE(app.child<StatusPanel>("Status")->text(),
             QStringLiteral("COM 1,9600,N,8,1 not active"));
    QCOMPARE(message->text(), firstLine);

    // F11: a box explains it.
    QTest::keyClick(app.window.windowHandle(), Qt::Key_F11);
    QVERIFY(!app.port.PortOpen());
    QCOMPARE(app.dialogs.boxes.size(), std::size_t(1));
    const QString box = FromCp1252(app.dialogs.boxes[0].text);
    QVERIFY2(box.startsWith(firstLine), qPrintable(box));
    if (permission) {
        QVERIFY(!pty.group().isEmpty());
        QVERIFY2(box.contains(QStringLiteral("„%1“").arg(pty.group())), qPrintable(box));
        QVERIFY2(box.contains(QStringLiteral("ab und wieder an")), qPrintable(box));
    } else {
        QVERIFY2(box.contains(QStringLiteral("Beenden Sie das andere Programm")), qPrintable(box));
    }

    // Mended: the device opens and the explanation goes.
    if (permission)
        QCOMPARE(::chmod(slave.constData(), 0620), 0);
    else
        other.close();
    if (permission && ::access(slave.constData(), R_OK | W_OK) != 0)
        return; // a user who may not open a pty after all: nothing more to show
    QTest::keyClick(app.window.windowHandle(), Qt::Key_F11);
    QVERIFY(app.port.PortOpen());
    QCOMPARE(message->text(), QString());
    QCOMPARE(app.dialogs.boxes.size(), std::size_t(1));
}

QTEST_MAIN(TstPortRefusal)
#include "tst_port_refusal.moc"
