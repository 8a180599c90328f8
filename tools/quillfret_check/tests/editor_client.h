#pragma once

#include <filesystem>
#include <future>
#include <string>
#include <thread>

#include "editor/editor_files.h"
#include "editor/editor_request.h"
#include "support/test_files.h"

// The editor's server on a thread of the test, for one mapping file m.json
// (with a KeyMapping.cfg beside it) in a fresh folder, and a plain socket
// client that sends raw requests to it.

struct RawAnswer {
    unsigned status = 0;
    std::string body;
};

class ServedEditor {
public:
    // Starts serving once the folder holds its files.
    void Start();
    // Closes a page's stream, which ends the server (it waits no time after
    // the last page), and waits for it.
    ~ServedEditor();

    const std::filesystem::path& folder() const { return dir_.path(); }
    std::filesystem::path file() const { return dir_.path() / "m.json"; }
    const ServerAddress& address() const { return address_; }

    // Sends `raw` with "$PORT" and "$SECRET" replaced, on a new connection,
    // and reads the answer to its end.
    RawAnswer SendRaw(std::string raw) const;
    // A well-formed request to /SECRET/`path` with a body.
    RawAnswer Send(const std::string& method, const std::string& path, const std::string& body = "",
                   const std::string& extra_headers = "") const;

private:
    // `text` with $SECRET and $PORT standing for the server's.
    std::string Filled(std::string text) const;
    TempDir dir_;
    EditorFiles files_;
    ServerAddress address_;
    std::promise<ServerAddress> listening_;
    std::thread server_;
};
