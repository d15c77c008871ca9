// The manual describes every menu item of the program: the captions are read
// from the menu bar of the real main window and looked up in the manual's
// text, each shortcut together with its item.
#include "support/manual_check.h"
#include "ui/app_under_test.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QtTest>
#include <algorithm>

using namespace quandel;
using namespace quandel::test;

namespace {

struct MenuEntry {
    QString caption;  // as the user reads it: no "&", no shortcut
    QString shortcut; // German key names, "" without one
};

// "&Datei" reads "Datei"; "&&" is a literal "&".
QString Caption(const QString &text) {
    QString caption = text;
    caption.replace(QLatin1String("&&"), QString(QChar(0x1)));
    caption.remove(QLatin1Char('&'));
    caption.replace(QChar(0x1), QLatin1Char('&'));
    // A tab separates a shortcut written into the text.
    return caption.section(QLatin1Char('\t'), 0, 0).simplified();
}

void Collect(const QList<QAction *> &actions, QList<MenuEntry> &entries) {
    for (QAction *action : actions) {
        if (action->isSeparator())
            continue;
        const QString caption = Caption(action->menu() ? action->menu()->title() : action->text());
        // The blank entry that keeps "Ende" apart has nothing to describe.
        if (!caption.isEmpty())
            entries.append(
                {caption, GermanKeyText(action->shortcut().toString(QKeySequence::PortableText))});
        if (action->menu())
            Collect(action->menu()->actions(), entries);
    }
}

QList<MenuEntry> MenuEntries(AppUnderTest &app) {
    QList<MenuEntry> entries;
    Collect(app.window.menuBar()->actions(), entries);
    return entries;
}

struct Manual {
    QString text;      // all pages, as the reader sees them
    QStringList units; // rows, paragraphs, list items of all pages
};

Manual ReadManual() {
    const QString folder = QStringLiteral(QUANDEL_MANUAL_DIR);
    Manual manual;
    for (const QString &name : ManualPages(folder)) {
        const QString html = ReadManualFile(folder + QLatin1Char('/') + name);
        manual.text += ManualPageText(html) + QLatin1Char('\n');
        manual.units += ManualTextUnits(html);
    }
    return manual;
}

} // namespace

class TstManualMenus : public QObject {
    Q_OBJECT
private slots:
    void everyMenuItemIsInTheManual();
    void everyShortcutIsGivenWithItsItem();
    void germanKeyNames_data();
    void germanKeyNames();

private:
    TempSettings settings_;
};

void TstManualMenus::everyMenuItemIsInTheManual() {
    AppUnderTest app;
    const QList<MenuEntry> entries = MenuEntries(app);
    // Five menus, two commands on the bar and their items: a walk that
    // found almost nothing would prove nothing.
    QVERIFY2(entries.size() >= 25, qPrintable(QString::number(entries.size())));
    const Manual manual = ReadManual();
    QStringList missing;
    for (const MenuEntry &entry : entries)
        if (!manual.text.contains(entry.caption))
            missing << entry.caption;
    QVERIFY2(missing.isEmpty(), qPrintable(QStringLiteral("Im Handbuch fehlen: ") +
                                           missing.join(QStringLiteral(", "))));
}

// A shortcut counts when it stands in one table row, paragraph or list item
// with its menu item, as in the list of all menu items.
void TstManualMenus::everyShortcutIsGivenWithItsItem() {
    AppUnderTest app;
    const Manual manual = ReadManual();
    QStringList missing;
    int withShortcut = 0;
    for (const MenuEntry &entry : MenuEntries(app)) {
        if (entry.shortcut.isEmpty())
            continue;
        ++withShortcut;
        const bool together =
            std::any_of(manual.units.begin(), manual.units.end(), [&](const QString &unit) {
                return unit.contains(entry.caption) && unit.contains(entry.shortcut);
            });
        if (!together)
            missing << entry.caption + QStringLiteral(" (") + entry.shortcut + QLatin1Char(')');
    }
    QVERIFY(withShortcut >= 8);
    QVERIFY2(missing.isEmpty(), qPrintable(QStringLiteral("Ohne Tastenkürzel im Handbuch: ") +
                                           missing.join(QStringLiteral(", "))));
}

void TstManualMenus::germanKeyNames_data() {
    QTest::addColumn<QKeySequence>("keys");
    QTest::addColumn<QString>("german");
    QTest::newRow("Ctrl is Strg") << QKeySequence(Qt::CTRL | Qt::Key_L) << QStringLiteral("Strg+L");
    QTest::newRow("Shift is Umschalt")
        << QKeySequence(Qt::SHIFT | Qt::Key_F11) << QStringLiteral("Umschalt+F11");
    QTest::newRow("function key alone") << QKeySequence(Qt::Key_F9) << QStringLiteral("F9");
    QTest::newRow("Del is Entf") << QKeySequence(Qt::CTRL | Qt::Key_Delete)
                                 << QStringLiteral("Strg+Entf");
    QTest::newRow("no shortcut") << QKeySequence() << QString();
}

void TstManualMenus::germanKeyNames() {
    QFETCH(QKeySequence, keys);
    QFETCH(QString, german);
    QCOMPARE(GermanKeyText(keys.toString(QKeySequence::PortableText)), german);
}

QTEST_MAIN(TstManualMenus)
#include "tst_manual_menus.moc"
