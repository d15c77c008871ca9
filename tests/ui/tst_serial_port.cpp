// The Qt serial port against the simulated controller on a real pty.
#include "core/number_text.h"
#include "port/qt_serial_port.h"
#include "support/qt_support.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace quandel;

namespace {

// Reads until `needle` has arrived or `ms` have passed; returns all read.
std::string ReadUntil(SerialPort &port, const std::string &needle, int ms = 5000) {
    std::string got;
    QElapsedTimer timer;
    timer.start();
    while (got.find(needle) == std::string::npos && timer.elapsed() < ms) {
        if (port.WaitForData(50))
            got += port.Input();
        if (!port.PortOpen())
            break;
    }
    return got;
}

} // namespace

class TstSerialPort : public QObject {
    Q_OBJECT
private slots:
    void init();
    void talksToTheController();
    void refusedSettingKeepsTheOldConfiguration();
    void renumberingWhileOpenIsRefused();
    void missingDeviceFailsWithGermanText();
    void hangUpClosesThePortOnceAndStaysIdle();
    void reopensOnANewSimulatorBehindTheSameLink();

private:
    QTemporaryDir dir_;
    QString link_;
};

void TstSerialPort::init() {
    static int count = 0;
    link_ = dir_.filePath(QStringLiteral("velnor-%1").arg(++count));
}

void TstSerialPort::talksToTheController() {
    test::SimProcess sim(link_, {QStringLiteral("--busy-scale"), QStringLiteral("0")});
    QVERIFY(sim.running());
    QtSerialPort port([this](int) { return link_.toStdString(); });
    QVERIFY(port.SetPortOpen(true).ok);
    QVERIFY(port.PortOpen());
    const std::string signOn = ReadUntil(port, "READY\r\n>");
    QVERIFY2(signOn.find("READY\r\n>") != std::string::npos, signOn.c_str());
    QVERIFY(port.Output("PRINT 1+1\r").ok);
    QCOMPARE(ReadUntil(port, ">"), std::string("PRINT 1+1\r\n 2 \r\n\r\n>"));
    QVERIFY(port.SetPortOpen(false).ok);
    QVERIFY(!port.PortOpen());
    QVERIFY(!port.Output("x").ok);
}

void TstSerialPort::refusedSettingKeepsTheOldConfiguration() {
    test::SimProcess sim(link_);
    QVERIFY(sim.running());
    QtSerialPort port([this](int) { return link_.toStdString(); });
    QVERIFY(port.SetPortOpen(true).ok);
    QVERIFY(port.SetSettings("19200,n,8,2").ok);
    QCOMPARE(port.Settings(), std::string("19200,N,8,2"));
    const PortResult bad = port.SetSettings("19200,Q,8,1");
    QVERIFY(!bad.ok);
    QVERIFY(!bad.error.empty());
    QCOMPARE(port.Settings(), std::string("19200,N,8,2"));
    // A pty refuses even parity with seven data bits: the port says so and keeps its setting.
    const PortResult refused = port.SetSettings("9600,E,7,1");
    if (!refused.ok)
        QCOMPARE(port.Settings(), std::string("19200,N,8,2"));
    QVERIFY(port.PortOpen());
    QVERIFY(!port.SetHandshaking(4).ok);
    QVERIFY(port.SetHandshaking(3).ok);
    QCOMPARE(port.Handshaking(), 3);
}

void TstSerialPort::renumberingWhileOpenIsRefused() {
    test::SimProcess sim(link_);
    QVERIFY(sim.running());
    QtSerialPort port([this](int) { return link_.toStdString(); });
    QVERIFY(port.SetPortOpen(true).ok);
    QVERIFY(!port.SetCommPort(2).ok);
    QCOMPARE(port.CommPort(), 1);
    QVERIFY(port.SetPortOpen(false).ok);
    QVERIFY(port.SetCommPort(2).ok);
    QCOMPARE(port.CommPort(), 2);
}

void TstSerialPort::missingDeviceFailsWithGermanText() {
    QtSerialPort port([this](int) { return (link_ + QStringLiteral("-missing")).toStdString(); });
    const PortResult r = port.SetPortOpen(true);
    QVERIFY(!r.ok);
    QVERIFY(!r.error.empty());
    QVERIFY(!port.PortOpen());
    QCOMPARE(port.Input(), std::string());
    QCOMPARE(port.InBufferCount(), 0);
    QVERIFY(!port.WaitForData(10));
}

void TstSerialPort::hangUpClosesThePortOnceAndStaysIdle() {
    test::SimProcess sim(link_);
    QVERIFY(sim.running());
    int lost = 0;
    QtSerialPort port([this](int) { return link_.toStdString(); });
    port.SetLostHandler([&lost] { ++lost; });
    QVERIFY(port.SetPortOpen(true).ok);
    ReadUntil(port, "READY\r\n>");
    sim.hangUp();
    // Both ways the program meets the loss: the event loop and a blocking wait.
    QTRY_VERIFY_WITH_TIMEOUT(!port.PortOpen(), 5000);
    QVERIFY(!port.WaitForData(100));
    QCOMPARE(lost, 1);
    const double before = test::ProcessCpuSeconds();
    QTest::qWait(1000);
    const double used = test::ProcessCpuSeconds() - before;
    QVERIFY2(used < 0.3, qPrintable(QStringLiteral("CPU seconds while idle: %1").arg(used)));
    QCOMPARE(lost, 1);
}

void TstSerialPort::reopensOnANewSimulatorBehindTheSameLink() {
    QtSerialPort port([this](int) { return link_.toStdString(); });
    {
        test::SimProcess first(link_);
        QVERIFY(first.running());
        QVERIFY(port.SetPortOpen(true).ok);
    }
    QTRY_VERIFY_WITH_TIMEOUT(!port.PortOpen(), 5000);
    QVERIFY(!port.SetPortOpen(true).ok); // nobody behind the link now
    test::SimProcess second(link_, {QStringLiteral("--busy-scale"), QStringLiteral("0")});
    QVERIFY(second.running());
    QVERIFY(port.SetPortOpen(true).ok);
    QVERIFY(ReadUntil(port, "READY\r\n>").find("READY") != std::string::npos);
}

QTEST_GUILESS_MAIN(TstSerialPort)
#include "tst_serial_port.moc"
