#pragma once

#include <string>

namespace quandel {

class RegistryReader;
class UserDialogs;

// Finding and starting other programs.
class ProgramStarter {
public:
    virtual ~ProgramStarter() = default;
    virtual bool FileExists(const std::string &path) const = 0;
    // The full path of an installed program found by its name, empty when
    // there is none.
    virtual std::string FindProgram(const std::string &name) const = 0;
    // Starts the program in a normal window of its own; false when it did not start.
    virtual bool Start(const std::string &path) = 0;
};

// "&Systeminfo..." in the about box: starts the system information program
// named in the registry, else one installed on this system, else says that
// there is none.
void StartSysInfo(RegistryReader &registry, ProgramStarter &starter, UserDialogs &dialogs);

} // namespace quandel
