#include "app/qt_user_dialogs.h"

#include "app/cp1252_codec.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

namespace quandel {

QString BoxText(const std::string &text) {
    QString t = FromCp1252(text);
    t.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    t.replace(QLatin1String("\n\r"), QLatin1String("\n"));
    t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return t;
}

QString ShortenBoxLines(const QString &text, qsizetype maxChars) {
    QStringList lines = text.split(QLatin1Char('\n'));
    for (QString &line : lines) {
        if (line.size() > maxChars)
            line = line.left(maxChars) +
                   QStringLiteral(" \u2026 (%1 Zeichen mehr)").arg(line.size() - maxChars);
    }
    return lines.join(QLatin1Char('\n'));
}

QString QtFileFilter(const std::string &filter) {
    const QStringList parts = FromCp1252(filter).split(QLatin1Char('|'));
    QStringList entries;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        entries << parts[i].trimmed() + QLatin1String(" (") + patterns.simplified() +
                       QLatin1Char(')');
    }
    return entries.join(QLatin1String(";;"));
}

BoxAnswer QtUserDialogs::MessageBox(const std::string &text, const std::string &title, BoxIcon icon,
                                    BoxButtons buttons) {
    QMessageBox box(QApplication::activeWindow());
    box.setWindowTitle(FromCp1252(title));
    const QString whole = BoxText(text);
    const QString shown = ShortenBoxLines(whole);
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
    dialog.setNameFilter(QtFileFilter(state.filter));
    dialog.setDefaultSuffix(FromCp1252(state.defaultExt).toLower());
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

} // namespace quandel
