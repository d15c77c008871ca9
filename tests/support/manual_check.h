#pragma once

// Checks of the program's German manual, a folder of static HTML pages that
// the browser opens with file://: every link must resolve inside the folder,
// and the text must name what the program shows.

#include <QString>
#include <QStringList>

namespace quandel::test {

// Everything wrong with the links of the manual in `folder`, one German line
// per fault (empty when all is well):
// - every href and src of every page names an existing file inside the
//   folder, and with "#anchor" an id of that page;
// - no link leaves the folder or points to the web, no page runs a script;
// - every page declares UTF-8 and German, has no id twice, and can be
//   reached from index.html;
// - every picture in bilder/ is shown by some page.
QStringList ManualLinkProblems(const QString &folder);

// The text of one page as a reader sees it: tags gone, entities decoded,
// every run of white space (no-break spaces included) one blank.
QString ManualPageText(const QString &html);

// Pieces of a page that belong together (table rows, paragraphs, list
// items, headings), each as text like ManualPageText.
QStringList ManualTextUnits(const QString &html);

// The HTML of every page of the manual, by file name.
QStringList ManualPages(const QString &folder);
QString ReadManualFile(const QString &path);

// A key sequence with the German key names the manual uses: Strg, Umschalt,
// Alt, Entf, Einfg, Enter, Rücktaste ("Strg+L", "Umschalt+F11").
QString GermanKeyText(const QString &portableText);

} // namespace quandel::test
