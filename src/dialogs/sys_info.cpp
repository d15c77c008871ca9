#include "dialogs/sys_info.h"

#include "core/number_text.h"
#include "core/settings_store.h"
#include "core/user_dialogs.h"
#include "dialogs/registry_reader.h"

namespace quandel {

namespace {

// System information programs looked for where the registry names none.
#ifdef _WIN32
constexpr const char *kInstalledSysInfo[] = {"msinfo32"};
#else
constexpr const char *kInstalledSysInfo[] = {"kinfocenter", "hardinfo2", "hardinfo",
                                             "gnome-system-monitor"};
#endif

} // namespace

void StartSysInfo(RegistryReader &registry, ProgramStarter &starter, UserDialogs &dialogs) {
    std::string path;
    if (GetKeyValue(registry, kHkeyLocalMachine, "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO",
                    "PATH", path)) {
        if (starter.Start(path))
            return;
    } else if (GetKeyValue(registry, kHkeyLocalMachine,
                           "SOFTWARE\\Microsoft\\Shared Tools Location", "MSINFO", path)) {
        if (path.empty() || path.back() != '\\')
            path += '\\';
        path += "MSINFO32.EXE";
        if (starter.FileExists(path) && starter.Start(path))
            return;
    } else {
        for (const char *name : kInstalledSysInfo) {
            const std::string found = starter.FindProgram(name);
            if (!found.empty() && starter.Start(found))
                return;
        }
    }
    dialogs.MessageBox(Cp1252("Systeminformationen sind momentan nicht verfügbar"), kAppTitle,
                       BoxIcon::None, BoxButtons::Ok);
}

} // namespace quandel
