#include "port/open_failure.h"

#include "core/number_text.h"

#include <algorithm>
#include <cerrno>
#include <vector>

#if defined(__unix__) || defined(__APPLE__)
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#define QUANDEL_POSIX_DEVICES 1
#endif

namespace quandel {

namespace {

#ifdef QUANDEL_POSIX_DEVICES
struct DeviceGroup {
    std::string name; // empty when the group has no name
    bool userListed = false;
};

DeviceGroup GroupOf(const std::string &device) {
    DeviceGroup g;
    struct stat st {};
    if (::stat(device.c_str(), &st) != 0)
        return g;
    const struct group *gr = ::getgrgid(st.st_gid);
    if (!gr)
        return g;
    g.name = gr->gr_name;
    const struct passwd *pw = ::getpwuid(::getuid());
    if (pw && gr->gr_mem)
        for (char **member = gr->gr_mem; *member; ++member)
            if (std::string(*member) == pw->pw_name)
                g.userListed = true;
    return g;
}
#endif

} // namespace

OpenRefusal ClassifyRefusedOpen(const std::string &device) {
#ifdef QUANDEL_POSIX_DEVICES
    if (::access(device.c_str(), R_OK | W_OK) != 0)
        return errno == EACCES || errno == EPERM ? OpenRefusal::Permission : OpenRefusal::None;
    return OpenRefusal::Busy;
#else
    (void)device;
    return OpenRefusal::Busy;
#endif
}

std::string OpenRefusalText(OpenRefusal refusal, const std::string &device) {
    switch (refusal) {
    case OpenRefusal::None:
        return {};
    case OpenRefusal::Busy:
        return device + Cp1252(" wird schon von einem anderen Programm benutzt.\r"
                               "Beenden Sie das andere Programm (ein Terminalprogramm, eine "
                               "zweite Quandel-Sitzung) und öffnen Sie die Schnittstelle "
                               "erneut (F11).");
    case OpenRefusal::Permission:
        break;
    }
    std::string text = Cp1252("Keine Berechtigung für ") + device + ".\r";
#ifdef QUANDEL_POSIX_DEVICES
    const DeviceGroup group = GroupOf(device);
    if (group.name.empty())
        return text + Cp1252("Sie dürfen dieses Gerät nicht öffnen. Fragen Sie Ihren "
                             "Administrator nach den Rechten dafür.");
    if (group.userListed)
        return text + Cp1252("Ihr Benutzer ist schon Mitglied der Gruppe „") + group.name +
               Cp1252("“, der das Gerät gehört, aber diese Sitzung weiß davon noch nichts.\r"
                      "Melden Sie sich ab und wieder an (oder starten Sie den Rechner neu).");
    return text + Cp1252("Das Gerät gehört der Gruppe „") + group.name +
           Cp1252("“. Nehmen Sie Ihren Benutzer in diese Gruppe auf, zum Beispiel mit\r"
                  "    sudo usermod -aG ") +
           group.name +
           Cp1252(" $USER\r"
                  "und melden Sie sich danach ab und wieder an.");
#else
    return text + Cp1252("Sie dürfen dieses Gerät nicht öffnen.");
#endif
}

} // namespace quandel
