#pragma once

#include "transfer/line_transmission.h"

#include <string>

namespace quandel {

struct FileDialogState;

// Puts a BASIC program into the controller: the opening handshake, the
// program line by line, then on request the EEPROM programming.
class Download {
public:
    Download(TransferContext &ctx, FileDialogState &fileDialog)
        : ctx_(ctx), fileDialog_(fileDialog), lines_(ctx) {}

    // "Programm laden": asks for the file (proposing `programFileName`).
    void LoadCommand(const std::string &programFileName);
    // Downloads `datei`; returns how the program lines ended.
    LineTransmission::Ending DownloadProg(const std::string &datei);

    LineTransmission &Lines() { return lines_; }
    // The question whether to program the EEPROM, and PROG on Yes.
    void EepromStep();
    // What follows every transfer: cursor, message, progress and status.
    void FinishTransfer();
    // The file whose lines went to the controller last; empty before any.
    const std::string &LastProgram() const { return lastProgram_; }

private:
    void ClosingSteps();

    TransferContext &ctx_;
    FileDialogState &fileDialog_;
    LineTransmission lines_;
    std::string lastProgram_;
};

} // namespace quandel
