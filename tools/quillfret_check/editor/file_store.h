#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

// The editor's reads and writes of its one mapping file.

// The bytes of `file`; nothing when it cannot be read (or is not a regular file).
std::optional<std::string> ReadWholeFile(const std::filesystem::path& file);

// A short name for one content of a file, "absent" for no file: the page
// sends back the version it read, so a save can tell whether the file
// changed on disk meanwhile.
std::string ContentVersion(const std::optional<std::string>& bytes);

// The temporary file a save of `file` writes first: in the same folder, so
// that the rename stays on one volume, and with a name that does not end
// in ".json", so the Configs menu never lists it.
std::filesystem::path SaveTemporaryOf(const std::filesystem::path& file);

// Replaces `file` whole with `bytes`: writes the temporary file, then
// renames it over `file`, so a reader sees either the old or the new file,
// never a part. Empty on success; otherwise why it failed (the file is then
// as it was, and no temporary file is left).
std::string SaveAtomically(const std::filesystem::path& file, std::string_view bytes);

// Renames `from` over `to`, replacing it. A target that another program
// holds open for a moment (a virus scanner, the program reading it) is
// tried again briefly. Empty on success, otherwise the system's reason.
std::string RenameOver(const std::filesystem::path& from, const std::filesystem::path& to);
