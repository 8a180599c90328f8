#pragma once

#include <chrono>
#include <functional>
#include <string>

#include "editor_files.h"
#include "editor_request.h"

// How long the server waits for a page: it ends when no page has been open
// for `after_last_page`, or `first_page` after the start when none ever opened.
struct ServeTimes {
    std::chrono::milliseconds first_page{std::chrono::minutes(5)};
    std::chrono::milliseconds after_last_page{std::chrono::seconds(10)};
};

// Listens on 127.0.0.1 alone, on a port the system picks, with a new
// secret; calls `listening` once with the address, then answers requests
// until Ctrl+C or until no page has been open for the times above. A page
// counts as open while it holds its event stream: a connection, which
// browsers keep in background tabs too, where they slow timers down.
// Returns empty after such an end; why it could not listen otherwise.
std::string ServeEditor(const EditorFiles& files, const ServeTimes& times,
                        const std::function<void(const ServerAddress&)>& listening);

// A secret of 128 random bits, as 32 hexadecimal digits.
std::string NewSecret();
