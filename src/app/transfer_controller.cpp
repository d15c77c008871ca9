#include "app/transfer_controller.h"

#include "app/app_services.h"
#include "app/cp1252_codec.h"
#include "app/frm_main.h"
#include "app/status_panel.h"
#include "app/terminal_controller.h"
#include "app/terminal_page.h"
#include "core/shared_flags.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QStatusBar>

namespace quandel {

TransferController::TransferController(FrmMain &window, AppServices &services, SharedFlags &flags,
                                       TerminalController &terminal, FileDialogState &fileDialog,
                                       QObject *parent)
    : QObject(parent), window_(window), terminal_(terminal),
      fileDialog_(fileDialog), ctx_{services.port,   services.dialogs,
                                    services.events, services.clock,
                                    flags,           static_cast<TransferView &>(*this)},
      download_(ctx_, fileDialog_),
      readout_(ctx_, static_cast<ReadoutView &>(*this), terminal.Receive(), fileDialog_),
      comparison_(ctx_, fileDialog_) {
    progress_ = new QProgressBar(&window_);
    progress_->setObjectName(QStringLiteral("prgDownload"));
    progress_->setMaximumWidth(160);
    progress_->setFormat(QStringLiteral("Zeile %v von %m"));
    progress_->hide();
    window_.statusBar()->addWidget(progress_);
    // A device that went away is reported; a port the user closed just ends
    // the read-out, with what arrived until then in its file.
    connect(&terminal, &TerminalController::readoutPortLost, this, [this] {
        if (window_.Connection().WatchingForDevice())
            readout_.EndAfterPortLoss();
        else
            EndReadout();
    });
}

TransferController::~TransferController() {
    if (cursorBusy_)
        QApplication::restoreOverrideCursor();
}

bool TransferController::Enter() {
    // A transfer lets events run between its lines; a second one started
    // from there would interleave its lines with the first one's.
    if (busy_) {
        QApplication::beep();
        return false;
    }
    busy_ = true;
    return true;
}

void TransferController::LoadCommand() {
    if (!Enter())
        return;
    download_.LoadCommand(programFileName);
    busy_ = false;
}

void TransferController::DownloadProg(const std::string &file) {
    if (!Enter())
        return;
    download_.DownloadProg(file);
    busy_ = false;
}

void TransferController::SendClipboardLines() {
    if (!Enter())
        return;
    download_.Lines().SendClipboardLines(ToCp1252(QApplication::clipboard()->text()));
    busy_ = false;
}

void TransferController::ReadoutCommand() {
    if (busy_) {
        QApplication::beep();
        return;
    }
    readout_.Toggle();
}

void TransferController::CompareCommand() {
    if (!Enter())
        return;
    comparison_.CompareCommand(programFileName.empty() ? download_.LastProgram() : programFileName);
    busy_ = false;
}

void TransferController::LoadChangesCommand() {
    if (!Enter())
        return;
    comparison_.LoadChangesCommand(
        programFileName.empty() ? download_.LastProgram() : programFileName, download_);
    busy_ = false;
}

void TransferController::SetReceivePaused(bool paused) {
    if (paused)
        terminal_.ReceiveTimer().stop();
    else
        terminal_.ReceiveTimer().start();
}

void TransferController::EndReadout() {
    if (readout_.Active())
        readout_.Toggle();
}

void TransferController::AppendRaw(const std::string &chunk) {
    terminal_.AppendUntrimmed(chunk);
}

void TransferController::AppendTerminalText(const std::string &chunk) {
    terminal_.Receive().AppendTerminalText(chunk);
}

void TransferController::SetTerminalText(const std::string &text) {
    terminal_.SetTerminalText(text);
}

void TransferController::SetLcdFeedEnabled(bool on) {
    terminal_.Receive().SetLcdFeedEnabled(on);
}

void TransferController::SetMessage(const std::string &text) {
    window_.MessagePanel().setText(FromCp1252(text));
}

void TransferController::SetBusyCursor(bool busy) {
    if (busy == cursorBusy_)
        return;
    cursorBusy_ = busy;
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

void TransferController::StatusRefresh() {
    window_.StatusRefresh();
}

void TransferController::StartConnectTimer() {
    window_.Connection().ResumeConnectTimer();
}

void TransferController::FocusLcd() {
    window_.TerminalPageWidget().lcdPane()->setFocus();
}

void TransferController::ShowProgress(int done, int total) {
    if (total <= 0) {
        progress_->hide();
        return;
    }
    progress_->setMaximum(total);
    progress_->setValue(done);
    progress_->show();
}

void TransferController::SetClocksRunning(bool running) {
    window_.SetClocksRunning(running);
}

void TransferController::SetReadoutChecked(bool checked) {
    window_.ReadoutAction().setChecked(checked);
}

void TransferController::ShowReadoutMessage(const std::string &text, bool withPicture) {
    StatusPanel &panel = window_.MessagePanel();
    panel.setText(FromCp1252(text));
    panel.setPicture(withPicture ? LogIcon() : QPixmap(),
                     withPicture ? QStringLiteral("imgLog") : QString());
}

} // namespace quandel
