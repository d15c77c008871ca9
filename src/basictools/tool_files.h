#pragma once

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace quandel {

// Reads a text file as Windows-1252 bytes, one line at a time. A line ends at
// CR LF, CR or a lone LF (core/text_lines.h). The whole file is read when
// opened (BASIC sources are small), so Rewind is cheap and no handle is held.
class SourceLines {
public:
    // Fails with a German text when the file cannot be read.
    static std::optional<SourceLines> Open(const std::string &path, std::string &error);
    // Splits text that is already in memory.
    static SourceLines FromText(const std::string &bytes);

    bool AtEnd() const { return next_ >= lines_.size(); }
    // The next line, without its terminator; an empty text at the end.
    std::string Next();
    void Rewind() { next_ = 0; }
    std::size_t LineCount() const { return lines_.size(); }

    // Why the text cannot be a BASIC program, as a German sentence about
    // `subject` ("Die Datei X"); empty when it can. Binary data and overlong
    // lines would flood the user with a warning per line, or keep the
    // controller busy for minutes with a line it cannot take.
    std::string NoProgramReason(const std::string &subject) const;
    // The controller takes about 80 characters per line; even with a long
    // comment no line of a program comes near this.
    static constexpr std::size_t kLongestLine = 4096;

private:
    std::vector<std::string> lines_;
    std::size_t next_ = 0;
    bool hasNul_ = false;
};

// The target of a tool run: lines written with CR LF, raw bytes. A write
// failure throws ToolFailure.
class TargetFile {
public:
    TargetFile() = default;
    ~TargetFile();
    TargetFile(const TargetFile &) = delete;
    TargetFile &operator=(const TargetFile &) = delete;
    TargetFile(TargetFile &&other) noexcept;
    TargetFile &operator=(TargetFile &&other) noexcept;

    // Creates or empties the file. False with a German text when it cannot.
    bool Open(const std::string &path, std::string &error);
    bool IsOpen() const { return file_ != nullptr; }
    void WriteLine(const std::string &line);
    void Close();

private:
    std::FILE *file_ = nullptr;
    std::string path_;
};

// True when both paths name the same existing file (also through links or
// different spellings of the path).
bool SameFile(const std::string &a, const std::string &b);

// The tools' target name proposal: the name part is cut after its first dot
// (the dot stays) and the letter appended ("TEST.BAS" -> "TEST.Z"; "TEST" ->
// "TESTZ"). An empty letter only cuts.
std::string ProposedTargetName(const std::string &sourcePath, const std::string &letter);

} // namespace quandel
