#include "dialogs/frm_remkill.h"

#include "app/cp1252_codec.h"
#include "app/terminal_page.h"
#include "basictools/line_model.h"
#include "basictools/tool_files.h"
#include "core/event_pump.h"
#include "core/number_text.h"
#include "core/settings_store.h"
#include "core/shared_flags.h"
#include "editor/navigator_model.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QWindow>

namespace quandel {

namespace {

std::string InfoText() {
    const char *const pieces[] = {
        "REMkill ermöglicht es, aus einem ASCII-File die rem's zu ",
        "killen, also die Kommentare zu entfernen, und in einem neuen File ",
        "abzulegen. Gelöscht werden alle '(Apostroph) und ;(Semicolon) ",
        "mit nachfolgendem Text dieser Zeile. ",
        "<REM> wird nicht gelöscht, um gewollte Bemerkungen im ",
        "BASIC-Programm zu ermöglichen. ",
        "Bei der Filterung kann gleichzeitig geprüft werden, ob auch die ",
        "Zeilennummern in aufsteigender Reihenfolge eingegeben ",
        "und alle Sprungziele vorhanden sind.",
        "\r\r",
        "DENUM hilft beim Verschieben von ganzen Befehlsblöcken. ",
        "Es löscht aus einem ASCII-File die Zeilennummern in einem gewählten Bereich. ",
        "Sprungziele von GOSUB, GOTO, etc. werden nicht gelöscht. ",
        "Danach kann dieser Block beliebig verschoben und mit 'suchen und ersetzen' ",
        "neu numeriert werden.",
        "\r\r",
        "VARLIST liest die Variablen aus einem BASIC-File und ",
        "erstellt eine sortierte Liste dieser Variablen. ",
        "Für Intel-BASIC müssen die Variablen in Länge, sowie in erstem und ",
        "letztem Buchstaben unterschiedlich sein. Dies kann überprüft werden. ",
        "Begriffe aus BASIC-Tokens dürfen im Variablennamen nicht ",
        "enthalten sein."};
    std::string text;
    for (const char *piece : pieces)
        text += Cp1252(piece);
    return text;
}

void SetWithCaretAtEnd(QLineEdit *field, const std::string &text) {
    field->setText(FromCp1252(text));
    field->setCursorPosition(int(field->text().size()));
}

} // namespace

FrmRemkill::FrmRemkill(UserDialogs &dialogs, EventPump &events, SharedFlags &flags,
                       LineModel &model, const NavigatorSelection &navigator, QWidget *parent)
    : QDialog(parent), dialogs_(dialogs), events_(events), flags_(flags), model_(model),
      navigator_(navigator) {
    setObjectName(QStringLiteral("frmRemkill"));
    setWindowTitle(QStringLiteral("Tools für BASIC-Entwicklung"));
    setModal(true);
    fileOpen_.title = Cp1252("BASIC-Datei öffnen");
    fileOpen_.filter = "BASIC-Dateien (*.BAS)|*.BAS|Alle Dateien (*.*)|*.*";
    fileOpen_.defaultExt.clear();

    const auto named = [](QWidget *w, const char *name) {
        w->setObjectName(QString::fromLatin1(name));
        return w;
    };
    Quell_ = new QLineEdit(this);
    Command1_ = new QPushButton(QStringLiteral("..."), this);
    Ziel_ = new QLineEdit(this);
    Check1_ = new QCheckBox(QStringLiteral("Mit Zeilennummerntest"), this);
    Check1_->setChecked(true);
    Label1_ = new QLabel(QStringLiteral("Code denumerieren von Zeile"), this);
    Text3_ = new QLineEdit(QStringLiteral("0"), this);
    Label2_ = new QLabel(QStringLiteral("bis Zeile"), this);
    Text4_ = new QLineEdit(QStringLiteral("99999"), this);
    lblZeilentext_ = new QLabel(this);
    lblZeilentext_->setTextFormat(Qt::PlainText); // a BASIC line is no markup
    Schau_ = new QPlainTextEdit(this);
    Schau_->setReadOnly(true);
    Schau_->setLineWrapMode(QPlainTextEdit::NoWrap);
    Schau_->setFont(FixedPitchFont(9));
    Start_ = new QPushButton(QStringLiteral("&Start"), this);
    Start_->setDefault(true);
    INFO_ = new QPushButton(QStringLiteral("&Info"), this);
    esc_ = new QPushButton(QStringLiteral("&Zurück"), this);
    named(Quell_, "Quell");
    named(Command1_, "Command1");
    named(Ziel_, "Ziel");
    named(Check1_, "Check1");
    named(Label1_, "Label1");
    named(Text3_, "Text3");
    named(Label2_, "Label2");
    named(Text4_, "Text4");
    named(lblZeilentext_, "lblZeilentext");
    named(Schau_, "Schau");
    named(Start_, "Start");
    named(INFO_, "INFO");
    named(esc_, "esc");

    auto *grid = new QGridLayout(this);
    auto *quellLabel = new QLabel(QStringLiteral("Quellfile:"), this);
    quellLabel->setBuddy(Quell_);
    auto *zielLabel = new QLabel(QStringLiteral("Zielfile:"), this);
    zielLabel->setBuddy(Ziel_);
    grid->addWidget(quellLabel, 0, 0);
    grid->addWidget(Quell_, 0, 1);
    grid->addWidget(Command1_, 0, 2);
    grid->addWidget(zielLabel, 1, 0);
    grid->addWidget(Ziel_, 1, 1);
    grid->addWidget(Check1_, 2, 1);
    auto *range = new QHBoxLayout;
    range->addWidget(Label1_);
    range->addWidget(Text3_);
    range->addWidget(Label2_);
    range->addWidget(Text4_);
    range->addStretch(1);
    grid->addLayout(range, 3, 1, 1, 2);
    grid->addWidget(lblZeilentext_, 4, 0, 1, 3);
    grid->addWidget(Schau_, 5, 0, 1, 3);
    grid->setRowStretch(5, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(Start_);
    buttons->addWidget(INFO_);
    buttons->addStretch(1);
    buttons->addWidget(esc_);
    grid->addLayout(buttons, 6, 0, 1, 3);
    resize(560, 420);

    connect(Command1_, &QPushButton::clicked, this, &FrmRemkill::Command1_Click);
    connect(Start_, &QPushButton::clicked, this, &FrmRemkill::Start_Click);
    connect(INFO_, &QPushButton::clicked, this, &FrmRemkill::INFO_Click);
    connect(esc_, &QPushButton::clicked, this, &FrmRemkill::reject);
    Text3_->installEventFilter(this);
    Text4_->installEventFilter(this);
    // Assistive tools see no object names; the description carries them.
    for (QWidget *w : findChildren<QWidget *>())
        if (!w->objectName().isEmpty() && !w->objectName().startsWith(QLatin1String("qt_")))
            w->setAccessibleDescription(w->objectName());
    setAccessibleDescription(objectName());
    // Keys reach the focused field first; the application's filter sees each
    // key of this dialog before any control does.
    qApp->installEventFilter(this);
}

FrmRemkill::~FrmRemkill() {
    qApp->removeEventFilter(this);
}

void FrmRemkill::ShowForMode(ToolMode mode) {
    Activate(mode);
    exec();
}

void FrmRemkill::Activate(ToolMode mode) {
    // DENUMBER's range and VARLIST's count share Text3: a count left there
    // must not become the first line number of the next DENUMBER run.
    if (mode_ == ToolMode::DeNumber)
        denumberFrom_ = Text3_->text();
    mode_ = mode;
    setWindowTitle(FromCp1252(ModeWord(mode)));

    const std::string file = navigator_.SelectedFileName();
    if (file.empty()) {
        // Without a selected file there is nothing to propose; Start asks.
        Quell_->clear();
        Ziel_->clear();
    } else {
        const std::string source = JoinDirectoryAndFile(navigator_.DirectoryPath(), file);
        Quell_->setText(FromCp1252(source));
        // The first proposal in DENUMBER mode carries no letter.
        const std::string letter = mode == ToolMode::DeNumber ? "" : TargetLetter(mode);
        Ziel_->setText(FromCp1252(ProposedTargetName(source, letter)));
    }

    const bool remkill = mode == ToolMode::RemKill;
    const bool denumber = mode == ToolMode::DeNumber;
    const bool varlist = mode == ToolMode::VarList;
    Check1_->setVisible(!denumber);
    if (remkill)
        Check1_->setText(QStringLiteral("mit Zeilennummerntest"));
    if (varlist)
        Check1_->setText(QStringLiteral("mit Intel-BASIC Test"));
    Label1_->setVisible(!remkill);
    Text3_->setVisible(!remkill);
    Label2_->setVisible(denumber);
    Text4_->setVisible(denumber);
    if (denumber) {
        Label1_->setText(QStringLiteral("Zeilennummer Anfang"));
        Text3_->setText(denumberFrom_);
    }
    if (varlist) {
        Label1_->setText(QStringLiteral("Anzahl der Variablen: "));
        Text3_->setText(QStringLiteral("0"));
    }
    Text3_->setReadOnly(varlist);
    SetDisplayText("");
}

bool FrmRemkill::PickSource() {
    fileOpen_.fileName.clear();
    if (!dialogs_.OpenFileDialog(fileOpen_) || fileOpen_.fileName.empty()) {
        Quell_->clear();
        return false;
    }
    SetWithCaretAtEnd(Quell_, fileOpen_.fileName);
    SetWithCaretAtEnd(Ziel_, ProposedTargetName(fileOpen_.fileName, TargetLetter(mode_)));
    Start_->setFocus();
    return true;
}

void FrmRemkill::Command1_Click() {
    if (!running_)
        PickSource();
}

void FrmRemkill::Start_Click() {
    if (running_)
        return; // never a second run inside the first one's event processing
    flags_.StopRequested = false;
    // A cancelled picker ends Start quietly: the user chose not to go on.
    if (Quell_->text().isEmpty() && !PickSource())
        return;

    ToolRequest request;
    request.mode = mode_;
    request.source = ToCp1252(Quell_->text());
    request.target = ToCp1252(Ziel_->text());
    request.von = ToCp1252(Text3_->text());
    request.bis = ToCp1252(Text4_->text());
    request.check = Check1_->isChecked();

    running_ = true;
    for (QWidget *w : {static_cast<QWidget *>(Start_), static_cast<QWidget *>(Command1_),
                       static_cast<QWidget *>(INFO_)})
        w->setEnabled(false);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    ToolContext ctx{dialogs_, events_, flags_, *this};
    RunTool(ctx, model_, request);
    QApplication::restoreOverrideCursor();
    for (QWidget *w : {static_cast<QWidget *>(Start_), static_cast<QWidget *>(Command1_),
                       static_cast<QWidget *>(INFO_)})
        w->setEnabled(true);
    running_ = false;
    if (closeAfterRun_) {
        closeAfterRun_ = false;
        QDialog::reject();
    }
}

void FrmRemkill::INFO_Click() {
    dialogs_.MessageBox(InfoText(), "Information", BoxIcon::None, BoxButtons::Ok);
}

void FrmRemkill::SetDisplayText(const std::string &text) {
    // The tools mostly append: add only what is new instead of showing the
    // whole text again for every chunk.
    if (!display_.empty() && text.size() >= display_.size() &&
        text.compare(0, display_.size(), display_) == 0) {
        QTextCursor cursor = Schau_->textCursor();
        cursor.movePosition(QTextCursor::End);
        cursor.insertText(FromCp1252(text.substr(display_.size())));
        Schau_->setTextCursor(cursor);
    } else {
        Schau_->setPlainText(FromCp1252(text));
        Schau_->moveCursor(QTextCursor::End);
    }
    display_ = text;
    Schau_->ensureCursorVisible();
}

void FrmRemkill::SetLineLabel(const std::string &text) {
    lblZeilentext_->setText(FromCp1252(text));
}

void FrmRemkill::SetVariableCount(const std::string &numberText) {
    Text3_->setText(FromCp1252(numberText));
}

bool FrmRemkill::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() == QEvent::KeyPress && running_) {
        const auto *widget = qobject_cast<QWidget *>(watched);
        if ((widget && widget->window() == this) || watched == windowHandle()) {
            // Any key stops the running tool; it is not typed into a field.
            flags_.StopRequested = true;
            return true;
        }
    }
    if (event->type() == QEvent::FocusIn && (watched == Text3_ || watched == Text4_)) {
        auto *field = static_cast<QLineEdit *>(watched);
        // After the click that gave the focus has placed the caret.
        QTimer::singleShot(0, field, &QLineEdit::selectAll);
    }
    return QDialog::eventFilter(watched, event);
}

void FrmRemkill::reject() {
    if (running_) {
        // "Zurück" or Esc during a run: stop the tool, close once it has ended.
        flags_.StopRequested = true;
        closeAfterRun_ = true;
        return;
    }
    QDialog::reject();
}

void FrmRemkill::closeEvent(QCloseEvent *event) {
    if (running_) {
        flags_.StopRequested = true;
        closeAfterRun_ = true;
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

} // namespace quandel
