// The settings store over real QSettings files in a temporary folder.
#include "app/cp1252_codec.h"
#include "app/qsettings_store.h"
#include "core/number_text.h"
#include "support/qt_support.h"

#include <QFile>
#include <QSettings>
#include <QtTest>

using namespace quandel;

class TstSettingsStore : public QObject {
    Q_OBJECT
private slots:
    void roundTripsEveryKeyOfTheProgram_data();
    void roundTripsEveryKeyOfTheProgram();
    void missingKeyGivesTheDefault();
    void namesAreStoredExactly();
    void corruptedFileStillLoadsWhatItCan();
    void codecRoundTripsAllBytes();
    void codecReportsUnmappableCharacters();
};

void TstSettingsStore::roundTripsEveryKeyOfTheProgram_data() {
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QByteArray>("value"); // Windows-1252
    QTest::newRow("left") << "Settings"
                          << "MainLeft" << QByteArray("-120");
    QTest::newRow("width") << "Settings"
                           << "MainWidth" << QByteArray("11250");
    QTest::newRow("dir with backslash") << "Settings"
                                        << "MyDir" << QByteArray("C:\\Programme\\x");
    QTest::newRow("F5 with umlauts") << "FTaste5"
                                     << "FTast(4).ToolTipText"
                                     << QByteArray("PRINT \"Gr\xF6\xDF"
                                                   "e: \xE4\xF6\xFC \x80\"");
    QTest::newRow("F8 with blanks around")
        << "FTaste8"
        << "FTast(7).ToolTipText" << QByteArray("  LIST 10-20  ");
    QTest::newRow("settings text with commas") << "Einstellungen"
                                               << "Einstellungen" << QByteArray("9600,N,8,1");
    QTest::newRow("port number, sharp s key") << "Einstellungen"
                                              << "COM-Anschlu\xDF" << QByteArray("3");
    QTest::newRow("semicolon and hash") << "Einstellungen"
                                        << "Echo" << QByteArray("a;b=c#d");
    QTest::newRow("empty value") << "Einstellungen"
                                 << "Handshaking" << QByteArray("");
}

void TstSettingsStore::roundTripsEveryKeyOfTheProgram() {
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QByteArray, value);
    test::TempSettings temp;
    const std::string sec = ToCp1252(section), k = key.toLatin1().toStdString();
    const std::string v(value.constData(), std::size_t(value.size()));
    {
        QSettingsStore store;
        store.Save(kAppTitle, sec, k, v);
    }
    QSettingsStore fresh;
    QCOMPARE(fresh.Get(kAppTitle, sec, k, "default"), v);
}

void TstSettingsStore::missingKeyGivesTheDefault() {
    test::TempSettings temp;
    QSettingsStore store;
    QCOMPARE(store.Get(kAppTitle, "Settings", "MainHeight", "7000"), std::string("7000"));
    QVERIFY(!QFile::exists(temp.iniPath())); // reading creates nothing
}

void TstSettingsStore::namesAreStoredExactly() {
    test::TempSettings temp;
    QSettingsStore store;
    store.Save(kAppTitle, "Einstellungen", Cp1252("COM-Anschluß"), "1");
    store.Save(kAppTitle, "FTaste6", "FTast(5).ToolTipText", "RUN");
    QSettings raw(temp.iniPath(), QSettings::IniFormat);
    raw.beginGroup(QStringLiteral("Einstellungen"));
    QCOMPARE(raw.childKeys(), QStringList{QStringLiteral("COM-Anschluß")});
    raw.endGroup();
    QCOMPARE(raw.value(QStringLiteral("FTaste6/FTast(5).ToolTipText")).toString(),
             QStringLiteral("RUN"));
}

void TstSettingsStore::corruptedFileStillLoadsWhatItCan() {
    test::TempSettings temp;
    QDir().mkpath(temp.dir() + QStringLiteral("/Quandel"));
    QFile file(temp.iniPath());
    QVERIFY(file.open(QIODevice::WriteOnly));
    static const char garbage[] =
        "\x00\xff\xfe garbage [[[ \n[Settings]\nMainLeft=1500\n=novalue\nMainTop\n"
        "MyDir=/tmp\n\x01\x02\x03\n[Einstellungen]\nEinstellungen=9600,N,8,1\n";
    file.write(garbage, sizeof garbage - 1); // the leading NUL byte included
    file.close();
    QSettingsStore store;
    QCOMPARE(store.Get(kAppTitle, "Settings", "MainLeft", "0"), std::string("1500"));
    QCOMPARE(store.Get(kAppTitle, "Settings", "MyDir", "C:\\"), std::string("/tmp"));
    // An unquoted value with commas is read back as the text it is.
    QCOMPARE(store.Get(kAppTitle, "Einstellungen", "Einstellungen", ""), std::string("9600,N,8,1"));
    QCOMPARE(store.Get(kAppTitle, "Settings", "MainWidth", "11250"), std::string("11250"));
}

void TstSettingsStore::codecRoundTripsAllBytes() {
    std::string all;
    for (int i = 0; i < 256; ++i)
        all.push_back(char(i));
    const QString text = FromCp1252(all);
    QCOMPARE(text.size(), 256);
    QCOMPARE(text.at(0x80), QChar(0x20AC));
    QCOMPARE(text.at(0x81), QChar(0x81));
    qsizetype bad = 0;
    QCOMPARE(ToCp1252(text, &bad), all);
    QCOMPARE(bad, qsizetype(-1));
}

void TstSettingsStore::codecReportsUnmappableCharacters() {
    qsizetype bad = 0;
    const std::string bytes = ToCp1252(QStringLiteral("ab€Ωc"), &bad);
    QCOMPARE(bad, qsizetype(3));
    QCOMPARE(bytes.size(), std::size_t(5));
    // A lone high surrogate at the end is refused, not silently dropped.
    ToCp1252(QStringLiteral("ab") + QChar(0xD800), &bad);
    QCOMPARE(bad, qsizetype(2));
}

QTEST_GUILESS_MAIN(TstSettingsStore)
#include "tst_settings_store.moc"
