#include "bench/SampleBook.h"

#include <cstdint>
#include <string>

#include "base/FixedText.h"
#include "support/Sequence.h"

namespace {

const char* const kPlaces[] = {"Front Gate",   "Lobby",     "Warehouse",   "Parking B2",
                               "Loading Dock", "Office 3F", "Server Room", "Back Door"};
const char* const kKinds[] = {"NVR", "Cam", "DVR", "PTZ"};
const char* const kPorts[] = {"80", "8080", "8000", "37777"};
const char* const kAccounts[] = {"admin", "operator", "guard01", "viewer"};
const char* const kPriorities[] = {"Frame", "Quality", ""};

}  // namespace

DeviceTable MakeSampleBook(std::size_t devices) {
    DeviceTable table;
    table.Reserve(devices);
    for (std::size_t i = 0; i < devices; ++i) {
        Sequence random(static_cast<std::uint32_t>(i));
        DeviceRecord record{};
        // The number keeps names distinct, as the program requires.
        CopyField(record.name, std::string(kPlaces[random.Next(8)]) + " " + kKinds[random.Next(4)] +
                                   " " + std::to_string(i + 1));
        const bool cloud = random.Next(2) == 1;
        if (!cloud) {
            CopyField(record.serverIp, "192.168." + random.Number(256) + "." + random.Number(254));
        }
        CopyField(record.serverPort, kPorts[random.Next(4)]);
        CopyField(record.account, kAccounts[random.Next(4)]);
        // No blanks at either end: our writer quotes those and the platform's does not, and the
        // two writers' files are compared byte for byte.
        CopyField(record.password, "Pw" + random.Hex(8));
        if (cloud) {
            CopyField(record.uuid, "KX" + random.Hex(18));
            CopyField(record.uuidIp, "10.20." + random.Number(256) + "." + random.Number(254));
            CopyField(record.uuidMac, "00:1A:" + random.Hex(2) + ":" + random.Hex(2) + ":" +
                                          random.Hex(2) + ":" + random.Hex(2));
        }
        CopyField(record.priority, kPriorities[random.Next(3)]);
        table.Append(record);
    }
    return table;
}
