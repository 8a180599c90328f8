#pragma once

#include <optional>

#include "editor_request.h"

// What keeps other web pages and local programs out: a request is answered
// only when its Host is the loopback address and port the server listens
// on (a page of another site reaching 127.0.0.1 through its own DNS name,
// rebinding, carries that name), when it comes from no other site's page
// (Origin), and when its path starts with the secret of the printed
// address. The refusal, or nothing when the request may go on.
std::optional<EditorReply> RefuseRequest(const EditorRequest& request, const ServerAddress& address);

// The target with the secret taken off ("api/check"); nothing when it does
// not start with "/SECRET/".
std::optional<std::string> PathUnderSecret(const std::string& target, const ServerAddress& address);

// A refusal: the status and its reason as plain text.
EditorReply Refusal(unsigned status, const std::string& reason);

// The page's address, the first line the command prints: http://127.0.0.1:PORT/SECRET/
std::string PageAddress(const ServerAddress& address);
