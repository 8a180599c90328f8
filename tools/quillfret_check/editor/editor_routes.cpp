#include "editor_routes.h"

#include <nlohmann/json.hpp>
#include <optional>

#include "config/load_news.h"
#include "config/utf8.h"
#include "config/wide_path.h"
#include "file_store.h"
#include "mapping_layout.h"
#include "page_assets.h"
#include "page_report.h"
#include "render.h"
#include "request_rules.h"

namespace {

using json = nlohmann::json;

std::string Dumped(const json& document) { return document.dump(-1, ' ', false, json::error_handler_t::replace); }

EditorReply JsonReply(unsigned status, const json& document) {
    return {status, "application/json", Dumped(document), false};
}

json CheckJson(std::string_view draft, const EditorFiles& files) { return json::parse(CheckAnswer(draft, files)); }

bool SameFile(const std::filesystem::path& a, const std::filesystem::path& b) {
    std::error_code error;
    const bool same = std::filesystem::equivalent(a, b, error);
    return !error && same;
}

json CurrentJson(const EditorFiles& files) {
    const std::optional<std::filesystem::path> current = CurrentConfigIn(files.mapping_file.parent_path());
    return {{"is_current", current && SameFile(*current, files.mapping_file)},
            {"name", current ? json(PathText(current->filename())) : json(nullptr)}};
}

EditorReply State(const EditorFiles& files) {
    const std::optional<std::string> text = ReadWholeFile(files.mapping_file);
    const std::string shown = text.value_or("");
    json key_names = json::object();
    for (const auto& [name, code] : files.key_names.names) key_names[name] = code;
    json names_by_code = json::object();
    for (const auto& [code, name] : files.key_names.by_code) names_by_code[std::to_string(code)] = name;
    json note_names = json::array();
    for (int note = 0; note <= kLastMidiDataByte; ++note) note_names.push_back(NoteName(note));
    return JsonReply(200, {{"file_name", PathText(files.mapping_file.filename())},
                           {"exists", text.has_value()},
                           {"text", shown},
                           {"version", ContentVersion(text)},
                           {"layout_redone", text && LayOutMappingText(*text) != text},
                           {"members", MemberTableJson()},
                           {"key_names", std::move(key_names)},
                           {"names_by_code", std::move(names_by_code)},
                           {"note_names", std::move(note_names)},
                           {"current", CurrentJson(files)},
                           {"check", CheckJson(shown, files)}});
}

EditorReply Save(const EditorRequest& request, const EditorFiles& files) {
    const std::optional<std::string> on_disk = ReadWholeFile(files.mapping_file);
    const std::string version = ContentVersion(on_disk);
    if (request.base_version != version) {
        return JsonReply(409, {{"conflict", true}, {"text", on_disk.value_or("")}, {"version", version}});
    }
    const std::string bytes = LayOutMappingText(request.body).value_or(request.body);
    const std::string reason = SaveAtomically(files.mapping_file, bytes);
    if (!reason.empty()) return JsonReply(500, {{"error", reason}});
    return JsonReply(200, {{"text", bytes}, {"version", ContentVersion(bytes)}, {"check", CheckJson(bytes, files)}});
}

std::optional<EditorReply> Asset(const std::string& path) {
    const std::string name = path.empty() ? "index.html" : path;
    for (const PageAsset& asset : PageAssets()) {
        if (asset.name == name) return EditorReply{200, std::string(asset.content_type), std::string(asset.bytes)};
    }
    return std::nullopt;
}

}  // namespace

std::string CheckAnswer(std::string_view draft, const EditorFiles& files) {
    CheckResult result = CheckMappingText(draft, files.key_names);
    LoadNews fresh;  // as after a clean load: it says the trouble, or nothing
    const std::wstring name = WideFromPath(files.mapping_file.filename()).value_or(L"");
    const std::optional<std::wstring> news = NewsOfLoad(fresh, name, result.read, files.key_names.names, false);
    return PageReportJson(result, news ? WideToUtf8(*news) : std::nullopt);
}

EditorReply AnswerRequest(const EditorRequest& request, const std::string& path, const EditorFiles& files) {
    const bool get = request.method == "GET";
    const bool post = request.method == "POST";
    if (path.starts_with("api/")) {
        if (path == "api/state" && get) return State(files);
        if (path == "api/check" && post) return {200, "application/json", CheckAnswer(request.body, files), false};
        if (path == "api/save" && post) return Save(request, files);
        if (path == "api/events" && get) return {200, "text/event-stream", "", true};
        const bool known = path == "api/state" || path == "api/check" || path == "api/save" || path == "api/events";
        return known ? Refusal(405, "method not allowed") : Refusal(404, "not found");
    }
    if (!get) return Refusal(405, "method not allowed");
    return Asset(path).value_or(Refusal(404, "not found"));
}
