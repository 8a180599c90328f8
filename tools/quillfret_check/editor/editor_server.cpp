#include "editor_server.h"

// Boost 1.74's Asio uses std::exchange without including <utility> itself,
// which GCC 12 in C++20 no longer brings in by the way: it comes first.
// clang-format off
#include <utility>
// clang-format on

#include <boost/asio.hpp>
#include <boost/beast/core.hpp>
#include <boost/beast/http.hpp>
#include <csignal>
#include <memory>
#include <random>

#include "editor_routes.h"
#include "request_rules.h"

namespace {

namespace asio = boost::asio;
namespace beast = boost::beast;
namespace http = beast::http;
using tcp = asio::ip::tcp;

// A connection that sends nothing for this long is closed (the page's
// stream excepted).
constexpr auto kQuietConnectionLimit = std::chrono::seconds(60);

struct ServerState {
    asio::io_context& io;
    tcp::acceptor acceptor;
    asio::steady_timer idle;  // ends the server when it fires
    EditorSession session;
    ServeTimes times;
    ServerAddress address;
    int open_pages = 0;
};

struct Connection {
    Connection(tcp::socket socket, ServerState& owner) : stream(std::move(socket)), server(owner) {}

    beast::tcp_stream stream;
    ServerState& server;
    beast::flat_buffer buffer;
    std::optional<http::request_parser<http::string_body>> parser;
    http::response<http::string_body> response;
    std::array<char, 512> ignored{};  // what a page sends on its stream: nothing expected
};

void ReadRequest(const std::shared_ptr<Connection>& connection);

void EndIn(ServerState& server, std::chrono::milliseconds delay) {
    server.idle.expires_after(delay);
    server.idle.async_wait([&server](const beast::error_code& error) {
        if (!error) server.io.stop();
    });
}

void PageOpened(ServerState& server) {
    ++server.open_pages;
    server.idle.cancel();
}

void PageClosed(ServerState& server) {
    if (--server.open_pages == 0) EndIn(server, server.times.after_last_page);
}

// Reads what the page might send on its stream until the page goes away.
void WatchStream(const std::shared_ptr<Connection>& connection) {
    beast::get_lowest_layer(connection->stream)
        .socket()
        .async_read_some(asio::buffer(connection->ignored), [connection](const beast::error_code& error, std::size_t) {
            if (error) {
                PageClosed(connection->server);
                return;
            }
            WatchStream(connection);
        });
}

// The event stream: its body ends when the connection does.
void HoldStream(const std::shared_ptr<Connection>& connection) {
    static constexpr std::string_view kHead =
        "HTTP/1.1 200 OK\r\nContent-Type: text/event-stream\r\nCache-Control: no-store\r\n"
        "Connection: close\r\n\r\n: open\n\n";
    connection->stream.expires_never();
    PageOpened(connection->server);
    asio::async_write(beast::get_lowest_layer(connection->stream).socket(), asio::buffer(kHead),
                      [connection](const beast::error_code& error, std::size_t) {
                          if (error) {
                              PageClosed(connection->server);
                              return;
                          }
                          WatchStream(connection);
                      });
}

void Send(const std::shared_ptr<Connection>& connection, const EditorReply& reply, bool keep_alive) {
    http::response<http::string_body>& response = connection->response;
    response = {static_cast<http::status>(reply.status), 11};
    response.set(http::field::content_type, reply.content_type);
    response.set(http::field::cache_control, "no-store");
    response.set("X-Content-Type-Options", "nosniff");
    response.set("Referrer-Policy", "no-referrer");
    response.set("Content-Security-Policy", "default-src 'self'; frame-ancestors 'none'");
    response.body() = reply.body;
    response.keep_alive(keep_alive);
    response.prepare_payload();
    http::async_write(
        connection->stream, response, [connection, keep_alive](const beast::error_code& error, std::size_t) {
            if (error || !keep_alive) {
                beast::error_code ignored;
                beast::get_lowest_layer(connection->stream).socket().shutdown(tcp::socket::shutdown_both, ignored);
                return;
            }
            ReadRequest(connection);
        });
}

EditorRequest RequestOf(const http::request<http::string_body>& message) {
    auto header = [&message](auto field) { return std::string(message[field]); };
    return {std::string(message.method_string()), std::string(message.target()), header(http::field::host),
            header(http::field::origin),          header("X-Quillfret-Base"),    message.body()};
}

void Answer(const std::shared_ptr<Connection>& connection) {
    const http::request<http::string_body>& message = connection->parser->get();
    const EditorRequest request = RequestOf(message);
    const ServerAddress& address = connection->server.address;
    if (const std::optional<EditorReply> refusal = RefuseRequest(request, address)) {
        Send(connection, *refusal, false);
        return;
    }
    const EditorReply reply =
        AnswerRequest(request, *PathUnderSecret(request.target, address), connection->server.session);
    if (reply.event_stream) {
        HoldStream(connection);
        return;
    }
    Send(connection, reply, message.keep_alive());
}

// A request that could not be read: a body over the limit, headers too
// long, or no HTTP at all. It is answered when it can be, then closed.
void RefuseUnread(const std::shared_ptr<Connection>& connection, const beast::error_code& error) {
    if (error == http::error::body_limit) {
        Send(connection, Refusal(413, "a draft larger than a mapping file may be is refused"), false);
    } else if (error == http::error::header_limit) {
        Send(connection, Refusal(431, "request headers too large"), false);
    } else if (error != http::error::end_of_stream && error != asio::error::eof && error != beast::error::timeout &&
               error != asio::error::connection_reset) {
        Send(connection, Refusal(400, "malformed request"), false);
    }
}

void ReadRequest(const std::shared_ptr<Connection>& connection) {
    connection->parser.emplace();
    connection->parser->body_limit(kMaxRequestBody);
    connection->stream.expires_after(kQuietConnectionLimit);
    http::async_read(connection->stream, connection->buffer, *connection->parser,
                     [connection](const beast::error_code& error, std::size_t) {
                         if (error) {
                             RefuseUnread(connection, error);
                             return;
                         }
                         Answer(connection);
                     });
}

void Accept(ServerState& server) {
    server.acceptor.async_accept([&server](const beast::error_code& error, tcp::socket socket) {
        if (!error) {
            ReadRequest(std::make_shared<Connection>(std::move(socket), server));
        }
        if (error != asio::error::operation_aborted) Accept(server);
    });
}

}  // namespace

std::string NewSecret() {
    std::random_device source;
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string secret;
    for (int word = 0; word < 4; ++word) {
        uint32_t bits = source();
        for (int digit = 0; digit < 8; ++digit, bits >>= 4) secret += kDigits[bits & 0xF];
    }
    return secret;
}

std::string ServeEditor(const EditorFiles& files, const ServeTimes& times,
                        const std::function<void(const ServerAddress&)>& listening) {
    asio::io_context io;
    beast::error_code error;
    tcp::acceptor acceptor(io);
    const tcp::endpoint loopback(asio::ip::address_v4::loopback(), 0);
    if (acceptor.open(loopback.protocol(), error) || acceptor.bind(loopback, error) ||
        acceptor.listen(asio::socket_base::max_listen_connections, error)) {
        return "cannot listen on 127.0.0.1: " + error.message();
    }
    ServerState server{io, std::move(acceptor), asio::steady_timer(io), {files, {}, 0}, times, {}};
    server.address = {server.acceptor.local_endpoint().port(), NewSecret()};
    asio::signal_set signals(io, SIGINT, SIGTERM);
    signals.async_wait([&io](const beast::error_code&, int) { io.stop(); });
    EndIn(server, times.first_page);
    Accept(server);
    listening(server.address);
    io.run();
    return "";
}
