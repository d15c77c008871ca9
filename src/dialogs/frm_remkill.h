#pragma once

#include "basictools/tool_context.h"
#include "basictools/tool_runner.h"
#include "basictools/varlist.h"
#include "core/user_dialogs.h"

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace quandel {

class EventPump;
class LineModel;
class NavigatorSelection;
struct SharedFlags;

// The tools dialog: runs REMKILL, DENUMBER or VARLIST on a source file. The
// caption is the mode word; the fields shown follow the mode. It is the
// tools' display (Schau, lblZeilentext, the variable count in Text3).
class FrmRemkill : public QDialog, public ToolView, public VariableCountView {
    Q_OBJECT
public:
    FrmRemkill(UserDialogs &dialogs, EventPump &events, SharedFlags &flags, LineModel &model,
               const NavigatorSelection &navigator, QWidget *parent = nullptr);
    ~FrmRemkill() override;

    // A menu entry of "&Programmiertools": sets the mode and shows the
    // dialog modally until "Zurück".
    void ShowForMode(ToolMode mode);
    // The mode caption and what the activation does: proposes source and
    // target from the navigator, shows the mode's fields, empties Schau.
    void Activate(ToolMode mode);
    ToolMode Mode() const { return mode_; }
    bool Running() const { return running_; }

    // The buttons' handlers.
    void Command1_Click(); // "..."
    void Start_Click();
    void INFO_Click();

    // ToolView
    std::string DisplayText() const override { return display_; }
    void SetDisplayText(const std::string &text) override;
    void SetLineLabel(const std::string &text) override;
    // VariableCountView
    void SetVariableCount(const std::string &numberText) override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void reject() override;

private:
    bool PickSource();

    UserDialogs &dialogs_;
    EventPump &events_;
    SharedFlags &flags_;
    LineModel &model_;
    const NavigatorSelection &navigator_;
    FileDialogState fileOpen_;
    ToolMode mode_ = ToolMode::RemKill;
    bool running_ = false;
    bool closeAfterRun_ = false;
    std::string display_; // what Schau shows, as the tools wrote it
    QString denumberFrom_ = QStringLiteral("0");

    QLineEdit *Quell_ = nullptr;
    QPushButton *Command1_ = nullptr;
    QLineEdit *Ziel_ = nullptr;
    QCheckBox *Check1_ = nullptr;
    QLabel *Label1_ = nullptr;
    QLineEdit *Text3_ = nullptr;
    QLabel *Label2_ = nullptr;
    QLineEdit *Text4_ = nullptr;
    QLabel *lblZeilentext_ = nullptr;
    QPlainTextEdit *Schau_ = nullptr;
    QPushButton *Start_ = nullptr;
    QPushButton *INFO_ = nullptr;
    QPushButton *esc_ = nullptr;
};

} // namespace quandel
