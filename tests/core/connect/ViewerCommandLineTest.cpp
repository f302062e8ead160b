#include "connect/ViewerCommandLine.h"

#include <gtest/gtest.h>

#include "base/FixedText.h"
#include "support/TestDevice.h"

namespace {

DeviceRecord Device() {
    return MakeDevice({.name = "Office",
                       .serverIp = "10.0.0.5",
                       .serverPort = "0080",
                       .account = "admin",
                       .password = "p w#1",
                       .uuid = "KX7Q2M9D4HB3",
                       .priority = "Frame"});
}

const ViewerSettings kSettings{"C:\\Program Files\\Tavrin\\", Language::kEnglish};

TEST(ViewerCommandLineTest, StaticLineIsTheFixedTemplateByteForByte) {
    EXPECT_EQ(StaticViewerCommandLine(Device(), "10.0.0.5", kSettings),
              "Pellix.exe IP=10.0.0.5#PORT=0080#ACCOUNT=admin#PASSWORD=p w#1#"
              "PATH=path=C:\\Program Files\\Tavrin\\&#PRIORITY=Frame#DEVICEUUID=KX7Q2M9D4HB3#"
              "DEVICEPORT=0080#CONNECTTYPE=STATIC IP#OEMNAME=oemname=ZEQ&#LANGUAGEID=1#");
}

TEST(ViewerCommandLineTest, TunnelLineCarriesTheLocalPortAsANumber) {
    DeviceRecord record = Device();
    CopyField(record.uuid, "");
    EXPECT_EQ(TunnelViewerCommandLine(record, "127.0.0.1", 50123, "RELAY",
                                      ViewerSettings{"C:\\T\\", Language::kChinese}),
              "Pellix.exe IP=127.0.0.1#PORT=50123#ACCOUNT=admin#PASSWORD=p w#1#"
              "PATH=path=C:\\T\\&#PRIORITY=Frame#DEVICEUUID=#DEVICEPORT=0080#"
              "CONNECTTYPE=RELAY#OEMNAME=oemname=ZEQ&#LANGUAGEID=0#");
}

TEST(ViewerCommandLineTest, ALineLongerThan511CharactersIsRefusedNotCut) {
    const ViewerSettings settings{"", Language::kEnglish};
    const std::size_t base = StaticViewerCommandLine(Device(), "", settings)->size();
    const std::string fits(kMaxViewerCommandLine - base, 'f');
    EXPECT_EQ(StaticViewerCommandLine(Device(), fits, settings)->size(), kMaxViewerCommandLine);
    EXPECT_EQ(StaticViewerCommandLine(Device(), fits + "f", settings), std::nullopt);
}

TEST(ViewerCommandLineTest, PathArgumentIsCutTo259Characters) {
    EXPECT_EQ(PathArgumentFor("C:\\T\\"), "path=C:\\T\\&");
    const std::string longFolder(300, 'f');
    EXPECT_EQ(PathArgumentFor(longFolder), "path=" + std::string(254, 'f'));
}

}  // namespace
