#include "key_session.h"

#include <utility>

#include "config/load_words.h"
#include "config/utf8.h"
#include "message_words.h"
#include "render.h"

KeySession StartKeySession(const std::filesystem::path& mapping_file, const std::filesystem::path& key_names_file) {
    KeySession session{mapping_file, ReadKeyNames(key_names_file), {}, {}};
    session.file = ReadMappingFile(mapping_file, session.key_names.names);
    auto nothing_sent = [](uint32_t) {};  // a new session has nothing on to switch off
    PutInForce(session.engine, std::move(session.file.mappings), session.file.settings, TableSource::AnotherFile,
               nothing_sent);
    return session;
}

void PrintKeySessionHeader(const KeySession& session, std::ostream& out) {
    out << "File: " << PathText(session.mapping_file);
    if (session.file.failure.kind != FileFailure::None) {
        out << "\nThe file fails as a whole: " << FailureWords(session.file.failure)
            << "\nQuillfret would load no mappings from it: every key does nothing.\n";
    } else {
        const size_t count = session.engine.mappings.size();
        out << " (" << count << (count == 1 ? " mapping)\n" : " mappings)\n");
    }
    out << "Key names: " << PathText(session.key_names.file) << " (" << session.key_names.names.size() << " names)\n"
        << "Press keys and mouse buttons; Esc ends.\n";
}

std::string KeyLineText(const KeySession& session, int32_t code, bool down, const std::vector<uint32_t>& sent,
                        int32_t transpose_before, PauseChange pause) {
    const auto named = session.key_names.by_code.find(code);
    std::string line = down ? "press   " : "release ";
    line += named != session.key_names.by_code.end() ? named->second + " (" + std::to_string(code) + ")"
                                                     : "code " + std::to_string(code);
    line += ": " + MessagesText(sent);
    const int32_t transpose = session.engine.player.transpose;
    if (transpose != transpose_before) line += " (the transpose is now " + Signed(transpose) + ")";
    if (pause == PauseChange::Paused) line += " (paused: nothing plays until the pause key is pressed again)";
    if (pause == PauseChange::Playing) line += " (playing again)";
    return line;
}

std::string FrontText(const KeySession& session, const std::optional<std::wstring>& front) {
    std::string text = "  (in front: " + (front ? WideToUtf8(*front).value_or("?") : "a program that cannot be told");
    if (!session.engine.only_in.empty() && !(front && NamesProgram(session.engine.only_in, *front))) {
        text += ", not one the file plays in";
    }
    return text + ")";
}
