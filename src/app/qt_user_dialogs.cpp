#include "app/qt_user_dialogs.h"

#include "app/cp1252_codec.h"
#include "app/table_box_dialog.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QRegularExpression>

namespace quandel {

QString BoxText(const std::string &text) {
    QString t = FromCp1252(text);
    t.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    t.replace(QLatin1String("\n\r"), QLatin1String("\n"));
    t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return t;
}

QString ShortenLongRuns(const QString &text, qsizetype maxRun) {
    // A box wraps its lines at blanks; only a run without any blank cannot
    // be wrapped sensibly and would make the box as wide or as tall as the
    // screen. Such a run keeps its first `maxRun` characters.
    QString out;
    out.reserve(text.size());
    qsizetype i = 0;
    while (i < text.size()) {
        if (text[i].isSpace()) {
            out += text[i++];
            continue;
        }
        qsizetype end = i;
        while (end < text.size() && !text[end].isSpace())
            ++end;
        const qsizetype length = end - i;
        if (length > maxRun) {
            qsizetype keep = maxRun;
            if (text[i + keep - 1].isHighSurrogate())
                --keep; // a character is kept whole or not at all
            out +=
                text.mid(i, keep) + QStringLiteral(" \u2026 (%1 Zeichen mehr)").arg(length - keep);
        } else
            out += text.mid(i, length);
        i = end;
    }
    return out;
}

QStringList QtNameFilters(const std::string &filter) {
    const QStringList parts = FromCp1252(filter).split(QLatin1Char('|'));
    QStringList entries;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns;
        for (const QString &p :
             parts[i + 1].split(QRegularExpression(QStringLiteral("[;\\s]+")), Qt::SkipEmptyParts))
            // On Windows "*.*" means every file; to Qt it means only names with a dot.
            patterns << (p == QLatin1String("*.*") ? QStringLiteral("*") : p);
        const QString name = parts[i].trimmed();
        // The dialog shows only the name (HideNameFilterDetails); Qt takes
        // the patterns from the last parentheses.
        entries << (name.isEmpty() ? patterns.join(QLatin1Char(' ')) : name) + QLatin1String(" (") +
                       patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
    }
    return entries;
}

BoxAnswer QtUserDialogs::MessageBox(const std::string &text, const std::string &title, BoxIcon icon,
                                    BoxButtons buttons) {
    QMessageBox box(QApplication::activeWindow());
    box.setWindowTitle(FromCp1252(title));
    const QString whole = BoxText(text);
    const QString shown = ShortenLongRuns(whole);
    box.setText(shown);
    box.setTextFormat(Qt::PlainText);
    if (shown != whole)
        box.setDetailedText(whole);
    switch (icon) {
    case BoxIcon::None:
        box.setIcon(QMessageBox::NoIcon);
        break;
    case BoxIcon::Critical:
        box.setIcon(QMessageBox::Critical);
        break;
    case BoxIcon::Question:
        box.setIcon(QMessageBox::Question);
        break;
    case BoxIcon::Exclamation:
        box.setIcon(QMessageBox::Warning);
        break;
    case BoxIcon::Information:
        box.setIcon(QMessageBox::Information);
        break;
    }
    using B = QMessageBox;
    switch (buttons) {
    case BoxButtons::Ok:
        box.setStandardButtons(B::Ok);
        break;
    case BoxButtons::OkCancel:
        box.setStandardButtons(B::Ok | B::Cancel);
        break;
    case BoxButtons::YesNo:
        box.setStandardButtons(B::Yes | B::No);
        break;
    case BoxButtons::YesNoCancel:
        box.setStandardButtons(B::Yes | B::No | B::Cancel);
        break;
    case BoxButtons::RetryCancel:
        box.setStandardButtons(B::Retry | B::Cancel);
        break;
    case BoxButtons::AbortRetryIgnore:
        box.setStandardButtons(B::Abort | B::Retry | B::Ignore);
        break;
    }
    switch (box.exec()) {
    case B::Ok:
        return BoxAnswer::Ok;
    case B::Yes:
        return BoxAnswer::Yes;
    case B::No:
        return BoxAnswer::No;
    case B::Retry:
        return BoxAnswer::Retry;
    case B::Abort:
        return BoxAnswer::Abort;
    case B::Ignore:
        return BoxAnswer::Ignore;
    default:
        return BoxAnswer::Cancel;
    }
}

std::optional<std::string> QtUserDialogs::InputBox(const std::string &prompt,
                                                   const std::string &title,
                                                   const std::string &proposal) {
    bool ok = false;
    const QString answer =
        QInputDialog::getText(QApplication::activeWindow(), FromCp1252(title), BoxText(prompt),
                              QLineEdit::Normal, FromCp1252(proposal), &ok);
    if (!ok)
        return std::nullopt;
    return ToCp1252(answer);
}

namespace {

bool RunFileDialog(FileDialogState &state, QFileDialog::AcceptMode mode) {
    QFileDialog dialog(QApplication::activeWindow(), FromCp1252(state.title));
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                       : QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setNameFilters(QtNameFilters(state.filter));
    dialog.setDefaultSuffix(FromCp1252(state.defaultExt));
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !state.confirmOverwrite);
    if (!state.fileName.empty())
        dialog.selectFile(FromCp1252(state.fileName));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    state.fileName = ToCp1252(dialog.selectedFiles().constFirst());
    return true;
}

} // namespace

bool QtUserDialogs::OpenFileDialog(FileDialogState &state) {
    return RunFileDialog(state, QFileDialog::AcceptOpen);
}

bool QtUserDialogs::SaveFileDialog(FileDialogState &state) {
    return RunFileDialog(state, QFileDialog::AcceptSave);
}

void QtUserDialogs::TableBox(const TableBoxContent &table) {
    TableBoxDialog box(table, QApplication::activeWindow());
    box.exec();
}

} // namespace quandel
