#include "editor/editor_pane.h"

#include "app/cp1252_codec.h"
#include "app/terminal_page.h"
#include "editor/basic_highlighter.h"
#include "editor/code_editor.h"
#include "editor/find_bar.h"
#include "editor/findings_panel.h"
#include "editor/go_to_line_dialog.h"

#include <QAction>
#include <QApplication>
#include <QShortcut>
#include <QStyle>
#include <QTextDocument>
#include <QToolBar>
#include <QVBoxLayout>

namespace quandel {

namespace {

QAction *Button(QToolBar *bar, const char *key, QStyle::StandardPixmap icon, const QString &tip) {
    QAction *action = bar->addAction(bar->style()->standardIcon(icon), tip);
    action->setObjectName(QString::fromLatin1(key));
    action->setToolTip(tip);
    return action;
}

} // namespace

EditorPane::EditorPane(UserDialogs &dialogs, FileDialogState &openLog, SharedFlags &flags,
                       QWidget *parent)
    : QWidget(parent), document_(*this, dialogs, openLog, flags) {
    setObjectName(QStringLiteral("Editor"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 2, 4, 4);

    tbrEditor_ = new QToolBar(this);
    tbrEditor_->setObjectName(QStringLiteral("tbrEditor"));
    QAction *newText = Button(tbrEditor_, "btnNew", QStyle::SP_FileIcon, QStringLiteral("Neu"));
    QAction *open =
        Button(tbrEditor_, "btnOpen", QStyle::SP_DialogOpenButton, QStringLiteral("Datei Öffnen"));
    QAction *save =
        Button(tbrEditor_, "btnSave", QStyle::SP_DialogSaveButton, QStringLiteral("Speichern"));
    QAction *saveAs =
        Button(tbrEditor_, "btnSaveAs", QStyle::SP_DriveFDIcon, QStringLiteral("Speichern Unter"));
    // The font button has no tooltip and no function: shown, but disabled.
    QAction *font =
        tbrEditor_->addAction(style()->standardIcon(QStyle::SP_FileDialogDetailedView), QString());
    font->setObjectName(QStringLiteral("btnFont"));
    font->setEnabled(false);
    tbrEditor_->addSeparator();
    QAction *download = Button(tbrEditor_, "btnDownload", QStyle::SP_ArrowRight,
                               QStringLiteral("In den Controller laden"));
    layout->addWidget(tbrEditor_);

    txtEdit_ = new CodeEditor(this);
    txtEdit_->setObjectName(QStringLiteral("txtEdit"));
    highlighter_ = new BasicHighlighter(txtEdit_->document());
    txtEdit_->setFont(FixedPitchFont(9));
    txtEdit_->setLineWrapMode(QPlainTextEdit::NoWrap);
    findBar_ = new FindBar(*txtEdit_, *this, this);
    layout->addWidget(findBar_);
    layout->addWidget(txtEdit_, 1);
    findings_ = new FindingsPanel(
        *txtEdit_, [this] { return GetEditorText().text; }, this);
    layout->addWidget(findings_);
    layout->addStretch(0); // what the editor's size limit leaves free

    // The highlighter's colours also report a change of the text; only a
    // new revision of the document is one.
    connect(txtEdit_, &QPlainTextEdit::textChanged, this, [this] {
        const int revision = txtEdit_->document()->revision();
        if (revision == shownRevision_)
            return;
        shownRevision_ = revision;
        document_.TextChanged();
        findings_->Schedule();
    });
    connect(download, &QAction::triggered, this, &EditorPane::DownloadCommand);
    connect(newText, &QAction::triggered, this, [this] { document_.New(); });
    connect(open, &QAction::triggered, this, [this] { document_.OpenTextFile(); });
    connect(save, &QAction::triggered, this, [this] { document_.Save(); });
    connect(saveAs, &QAction::triggered, this, [this] { document_.SaveAs(); });
    auto *goToLine = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_J), this);
    goToLine->setContext(Qt::WidgetWithChildrenShortcut); // this tab only
    connect(goToLine, &QShortcut::activated, this, [this] { RunGoToLineDialog(*txtEdit_, this); });
}

EditorPane::~EditorPane() = default;

QPlainTextEdit *EditorPane::textPane() const {
    return txtEdit_;
}

bool EditorPane::GoToBasicLine(long number) {
    const int line = FindBasicLine(EditorLines(*txtEdit_), number);
    if (line >= 0)
        ShowEditorLine(*txtEdit_, line);
    return line >= 0;
}

void EditorPane::SetEditorText(const std::string &text) {
    txtEdit_->setPlainText(FromCp1252(text));
    shownRevision_ = txtEdit_->document()->revision();
    findings_->ClearExternal();
    findings_->CheckNow();
}

void EditorPane::DownloadCommand() {
    // An unchanged text is its file already: saving would only add a line
    // end at its end.
    if (document_.FileName().empty() || document_.EditorModified()) {
        if (!document_.Save())
            return;
    }
    emit downloadRequested(FromCp1252(document_.FileName()));
}

EditorTextView::Encoded EditorPane::GetEditorText() const {
    // toPlainText() would turn no-break spaces (byte A0) into blanks: take
    // the raw text, whose only stand-in is the paragraph separator.
    QString text = txtEdit_->document()->toRawText();
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    Encoded out;
    qsizetype bad = -1;
    out.text = ToCp1252(text, &bad);
    if (bad >= 0) {
        out.ok = false;
        out.badLine = int(QStringView(text).left(bad).count(QLatin1Char('\n'))) + 1;
    }
    return out;
}

void EditorPane::SetCaption(const std::string &caption) {
    emit captionChanged(FromCp1252(caption));
}

void EditorPane::SetBusy(bool busy) {
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

} // namespace quandel
