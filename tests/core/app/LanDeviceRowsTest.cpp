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

TEST(LanDeviceRowsTest, TheBookComparedAndAllNewDevicesAddedFromOneForm) {
    DeviceTable book;
    const auto add = [&](const char* name, const char* ip, const char* learnedMac) {
        DeviceRecord record{};
        CopyField(record.name, name);
        CopyField(record.serverIp, ip);
        CopyField(record.uuidMac, learnedMac);
        book.Append(record);
    };
    add("Front Door", "10.77.0.5", "");
    add("Branch Office", "", "02:AB:CD:0A:0B:0C");  // learned when the tunnel reached it
    add("Cabin", "", "");
    const LanDeviceRow rows[] = {
        {"Branch", "10.77.0.2", "80", "02:ab:cd:0a:0b:0c"},  // the learned MAC, other case
        {"Door", "10.77.0.5", "80", "02:ab:cd:0e:0e:0e"},    // a static record's address
        {"front door ", "10.77.0.6", "8082", "02:ab:cd:01:01:01"},
        {"Front Door", "10.77.0.7", "", "02:ab:cd:02:02:02"},
        {"", "10.77.0.8", "81", ""},
        {"Silent", "", "80", "02:ab:cd:03:03:03"},  // no address to add it at
    };
    const std::vector<LanDeviceRow> fresh = NewDevices(rows, book);
    ASSERT_EQ(fresh.size(), 3U);
    EXPECT_TRUE(IsInBook(rows[0], book));
    EXPECT_TRUE(IsInBook(rows[1], book));
    EXPECT_EQ(fresh[0].ipAddress, "10.77.0.6");

    DeviceFormFields form = TemplateFormForNewDevices(fresh, book, kBig5CodePage);
    EXPECT_EQ(FieldText(form.name), "front door (2)");
    CopyField(form.account, "admin");
    CopyField(form.password, "demo");
    CopyField(form.serverPort, "90");
    const std::vector<DeviceRecord> added = RecordsForNewDevices(form, fresh, book, kBig5CodePage);
    struct Added {
        const char *name, *ip, *port;
    };
    const Added expected[] = {{"front door (2)", "10.77.0.6", "90"},
                              {"Front Door (3)", "10.77.0.7", "90"},
                              {"10.77.0.8", "10.77.0.8", "81"}};
    ASSERT_EQ(added.size(), std::size(expected));
    for (std::size_t i = 0; i < added.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(FieldText(added[i].name), expected[i].name);
        EXPECT_EQ(FieldText(added[i].serverIp), expected[i].ip);
        EXPECT_EQ(FieldText(added[i].serverPort), expected[i].port);
        EXPECT_EQ(FieldText(added[i].account), "admin");
        EXPECT_EQ(FieldText(added[i].password), "demo");
    }

    // One of them added by another launcher while the form was open is not added twice.
    add("Gate", "10.77.0.7", "");
    EXPECT_EQ(RecordsForNewDevices(form, fresh, book, kBig5CodePage).size(), 2U);
}

}  // namespace
