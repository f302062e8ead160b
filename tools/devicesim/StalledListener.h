// An HTTP port that never accepts: its listen queue is kept full, so a client's connection
// attempt goes unanswered until the client gives up.
#pragma once

#include <string>

class StalledListener {
public:
    StalledListener() = default;
    ~StalledListener();
    StalledListener(const StalledListener&) = delete;
    StalledListener& operator=(const StalledListener&) = delete;

    // The port, or -1 with a message.
    int Open(const std::string& address, int port, std::string& error);

private:
    int m_listener = -1;
    int m_filler = -1;
};
