// The tools dialog over real files: proposals per mode, Start and its
// refusals, the check box and a key that stops a running tool.
#include "app/cp1252_codec.h"
#include "basictools/line_model.h"
#include "core/event_pump.h"
#include "core/number_text.h"
#include "core/shared_flags.h"
#include "dialogs/frm_remkill.h"
#include "editor/navigator_model.h"
#include "support/qt_support.h"
#include "support/scripted_dialogs.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>
#include <functional>

using namespace quandel;

namespace {

struct FakeNavigator final : NavigatorSelection {
    std::string dir, file;
    std::string DirectoryPath() const override { return dir; }
    std::string SelectedFileName() const override { return file; }
};

// Lets events run like the real pump; the test can slip in one action.
struct ActingPump final : EventPump {
    std::function<void()> once;
    void ProcessEvents() override {
        if (auto act = std::exchange(once, {}))
            act();
        QCoreApplication::processEvents();
    }
};

struct DialogUnderTest {
    QTemporaryDir dir;
    test::ScriptedDialogs dialogs;
    ActingPump pump;
    SharedFlags flags;
    LineModel model;
    FakeNavigator navigator;
    FrmRemkill dialog{dialogs, pump, flags, model, navigator};

    DialogUnderTest() { navigator.dir = ToCp1252(QDir::toNativeSeparators(dir.path())); }
    QString path(const QString &name) const { return QDir::toNativeSeparators(dir.filePath(name)); }
    template <typename T> T *child(const char *name) {
        return dialog.findChild<T *>(QString::fromLatin1(name));
    }
    QString field(const char *name) { return child<QLineEdit>(name)->text(); }
    // The fields the mode shows, with their texts.
    QString shownFields() {
        QStringList out;
        if (!child<QCheckBox>("Check1")->isHidden())
            out << "Check1=" + child<QCheckBox>("Check1")->text();
        if (!child<QLabel>("Label1")->isHidden())
            out << "Label1=" + child<QLabel>("Label1")->text();
        for (const char *name : {"Text3", "Text4"})
            if (!child<QLineEdit>(name)->isHidden())
                out << QString::fromLatin1(name) + "=" + field(name);
        return out.join(QLatin1Char('|'));
    }
};

} // namespace

class TstFrmRemkill : public QObject {
    Q_OBJECT
private slots:
    void activationProposes_data();
    void activationProposes();
    void start_data();
    void start();
    void keyStopsARunningTool();
};

void TstFrmRemkill::activationProposes_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("picked");
    QTest::addColumn<QString>("quell");
    QTest::addColumn<QString>("ziel");
    QTest::addColumn<QString>("fields");

    const auto rk = int(ToolMode::RemKill), dn = int(ToolMode::DeNumber),
               vl = int(ToolMode::VarList);
    QTest::newRow("REMKILL") << rk << "TEST.BAS"
                             << ""
                             << "TEST.BAS"
                             << "TEST.Z"
                             << "Check1=mit Zeilennummerntest";
    QTest::newRow("DENUMBER activation adds no letter")
        << dn << "TEST.BAS"
        << ""
        << "TEST.BAS"
        << "TEST."
        << "Label1=Zeilennummer Anfang|Text3=0|Text4=99999";
    QTest::newRow("DENUMBER source picked with ...")
        << dn << "TEST.BAS"
        << "PROG.BAS"
        << "PROG.BAS"
        << "PROG.D"
        << "Label1=Zeilennummer Anfang|Text3=0|Text4=99999";
    QTest::newRow("VARLIST") << vl << "TEST.BAS"
                             << ""
                             << "TEST.BAS"
                             << "TEST.V"
                             << "Check1=mit Intel-BASIC Test|Label1=Anzahl der Variablen: |Text3=0";
    QTest::newRow("name without a dot") << rk << "TEST"
                                        << ""
                                        << "TEST"
                                        << "TESTZ"
                                        << "Check1=mit Zeilennummerntest";
    QTest::newRow("no file selected proposes nothing") << rk << ""
                                                       << ""
                                                       << ""
                                                       << ""
                                                       << "Check1=mit Zeilennummerntest";
}

void TstFrmRemkill::activationProposes() {
    QFETCH(int, mode);
    QFETCH(QString, file);
    QFETCH(QString, picked);
    QFETCH(QString, quell);
    QFETCH(QString, ziel);
    QFETCH(QString, fields);

    DialogUnderTest t;
    // A count left by VARLIST must not become DENUMBER's first line number.
    t.dialog.Activate(ToolMode::VarList);
    t.dialog.SetVariableCount(" 12");
    t.navigator.file = ToCp1252(file);
    t.dialog.Activate(ToolMode(mode));
    if (!picked.isEmpty()) {
        t.dialogs.files.push_back(ToCp1252(t.path(picked)));
        t.child<QPushButton>("Command1")->click();
        QCOMPARE(t.dialogs.fileDialogs.back().title, Cp1252("BASIC-Datei öffnen"));
        QVERIFY(t.child<QPushButton>("Start")->hasFocus() || !t.dialog.isVisible());
    }
    QCOMPARE(t.dialog.windowTitle(), FromCp1252(ModeWord(ToolMode(mode))));
    QCOMPARE(t.field("Quell"), quell.isEmpty() ? quell : t.path(quell));
    QCOMPARE(t.field("Ziel"), ziel.isEmpty() ? ziel : t.path(ziel));
    QCOMPARE(t.shownFields(), fields);
    QVERIFY(t.dialog.DisplayText().empty());
}

void TstFrmRemkill::start_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("check");
    QTest::addColumn<QStringList>("boxes");
    QTest::addColumn<QByteArray>("target");

    const auto rk = int(ToolMode::RemKill), dn = int(ToolMode::DeNumber);
    QTest::newRow("missing source")
        << rk << "NOPE.BAS" << true << QStringList{"Datei nicht gefunden"}
        << QByteArray("<missing>");
    QTest::newRow("empty source opens the picker; cancelled")
        << rk << "" << true << QStringList{} << QByteArray("<missing>");
    QTest::newRow("target equal to the source refused")
        << dn << "TEST" << true << QStringList{"Quell- und Zieldatei sind dieselbe Datei"}
        << QByteArray("<missing>");
    QTest::newRow("checks on") << rk << "TEST.BAS" << true
                               << QStringList{" fertig ...", "Keinen Fehler gefunden."}
                               << QByteArray("10 PRINT\r\n20 GOTO 10\r\n");
    QTest::newRow("check box cleared skips the checks")
        << rk << "TEST.BAS" << false << QStringList{" fertig ..."}
        << QByteArray("10 PRINT\r\n20 GOTO 10\r\n");
}

void TstFrmRemkill::start() {
    QFETCH(int, mode);
    QFETCH(QString, file);
    QFETCH(bool, check);
    QFETCH(QStringList, boxes);
    QFETCH(QByteArray, target);

    DialogUnderTest t;
    const QByteArray program = "10 PRINT 'Gruss\r\n20 GOTO 10\r\n";
    if (file == QLatin1String("TEST.BAS") || file == QLatin1String("TEST"))
        QVERIFY(test::WriteFileBytes(t.path(file), program));
    t.navigator.file = ToCp1252(file);
    t.dialog.Activate(ToolMode(mode));
    t.child<QCheckBox>("Check1")->setChecked(check);
    t.child<QPushButton>("Start")->click();

    QStringList shown;
    for (const auto &box : t.dialogs.boxes)
        shown << FromCp1252(box.text);
    QCOMPARE(shown.size(), boxes.size());
    for (int i = 0; i < boxes.size(); ++i)
        QVERIFY2(shown[i].startsWith(boxes[i]), qPrintable(shown[i]));
    if (file.isEmpty()) {
        QCOMPARE(t.dialogs.fileDialogs.size(), std::size_t(1));
        QCOMPARE(t.dialogs.fileDialogs[0].filter,
                 std::string("BASIC-Dateien (*.BAS)|*.BAS|Alle Dateien (*.*)|*.*"));
        QVERIFY(t.field("Quell").isEmpty());
    }
    const QString ziel = t.field("Ziel");
    if (!ziel.isEmpty() && ziel != t.path(file))
        QCOMPARE(test::FileBytes(ziel), target);
    if (!file.isEmpty() && file != QLatin1String("NOPE.BAS"))
        QCOMPARE(test::FileBytes(t.path(file)), program); // the source is never touched
    QVERIFY(!t.flags.StopRequested);
    QVERIFY(!t.dialog.Running());
}

void TstFrmRemkill::keyStopsARunningTool() {
    DialogUnderTest t;
    QByteArray program;
    for (int i = 1; i <= 50; ++i)
        program += QByteArray::number(i * 10) + " PRINT\r\n";
    QVERIFY(test::WriteFileBytes(t.path("LONG.BAS"), program));
    t.navigator.file = "LONG.BAS";
    t.dialog.Activate(ToolMode::RemKill);
    t.dialog.show();
    QLineEdit *quell = t.child<QLineEdit>("Quell");
    const QString source = quell->text();
    // After the first line, a key typed into the source field.
    t.pump.once = [&] {
        QTest::keyClick(quell, Qt::Key_X);
    };
    t.child<QPushButton>("Start")->click();
    QCOMPARE(test::FileBytes(t.path("LONG.Z")), QByteArray("10 PRINT\r\n"));
    QCOMPARE(quell->text(), source); // the key stopped the tool and typed nothing
    QVERIFY(!t.flags.StopRequested);

    t.child<QPushButton>("Start")->click();
    QCOMPARE(test::FileBytes(t.path("LONG.Z")), program);
}

QTEST_MAIN(TstFrmRemkill)
#include "tst_frm_remkill.moc"
