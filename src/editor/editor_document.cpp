#include "editor/editor_document.h"

#include "basictools/remkill_zeile.h"
#include "core/native_path.h"
#include "core/number_text.h"
#include "core/settings_store.h"
#include "core/shared_flags.h"
#include "core/system_error.h"
#include "core/text_lines.h"
#include "core/user_dialogs.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>

namespace quandel {

namespace fs = std::filesystem;

namespace {

const char *const kCrLf = "\r\n";
const char *const kUnnamedFile = "Unbenannt.txt";

std::FILE *OpenForWriting(const fs::path &path) {
#ifdef _WIN32
    return _wfopen(path.c_str(), L"wb");
#else
    return std::fopen(path.c_str(), "wb");
#endif
}

// Writes `bytes` to `path`; 0 or the errno of the failing step.
int WriteWhole(const fs::path &path, const std::string &bytes) {
    errno = 0;
    std::FILE *file = OpenForWriting(path);
    if (!file)
        return errno ? errno : EIO;
    int err = 0;
    if (std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size() || std::fflush(file) != 0)
        err = errno ? errno : EIO;
    if (std::fclose(file) != 0 && err == 0)
        err = errno ? errno : EIO;
    return err;
}

// Writes through a temporary file beside the target and renames it over the
// target, so a full disk or a broken medium leaves the old file intact. A
// link keeps pointing at the file it named; the file keeps its permissions.
// Where no temporary file can be made (a folder without write permission),
// the file is written in place.
std::string WriteFileSafely(const fs::path &target, const std::string &bytes) {
    std::error_code ec;
    fs::path real = target;
    if (fs::is_symlink(target, ec)) {
        const fs::path resolved = fs::weakly_canonical(target, ec);
        if (!ec)
            real = resolved;
    }
    if (fs::is_directory(real, ec))
        return SystemErrorText(EISDIR);
    fs::path temp = real;
    temp += ".quandel-save~";
    const int tempErr = WriteWhole(temp, bytes);
    if (tempErr == EACCES || tempErr == EPERM || tempErr == EROFS) {
        fs::remove(temp, ec);
        const int err = WriteWhole(real, bytes);
        return err ? SystemErrorText(err) : std::string();
    }
    if (tempErr) {
        fs::remove(temp, ec);
        return SystemErrorText(tempErr);
    }
    if (fs::exists(real, ec))
        fs::permissions(temp, fs::status(real, ec).permissions(), ec);
    fs::rename(temp, real, ec);
    if (ec) {
        std::error_code ignored;
        fs::remove(temp, ignored);
        return SystemErrorText(ec.value());
    }
    return {};
}

} // namespace

SplitText SplitLineEnds(const std::string &bytes) {
    SplitText out;
    out.text.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size();) {
        if (const std::size_t end = LineEndAt(bytes, i); end > 0) {
            out.ends.push_back(bytes.substr(i, end));
            out.text.push_back('\n');
            i += end;
        } else {
            out.text.push_back(bytes[i++]);
        }
    }
    return out;
}

std::string JoinLineEnds(const std::string &text, const std::vector<std::string> &ends) {
    std::size_t breaks = 0;
    for (const char c : text)
        breaks += c == '\n';
    const bool sameLines = breaks == ends.size();
    std::string usual = kCrLf;
    if (!sameLines && !ends.empty()) {
        std::map<std::string, std::size_t> counts;
        for (const auto &e : ends)
            ++counts[e];
        std::size_t best = counts[kCrLf];
        for (const auto &[end, count] : counts)
            if (count > best)
                best = count, usual = end;
    }
    std::string out;
    out.reserve(text.size() + breaks);
    std::size_t line = 0;
    for (const char c : text) {
        if (c == '\n')
            out += sameLines ? ends[line++] : usual;
        else
            out.push_back(c);
    }
    return out;
}

EditorDocument::EditorDocument(EditorTextView &view, UserDialogs &dialogs, FileDialogState &openLog,
                               SharedFlags &flags)
    : view_(view), dialogs_(dialogs), openLog_(openLog), flags_(flags) {}

void EditorDocument::SetCaption(std::string caption) {
    caption_ = std::move(caption);
    view_.SetCaption(caption_);
}

bool EditorDocument::AskToSave() {
    if (!modified_)
        return true;
    // The caption names the file ("EDITOR - PATH") or is the window's title.
    const std::string text = Cp1252("Der Text in [") + caption_ + Cp1252("] wurde geändert.") +
                             "\n\r" + Cp1252("Änderungen speichern?");
    switch (dialogs_.MessageBox(text, kAppTitle, BoxIcon::Exclamation, BoxButtons::YesNoCancel)) {
    case BoxAnswer::Yes:
        return Save();
    case BoxAnswer::No:
        return true;
    default:
        return false;
    }
}

void EditorDocument::New() {
    const EditorTextView::Encoded current = view_.GetEditorText();
    if (current.ok && current.text.empty())
        return;
    // Throwing away unsaved work needs the user's word.
    if (!AskToSave())
        return;
    view_.SetEditorText("");
    fileName_.clear();
    lineEnds_.clear();
    SetCaption(kMainCaption);
}

bool EditorDocument::OpenTextFile() {
    if (!AskToSave())
        return false;
    openLog_.title = Cp1252("Text-Datei öffnen");
    openLog_.filter = "BASIC-Dateien (*.BAS)|*.BAS|Alle Dateien (*.*)|*.*";
    if (!dialogs_.OpenFileDialog(openLog_))
        return false;
    if (openLog_.fileName.empty()) {
        dialogs_.MessageBox("Datei nicht gefunden", kAppTitle, BoxIcon::None, BoxButtons::Ok);
        return false;
    }
    return OpenFile(openLog_.fileName);
}

bool EditorDocument::OpenFile(const std::string &path) {
    const std::string cannotOpen = Cp1252("Datei kann nicht geöffnet werden: ") + path;
    const auto refuse = [&](const std::string &reason) {
        dialogs_.MessageBox(reason.empty() ? cannotOpen : cannotOpen + "\r" + reason, kAppTitle,
                            BoxIcon::None, BoxButtons::Ok);
        return false;
    };
    const fs::path native = NativePath(path);
    std::error_code ec;
    // Devices and pipes never end; folders are no text.
    if (path.empty() || !fs::is_regular_file(native, ec))
        return refuse({});
    const std::uintmax_t size = fs::file_size(native, ec);
    if (!ec && size > kMaxEditorFileBytes)
        return refuse(Cp1252("Die Datei ist größer als 8 MB."));
    std::ifstream in(native, std::ios::binary);
    if (!in)
        return refuse({});
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad())
        return refuse({});
    if (bytes.find('\0') != std::string::npos)
        return refuse(Cp1252("Die Datei enthält Binärdaten (Nullbytes)."));

    SetCaption("EDITOR - " + UpperCp1252(path));
    SplitText split = SplitLineEnds(bytes);
    lineEnds_ = std::move(split.ends);
    fileName_ = path;
    view_.SetEditorText(split.text);
    flags_.StopRequested = false;
    modified_ = false;
    return true;
}

bool EditorDocument::FileSaveAs(const std::string &fileName) {
    const EditorTextView::Encoded text = view_.GetEditorText();
    if (!text.ok) {
        // Writing would silently turn the character into something else.
        dialogs_.MessageBox(Cp1252("Der Text wurde nicht gespeichert: Zeile ") +
                                DecimalText(text.badLine) +
                                Cp1252(" enthält ein Zeichen, das es im Zeichensatz "
                                       "Windows-1252 nicht gibt."),
                            kAppTitle, BoxIcon::Exclamation, BoxButtons::Ok);
        return false;
    }
    const std::string bytes = JoinLineEnds(text.text, lineEnds_) + kCrLf;
    view_.SetBusy(true);
    const std::string error = WriteFileSafely(NativePath(fileName), bytes);
    view_.SetBusy(false);
    if (!error.empty()) {
        dialogs_.MessageBox(Cp1252("Die Datei ") + fileName +
                                Cp1252(" konnte nicht gespeichert werden:\r") + error,
                            kAppTitle, BoxIcon::Exclamation, BoxButtons::Ok);
        return false;
    }
    return true;
}

std::string EditorDocument::GetFileName(const std::string &proposal) {
    // The shared dialog may come from a download or a read-out: a save of the
    // editor asks with its own title and filters, not theirs.
    openLog_.title = Cp1252("Text-Datei speichern unter");
    openLog_.filter = "Text-Dateien (*.txt)|*.txt|BASIC-Dateien (*.BAS)|*.BAS|Alle Dateien (*)|*";
    openLog_.defaultExt = "txt";
    openLog_.fileName = proposal;
    if (!dialogs_.SaveFileDialog(openLog_))
        return {};
    return openLog_.fileName;
}

bool EditorDocument::SaveUnder(const std::string &name) {
    if (name.empty() || !FileSaveAs(name))
        return false;
    fileName_ = name;
    SetCaption("EDITOR - " + UpperCp1252(name));
    modified_ = false;
    return true;
}

bool EditorDocument::Save() {
    return SaveUnder(fileName_.empty() ? GetFileName(kUnnamedFile) : fileName_);
}

bool EditorDocument::SaveAs() {
    return SaveUnder(GetFileName(fileName_.empty() ? std::string(kUnnamedFile) : fileName_));
}

bool EditorDocument::SaveBeforeClose() {
    return AskToSave();
}

} // namespace quandel
