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

const ViewerSettings kSettings{"path=C:\\Program Files\\Tavrin\\&", Language::kEnglish};

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
                                      ViewerSettings{"path=C:\\T\\&", Language::kChinese}),
              "Pellix.exe IP=127.0.0.1#PORT=50123#ACCOUNT=admin#PASSWORD=p w#1#"
              "PATH=path=C:\\T\\&#PRIORITY=Frame#DEVICEUUID=#DEVICEPORT=0080#"
              "CONNECTTYPE=RELAY#OEMNAME=oemname=ZEQ&#LANGUAGEID=0#");
}

TEST(ViewerCommandLineTest, ALineLongerThan511CharactersIsRefusedNotCut) {
    const std::size_t base =
        StaticViewerCommandLine(Device(), "", ViewerSettings{"", Language::kEnglish})->size();
    const std::string fits(kMaxViewerCommandLine - base, 'f');
    EXPECT_EQ(
        StaticViewerCommandLine(Device(), "", ViewerSettings{fits, Language::kEnglish})->size(),
        kMaxViewerCommandLine);
    EXPECT_EQ(StaticViewerCommandLine(Device(), "", ViewerSettings{fits + "f", Language::kEnglish}),
              std::nullopt);
}

}  // namespace
