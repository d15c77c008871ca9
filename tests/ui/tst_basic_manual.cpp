// "BASIC-Manual" through the real QDesktopServices on X (under xvfb-run):
// the test program lies in build/bin like quandel, so it finds the manual
// the build copies to build/share/quandel/manual. The desktop's launcher is
// a script in a temporary folder that PATH holds alone, so what this machine
// has installed does not count.

#include "app/cp1252_codec.h"
#include "dialogs/frm_about.h"
#include "support/scripted_dialogs.h"

#include <QtTest>

using namespace quandel;

class TstBasicManual : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    // In this order: Qt remembers a launcher once it has found one.
    void noLauncherSaysWhatToInstall();
    void opensTheShippedManualWithTheDesktopsLauncher();

private:
    QTemporaryDir bin_;
    QByteArray path_;
};

void TstBasicManual::init() {
    QVERIFY(bin_.isValid());
    path_ = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(bin_.path()));
    // No desktop: Qt then looks for xdg-open only.
    for (const char *name : {"XDG_CURRENT_DESKTOP", "KDE_FULL_SESSION", "GNOME_DESKTOP_SESSION_ID",
                             "DESKTOP_SESSION", "BROWSER", "DEFAULT_BROWSER"})
        qunsetenv(name);
}

void TstBasicManual::cleanup() {
    qputenv("PATH", path_);
}

void TstBasicManual::noLauncherSaysWhatToInstall() {
    test::ScriptedDialogs dialogs;
    ShowBasicManual(dialogs);
    QCOMPARE(dialogs.boxes.size(), std::size_t(1));
    const QString text = FromCp1252(dialogs.boxes[0].text);
    const QString manual = QDir::cleanPath(QCoreApplication::applicationDirPath() +
                                           "/../share/quandel/manual/index.html");
    QVERIFY2(text.startsWith("Das BASIC-Manual konnte nicht geöffnet werden:\r" + manual + "\r\r"),
             qPrintable(text));
    QVERIFY2(text.contains("sudo apt-get install"), qPrintable(text));
}

void TstBasicManual::opensTheShippedManualWithTheDesktopsLauncher() {
    const QString opened = bin_.filePath("opened.txt");
    QFile launcher(bin_.filePath("xdg-open"));
    QVERIFY(launcher.open(QIODevice::WriteOnly));
    launcher.write("#!/bin/sh\nprintf '%s\\n' \"$1\" > '" + QFile::encodeName(opened) + "'\n");
    launcher.close();
    QVERIFY(launcher.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));

    test::ScriptedDialogs dialogs;
    ShowBasicManual(dialogs);
    QCOMPARE(dialogs.boxes.size(), std::size_t(0));
    QTRY_VERIFY(QFileInfo(opened).size() > 0);
    QFile file(opened);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QUrl url(QString::fromUtf8(file.readAll().trimmed()));
    QVERIFY2(url.isLocalFile(), qPrintable(url.toString()));
    QCOMPARE(
        QFileInfo(url.toLocalFile()).canonicalFilePath(),
        QFileInfo(QCoreApplication::applicationDirPath() + "/../share/quandel/manual/index.html")
            .canonicalFilePath());
}

QTEST_MAIN(TstBasicManual)
#include "tst_basic_manual.moc"
