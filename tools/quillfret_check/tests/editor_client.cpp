#include "editor_client.h"

// Boost 1.74's Asio needs <utility> before it (see editor_server.cpp).
// clang-format off
#include <utility>
// clang-format on

#include <boost/asio.hpp>
#include <chrono>

#include "editor/editor_server.h"

namespace {

namespace asio = boost::asio;
using tcp = asio::ip::tcp;

void ReplaceAll(std::string& text, const std::string& from, const std::string& to) {
    for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
        text.replace(at, from.size(), to);
    }
}

}  // namespace

void ServedEditor::Start() {
    files_ = OpenEditorFiles(file());
    server_ = std::thread([this] {
        const ServeTimes times{std::chrono::hours(1), std::chrono::milliseconds(0)};
        ServeEditor(files_, times, [this](const ServerAddress& address) { listening_.set_value(address); });
    });
    address_ = listening_.get_future().get();
}

ServedEditor::~ServedEditor() {
    if (!server_.joinable()) return;
    asio::io_context io;
    tcp::socket page(io);
    page.connect({asio::ip::address_v4::loopback(), address_.port});
    const std::string request = Filled("GET /$SECRET/api/events HTTP/1.1\r\nHost: 127.0.0.1:$PORT\r\n\r\n");
    asio::write(page, asio::buffer(request));
    std::string head;
    asio::read_until(page, asio::dynamic_buffer(head), "\n\n");
    page.close();
    server_.join();
}

std::string ServedEditor::Filled(std::string text) const {
    ReplaceAll(text, "$SECRET", address_.secret);
    ReplaceAll(text, "$PORT", std::to_string(address_.port));
    return text;
}

RawAnswer ServedEditor::SendRaw(std::string raw) const {
    raw = Filled(std::move(raw));
    asio::io_context io;
    tcp::socket socket(io);
    socket.connect({asio::ip::address_v4::loopback(), address_.port});
    asio::write(socket, asio::buffer(raw));
    std::string answer;
    boost::system::error_code end;
    asio::read(socket, asio::dynamic_buffer(answer), end);
    const std::size_t body = answer.find("\r\n\r\n");
    if (answer.size() < 12 || body == std::string::npos) return {0, answer};
    return {static_cast<unsigned>(std::stoul(answer.substr(9, 3))), answer.substr(body + 4)};
}

RawAnswer ServedEditor::Send(const std::string& method, const std::string& path, const std::string& body,
                             const std::string& extra_headers) const {
    return SendRaw(method + " /$SECRET/" + path + " HTTP/1.1\r\nHost: 127.0.0.1:$PORT\r\nConnection: close\r\n" +
                   extra_headers + "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body);
}
