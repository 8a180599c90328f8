#include "editor_files.h"

#include <system_error>

#include "config/catalogue.h"
#include "config/wide_path.h"
#include "render.h"

EditorFiles OpenEditorFiles(const std::filesystem::path& mapping_file) {
    return {mapping_file, ReadKeyNames(mapping_file.parent_path() / "KeyMapping.cfg")};
}

std::optional<std::filesystem::path> CurrentConfigIn(const std::filesystem::path& cfg_dir) {
    const std::optional<std::wstring> last_config = WideFromPath(cfg_dir / "last_config.txt");
    const std::optional<std::wstring> folder = WideFromPath(cfg_dir);
    if (!last_config || !folder) return std::nullopt;
    std::optional<std::wstring> current = LoadLastConfig(*last_config);
    if (!current) {
        const ConfigList catalogue = ScanConfigs(*folder);
        if (catalogue.empty()) return std::nullopt;
        current = catalogue.front();
    }
    return PathFromWide(*current);
}

std::optional<std::vector<std::string>> DoubleClickArguments(const std::filesystem::path& exe_dir) {
    const std::optional<std::filesystem::path> current = CurrentConfigIn(exe_dir / "CFG");
    if (!current) return std::nullopt;
    return std::vector<std::string>{"--edit", PathText(*current)};
}
