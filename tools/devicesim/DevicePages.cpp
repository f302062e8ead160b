#include "tools/devicesim/DevicePages.h"

#include <chrono>
#include <cstdio>
#include <memory>
#include <thread>

namespace {

std::string Base64(const std::string& bytes) {
    static const char digits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string text;
    for (std::size_t i = 0; i < bytes.size(); i += 3) {
        const std::size_t left = bytes.size() - i;
        const unsigned group = static_cast<unsigned char>(bytes[i]) << 16 |
                               (left > 1 ? static_cast<unsigned char>(bytes[i + 1]) << 8 : 0) |
                               (left > 2 ? static_cast<unsigned char>(bytes[i + 2]) : 0);
        text += digits[group >> 18 & 63];
        text += digits[group >> 12 & 63];
        text += left > 1 ? digits[group >> 6 & 63] : '=';
        text += left > 2 ? digits[group & 63] : '=';
    }
    return text;
}

// What a slow page still owes: the lines that trickle out, one a second.
struct Trickle {
    std::string head;
    int secondsLeft;
    std::string tail;
};

}  // namespace

DevicePages::DevicePages(const SimOptions& options) : m_options(options) {
    if (!options.user.empty() || !options.password.empty()) {
        m_expectedAuthorization = "Basic " + Base64(options.user + ":" + options.password);
    }
    // One line per request, so a test can tell whether and how the launcher asked.
    m_server.set_logger([](const httplib::Request& request, const httplib::Response& response) {
        std::printf("http %s %s %d from %s\n", request.method.c_str(), request.target.c_str(),
                    response.status, request.remote_addr.c_str());
        std::fflush(stdout);
    });
    m_server.Get("/Login.cgi",
                 [this](const httplib::Request& request, httplib::Response& response) {
                     Reply(request, response,
                           Lines({"MAC-Address=" + m_options.pageMac, "Name=" + m_options.name}));
                 });
    m_server.Get("/cgi-bin/user/Config.cgi", [this](const httplib::Request& request,
                                                    httplib::Response& response) {
        if (request.get_param_value("action") != "get" ||
            request.get_param_value("category") != "Network.*") {
            response.status = 400;
            response.set_content(Lines({"Error=unknown action or category"}), "text/plain");
            return;
        }
        Reply(request, response,
              Lines({"Network.IPAddress=" + m_options.ip, "Network.SubnetMask=255.255.255.0",
                     "Network.eth0.MACAddress=" + m_options.pageMac,
                     "Network.HttpPort=" +
                         std::to_string(m_options.port >= 0 ? m_options.port : m_port)}));
    });
}

int DevicePages::Bind(std::string& error) {
    m_port =
        m_options.httpPort == 0
            ? m_server.bind_to_any_port(m_options.bind)
            : (m_server.bind_to_port(m_options.bind, m_options.httpPort) ? m_options.httpPort : -1);
    if (m_port < 0) {
        error = "cannot bind the HTTP port";
    }
    return m_port;
}

void DevicePages::Serve() {
    m_server.listen_after_bind();
}

std::string DevicePages::Lines(std::initializer_list<std::string> lines) const {
    std::string text;
    for (const std::string& line : lines) {
        text += line + (m_options.crlf ? "\r\n" : "\n");
    }
    return text;
}

// Filler lines up to exactly the padded size.
std::string DevicePages::Padded(std::string body) const {
    std::size_t line = 0;
    while (body.size() < m_options.padTo) {
        std::string filler =
            Lines({"Filler" + std::to_string(line++) + "=" + std::string(40, '.')});
        filler.resize(std::min(filler.size(), m_options.padTo - body.size()));
        body += filler;
    }
    return body;
}

void DevicePages::Reply(const httplib::Request& request, httplib::Response& response,
                        const std::string& body) {
    if (!m_expectedAuthorization.empty()) {
        const std::string given = request.get_header_value("Authorization");
        if (given != m_expectedAuthorization) {
            response.status = 401;
            response.set_header("WWW-Authenticate", "Basic realm=\"devicesim\"");
            response.set_content(Lines({given.empty() ? "Auth=missing" : "Auth=wrong"}),
                                 "text/plain");
            return;
        }
    }
    if (m_options.slowBodySeconds <= 0) {
        response.set_content(Padded(body), "text/plain");
        return;
    }
    auto trickle = std::make_shared<Trickle>(
        Trickle{body, m_options.slowBodySeconds, Padded(Lines({"End=1"}))});
    response.set_chunked_content_provider(
        "text/plain", [this, trickle](std::size_t, httplib::DataSink& sink) {
            if (!trickle->head.empty()) {
                sink.write(trickle->head.data(), trickle->head.size());
                trickle->head.clear();
            } else if (trickle->secondsLeft > 0) {
                std::this_thread::sleep_for(std::chrono::seconds(1));
                const std::string line =
                    Lines({"Slow" + std::to_string(trickle->secondsLeft--) + "=1"});
                if (!sink.write(line.data(), line.size())) {
                    return false;
                }
            } else {
                sink.write(trickle->tail.data(), trickle->tail.size());
                sink.done();
            }
            return true;
        });
}
