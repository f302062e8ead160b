#include "editing/DeviceForm.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <tuple>

#include "base/FixedText.h"
#include "support/TestDevice.h"

namespace {

DeviceFormFields Form(const char* name, const char* ip, const char* port, const char* user,
                      const char* password, const char* uuid, const char* priority = "Frame") {
    DeviceFormFields form{};
    CopyField(form.name, name);
    CopyField(form.serverIp, ip);
    CopyField(form.serverPort, port);
    CopyField(form.account, user);
    CopyField(form.password, password);
    CopyField(form.uuid, uuid);
    CopyField(form.priority, priority);
    return form;
}

DeviceTable Devices(std::initializer_list<const char*> names) {
    DeviceTable table;
    for (const char* name : names) {
        table.Append(MakeDevice({.name = name}));
    }
    return table;
}

TEST(DeviceFormTest, RequiredFieldsAndTheUuidAlternative) {
    struct Case {
        DeviceFormFields form;
        FormProblem expected;
    };
    const Case cases[] = {
        {Form("Cam", "10.0.0.5", "80", "admin", "pw", ""), FormProblem::kNone},
        {Form("Cam", "", "", "admin", "pw", "UUID1"), FormProblem::kNone},  // cloud device
        // Blanks only would make an empty section name, which the book cannot keep.
        {Form(" \t ", "10.0.0.5", "80", "admin", "pw", ""), FormProblem::kRequiredFieldEmpty},
        {Form("", "10.0.0.5", "80", "admin", "pw", ""), FormProblem::kRequiredFieldEmpty},
        {Form("Cam", "", "80", "admin", "pw", ""), FormProblem::kRequiredFieldEmpty},
        {Form("Cam", "10.0.0.5", "", "admin", "pw", ""), FormProblem::kRequiredFieldEmpty},
        {Form("Cam", "10.0.0.5", "80", "", "pw", ""), FormProblem::kRequiredFieldEmpty},
        {Form("Cam", "10.0.0.5", "80", "admin", "", ""), FormProblem::kRequiredFieldEmpty},
        {Form("Cam", "10.0.0.5", "80", "admin", "pw", "", ""), FormProblem::kRequiredFieldEmpty},
        // An empty field is reported before a duplicate name.
        {Form("Lobby", "", "80", "admin", "pw", ""), FormProblem::kRequiredFieldEmpty},
    };
    const DeviceTable devices = Devices({"Lobby"});
    for (const Case& c : cases) {
        EXPECT_EQ(CheckDeviceForm(c.form, devices, std::nullopt), c.expected)
            << c.form.name << "|" << c.form.serverIp << "|" << c.form.serverPort << "|"
            << c.form.account << "|" << c.form.password << "|" << c.form.uuid << "|"
            << c.form.priority;
    }
}

TEST(DeviceFormTest, DuplicateNamesIgnoreAsciiCaseAndTheEditedRecord) {
    const DeviceTable devices = Devices({"cam1", "Lobby"});
    const auto check = [&](const char* name, std::optional<std::size_t> edited) {
        return CheckDeviceForm(Form(name, "1.2.3.4", "80", "a", "p", ""), devices, edited);
    };
    EXPECT_EQ(check("CAM1", std::nullopt), FormProblem::kDuplicateName);
    EXPECT_EQ(check("cam", std::nullopt), FormProblem::kNone);
    EXPECT_EQ(check(" Cam1 ", std::nullopt),
              FormProblem::kDuplicateName);            // one section in the book
    EXPECT_EQ(check("LOBBY", 1), FormProblem::kNone);  // renaming to its own name in other case
    EXPECT_EQ(check("LOBBY", 0), FormProblem::kDuplicateName);
}

TEST(DeviceFormTest, ANameIsTestedAsItsFieldWillKeepIt) {
    // 31 bytes fit the name field; what lies beyond would be cut when the record is made.
    const std::string kept(31, 'N');
    const DeviceTable devices = Devices({(kept + "-first").c_str()});
    const auto check = [&](const std::string& name) {
        return CheckDeviceForm(Form(name.c_str(), "1.2.3.4", "80", "a", "p", ""), devices,
                               std::nullopt);
    };
    EXPECT_EQ(check(kept + "-second"), FormProblem::kDuplicateName);
    EXPECT_EQ(check(kept), FormProblem::kDuplicateName);
    EXPECT_EQ(check(std::string(30, 'N')), FormProblem::kNone);
}

TEST(DeviceFormTest, CopyToRecordCutsEachFieldAndKeepsLearnedAddresses) {
    DeviceFormFields form = Form("", "", "", "", "", "");
    std::memset(form.name, 'N', sizeof form.name - 1);
    std::memset(form.serverPort, '9', sizeof form.serverPort - 1);
    std::memset(form.uuid, 'U', sizeof form.uuid - 1);
    DeviceRecord base{};
    CopyField(base.uuid, std::string(127, 'U'));  // the form's UUID as the record keeps it
    CopyField(base.uuidIp, "192.168.1.9");
    CopyField(base.uuidMac, "00:11:22:33:44:55");
    const DeviceRecord record = RecordFromForm(form, base);
    EXPECT_EQ(FieldText(record.name), std::string(31, 'N'));
    EXPECT_EQ(FieldText(record.serverPort), std::string(7, '9'));
    EXPECT_EQ(FieldText(record.uuid), std::string(127, 'U'));
    EXPECT_EQ(FieldText(record.priority), "Frame");
    EXPECT_EQ(FieldText(record.uuidIp), "192.168.1.9");
    EXPECT_EQ(FieldText(record.uuidMac), "00:11:22:33:44:55");
    // And back: a record's texts fill the form unchanged.
    const DeviceFormFields again = FormFromRecord(record);
    EXPECT_EQ(FieldText(again.uuid), std::string(127, 'U'));
    // A UUID of another device: what was learned was the old one's.
    CopyField(form.uuid, "KX2");
    const DeviceRecord other = RecordFromForm(form, base);
    EXPECT_EQ(FieldText(other.uuidIp), "");
    EXPECT_EQ(FieldText(other.uuidMac), "");
}

TEST(DeviceFormTest, AnEditChangesNothingByThePriorityTheFormShows) {
    // The stored priority, the one the form gives back, the password it gives back.
    for (auto [stored, chosen, password, changes] : {std::tuple{"", "Frame", "pw", false},
                                                     {"HighQuality", "Quality", "pw", false},
                                                     {"", "Quality", "pw", true},
                                                     {"Quality", "Frame", "pw", true},
                                                     {"", "Frame", "new", true}}) {
        const DeviceRecord record =
            RecordFromForm(Form("Cam", "10.0.0.5", "80", "a", "pw", "", stored), DeviceRecord{});
        const DeviceRecord edited =
            RecordFromForm(Form("Cam", "10.0.0.5", "80", "a", password, "", chosen), record);
        EXPECT_EQ(EditChangesRecord(edited, record), changes)
            << stored << "|" << chosen << "|" << password;
    }
}

TEST(DeviceFormTest, StoredPrioritySelectsItsItem) {
    EXPECT_EQ(PriorityItemFor("Frame"), 0);
    EXPECT_EQ(PriorityItemFor("Quality"), 1);
    EXPECT_EQ(PriorityItemFor(""), 0);
    EXPECT_EQ(PriorityItemFor("quality"), 0);  // the search is case-sensitive
    EXPECT_EQ(PriorityItemFor("HighQuality"), 1);
    EXPECT_EQ(PriorityItemFor("Quality Frame"), 0);
}

}  // namespace
