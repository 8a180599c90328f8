#include "run.h"

#include <exception>
#include <filesystem>
#include <optional>

#include "check.h"
#include "editor/edit_command.h"
#include "key_session.h"
#include "render.h"

namespace {

constexpr const char* kUsage =
    "Usage: quillfret-check [--json] MAPPING_FILE [KEY_NAMES_FILE]\n"
    "       quillfret-check --keys MAPPING_FILE [KEY_NAMES_FILE]\n"
    "       quillfret-check --edit MAPPING_FILE [--no-browser]\n"
    "       quillfret-check --version\n"
    "Explains what Quillfret does with a mapping file: every entry's trigger and\n"
    "messages, why an entry is skipped, and what looks unintended. Key names come\n"
    "from KEY_NAMES_FILE, by default KeyMapping.cfg beside the mapping file.\n"
    "With --keys, it prints each key and mouse button you press and release, with\n"
    "its name (or code) and what the mapping file does then, until Esc.\n"
    "With --edit, it serves a page on 127.0.0.1 that shows the mapping file on a\n"
    "picture of the keyboard and mouse and edits it, checking each draft; the\n"
    "page's address is the first line printed (Windows opens it in the browser).\n"
    "Exit code: 0 every entry loads, 1 an entry is skipped or a warning is given,\n"
    "2 the file fails as a whole or cannot be read. With --keys: 0 after Esc.\n";

struct Arguments {
    bool json = false;
    bool keys = false;
    bool edit = false;
    bool open_browser = true;
    bool help = false;
    bool version = false;
    std::vector<std::filesystem::path> files;
};

std::filesystem::path PathFromUtf8(const std::string& text) { return std::u8string(text.begin(), text.end()); }

std::optional<Arguments> Parse(const std::vector<std::string>& args) {
    Arguments parsed;
    for (const std::string& arg : args) {
        if (arg == "--json") {
            parsed.json = true;
        } else if (arg == "--keys") {
            parsed.keys = true;
        } else if (arg == "--edit") {
            parsed.edit = true;
        } else if (arg == "--no-browser") {
            parsed.open_browser = false;
        } else if (arg == "-h" || arg == "--help") {
            parsed.help = true;
        } else if (arg == "--version") {
            parsed.version = true;
        } else if (arg.starts_with("-") && arg != "-") {
            return std::nullopt;
        } else {
            parsed.files.push_back(PathFromUtf8(arg));
        }
    }
    if (!parsed.help && !parsed.version && (parsed.files.empty() || parsed.files.size() > 2)) return std::nullopt;
    if (parsed.keys && parsed.json) return std::nullopt;
    if (parsed.edit && (parsed.keys || parsed.json || parsed.files.size() != 1)) return std::nullopt;
    if (!parsed.open_browser && !parsed.edit) return std::nullopt;
    return parsed;
}

}  // namespace

int RunCheck(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    const std::optional<Arguments> parsed = Parse(args);
    if (!parsed) {
        err << kUsage;
        return 2;
    }
    if (parsed->help) {
        out << kUsage;
        return 0;
    }
    if (parsed->version) {
        out << "quillfret-check " QUILLFRET_VERSION "\n";
        return 0;
    }
    const std::filesystem::path& mapping_file = parsed->files[0];
    if (parsed->edit) return RunEdit(mapping_file, parsed->open_browser, out, err);
    const std::filesystem::path key_names_file =
        parsed->files.size() > 1 ? parsed->files[1] : mapping_file.parent_path() / "KeyMapping.cfg";
    if (parsed->keys) {
        KeySession session = StartKeySession(mapping_file, key_names_file);
        return RunKeySession(session, out, err);
    }
    const CheckResult result = CheckMappingFile(mapping_file, ReadKeyNames(key_names_file));
    if (parsed->json) {
        RenderJson(result, out);
    } else {
        RenderText(result, out);
    }
    return result.exit_code;
}
