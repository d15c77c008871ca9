#pragma once

#include <string>
#include <string_view>

namespace quandel {

// The file list's pattern, with the blank before its last entry.
inline constexpr const char *kNavigatorPattern = "*.BAS;*.z;*.txt; *.mod";

// What the tools dialog proposes from the navigator: the directory list's
// path and the file list's selected entry (empty when none). Windows-1252.
class NavigatorSelection {
public:
    virtual ~NavigatorSelection() = default;
    virtual std::string DirectoryPath() const = 0;
    virtual std::string SelectedFileName() const = 0;
};

// A folder path and a file name with exactly one separator between them: a
// drive root ("C:\", "/") already ends with one. An empty name gives the
// folder with its separator.
std::string JoinDirectoryAndFile(const std::string &directory, const std::string &name);

// True when `name` matches one of the ";"-separated wildcard entries of
// `pattern` ("*" any run, "?" one character). Letters match in either case
// ("*.BAS" finds "prog.bas"); blanks around an entry do not count.
bool MatchesFilePattern(std::string_view name, std::string_view pattern);

// The question before a file chosen in the navigator is loaded:
// "Programm <path> laden?" on the "Terminal" tab, "Datei <path> laden?" on
// the "Editor" tab.
std::string LoadQuestion(bool terminalTabShown, const std::string &path);

} // namespace quandel
