#include "key_session.h"

#include <utility>
#include <vector>

#include "check.h"
#include "config/load_words.h"
#include "engine/mapping_engine.h"
#include "message_words.h"
#include "render.h"

KeySession StartKeySession(const std::filesystem::path& mapping_file, const std::filesystem::path& key_names_file) {
    KeySession session{mapping_file, key_names_file, {}, {}, {}, {}};
    LoadKeyNames(session.key_names, key_names_file);
    session.names_by_code = NamesByCode(session.key_names);
    session.file = LoadMappingFile(mapping_file, session.key_names);
    TakeTable(session.player, session.file.mappings);
    return session;
}

void PrintKeySessionHeader(const KeySession& session, std::ostream& out) {
    out << "File: " << PathText(session.mapping_file);
    if (session.file.failure.kind != FileFailure::None) {
        out << "\nThe file fails as a whole: " << FailureWords(session.file.failure)
            << "\nQuillfret would load no mappings from it: every key does nothing.\n";
    } else {
        const size_t count = session.file.mappings.size();
        out << " (" << count << (count == 1 ? " mapping)\n" : " mappings)\n");
    }
    out << "Key names: " << PathText(session.key_names_file) << " (" << session.key_names.size() << " names)\n"
        << "Press keys and mouse buttons; Esc ends.\n";
}

std::string KeyLine(KeySession& session, int32_t code, bool down, const std::function<bool(int32_t)>& key_is_down) {
    std::vector<uint32_t> sent;
    auto record = [&sent](uint32_t message) { sent.push_back(message); };
    const int32_t transpose_before = session.player.transpose;
    HandleTrigger(session.file.mappings, session.player, code, down, key_is_down, record);
    const auto named = session.names_by_code.find(code);
    std::string line = down ? "press   " : "release ";
    line += named != session.names_by_code.end() ? named->second + " (" + std::to_string(code) + ")"
                                                 : "code " + std::to_string(code);
    line += ": " + MessagesText(sent);
    if (session.player.transpose != transpose_before) {
        line += " (the transpose is now " + Signed(session.player.transpose) + ")";
    }
    return line;
}
