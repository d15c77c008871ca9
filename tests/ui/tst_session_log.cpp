// The session log in the real window against the simulated controller on a
// pseudo-terminal: what the file holds, against what the controller got.
#include "app/cp1252_codec.h"
#include "app/session_log_switch.h"
#include "app/transfer_controller.h"
#include "core/number_text.h"
#include "support/qt_support.h"
#include "ui/app_under_test.h"

#include <QAction>
#include <QRegularExpression>
#include <QSettings>
#include <QtTest>
#include <csignal>
#include <memory>
#include <sys/resource.h>

using namespace quandel;
using test::AppUnderTest;

namespace {

const QByteArray kProgram = "10 PRINT \"A\"\n20 A=A+1 ' mehr\n30 IF A<5 THEN 10\n";
const QByteArray kProgramSent = "10 PRINT \"A\"\r20 A=A+1\r30 IF A<5 THEN 10\r";

// One line of the log, its text decoded back into bytes.
struct LogLine {
    QByteArray stamp, direction, bytes;
};

QByteArray Decoded(QByteArray text) {
    static const QRegularExpression code(QStringLiteral("<(\\d{1,3})>"));
    QByteArray out;
    qsizetype at = 0;
    const QString s = QString::fromLatin1(text);
    for (auto it = code.globalMatch(s); it.hasNext();) {
        const auto m = it.next();
        out += text.mid(at, m.capturedStart() - at);
        out += char(m.captured(1).toInt());
        at = m.capturedEnd();
    }
    return out + text.mid(at);
}

// False (with the offending line in `bad`) when a line has not the form
// "hh:mm:ss.zzz <- text" (or "->", "--") ended by CR LF.
bool ParseLog(const QByteArray &file, QList<LogLine> &lines, QByteArray &bad) {
    static const QRegularExpression form(
        QStringLiteral("^(\\d\\d:\\d\\d:\\d\\d\\.\\d\\d\\d) (<-|->|--) (.*)$"),
        QRegularExpression::DotMatchesEverythingOption);
    if (!file.endsWith("\r\n")) {
        bad = file.right(40);
        return false;
    }
    const QByteArray all = file.chopped(1); // the last line keeps its CR
    for (const QByteArray &line : all.split('\n')) {
        // Every line ends with CR LF; no other CR is left in the text.
        const QByteArray body = line.endsWith('\r') ? line.chopped(1) : line + "<no CR>";
        const auto m = form.match(QString::fromLatin1(body));
        if (!m.hasMatch() || body.contains('\r')) {
            bad = line;
            return false;
        }
        lines.append({m.captured(1).toLatin1(), m.captured(2).toLatin1(),
                      Decoded(m.captured(3).toLatin1())});
    }
    return true;
}

// The bytes of one direction in order, line ends left out.
QByteArray Stream(const QList<LogLine> &lines, const char *direction) {
    QByteArray out;
    for (const LogLine &line : lines)
        if (line.direction == direction)
            out += line.bytes;
    return out;
}

QByteArray WithoutLineEnds(QByteArray bytes) {
    return bytes.replace('\r', "").replace('\n', "");
}

// Index of the first line from `from` on of that direction holding `bytes`.
qsizetype Find(const QList<LogLine> &lines, const char *direction, const QByteArray &bytes,
               qsizetype from = 0) {
    for (qsizetype i = from; i < lines.size(); ++i)
        if (lines[i].direction == direction && lines[i].bytes.contains(bytes))
            return i;
    return -1;
}

void Type(AppUnderTest &app, const char *text) {
    for (const char *c = text; *c; ++c)
        QTest::keyClick(app.window.windowHandle(), *c);
    QTest::keyClick(app.window.windowHandle(), Qt::Key_Return);
}

} // namespace

class TstSessionLog : public QObject {
    Q_OBJECT
private slots:
    void init() { rig_ = new test::SimRig; }
    void cleanup() { delete rig_; }
    void dialogueAndDownloadInOrder();
    void hangUpKeepsTheLogAndNotesTheLoss();
    void pathIsKeptTheStateIsNotAndTheFileGrows();
    void fileThatCannotBeCreated();
    void writeFailureMidSessionEndsItOnce();

private:
    QString LogPath() const { return rig_->dir.filePath(QStringLiteral("sitzung.log")); }
    bool SwitchOn(AppUnderTest &app, const QString &path) {
        app.dialogs.files = {ToCp1252(path)};
        app.window.SessionLogAction().trigger();
        return app.window.SessionLogAction().isChecked();
    }
    test::SimRig *rig_ = nullptr;
};

void TstSessionLog::dialogueAndDownloadInOrder() {
    test::SimProcess sim(rig_->link,
                         {"--log", rig_->log, "--busy-scale", "0.1", "--signon-delay", "0"});
    AppUnderTest app;
    QVERIFY(test::StartAgainst(app, sim));
    QVERIFY(SwitchOn(app, LogPath()));
    QCOMPARE(app.dialogs.fileDialogs.back().title, std::string("Sitzungsprotokoll speichern"));
    QVERIFY(!app.dialogs.fileDialogs.back().confirmOverwrite); // appended, not replaced
    QVERIFY(app.dialogs.boxes.empty());

    app.child<QWidget>("txtLCD")->setFocus();
    Type(app, "PRINT 1+2");
    QTRY_VERIFY2_WITH_TIMEOUT(test::FileBytes(LogPath()).contains("<-  3"),
                              test::FileBytes(LogPath()).constData(), 5000);
    app.dialogs.answers = {BoxAnswer::No}; // no EEPROM
    app.window.Transfers().DownloadProg(
        rig_->Write(QStringLiteral("P.BAS"), kProgram).toStdString());
    QCOMPARE(app.dialogs.boxes.size(), std::size_t(1));
    // The read-out runs beside it and goes through the same port.
    app.dialogs.files = {ToCp1252(rig_->dir.filePath(QStringLiteral("back.txt")))};
    app.window.ReadoutAction().trigger();
    QVERIFY(app.window.ReadoutAction().isChecked());
    QVERIFY(app.window.SessionLogAction().isChecked());
    const QString back = rig_->dir.filePath(QStringLiteral("back.txt"));
    QTRY_VERIFY2_WITH_TIMEOUT(test::FileBytes(back).contains("READY"),
                              test::FileBytes(back).constData(), 8000);
    app.window.ReadoutAction().trigger();
    QTest::qWait(2 * int(SessionLog::kPause.count()));
    app.window.SessionLogAction().trigger();
    QVERIFY(!app.window.SessionLogAction().isChecked());

    const QByteArray file = test::FileBytes(LogPath());
    QList<LogLine> lines;
    QByteArray bad;
    QVERIFY2(ParseLog(file, lines, bad), bad.constData());
    QVERIFY(lines.first().direction == "--");
    QVERIFY2(lines.first().bytes.startsWith("Sitzungsprotokoll begonnen am "),
             lines.first().bytes.constData());
    QVERIFY(lines.first().bytes.endsWith(", COM 1,9600,N,8,1 offen"));
    QCOMPARE(lines.last().bytes, QByteArray("Sitzungsprotokoll beendet"));

    // Every byte the controller got, in order, and nothing else sent.
    const QByteArray received = rig_->Log();
    QVERIFY(received.startsWith("PRINT 1+2\r"));
    QVERIFY(received.contains(kProgramSent));
    QVERIFY(received.endsWith("LIST\r"));
    QCOMPARE(Stream(lines, "->"), WithoutLineEnds(received));
    // The answers follow what they answer, with the program's lines echoed.
    const qsizetype typed = Find(lines, "->", "2");
    const qsizetype result = Find(lines, "<-", " 3", typed);
    QVERIFY(typed >= 0 && result > typed);
    qsizetype at = result;
    for (const QByteArray &sent : kProgramSent.split('\r')) {
        if (sent.isEmpty())
            continue;
        // A line the download sent is one line of the log, whole.
        const qsizetype out = Find(lines, "->", sent, at);
        QVERIFY2(out > at, sent.constData());
        QCOMPARE(lines[out].bytes, sent);
        const qsizetype echo = Find(lines, "<-", sent, out);
        QVERIFY2(echo > out, sent.constData());
        at = echo;
    }
    // The listing the read-out asked for, as its own file has it too.
    const QByteArray answers = Stream(lines, "<-");
    QVERIFY(answers.lastIndexOf("IF A<5 THEN 10") > answers.indexOf("30 IF A<5 THEN 10"));
    QVERIFY(answers.endsWith(">"));
}

void TstSessionLog::hangUpKeepsTheLogAndNotesTheLoss() {
    auto sim = std::make_unique<test::SimProcess>(
        rig_->link, QStringList{"--log", rig_->log, "--busy-scale", "0", "--signon-delay", "0"});
    AppUnderTest app;
    QVERIFY(test::StartAgainst(app, *sim));
    QVERIFY(SwitchOn(app, LogPath()));
    app.child<QWidget>("txtLCD")->setFocus();
    Type(app, "PRINT 6*7");
    // Each line is in the file at once, while the log is still open.
    QTRY_VERIFY_WITH_TIMEOUT(test::FileBytes(LogPath()).contains("<-  42"), 5000);
    const QByteArray before = test::FileBytes(LogPath());
    sim->hangUp();
    sim.reset();
    QTRY_VERIFY_WITH_TIMEOUT(test::FileBytes(LogPath()).contains("-- Verbindung unterbrochen\r\n"),
                             5000);
    QVERIFY(app.window.SessionLogAction().isChecked());
    QVERIFY(app.dialogs.boxes.empty());
    const QByteArray after = test::FileBytes(LogPath());
    QVERIFY(after.startsWith(before));
    QCOMPARE(after.count("unterbrochen"), qsizetype(1));

    // The controller comes back; the log goes on in the same file.
    test::SimProcess again(rig_->link, {"--busy-scale", "0", "--signon-delay", "0"});
    QTRY_VERIFY_WITH_TIMEOUT(test::FileBytes(LogPath()).contains("COM 1,9600,N,8,1 ge\xF6"
                                                                 "ffnet\r\n"),
                             5000);
    QTRY_VERIFY_WITH_TIMEOUT(test::FileBytes(LogPath()).contains("READY"), 5000);
    app.window.close(); // the program ends: the log is closed with it
    QVERIFY(!app.window.SessionLogAction().isChecked());
    QVERIFY(test::FileBytes(LogPath()).endsWith("-- Sitzungsprotokoll beendet\r\n"));
    QCOMPARE(test::FileBytes(LogPath()).count("unterbrochen"), qsizetype(1));
}

void TstSessionLog::pathIsKeptTheStateIsNotAndTheFileGrows() {
    const QString path = rig_->Write(QStringLiteral("Prüfung.log"), "alter Inhalt\r\n");
    QVERIFY(!path.isEmpty());
    {
        AppUnderTest app;
        QVERIFY(SwitchOn(app, path));
        app.window.SessionLogAction().trigger();
        QVERIFY(!app.window.SessionLogAction().isChecked());
    }
    QSettings ini(rig_->settings.iniPath(), QSettings::IniFormat);
    QCOMPARE(ini.value(QStringLiteral("Sitzungsprotokoll/Datei")).toString(), path);
    {
        AppUnderTest app;
        QVERIFY(!app.window.SessionLogAction().isChecked());
        app.dialogs.files = {std::nullopt}; // the user cancels
        app.window.SessionLogAction().trigger();
        QVERIFY(!app.window.SessionLogAction().isChecked());
        QCOMPARE(app.dialogs.fileDialogs.back().fileName, ToCp1252(path));
        QVERIFY(app.dialogs.boxes.empty());
        QVERIFY(SwitchOn(app, path));
        app.window.SessionLogAction().trigger();
    }
    const QByteArray file = test::FileBytes(path);
    QVERIFY(file.startsWith("alter Inhalt\r\n"));
    QCOMPARE(file.count("-- Sitzungsprotokoll begonnen am "), qsizetype(2));
    QCOMPARE(file.count("-- Sitzungsprotokoll beendet"), qsizetype(2));
    QVERIFY(file.contains(", COM 1 geschlossen\r\n"));
}

void TstSessionLog::fileThatCannotBeCreated() {
    AppUnderTest app;
    const QString path = rig_->dir.filePath(QStringLiteral("fehlt/sitzung.log"));
    QVERIFY(!SwitchOn(app, path));
    QCOMPARE(app.dialogs.boxes.size(), std::size_t(1));
    const auto &box = app.dialogs.boxes[0];
    QCOMPARE(box.icon, BoxIcon::Exclamation);
    QCOMPARE(box.text, Cp1252(QStringLiteral("Die Datei %1 kann nicht geöffnet werden:\r"
                                             "Datei oder Verzeichnis nicht gefunden\r"
                                             "Das Sitzungsprotokoll wird nicht begonnen.")
                                  .arg(path)
                                  .toStdString()));
    QVERIFY(!QFile::exists(path));
    // A path that failed is not proposed next time.
    QSettings ini(rig_->settings.iniPath(), QSettings::IniFormat);
    QVERIFY(!ini.contains(QStringLiteral("Sitzungsprotokoll/Datei")));
}

void TstSessionLog::writeFailureMidSessionEndsItOnce() {
    test::SimProcess sim(rig_->link,
                         {"--log", rig_->log, "--busy-scale", "0", "--signon-delay", "0"});
    AppUnderTest app;
    QVERIFY(test::StartAgainst(app, sim));
    // A disk that fills up: the file may not grow past a few lines. The
    // limit holds for this process only; the simulator runs already.
    const QString path = rig_->Write(QStringLiteral("voll.log"), QByteArray(3900, 'x'));
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit old{};
    QCOMPARE(getrlimit(RLIMIT_FSIZE, &old), 0);
    rlimit tight = old;
    tight.rlim_cur = 4096;
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &tight), 0);
    const auto restore = qScopeGuard([&] { setrlimit(RLIMIT_FSIZE, &old); });
    QVERIFY(SwitchOn(app, path));
    app.child<QWidget>("txtLCD")->setFocus();
    for (int i = 0; i < 3; ++i)
        Type(app, "PRINT 1234567890");
    QTRY_VERIFY_WITH_TIMEOUT(!app.window.SessionLogAction().isChecked(), 5000);
    QTest::qWait(300);
    Type(app, "PRINT 5");
    QTRY_VERIFY_WITH_TIMEOUT(rig_->Log().endsWith("PRINT 5\r"), 5000);
    QTest::qWait(300);
    QCOMPARE(app.dialogs.boxes.size(), std::size_t(1));
    QVERIFY2(app.dialogs.boxes[0].text.find("kann nicht mehr geschrieben werden") !=
                 std::string::npos,
             app.dialogs.boxes[0].text.c_str());
    // What was written before stays.
    const QByteArray file = test::FileBytes(path);
    QVERIFY(file.size() <= 4096);
    QVERIFY(file.startsWith(QByteArray(3900, 'x')));
    QVERIFY(file.contains("-- Sitzungsprotokoll begonnen am "));
}

QTEST_MAIN(TstSessionLog)
#include "tst_session_log.moc"
