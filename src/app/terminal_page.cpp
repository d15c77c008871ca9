#include "app/terminal_page.h"

#include "editor/find_bar.h"

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStyle>
#include <QToolBar>
#include <QVBoxLayout>

namespace quandel {

QFont FixedPitchFont(double pointSize) {
    // Liberation Mono has Courier New's metrics. Behind it: DejaVu Sans Mono
    // for the characters it lacks, and FreeMono, which also has the pictures
    // of the control codes (U+2400 ff.) that the terminal pane shows.
    const QStringList fallbacks = {QStringLiteral("DejaVu Sans Mono"),
                                   QString::fromLatin1(kControlPictureFamily)};
    QFont font(QStringLiteral("Courier New"));
    font.setFamilies(QStringList{QStringLiteral("Courier New"), QStringLiteral("Liberation Mono")} +
                     fallbacks);
    font.setStyleHint(QFont::TypeWriter, QFont::PreferDefault);
    font.setFixedPitch(true);
    font.setPointSizeF(pointSize);
    if (!QFontInfo(font).fixedPitch()) {
        font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
        font.setFamilies(QStringList{font.family()} + fallbacks);
        font.setPointSizeF(pointSize);
    }
    return font;
}

QString PlainTextToolTip(const QString &text) {
    // A tooltip that looks like HTML ("IF A<B THEN PRINT "<b>"") would be
    // rendered as such: escaped, it always shows its characters, blanks kept.
    return QStringLiteral("<p style='white-space:pre-wrap'>") + text.toHtmlEscaped() +
           QStringLiteral("</p>");
}

namespace {

QAction *ToolButton(QToolBar *bar, const QString &key, QStyle::StandardPixmap icon,
                    const QString &tip) {
    QAction *action = bar->addAction(bar->style()->standardIcon(icon), tip);
    action->setObjectName(key);
    action->setToolTip(tip);
    return action;
}

} // namespace

TerminalPage::TerminalPage(QWidget *parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Terminal"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 2, 4, 4);

    tbrTerminal_ = new QToolBar(this);
    tbrTerminal_->setObjectName(QStringLiteral("tbrTerminal"));
    ToolButton(tbrTerminal_, QStringLiteral("btnClip"), QStyle::SP_FileDialogContentsView,
               QStringLiteral("Aus Zwischenspeicher einfügen <ctrl+V>"));
    ToolButton(tbrTerminal_, QStringLiteral("btnInfo"), QStyle::SP_MessageBoxInformation,
               QStringLiteral("Kurzinformation"));
    QAction *clear =
        ToolButton(tbrTerminal_, QStringLiteral("btnClear"), QStyle::SP_DialogResetButton,
                   QStringLiteral("Text im Terminal löschen"));
    QAction *live = ToolButton(tbrTerminal_, QStringLiteral("btnLive"), QStyle::SP_ComputerIcon,
                               QStringLiteral("Livestream anschauen"));
    ToolButton(tbrTerminal_, QStringLiteral("btnStop"), QStyle::SP_BrowserStop,
               QStringLiteral("Send <ctrl>C"));
    tbrTerminal_->addSeparator();
    ToolButton(tbrTerminal_, QStringLiteral("btnCompare"), QStyle::SP_FileDialogListView,
               QStringLiteral("Programm vergleichen"));
    layout->addWidget(tbrTerminal_);

    txtLCD_ = new QPlainTextEdit(this);
    txtLCD_->setObjectName(QStringLiteral("txtLCD"));
    txtLCD_->setReadOnly(true);
    txtLCD_->setLineWrapMode(QPlainTextEdit::NoWrap);
    txtLCD_->setFont(FixedPitchFont(8.25));
    txtLCD_->setCursorWidth(0);
    txtLCD_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    txtLCD_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    {
        // Nine lines of 80 columns, as the display has them.
        const QFontMetrics fm(txtLCD_->font());
        const int frame = 2 * txtLCD_->frameWidth() + 8;
        txtLCD_->setMinimumWidth(fm.horizontalAdvance(QString(80, QLatin1Char('M'))) + frame);
        txtLCD_->setFixedHeight(fm.lineSpacing() * 9 + frame);
        txtLCD_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    }
    layout->addWidget(txtLCD_);

    rtbTerm_ = new QPlainTextEdit(this);
    rtbTerm_->setObjectName(QStringLiteral("rtbTerm"));
    rtbTerm_->setReadOnly(true);
    rtbTerm_->setFont(FixedPitchFont(8.25));
    rtbTerm_->setUndoRedoEnabled(false);
    // Closed, the focus goes back to the LCD pane, where keys are the controller's.
    findBar_ = FindBar::ForReadOnlyPane(*rtbTerm_, *txtLCD_, this);
    findBar_->setObjectName(QStringLiteral("picTermFind"));
    layout->addWidget(findBar_);
    layout->addWidget(rtbTerm_, 1);

    auto *bottom = new QHBoxLayout;
    auto *frFTast = new QGroupBox(this);
    frFTast->setObjectName(QStringLiteral("frFTast"));
    auto *keys = new QGridLayout(frFTast);
    keys->setContentsMargins(4, 4, 4, 4);
    keys->setHorizontalSpacing(2);
    // Ten characters of a user text should fit at the design size of the window.
    QFont keyFont = font();
    keyFont.setPointSizeF(keyFont.pointSizeF() * 0.85);
    static const char *const kFixed[] = {"LIST", "RUN", "CONT", "PH0. "};
    for (int i = 0; i < 8; ++i) {
        auto *label = new QLabel(QStringLiteral("F%1").arg(i + 1), frFTast);
        label->setObjectName(QStringLiteral("lblFTast%1").arg(i));
        auto *button = new QPushButton(frFTast);
        button->setObjectName(QStringLiteral("FTast%1").arg(i));
        button->setFocusPolicy(Qt::NoFocus);
        button->setFont(keyFont);
        button->setMinimumWidth(40); // captions may be cut before the window grows
        if (i < 4) {
            button->setText(QString::fromLatin1(kFixed[i]));
            button->setToolTip(QStringLiteral("Schnelltaste"));
        } else {
            fTast_[std::size_t(i)] = button;
            setFunctionKeyText(i, QStringLiteral("Belegung der Funktionstaste"));
        }
        fTast_[std::size_t(i)] = button;
        keys->addWidget(label, 0, i, Qt::AlignHCenter);
        keys->addWidget(button, 1, i);
    }
    bottom->addWidget(frFTast, 1);

    auto *mode = new QGroupBox(QStringLiteral("Anzeige"), this);
    mode->setObjectName(QStringLiteral("fraDarstellung"));
    auto *modeLayout = new QVBoxLayout(mode);
    optAscii_ = new QRadioButton(QStringLiteral("ASCII"), mode);
    optAscii_->setObjectName(QStringLiteral("optDarstellung0"));
    optPlain_ = new QRadioButton(QStringLiteral("Normaler Text"), mode);
    optPlain_->setObjectName(QStringLiteral("optDarstellung1"));
    optPlain_->setChecked(true);
    modeLayout->addWidget(optAscii_);
    modeLayout->addWidget(optPlain_);
    bottom->addWidget(mode);
    layout->addLayout(bottom);
    // Room the terminal pane may not take (its height has a limit) stays
    // below the controls, which keep their places under the pane.
    layout->addStretch(0);

    connect(clear, &QAction::triggered, this, &TerminalPage::clearRequested);
    // The terminal pane is never edited: clicking into it sends the focus on
    // to the LCD pane, where typed keys go to the controller.
    rtbTerm_->installEventFilter(this);
    connect(live, &QAction::triggered, this,
            [this] { rtbTerm_->setVisible(!rtbTerm_->isVisible()); });
}

bool TerminalPage::eventFilter(QObject *watched, QEvent *event) {
    if (watched == rtbTerm_ && event->type() == QEvent::FocusIn)
        txtLCD_->setFocus(Qt::OtherFocusReason);
    return QWidget::eventFilter(watched, event);
}

void TerminalPage::setFunctionKeyText(int index, const QString &text) {
    QPushButton *button = fTast_.at(std::size_t(index));
    keyTexts_.at(std::size_t(index)) = text;
    button->setToolTip(PlainTextToolTip(text));
    // A caption shows an ampersand as such, not as a mnemonic marker.
    button->setText(text.left(10).replace(QLatin1Char('&'), QLatin1String("&&")));
}

QString TerminalPage::functionKeyText(int index) const {
    return keyTexts_.at(std::size_t(index));
}

bool TerminalPage::findBarHasFocus() const {
    const QWidget *focus = QApplication::focusWidget();
    return focus && findBar_->isVisible() && findBar_->isAncestorOf(focus);
}

void TerminalPage::appendTerminalText(const QString &text) {
    QTextCursor cursor = rtbTerm_->textCursor();
    if (cursor.hasSelection() && findBarHasFocus()) {
        // Inserted behind the hit, which keeps its place; only a hit that
        // ends at the very end would grow with the text, so it is set again.
        const int anchor = cursor.anchor();
        const int position = cursor.position();
        QTextCursor end(rtbTerm_->document());
        end.movePosition(QTextCursor::End);
        end.insertText(text);
        cursor = rtbTerm_->textCursor();
        if (cursor.anchor() != anchor || cursor.position() != position) {
            cursor.setPosition(anchor);
            cursor.setPosition(position, QTextCursor::KeepAnchor);
            rtbTerm_->setTextCursor(cursor);
        }
        return;
    }
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(text);
    rtbTerm_->setTextCursor(cursor);
    rtbTerm_->verticalScrollBar()->setValue(rtbTerm_->verticalScrollBar()->maximum());
}

} // namespace quandel
