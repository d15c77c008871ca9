#pragma once

#include <string>

namespace quandel {

// The reason behind a failed file operation (an errno value) as a German
// text in Windows-1252, for the messages that name a file.
std::string SystemErrorText(int err);

} // namespace quandel
