#include "config/file_busy.h"

// POSIX has no sharing modes, and advisory locks never keep a reader out: an
// open that failed here will fail again.
bool HeldByAnotherProgram(const std::filesystem::path&) { return false; }
