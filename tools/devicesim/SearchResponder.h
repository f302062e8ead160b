// The device's side of the LAN search: hears the 204-byte request on UDP and answers in the
// configured form. Written from the protocol's byte layout, apart from the launcher's parser.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "tools/devicesim/SimOptions.h"

class SearchResponder {
public:
    // `httpPort` is the port announced when the options name none.
    SearchResponder(const SimOptions& options, int httpPort);
    ~SearchResponder();
    SearchResponder(const SearchResponder&) = delete;
    SearchResponder& operator=(const SearchResponder&) = delete;

    // Binds the search port; false with a message on failure.
    bool Open(std::string& error);
    int Port() const;

    // Answers every well-formed request, forever.
    [[noreturn]] void Serve();

private:
    using Datagram = std::vector<std::uint8_t>;
    using MacBytes = std::array<std::uint8_t, 6>;

    void Answer(std::uint32_t requester);
    Datagram FixedAnswer(const MacBytes& mac) const;
    Datagram TextAnswer(const MacBytes& mac) const;

    const SimOptions& m_options;
    int m_announcedPort;
    MacBytes m_mac{};
    bool m_upperCaseMac = false;
    std::array<std::uint8_t, 4> m_ip{};
    int m_socket = -1;
};
