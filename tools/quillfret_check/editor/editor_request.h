#pragma once

#include <cstdint>
#include <string>

#include "config/mapping_file.h"

// One request to the editor's server and its answer, as plain records: the
// transport (editor_server) fills and sends them; the rules and the routes
// decide on them alone.

struct EditorRequest {
    std::string method;        // "GET", "POST"
    std::string target;        // the path and query, as sent: "/SECRET/api/check"
    std::string host;          // the Host header
    std::string origin;        // the Origin header; empty when absent
    std::string base_version;  // the X-Quillfret-Base header: the version of the file a save starts from
    std::string body;
};

struct EditorReply {
    unsigned status = 200;
    std::string content_type = "application/json";
    std::string body;
    bool event_stream = false;  // the page's stream: held open while the page is
};

// Where the server listens and the secret every request must carry.
struct ServerAddress {
    uint16_t port = 0;
    std::string secret;
};

// The largest request body: a draft is sent as its text alone, and the
// loader reads no mapping file larger than this.
constexpr std::uintmax_t kMaxRequestBody = kMaxMappingFileBytes;
