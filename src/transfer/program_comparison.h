#pragma once

#include "core/user_dialogs.h"
#include "transfer/program_compare.h"
#include "transfer/transfer_view.h"

#include <optional>
#include <string>

namespace quandel {

struct FileDialogState;

// "Programm vergleichen": lists the controller's program and compares it
// with a file as the download would send it. Nothing is written anywhere;
// the controller gets a CR and LIST.
class Download;

class ProgramComparison {
public:
    ProgramComparison(TransferContext &ctx, FileDialogState &fileDialog)
        : ctx_(ctx), fileDialog_(fileDialog) {}

    // Asks for the file (proposing `programFileName`), compares and shows
    // the result.
    void CompareCommand(const std::string &programFileName);
    // The comparison of `path` with the controller; false after a box that
    // says why there is none (no connection, no answer, unreadable file).
    bool Compare(const std::string &path);

    // "Änderungen laden": the comparison, then only the lines that differ
    // (a bare line number deletes a line only the controller has), a second
    // comparison that must find nothing, and the EEPROM question.
    void LoadChangesCommand(const std::string &programFileName, Download &download);
    bool LoadChanges(const std::string &path, Download &download);
    int SentLines() const { return sent_; }
    int DeletedLines() const { return deleted_; }

    // The controller's LIST answer, or nothing after a box.
    std::optional<std::string> ListController();

    const std::vector<LineDifference> &Differences() const { return differences_; }

private:
    void ShowResult(const std::string &path, std::size_t fileLines);
    bool AskForFile(const std::string &title, const std::string &proposal);
    std::optional<std::string> ReadProgram(const std::string &path);
    // The differences of the file's lines to a fresh listing; false after a box.
    bool Differ(const std::vector<NumberedLine> &file);
    // Reads `path` and compares it with a fresh listing: the file's lines,
    // or nothing after a box.
    std::optional<std::vector<NumberedLine>> FileAgainstController(const std::string &path);

    TransferContext &ctx_;
    FileDialogState &fileDialog_;
    std::vector<LineDifference> differences_;
    int sent_ = 0, deleted_ = 0;
};

// The result in one sentence: the controller holds the file's program, or
// how many differences there are.
std::string ComparisonSummary(const std::string &path, std::size_t fileLines,
                              const std::vector<LineDifference> &differences);
// The differences as a table, one row a line number: the number, what
// differs, and the line after its number as the file and as the controller
// have it, side by side, under `title` and `text`.
TableBoxContent DifferenceTable(const std::string &title, const std::string &text,
                                const std::vector<LineDifference> &differences);

} // namespace quandel
