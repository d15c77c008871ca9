#pragma once

namespace quandel {

// Process-wide switches that several subsystems read and write. One instance
// is owned by the main window and handed to whoever needs it.
struct SharedFlags {
    // Set by Escape / Ctrl+C on the terminal and by any key in the tools
    // dialog; long operations clear it when they start and poll it.
    bool StopRequested = false;
    // Arms the warning about special characters at a line end: the first line
    // stripped after start-up never warns, see RemKillZeile.
    bool SonderzeichenWarnungAktiv = false;
};

} // namespace quandel
