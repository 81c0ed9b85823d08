#include <windows.h>

#include <gtest/gtest.h>

#include "ui/AccountCaption.h"

TEST(AccountCaption, NamesTheProcessUserOnlyWhereTheShellsIsAnother) {
    const auto wellKnown = [](WELL_KNOWN_SID_TYPE type) {
        SidBytes sid(SECURITY_MAX_SID_SIZE);
        DWORD size = SECURITY_MAX_SID_SIZE;
        if (!CreateWellKnownSid(type, nullptr, sid.data(), &size)) return SidBytes();
        return SidBytes(sid.begin(), sid.begin() + size);
    };
    SidBytes admin = wellKnown(WinBuiltinAdministratorsSid), users = wellKnown(WinBuiltinUsersSid);
    ASSERT_FALSE(admin.empty() || users.empty());
    const auto name = [&](PSID user) {
        return std::wstring(EqualSid(user, admin.data()) ? L"KURS\\Leiter" : L"?");
    };
    const auto seams = [&](std::optional<SidBytes> process, std::optional<SidBytes> shell) {
        return AccountSeams{[=] { return process; }, [=] { return shell; }, name};
    };
    EXPECT_EQ(captionForAccount(seams(admin, users)), L"Trelvane V1.0 \u2013 Benutzer KURS\\Leiter");
    EXPECT_EQ(captionForAccount(seams(admin, admin)), L"Trelvane V1.0");         // elevated as the same user
    EXPECT_EQ(captionForAccount(seams(admin, std::nullopt)), L"Trelvane V1.0");  // no shell, or access refused
    EXPECT_EQ(captionForAccount(seams(std::nullopt, users)), L"Trelvane V1.0");
}

// The tests run as the desktop's user, or without a shell (Wine), which cannot be asked.
TEST(AccountCaption, OfTheDesktopsOwnUserIsThePlainCaption) {
    EXPECT_EQ(windowCaptionForAccount(), L"Trelvane V1.0");
}
