#pragma once

#include "terminal/readout_capture.h"
#include "transfer/transfer_view.h"

#include <chrono>
#include <cstdio>
#include <string>

namespace quandel {

class ReceivePath;
struct FileDialogState;

// The read-out file: raw bytes as received.
class FileCaptureSink final : public CaptureSink {
public:
    ~FileCaptureSink() override;
    bool Open(const std::string &path, std::string &error);
    bool Write(const std::string &bytes) override;
    // False when the last bytes could not be written.
    bool Close();
    bool IsOpen() const { return file_ != nullptr; }

private:
    std::FILE *file_ = nullptr;
};

// What the read-out switches besides the capture: the two status clocks and
// the read-out mark of the "Meldung" panel.
class ReadoutView {
public:
    virtual ~ReadoutView() = default;
    virtual void SetClocksRunning(bool running) = 0;
    virtual void SetReadoutChecked(bool checked) = 0;
    virtual void ShowReadoutMessage(const std::string &text, bool withPicture) = 0;
};

// "Daten auslesen und speichern": records what the controller lists into a
// file until the same command is chosen again.
class Readout {
public:
    Readout(TransferContext &ctx, ReadoutView &view, ReceivePath &receive,
            FileDialogState &fileDialog)
        : ctx_(ctx), view_(view), receive_(receive), fileDialog_(fileDialog) {}

    void Toggle();
    bool Active() const;
    // The port went away while the read-out ran: it ends as if chosen again
    // and tells the user that the file holds what arrived until then.
    void EndAfterPortLoss();

private:
    void Start();
    void Stop();
    void Pause();
    // Until the controller's prompt after a send, at most kAnswerLimit; what
    // arrives meanwhile takes the receive path (display and file).
    void AwaitAnswer();
    static constexpr std::chrono::seconds kAnswerLimit{1};

    TransferContext &ctx_;
    ReadoutView &view_;
    ReceivePath &receive_;
    FileDialogState &fileDialog_;
    FileCaptureSink file_;
    std::string path_;
};

} // namespace quandel
