#include "edit_command.h"

#include <system_error>

#include "editor_server.h"
#include "render.h"
#include "request_rules.h"

int RunEdit(const std::filesystem::path& mapping_file, bool open_browser, std::ostream& out, std::ostream& err) {
    std::error_code error;
    if (!std::filesystem::is_directory(mapping_file.parent_path(), error)) {
        err << "quillfret-check: no folder " << PathText(mapping_file.parent_path()) << " for "
            << PathText(mapping_file.filename()) << "\n";
        return 2;
    }
    const EditorFiles files = OpenEditorFiles(mapping_file);
    const std::string trouble = ServeEditor(files, {}, [&](const ServerAddress& address) {
        const std::string page = PageAddress(address);
        out << page << "\n"
            << "Editing " << PathText(mapping_file) << " on that page; Ctrl+C ends (so does closing the page)."
            << std::endl;
        if (open_browser) OpenInBrowser(page);
    });
    if (!trouble.empty()) {
        err << "quillfret-check: " << trouble << "\n";
        return 2;
    }
    return 0;
}
