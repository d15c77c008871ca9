// The manual is a folder of static pages opened with file://: every link in
// it must lead to a file of the folder and, with an anchor, to an id there.
#include "support/manual_check.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace quandel::test;

namespace {

QString PageHtml(const QString &body) {
    return QStringLiteral("<!DOCTYPE html>\n<html lang=\"de\">\n<head>\n<meta charset=\"utf-8\">\n"
                          "<title>T</title>\n</head>\n<body>\n") +
           body + QStringLiteral("\n</body>\n</html>\n");
}

bool Write(const QString &path, const QByteArray &bytes) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

class TstManualLinks : public QObject {
    Q_OBJECT
private slots:
    void checkerFindsTheFault_data();
    void checkerFindsTheFault();
    void theManualHasNoBrokenLink();
    void theManualUsesTheGermanKeyNames();
};

// Small manuals with one fault each (or none): the check must name the fault,
// or a broken manual would pass as well as a sound one.
void TstManualLinks::checkerFindsTheFault_data() {
    QTest::addColumn<QString>("index");    // body of index.html
    QTest::addColumn<QString>("other");    // body of seite.html ("" = no such page)
    QTest::addColumn<QString>("picture");  // a file written into bilder/ ("" = none)
    QTest::addColumn<QString>("expected"); // part of the one problem, "" = no problem

    const QString toOther = QStringLiteral("<a href=\"seite.html\">S</a>");
    const QString other =
        QStringLiteral("<h2 id=\"teil\">Teil</h2><a href=\"index.html#anfang\">I</a>");
    const QString index = QStringLiteral("<h1 id=\"anfang\">A</h1>");
    QTest::newRow("sound") << index + toOther + QStringLiteral("<a href=\"seite.html#teil\">T</a>")
                           << other << QString() << QString();
    QTest::newRow("missing page") << index + toOther +
                                         QStringLiteral("<a href=\"fehlt.html\">F</a>")
                                  << other << QString() << QStringLiteral("fehlt.html");
    QTest::newRow("missing anchor")
        << index + toOther + QStringLiteral("<a href=\"seite.html#nirgends\">N</a>") << other
        << QString() << QStringLiteral("nirgends");
    QTest::newRow("missing anchor on the same page")
        << index + toOther + QStringLiteral("<a href=\"#oben\">O</a>") << other << QString()
        << QStringLiteral("oben");
    QTest::newRow("web link") << index + toOther +
                                     QStringLiteral("<a href=\"https://example.org/\">W</a>")
                              << other << QString() << QStringLiteral("draußen");
    QTest::newRow("absolute path")
        << index + toOther + QStringLiteral("<img src=\"/usr/share/bild.png\" alt=\"\">") << other
        << QString() << QStringLiteral("absoluter Pfad");
    QTest::newRow("leaves the folder")
        << index + toOther + QStringLiteral("<a href=\"../draussen.html\">D</a>") << other
        << QString() << QStringLiteral("aus dem Ordner");
    QTest::newRow("unreachable page")
        << index << other << QString() << QStringLiteral("seite.html ist von index.html");
    QTest::newRow("duplicate id") << index + toOther + QStringLiteral("<p id=\"anfang\">x</p>")
                                  << other << QString() << QStringLiteral("zweimal");
    QTest::newRow("missing picture")
        << index + toOther + QStringLiteral("<img src=\"bilder/fehlt.png\" alt=\"\">") << other
        << QString() << QStringLiteral("bilder/fehlt.png");
    QTest::newRow("unused picture") << index + toOther << other << QStringLiteral("alt.png")
                                    << QStringLiteral("bilder/alt.png wird von keiner Seite");
    QTest::newRow("unquoted link") << index + toOther + QStringLiteral("<a href=seite.html>U</a>")
                                   << other << QString() << QStringLiteral("Anführungszeichen");
    QTest::newRow("script") << index + toOther + QStringLiteral("<script>alert(1)</script>")
                            << other << QString() << QStringLiteral("Skript");
}

void TstManualLinks::checkerFindsTheFault() {
    QFETCH(QString, index);
    QFETCH(QString, other);
    QFETCH(QString, picture);
    QFETCH(QString, expected);
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("manual"));
    QVERIFY(Write(folder + QStringLiteral("/index.html"), PageHtml(index).toUtf8()));
    if (!other.isEmpty())
        QVERIFY(Write(folder + QStringLiteral("/seite.html"), PageHtml(other).toUtf8()));
    if (!picture.isEmpty())
        QVERIFY(Write(folder + QStringLiteral("/bilder/") + picture, "png"));
    // A file outside the folder that a link could reach: it must not count.
    QVERIFY(Write(dir.filePath(QStringLiteral("draussen.html")), PageHtml({}).toUtf8()));

    const QStringList problems = ManualLinkProblems(folder);
    if (expected.isEmpty()) {
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QLatin1Char('\n'))));
        return;
    }
    QCOMPARE(problems.size(), 1);
    QVERIFY2(problems.first().contains(expected), qPrintable(problems.first()));
}

void TstManualLinks::theManualHasNoBrokenLink() {
    const QString folder = QStringLiteral(QUANDEL_MANUAL_DIR);
    QVERIFY2(ManualPages(folder).size() >= 2, qPrintable(folder));
    const QStringList problems = ManualLinkProblems(folder);
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QLatin1Char('\n'))));
}

// The manual names keys as a German keyboard labels them; the program's own
// tooltips ("<ctrl+V>") are quoted as they are.
void TstManualLinks::theManualUsesTheGermanKeyNames() {
    const QString folder = QStringLiteral(QUANDEL_MANUAL_DIR);
    static const QRegularExpression english(QStringLiteral("\\b(Ctrl|Shift|Control)\\+"));
    QStringList found;
    for (const QString &name : ManualPages(folder)) {
        const QString text = ManualPageText(ReadManualFile(folder + QLatin1Char('/') + name));
        for (auto it = english.globalMatch(text); it.hasNext();)
            found << name + QStringLiteral(": ") + it.next().captured(0);
    }
    QVERIFY2(found.isEmpty(), qPrintable(found.join(QLatin1Char('\n'))));
}

QTEST_MAIN(TstManualLinks)
#include "tst_manual_links.moc"
