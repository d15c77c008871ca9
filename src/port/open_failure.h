#pragma once

#include <string>

namespace quandel {

// Why a device could not be opened, as far as the user can do something
// about it. Only these two get an explanation of their own: a user outside
// the device's group and a device that another program holds are the
// commonest reasons a serial port does not open on Linux.
enum class OpenRefusal { None, Permission, Busy };

// Looks at the device after an open that the port reported as refused
// (permission or lock): Permission when this process may not read and write
// it, Busy when it may (another program has it then).
OpenRefusal ClassifyRefusedOpen(const std::string &device);

// The German explanation: the device, why, and what to do. For Permission
// it names the group that owns the device (from the device itself) and
// says whether the user is in it already but has not logged in again.
std::string OpenRefusalText(OpenRefusal refusal, const std::string &device);

} // namespace quandel
