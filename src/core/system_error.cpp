#include "core/system_error.h"

#include "core/number_text.h"

#include <cerrno>
#include <cstring>

namespace quandel {

std::string SystemErrorText(int err) {
    switch (err) {
    case ENOENT:
        return "Datei oder Verzeichnis nicht gefunden";
    case EACCES:
    case EPERM:
        return "Zugriff verweigert";
    case EISDIR:
        return "ist ein Verzeichnis";
    case ENOSPC:
        return Cp1252("kein Platz mehr auf dem Datenträger");
    case EROFS:
        return Cp1252("Datenträger ist schreibgeschützt");
    default:
        return std::strerror(err);
    }
}

} // namespace quandel
