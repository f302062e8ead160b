// The device's HTTP side: Login.cgi and the network page of Config.cgi behind HTTP Basic
// authentication, with the misbehaviours the options ask for.
#pragma once

#include <httplib.h>

#include <string>

#include "tools/devicesim/SimOptions.h"

class DevicePages {
public:
    explicit DevicePages(const SimOptions& options);

    // Binds the HTTP port; the port, or -1 with a message.
    int Bind(std::string& error);

    // Serves until the process ends.
    void Serve();

private:
    void Reply(const httplib::Request& request, httplib::Response& response,
               const std::string& body);
    std::string Lines(std::initializer_list<std::string> lines) const;
    std::string Padded(std::string body) const;

    const SimOptions& m_options;
    std::string m_expectedAuthorization;  // empty: no credentials asked for
    int m_port = -1;
    httplib::Server m_server;
};
