#include "request_rules.h"

#include <array>
#include <string_view>

namespace {

// The loopback names of this server: "127.0.0.1:PORT", "localhost:PORT".
bool IsOwnAuthority(std::string_view authority, const ServerAddress& address) {
    const std::string port = ":" + std::to_string(address.port);
    for (const std::string_view name : std::array<std::string_view, 2>{"127.0.0.1", "localhost"}) {
        if (authority == std::string(name) + port) return true;
    }
    return false;
}

bool IsOwnOrigin(std::string_view origin, const ServerAddress& address) {
    constexpr std::string_view kScheme = "http://";
    return origin.starts_with(kScheme) && IsOwnAuthority(origin.substr(kScheme.size()), address);
}

// Compares without stopping at the first difference, so the time taken
// tells nothing of how much of a guessed secret was right.
bool SameSecret(std::string_view given, std::string_view secret) {
    if (given.size() != secret.size()) return false;
    unsigned difference = 0;
    for (std::size_t i = 0; i < given.size(); ++i) {
        difference |= static_cast<unsigned char>(given[i]) ^ static_cast<unsigned char>(secret[i]);
    }
    return difference == 0;
}

}  // namespace

EditorReply Refusal(unsigned status, const std::string& reason) {
    return {status, "text/plain; charset=utf-8", reason + "\n", false};
}

std::optional<std::string> PathUnderSecret(const std::string& target, const ServerAddress& address) {
    const std::string_view view = target;
    if (view.size() < address.secret.size() + 2 || view[0] != '/') return std::nullopt;
    if (!SameSecret(view.substr(1, address.secret.size()), address.secret)) return std::nullopt;
    if (view[address.secret.size() + 1] != '/') return std::nullopt;
    return target.substr(address.secret.size() + 2);
}

std::optional<EditorReply> RefuseRequest(const EditorRequest& request, const ServerAddress& address) {
    if (!IsOwnAuthority(request.host, address)) return Refusal(421, "this server answers only 127.0.0.1");
    if (!request.origin.empty() && !IsOwnOrigin(request.origin, address)) {
        return Refusal(403, "requests from other sites are refused");
    }
    if (!PathUnderSecret(request.target, address)) return Refusal(404, "not found");
    return std::nullopt;
}

std::string PageAddress(const ServerAddress& address) {
    return "http://127.0.0.1:" + std::to_string(address.port) + "/" + address.secret + "/";
}
