#include "connect/NatRequest.h"

#include "base/FixedText.h"

namespace {

// Our library finds devices in its own directory file and does not ask a cloud server.
constexpr std::string_view kCloudServerHost = "cloud.tavrin.invalid";

}  // namespace

NatRequest MakeNatRequest(std::string_view uuid, std::uint16_t port) {
    NatRequest request{};
    CopyField(request.hostName, uuid);
    request.port = port;
    CopyField(request.user, "guest");
    CopyField(request.password, "guest");
    CopyField(request.serverHost, kCloudServerHost);
    return request;
}
