#pragma once

namespace quandel {

// Process-wide switches that several subsystems read and write. One instance
// is owned by the main window and handed to whoever needs it.
struct SharedFlags {
    // Set by Escape / Ctrl+C on the terminal and by any key in the tools
    // dialog; long operations clear it when they start and poll it.
    bool StopRequested = false;
    // The source tools warn about special characters only once per run.
    bool SonderzeichenWarnungAktiv = true;
};

} // namespace quandel
