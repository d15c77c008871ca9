#include "editor/go_to_line_dialog.h"

#include "app/cp1252_codec.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTextBlock>
#include <QVBoxLayout>
#include <climits>

namespace quandel {

GoToLineDialog::GoToLineDialog(std::vector<std::string> lines, int currentLine, QWidget *parent)
    : QDialog(parent), lines_(std::move(lines)) {
    setObjectName(QStringLiteral("frmGoToLine"));
    setWindowTitle(QStringLiteral("Gehe zu Zeile"));
    auto *layout = new QVBoxLayout(this);

    auto *form = new QFormLayout;
    txtLine_ = new QLineEdit(QString::number(currentLine + 1), this);
    txtLine_->setObjectName(QStringLiteral("txtLine"));
    txtLine_->setValidator(new QIntValidator(0, INT_MAX, txtLine_));
    txtLine_->selectAll();
    form->addRow(QStringLiteral("Nummer:"), txtLine_);
    layout->addLayout(form);

    optFileLine_ = new QRadioButton(QStringLiteral("Zeile der Datei"), this);
    optFileLine_->setObjectName(QStringLiteral("optFileLine"));
    optFileLine_->setChecked(true);
    optBasicLine_ = new QRadioButton(QStringLiteral("BASIC-Zeilennummer"), this);
    optBasicLine_->setObjectName(QStringLiteral("optBasicLine"));
    layout->addWidget(optFileLine_);
    layout->addWidget(optBasicLine_);

    lblMessage_ = new QLabel(this);
    lblMessage_->setObjectName(QStringLiteral("lblMessage"));
    lblMessage_->setWordWrap(true);
    layout->addWidget(lblMessage_);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Abbrechen"));
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &GoToLineDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &GoToLineDialog::reject);
    // A new choice makes the old message stale.
    for (QRadioButton *option : {optFileLine_, optBasicLine_})
        connect(option, &QRadioButton::toggled, lblMessage_, &QLabel::clear);
    connect(txtLine_, &QLineEdit::textEdited, lblMessage_, &QLabel::clear);

    // Found from outside by name, as the main window's controls are.
    for (QWidget *w : findChildren<QWidget *>())
        if (!w->objectName().isEmpty() && !w->objectName().startsWith(QLatin1String("qt_")))
            w->setAccessibleDescription(w->objectName());
    setAccessibleDescription(objectName());
}

QString GoToLineDialog::Message() const {
    return lblMessage_->text();
}

void GoToLineDialog::accept() {
    bool ok = false;
    const long value = txtLine_->text().toLong(&ok);
    if (!ok) {
        lblMessage_->setText(QStringLiteral("Bitte eine Zahl eingeben."));
        txtLine_->setFocus();
        return;
    }
    const GoToMode mode = optBasicLine_->isChecked() ? GoToMode::BasicLine : GoToMode::FileLine;
    const GoToTarget target = GoToLineTarget(lines_, mode, value);
    if (target.line < 0) {
        lblMessage_->setText(FromCp1252(target.message));
        txtLine_->setFocus();
        txtLine_->selectAll();
        return;
    }
    target_ = target.line;
    QDialog::accept();
}

std::vector<std::string> EditorLines(const QPlainTextEdit &editor) {
    std::vector<std::string> lines;
    const QTextDocument *document = editor.document();
    lines.reserve(std::size_t(document->blockCount()));
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next())
        lines.push_back(ToCp1252(block.text()));
    return lines;
}

void ShowEditorLine(QPlainTextEdit &editor, int index) {
    const QTextBlock block = editor.document()->findBlockByNumber(index);
    if (!block.isValid())
        return;
    editor.setTextCursor(QTextCursor(block));
    editor.centerCursor();
}

bool RunGoToLineDialog(QPlainTextEdit &editor, QWidget *parent) {
    GoToLineDialog dialog(EditorLines(editor), editor.textCursor().blockNumber(), parent);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    ShowEditorLine(editor, dialog.TargetLine());
    editor.setFocus(Qt::OtherFocusReason);
    return true;
}

} // namespace quandel
