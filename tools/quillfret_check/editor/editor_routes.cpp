#include "editor_routes.h"

#include <cinttypes>
#include <cstdio>
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

// How many reads of drafts are kept for the page's questions about entries.
constexpr std::size_t kCheckedDraftsKept = 4;

json CheckJson(std::string_view draft, EditorSession& session) { return json::parse(CheckAnswer(draft, session)); }

// Entry N of a draft checked before, explained whole; 404 once its read is
// no longer kept (a newer check has replaced it).
EditorReply EntryDetails(const std::string& query, const EditorSession& session) {
    uint64_t id = 0;
    std::size_t index = 0;
    if (std::sscanf(query.c_str(), "check=%" SCNu64 "&index=%zu", &id, &index) != 2) {
        return Refusal(400, "expected check=ID&index=N");
    }
    for (const CheckedDraft& draft : session.checked) {
        if (draft.id != id) continue;
        const std::optional<EntryCheck> check = CheckOneEntry(draft.read, index, session.files.key_names);
        return check ? JsonReply(200, EntryDetailsJson(*check)) : Refusal(404, "no such entry");
    }
    return Refusal(404, "that check is no longer kept");
}

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

EditorReply State(EditorSession& session) {
    const EditorFiles& files = session.files;
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
                           {"check", CheckJson(shown, session)}});
}

EditorReply Save(const EditorRequest& request, EditorSession& session) {
    const EditorFiles& files = session.files;
    const std::optional<std::string> on_disk = ReadWholeFile(files.mapping_file);
    const std::string version = ContentVersion(on_disk);
    if (request.base_version != version) {
        return JsonReply(409, {{"conflict", true}, {"text", on_disk.value_or("")}, {"version", version}});
    }
    const std::string bytes = LayOutMappingText(request.body).value_or(request.body);
    const std::string reason = SaveAtomically(files.mapping_file, bytes);
    if (!reason.empty()) return JsonReply(500, {{"error", reason}});
    return JsonReply(200, {{"text", bytes}, {"version", ContentVersion(bytes)}, {"check", CheckJson(bytes, session)}});
}

std::optional<EditorReply> Asset(const std::string& path) {
    const std::string name = path.empty() ? "index.html" : path;
    for (const PageAsset& asset : PageAssets()) {
        if (asset.name == name) return EditorReply{200, std::string(asset.content_type), std::string(asset.bytes)};
    }
    return std::nullopt;
}

}  // namespace

std::string CheckAnswer(std::string_view draft, EditorSession& session) {
    const EditorFiles& files = session.files;
    MappingFileRead read = ReadMappingText(draft, files.key_names.names, ReadDetail::EveryEntry);
    LoadNews fresh;  // as after a clean load: it says the trouble, or nothing
    const std::wstring name = WideFromPath(files.mapping_file.filename()).value_or(L"");
    const std::optional<LoadMessage> news = NewsOfLoad(fresh, name, read, files.key_names.names, false);
    const uint64_t id = ++session.last_check_id;
    std::string answer =
        PageCheckJson(read, files.key_names, news ? WideToUtf8(news->file_name + news->about_it) : std::nullopt, id);
    if (session.checked.size() == kCheckedDraftsKept) session.checked.pop_front();
    session.checked.push_back({id, std::move(read)});
    return answer;
}

EditorReply AnswerRequest(const EditorRequest& request, const std::string& path, EditorSession& session) {
    const bool get = request.method == "GET";
    const bool post = request.method == "POST";
    const std::string route = path.substr(0, path.find('?'));
    const std::string query = route.size() < path.size() ? path.substr(route.size() + 1) : "";
    if (route.starts_with("api/")) {
        if (route == "api/state" && get) return State(session);
        if (route == "api/check" && post) return {200, "application/json", CheckAnswer(request.body, session), false};
        if (route == "api/entry" && get) return EntryDetails(query, session);
        if (route == "api/save" && post) return Save(request, session);
        if (route == "api/events" && get) return {200, "text/event-stream", "", true};
        const bool known = route == "api/state" || route == "api/check" || route == "api/entry" ||
                           route == "api/save" || route == "api/events";
        return known ? Refusal(405, "method not allowed") : Refusal(404, "not found");
    }
    if (!get) return Refusal(405, "method not allowed");
    return Asset(route).value_or(Refusal(404, "not found"));
}
