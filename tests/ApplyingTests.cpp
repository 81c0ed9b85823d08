#include <vector>

#include "CodePage.h"
#include "RegistrySandbox.h"
#include "schemas/Applying.h"
#include "schemas/SchemaTable.h"
#include "store/RegistryString.h"

namespace {

const wchar_t kRefusal[] = L"ungültige Pfadangabe !\r\nModul-Pfade wurden nicht gesetzt !";

class ApplyingTest : public RegistrySandbox {
protected:
    std::vector<Message> shown;
    ShowMessage recorder() {
        return [this](const Message& message) {
            shown.push_back(message);
            return MessageAnswer::Ok;
        };
    }
    bool apply(const std::wstring& system, const std::wstring& common) {
        return applySchema(kIdeKey, system, common, recorder());
    }
    std::wstring ide(const wchar_t* name) { return regGetString(HKEY_CURRENT_USER, kIdeKey, name, L"<missing>"); }
};

}  // namespace

TEST_F(ApplyingTest, ValidPairIsWrittenAndShownWithoutMessage) {
    EXPECT_TRUE(apply(L"C:\\Module\\System", L"D:\\Gemeinsam"));
    EXPECT_EQ(ide(kIdeSystemValue), L"C:\\Module\\System");
    EXPECT_EQ(ide(kIdeCommonValue), L"D:\\Gemeinsam");
    const ActiveTexts active = getAkt(kIdeKey);
    EXPECT_EQ(active.system, L"SystemModule: C:\\Module\\System");
    EXPECT_EQ(active.common, L"Gemeinsame Module: D:\\Gemeinsam");

    // Again: the same values, still no message.
    EXPECT_TRUE(apply(L"C:\\Module\\System", L"D:\\Gemeinsam"));
    EXPECT_EQ(ide(kIdeSystemValue), L"C:\\Module\\System");
    EXPECT_TRUE(shown.empty());
}

TEST_F(ApplyingTest, InvalidPairIsRefusedAndWritesNothing) {
    putRaw(kIdeSystemValue, REG_SZ, "C:\\alt\\sys");
    putRaw(kIdeCommonValue, REG_SZ, "C:\\alt\\com");
    const std::pair<std::wstring, std::wstring> pairs[] = {
        {L"C:\\gut", L"C:"},
        {L"leer", L"D:\\gut"},
        {L"", L""},
        {L"C:\\gut", L"C:\\" + foreignText()},
    };
    for (const auto& [system, common] : pairs) {
        shown.clear();
        EXPECT_FALSE(apply(system, common));
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_EQ(shown[0].text, kRefusal);
        EXPECT_EQ(shown[0].buttons, MessageButtons::Ok);
        EXPECT_EQ(shown[0].icon, MessageIcon::None);
        EXPECT_EQ(ide(kIdeSystemValue), L"C:\\alt\\sys");
        EXPECT_EQ(ide(kIdeCommonValue), L"C:\\alt\\com");
    }
}

TEST_F(ApplyingTest, ActiveTextsShowLeerForMissingValues) {
    ActiveTexts active = getAkt(kIdeKey);
    EXPECT_EQ(active.system, L"SystemModule: leer");
    EXPECT_EQ(active.common, L"Gemeinsame Module: leer");

    putRaw(kIdeCommonValue, REG_SZ, "");  // zero bytes count as missing
    putRaw(kIdeSystemValue, REG_SZ, std::string(1, '\0'));
    active = getAkt(kIdeKey);
    EXPECT_EQ(active.system, L"SystemModule: ");
    EXPECT_EQ(active.common, L"Gemeinsame Module: leer");
}

TEST_F(ApplyingTest, StandardSeededFromMissingIdeValuesCannotBeApplied) {
    SchemaTable table;
    table.regKey = kIdeKey;
    table.getSch();
    EXPECT_FALSE(apply(table.sysPaths[0], table.comPaths[0]));
    EXPECT_EQ(shown.size(), 1u);
    EXPECT_EQ(ide(kIdeSystemValue), L"<missing>");
}
