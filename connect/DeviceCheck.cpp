#include "connect/DeviceCheck.h"

#include "base/FixedText.h"
#include "connect/ConnectDecision.h"
#include "discovery/DiscoveryList.h"

namespace {

constexpr long kUnauthorized = 401;

// The double-click's effects for a look only: pages through the check's fetch, the search's
// list as the check started, a launch that starts nothing and no save.
class LookEffects : public ConnectEffects {
public:
    LookEffects(const LanSearchSnapshot& lan, const CheckFetch& fetch)
        : m_lan(lan), m_fetch(fetch) {}

    std::optional<std::string> FetchPage(const std::string& url,
                                         const DeviceRecord& record) override {
        const HttpAnswer answer = m_fetch(url, record);
        if (!answer.reply) {
            return std::nullopt;
        }
        return std::string(answer.reply.get());
    }
    std::optional<ConnectionTarget> FindDiscoveredDevice(std::string_view mac) override {
        const DiscoveredDevice* device = FindDeviceByMac(m_lan.devices, mac);
        if (device == nullptr) {
            return std::nullopt;
        }
        return ConnectionTarget{std::string(FieldText(device->ipAddress)),
                                static_cast<std::uint16_t>(device->port)};
    }
    bool LaunchViewer(const std::string&) override { return true; }
    void SaveAddressBook() override {}
    void Debug(const std::string&) override {}

private:
    const LanSearchSnapshot& m_lan;
    const CheckFetch& m_fetch;
};

DeviceStatus CheckStaticDevice(const DeviceRecord& record, const CheckFetch& fetch) {
    const long status =
        fetch(LoginUrl(FieldText(record.serverIp), FieldText(record.serverPort)), record).status;
    if (status >= 200 && status < 300) {
        return DeviceStatus::kOk;
    }
    return status == kUnauthorized ? DeviceStatus::kWrongPassword : DeviceStatus::kNoAnswer;
}

}  // namespace

DeviceStatus CheckDevice(const DeviceRecord& record, const LanSearchSnapshot& lan,
                         const CheckFetch& fetch) {
    if (!FieldText(record.serverIp).empty()) {
        return CheckStaticDevice(record, fetch);
    }
    if (FieldText(record.uuid).empty()) {
        return DeviceStatus::kNoAnswer;
    }
    DeviceRecord copy = record;
    ConnectionTarget target;
    LookEffects effects(lan, fetch);
    switch (DecideDoubleClick(copy, lan.running, target, ViewerSettings{}, effects)) {
        case ConnectStep::kLaunched:
        case ConnectStep::kCommandLineTooLong:
            return DeviceStatus::kOnLan;
        case ConnectStep::kNothing:
        case ConnectStep::kNeedsTunnel:
            break;
    }
    return DeviceStatus::kNotOnLan;
}
