#pragma once

#include <QWidget>
#include <array>

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QToolBar;

namespace quandel {

// The "Terminal" tab: toolbar, LCD pane, terminal pane, the function-key
// frame and the display-mode options. It only holds and shows widgets.
class TerminalPage : public QWidget {
    Q_OBJECT
public:
    explicit TerminalPage(QWidget *parent = nullptr);

    QToolBar *toolbar() const { return tbrTerminal_; }
    QPlainTextEdit *lcdPane() const { return txtLCD_; }
    QPlainTextEdit *terminalPane() const { return rtbTerm_; }
    QPushButton *functionKey(int index) const { return fTast_.at(std::size_t(index)); }
    QRadioButton *asciiOption() const { return optAscii_; }
    QRadioButton *plainTextOption() const { return optPlain_; }

    // The text a function key sends (its tooltip) and its caption, the first
    // ten characters of it.
    void setFunctionKeyText(int index, const QString &text);
    QString functionKeyText(int index) const;

    // Appends received text at the end, as plain text, caret kept at the end.
    void appendTerminalText(const QString &text);

signals:
    void clearRequested(); // "btnClear"

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QToolBar *tbrTerminal_ = nullptr;
    QPlainTextEdit *txtLCD_ = nullptr;
    QPlainTextEdit *rtbTerm_ = nullptr;
    std::array<QPushButton *, 8> fTast_{};
    QRadioButton *optAscii_ = nullptr;
    QRadioButton *optPlain_ = nullptr;
};

// Courier New at the given size, or a metric-compatible monospace font.
QFont FixedPitchFont(double pointSize);

} // namespace quandel
