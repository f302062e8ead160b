#include "connect/ViewerCommandLine.h"

#include "base/FixedText.h"

namespace {

std::optional<std::string> CommandLine(const DeviceRecord& record, std::string_view ip,
                                       std::string_view port, std::string_view connectType,
                                       const ViewerSettings& settings) {
    std::string line = "Pellix.exe ";
    const auto field = [&line](std::string_view key, std::string_view value) {
        line.append(key).append("=").append(value).append("#");
    };
    field("IP", ip);
    field("PORT", port);
    field("ACCOUNT", FieldText(record.account));
    field("PASSWORD", FieldText(record.password));
    field("PATH", PathArgumentFor(settings.programFolder));
    field("PRIORITY", FieldText(record.priority));
    field("DEVICEUUID", FieldText(record.uuid));
    field("DEVICEPORT", FieldText(record.serverPort));
    field("CONNECTTYPE", connectType);
    field("OEMNAME", "oemname=ZEQ&");
    field("LANGUAGEID", std::to_string(LanguageNumber(settings.language)));
    if (line.size() > kMaxViewerCommandLine) {
        return std::nullopt;
    }
    return line;
}

}  // namespace

std::string PathArgumentFor(std::string_view programFolder) {
    std::string argument = "path=";
    argument += programFolder;
    argument += '&';
    constexpr std::size_t kMaxLength = 259;
    if (argument.size() > kMaxLength) {
        argument.resize(kMaxLength);
    }
    return argument;
}

std::optional<std::string> StaticViewerCommandLine(const DeviceRecord& record, std::string_view ip,
                                                   const ViewerSettings& settings) {
    return CommandLine(record, ip, FieldText(record.serverPort), "STATIC IP", settings);
}

std::optional<std::string> TunnelViewerCommandLine(const DeviceRecord& record,
                                                   std::string_view address, std::uint16_t port,
                                                   std::string_view connectType,
                                                   const ViewerSettings& settings) {
    return CommandLine(record, address, std::to_string(port), connectType, settings);
}
