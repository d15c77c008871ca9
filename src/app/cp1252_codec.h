#pragma once

#include <QString>
#include <string>

namespace quandel {

// The one place where the core's Windows-1252 byte strings meet QString.
QString FromCp1252(const std::string &bytes);

// Encodes to Windows-1252. Characters the code page cannot hold become 0x1A;
// `firstUnmappable` (when given) receives the index of the first such
// character in `text`, or -1 when every character was representable.
std::string ToCp1252(const QString &text, qsizetype *firstUnmappable = nullptr);

} // namespace quandel
