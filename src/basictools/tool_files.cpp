#include "basictools/tool_files.h"

#include "basictools/tool_failure.h"
#include "core/native_path.h"
#include "core/number_text.h"
#include "core/system_error.h"
#include "core/text_lines.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <utility>

namespace quandel {

std::optional<SourceLines> SourceLines::Open(const std::string &path, std::string &error) {
    std::error_code ec;
    if (std::filesystem::is_directory(NativePath(path), ec)) {
        error =
            Cp1252("Die Datei ") + path + Cp1252(" kann nicht gelesen werden: ist ein Verzeichnis");
        return std::nullopt;
    }
    std::ifstream in(NativePath(path), std::ios::binary);
    if (!in) {
        error = Cp1252("Die Datei ") + path + Cp1252(" kann nicht gelesen werden: ") +
                SystemErrorText(errno);
        return std::nullopt;
    }
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) {
        error = Cp1252("Die Datei ") + path + Cp1252(" kann nicht gelesen werden.");
        return std::nullopt;
    }
    return FromText(bytes);
}

SourceLines SourceLines::FromText(const std::string &bytes) {
    SourceLines s;
    s.hasNul_ = bytes.find('\0') != std::string::npos;
    TextLines split = SplitLines(bytes);
    s.lines_ = std::move(split.lines);
    if (!split.rest.empty())
        s.lines_.push_back(std::move(split.rest));
    return s;
}

std::string SourceLines::Next() {
    return AtEnd() ? std::string() : lines_[next_++];
}

std::string SourceLines::NoProgramReason(const std::string &subject) const {
    if (hasNul_)
        return subject + Cp1252(" enthält Binärdaten (Nullbytes) und ist kein BASIC-Programm.");
    for (std::size_t i = 0; i < lines_.size(); ++i)
        if (lines_[i].size() > kLongestLine)
            return subject + Cp1252(" ist kein BASIC-Programm: Zeile ") +
                   DecimalText(std::int64_t(i + 1)) + Cp1252(" ist länger als ") +
                   DecimalText(std::int64_t(kLongestLine)) + Cp1252(" Zeichen.");
    return {};
}

TargetFile::~TargetFile() {
    if (file_)
        std::fclose(file_); // an explicit Close reports failures; this is clean-up only
}

TargetFile::TargetFile(TargetFile &&other) noexcept
    : file_(std::exchange(other.file_, nullptr)), path_(std::move(other.path_)) {}

TargetFile &TargetFile::operator=(TargetFile &&other) noexcept {
    if (this != &other) {
        Close();
        file_ = std::exchange(other.file_, nullptr);
        path_ = std::move(other.path_);
    }
    return *this;
}

bool TargetFile::Open(const std::string &path, std::string &error) {
    Close();
    file_ = std::fopen(NativePath(path).c_str(), "wb");
    if (!file_) {
        error = Cp1252("Die Zieldatei ") + path + Cp1252(" kann nicht angelegt werden: ") +
                SystemErrorText(errno);
        return false;
    }
    path_ = path;
    return true;
}

void TargetFile::WriteLine(const std::string &line) {
    if (!file_)
        throw ToolFailure(Cp1252("Die Zieldatei ist nicht geöffnet."));
    if (std::fwrite(line.data(), 1, line.size(), file_) != line.size() ||
        std::fwrite("\r\n", 1, 2, file_) != 2)
        throw ToolFailure(Cp1252("Schreiben in ") + path_ + Cp1252(" fehlgeschlagen: ") +
                          SystemErrorText(errno));
}

void TargetFile::Close() {
    if (!file_)
        return;
    const bool ok = std::fclose(file_) == 0;
    file_ = nullptr;
    if (!ok)
        throw ToolFailure(Cp1252("Schreiben in ") + path_ + Cp1252(" fehlgeschlagen: ") +
                          SystemErrorText(errno));
}

bool SameFile(const std::string &a, const std::string &b) {
    std::error_code ec;
    if (std::filesystem::equivalent(NativePath(a), NativePath(b), ec))
        return true;
    // A target that does not exist yet is still the source when both names
    // resolve to the same path.
    const auto wa = std::filesystem::weakly_canonical(NativePath(a), ec);
    const auto wb = std::filesystem::weakly_canonical(NativePath(b), ec);
    return !ec && wa == wb;
}

std::string ProposedTargetName(const std::string &sourcePath, const std::string &letter) {
    std::size_t sep = sourcePath.find_last_of("/\\");
    const std::size_t nameStart = sep == std::string::npos ? 0 : sep + 1;
    std::string dir = sourcePath.substr(0, nameStart);
    std::string name = sourcePath.substr(nameStart);
    const auto dot = name.find('.');
    if (dot != std::string::npos)
        name.erase(dot + 1);
    return dir + name + letter;
}

} // namespace quandel
