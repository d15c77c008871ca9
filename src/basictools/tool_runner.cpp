// Filled in by the source-tools work.
