#pragma once

#include <QString>
#include <QWidget>
#include <array>

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QToolBar;

namespace quandel {

class FindBar;

// The "Terminal" tab: toolbar, LCD pane, terminal pane, the function-key
// frame and the display-mode options. It only holds and shows widgets.
class TerminalPage : public QWidget {
    Q_OBJECT
public:
    explicit TerminalPage(QWidget *parent = nullptr);

    QToolBar *toolbar() const { return tbrTerminal_; }
    QPlainTextEdit *lcdPane() const { return txtLCD_; }
    QPlainTextEdit *terminalPane() const { return rtbTerm_; }
    // Finds text in the terminal pane; hidden until Ctrl+F opens it.
    FindBar *findBar() const { return findBar_; }
    // True while the focus is inside the find bar: what is typed is the
    // bar's, not the controller's.
    bool findBarHasFocus() const;
    QPushButton *functionKey(int index) const { return fTast_.at(std::size_t(index)); }
    QRadioButton *asciiOption() const { return optAscii_; }
    QRadioButton *plainTextOption() const { return optPlain_; }

    // The text function key F5..F8 sends (index 4..7), shown whole as its
    // tooltip; its caption is the first ten characters of it.
    void setFunctionKeyText(int index, const QString &text);
    QString functionKeyText(int index) const;

    // Appends received text at the end, as plain text, caret kept at the end;
    // while the find bar has the focus, its hit stays selected and the view
    // where it is.
    void appendTerminalText(const QString &text);

signals:
    void clearRequested(); // "btnClear"

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QToolBar *tbrTerminal_ = nullptr;
    QPlainTextEdit *txtLCD_ = nullptr;
    QPlainTextEdit *rtbTerm_ = nullptr;
    FindBar *findBar_ = nullptr;
    std::array<QPushButton *, 8> fTast_{};
    std::array<QString, 8> keyTexts_;
    QRadioButton *optAscii_ = nullptr;
    QRadioButton *optPlain_ = nullptr;
};

// The family behind the panes' font that draws the control pictures.
inline constexpr const char *kControlPictureFamily = "FreeMono";
// Courier New at the given size, or a metric-compatible monospace font, with
// DejaVu Sans Mono and kControlPictureFamily for the characters they lack.
QFont FixedPitchFont(double pointSize);
// A tooltip that shows `text` literally, whatever markup it seems to hold.
QString PlainTextToolTip(const QString &text);

} // namespace quandel
