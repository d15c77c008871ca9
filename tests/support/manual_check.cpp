#include "support/manual_check.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <QTextDocument>
#include <QUrl>

namespace quandel::test {

namespace {

// Links in the manual that may point outside it. None so far: the manual
// must work without a network.
const QStringList kAllowedExternalLinks = {};

struct Page {
    QString html;
    QSet<QString> ids;
};

// The folder's own path, with links resolved against it, as canonical text.
QString Inside(const QString &folder, const QString &relative) {
    return QDir::cleanPath(QDir(folder).absoluteFilePath(relative));
}

QString Unescaped(const QString &attribute) {
    QString value = attribute;
    value.replace(QLatin1String("&amp;"), QLatin1String("&"));
    return QUrl::fromPercentEncoding(value.toUtf8());
}

bool HasScheme(const QString &link) {
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]*:"));
    return scheme.match(link).hasMatch();
}

QSet<QString> IdsOf(const QString &html, const QString &name, QStringList &problems) {
    static const QRegularExpression id(QStringLiteral("\\sid\\s*=\\s*([\"'])(.*?)\\1"),
                                       QRegularExpression::DotMatchesEverythingOption);
    QSet<QString> ids;
    for (auto it = id.globalMatch(html); it.hasNext();) {
        const QString value = it.next().captured(2);
        if (ids.contains(value))
            problems << QStringLiteral("%1: id \"%2\" kommt zweimal vor").arg(name, value);
        ids.insert(value);
    }
    return ids;
}

void CheckHead(const QString &html, const QString &name, QStringList &problems) {
    static const QRegularExpression charset(
        QStringLiteral("<meta\\s+charset\\s*=\\s*\"utf-8\"\\s*>"),
        QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression lang(QStringLiteral("<html\\s+lang\\s*=\\s*\"de\"\\s*>"));
    static const QRegularExpression script(QStringLiteral("<script\\b"),
                                           QRegularExpression::CaseInsensitiveOption);
    if (!charset.match(html).hasMatch())
        problems << QStringLiteral("%1: <meta charset=\"utf-8\"> fehlt").arg(name);
    if (!lang.match(html).hasMatch())
        problems << QStringLiteral("%1: <html lang=\"de\"> fehlt").arg(name);
    if (script.match(html).hasMatch())
        problems << QStringLiteral("%1: enthält ein Skript").arg(name);
}

} // namespace

QString ReadManualFile(const QString &path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

QStringList ManualPages(const QString &folder) {
    QStringList pages = QDir(folder).entryList({QStringLiteral("*.html")}, QDir::Files);
    pages.sort();
    return pages;
}

QStringList ManualLinkProblems(const QString &folder) {
    QStringList problems;
    const QString root = QFileInfo(folder).canonicalFilePath();
    if (root.isEmpty())
        return {QStringLiteral("Der Ordner %1 fehlt").arg(folder)};

    QHash<QString, Page> pages; // by path relative to the folder
    const auto load = [&](const QString &relative) -> Page * {
        if (!pages.contains(relative)) {
            Page page;
            page.html = ReadManualFile(Inside(root, relative));
            page.ids = IdsOf(page.html, relative, problems);
            pages.insert(relative, page);
        }
        return &pages[relative];
    };
    const QStringList names = ManualPages(root);
    if (!names.contains(QStringLiteral("index.html")))
        problems << QStringLiteral("index.html fehlt");
    for (const QString &name : names)
        CheckHead(load(name)->html, name, problems);

    static const QRegularExpression link(
        QStringLiteral("\\s(href|src)\\s*=\\s*(?:([\"'])(.*?)\\2|([^\\s>]*))"),
        QRegularExpression::DotMatchesEverythingOption | QRegularExpression::CaseInsensitiveOption);
    QHash<QString, QStringList> linkedPages; // page -> pages it links to
    QSet<QString> used;                      // every file some page links to
    for (const QString &name : names) {
        const QString html = load(name)->html;
        for (auto it = link.globalMatch(html); it.hasNext();) {
            const QRegularExpressionMatch m = it.next();
            const QString raw = m.captured(3).isNull() ? m.captured(4) : m.captured(3);
            const QString where = QStringLiteral("%1: %2=\"%3\"").arg(name, m.captured(1), raw);
            if (m.captured(3).isNull()) {
                problems << where + QStringLiteral(" steht nicht in Anführungszeichen");
                continue;
            }
            const QString target = Unescaped(raw);
            if (target.isEmpty()) {
                problems << where + QStringLiteral(" ist leer");
                continue;
            }
            if (HasScheme(target) || target.startsWith(QLatin1String("//"))) {
                if (!kAllowedExternalLinks.contains(target))
                    problems << where + QStringLiteral(" zeigt nach draußen");
                continue;
            }
            if (target.startsWith(QLatin1Char('/'))) {
                problems << where + QStringLiteral(" ist ein absoluter Pfad");
                continue;
            }
            const qsizetype hash = target.indexOf(QLatin1Char('#'));
            const QString file = hash < 0 ? target : target.left(hash);
            const QString anchor = hash < 0 ? QString() : target.mid(hash + 1);
            const QString path = file.isEmpty() ? Inside(root, name) : Inside(root, file);
            if (!path.startsWith(root + QLatin1Char('/'))) {
                problems << where + QStringLiteral(" führt aus dem Ordner des Handbuchs");
                continue;
            }
            const QFileInfo info(path);
            if (!info.isFile()) {
                problems << where + QStringLiteral(": die Datei gibt es nicht");
                continue;
            }
            const QString relative = QDir(root).relativeFilePath(path);
            used.insert(relative);
            const bool isPage = relative.endsWith(QLatin1String(".html"));
            if (isPage)
                linkedPages[name] << relative;
            if (!anchor.isEmpty() && (!isPage || !load(relative)->ids.contains(anchor)))
                problems << where + QStringLiteral(": den Anker \"%1\" gibt es in %2 nicht")
                                        .arg(anchor, relative);
        }
    }

    // Every page can be reached from the contents page.
    QSet<QString> reached{QStringLiteral("index.html")};
    QStringList queue{QStringLiteral("index.html")};
    while (!queue.isEmpty()) {
        for (const QString &next : linkedPages.value(queue.takeFirst()))
            if (!reached.contains(next)) {
                reached.insert(next);
                queue << next;
            }
    }
    for (const QString &name : names)
        if (!reached.contains(name))
            problems << QStringLiteral("%1 ist von index.html aus nicht erreichbar").arg(name);

    // Every picture is shown somewhere.
    QDirIterator pictures(Inside(root, QStringLiteral("bilder")), QDir::Files,
                          QDirIterator::Subdirectories);
    while (pictures.hasNext()) {
        const QString relative = QDir(root).relativeFilePath(pictures.next());
        if (!used.contains(relative))
            problems << QStringLiteral("%1 wird von keiner Seite gezeigt").arg(relative);
    }
    return problems;
}

QString ManualPageText(const QString &html) {
    QTextDocument document;
    document.setHtml(html);
    return document.toPlainText().simplified();
}

QStringList ManualTextUnits(const QString &html) {
    static const QRegularExpression unit(
        QStringLiteral("<(tr|p|li|h[1-6]|pre|figcaption)\\b.*?</\\1>"),
        QRegularExpression::DotMatchesEverythingOption | QRegularExpression::CaseInsensitiveOption);
    QStringList units;
    for (auto it = unit.globalMatch(html); it.hasNext();)
        units << ManualPageText(it.next().captured(0));
    return units;
}

QString GermanKeyText(const QString &portableText) {
    static const QList<std::pair<QString, QString>> kNames = {
        {QStringLiteral("Ctrl"), QStringLiteral("Strg")},
        {QStringLiteral("Shift"), QStringLiteral("Umschalt")},
        {QStringLiteral("Del"), QStringLiteral("Entf")},
        {QStringLiteral("Ins"), QStringLiteral("Einfg")},
        {QStringLiteral("Return"), QStringLiteral("Enter")},
        {QStringLiteral("Backspace"), QStringLiteral("Rücktaste")},
    };
    QStringList parts = portableText.split(QLatin1Char('+'));
    for (QString &part : parts)
        for (const auto &[english, german] : kNames)
            if (part == english)
                part = german;
    return parts.join(QLatin1Char('+'));
}

} // namespace quandel::test
