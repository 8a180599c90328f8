#include "edit_command.h"

// Only the Windows build opens a browser; here the address is printed alone.
void OpenInBrowser(const std::string&) {}
