#pragma once

#include <filesystem>
#include <ostream>
#include <string>

// quillfret-check --edit FILE [--no-browser]: serves the editor's page for
// FILE, a mapping file in a CFG folder, and prints its address as the first
// line; on Windows it opens the address in the default browser unless
// `open_browser` is false. Returns the exit code: 0 after Ctrl+C or once no
// page has been open for a while, 2 when FILE's folder is missing or no
// port can be had.
int RunEdit(const std::filesystem::path& mapping_file, bool open_browser, std::ostream& out, std::ostream& err);

// Opens `address` in the default browser (on Windows; elsewhere nothing).
void OpenInBrowser(const std::string& address);
