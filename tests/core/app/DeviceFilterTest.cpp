#include "app/DeviceFilter.h"

#include <gtest/gtest.h>

#include <string>

#include "support/Big5.h"
#include "support/TestDevice.h"

namespace {

TEST(DeviceFilterTest, KeepsWhatHoldsTheTypedCharactersInAShownField) {
    const DeviceRecord lobby = MakeDevice({.name = "Lobby Cam",
                                           .serverIp = "192.168.1.64",
                                           .serverPort = "8080",
                                           .account = "guard",
                                           .uuid = "KX7Q2M9D4HB3"});
    // 大門 then " 2": the second byte of 大 (A4 6A) reads as "j" to a single-byte code page.
    const DeviceRecord bigDoor = MakeDevice({.name = std::string(kBigDoor) + " 2"});
    const AnsiCodePage singleByte;
    struct Case {
        const DeviceRecord& record;
        std::string typed;
        const AnsiCodePage& codePage;
        bool kept;
    };
    const Case cases[] = {
        {lobby, "", singleByte, true},
        {lobby, "BY c", singleByte, true},  // letters fold, anywhere in the name
        {lobby, "168.1.6", singleByte, true},
        {lobby, "08", singleByte, true},
        {lobby, "m9d", singleByte, true},
        {lobby, "guard", singleByte, false},  // the account is not shown
        {lobby, "Cam ", singleByte, false},   // nor does one field run into the next
        {bigDoor, "\xAA\xF9", kBig5CodePage, true},
        {bigDoor, std::string(kBigDoor) + " 2", kBig5CodePage, true},
        {bigDoor, "j", kBig5CodePage, false},  // a second byte is no letter
        {bigDoor, "J", kBig5CodePage, false},
        {bigDoor, "j", singleByte, true},
        // A match that would start inside 大: its second byte and the whole of 門.
        {bigDoor, "j\xAA\xF9", kBig5CodePage, false},
        {bigDoor, "\xA4", kBig5CodePage, false},  // half a character matches none
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FilterKeeps(c.record, c.typed, c.codePage), c.kept)
            << FieldText(c.record.name) << " / " << c.typed;
    }
}

}  // namespace
