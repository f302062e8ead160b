#include "app/LanDeviceRows.h"

#include <gtest/gtest.h>

#include <string>

#include "base/FixedText.h"
#include "support/Big5.h"

namespace {

DiscoveredDevice Device(const char* name, const char* title, int port) {
    DiscoveredDevice device{};
    CopyField(device.name, name);
    CopyField(device.title, title);
    CopyField(device.ipAddress, "10.77.0.2");
    CopyField(device.macAddress, "02:ab:cd:0a:0b:0c");
    device.port = port;
    return device;
}

TEST(LanDeviceRowsTest, RowsAndTheAddFormTheyOffer) {
    const std::string thirty(30, 'x');
    const std::string big5Char = "\xBA\xCA";  // one double-byte character
    struct Case {
        const char* what;
        DiscoveredDevice device;
        std::string rowName, rowPort, formName;
    };
    const Case cases[] = {
        {"name wins over title", Device("Branch Office", "NVR", 80), "Branch Office", "80",
         "Branch Office"},
        {"title when no name came", Device("", "NVR-16", 8080), "NVR-16", "8080", "NVR-16"},
        {"no port announced", Device("Cam", "", 0), "Cam", "", "Cam"},
        {"name cut to the form's 31 bytes", Device((thirty + "yz").c_str(), "", 80), thirty + "yz",
         "80", thirty + "y"},
        {"a double-byte character is not split", Device((thirty + big5Char).c_str(), "", 80),
         thirty + big5Char, "80", thirty},
        // Nothing after a line break can reach the book through the form.
        {"a line break in the name", Device("Cam\r\n[Gate]\r\nSERVERIP=6.6.6.6", "", 80), "Cam",
         "80", "Cam"},
        {"a name of control bytes only", Device("\n[Gate]", "NVR", 80), "NVR", "80", "NVR"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const LanDeviceRow row = RowOfDiscoveredDevice(c.device);
        EXPECT_EQ(row.name, c.rowName);
        EXPECT_EQ(row.ipAddress, "10.77.0.2");
        EXPECT_EQ(row.port, c.rowPort);
        EXPECT_EQ(row.macAddress, "02:ab:cd:0a:0b:0c");
        const DeviceFormFields form = AddFormForLanDevice(row, kBig5CodePage);
        EXPECT_EQ(FieldText(form.name), c.formName);
        EXPECT_EQ(FieldText(form.serverIp), "10.77.0.2");
        EXPECT_EQ(FieldText(form.serverPort), c.rowPort);
        EXPECT_EQ(FieldText(form.account), "");
        EXPECT_EQ(FieldText(form.uuid), "");
    }
}

}  // namespace
