#include <windows.h>

#include <gtest/gtest.h>

#include "ui/AccountCaption.h"

TEST(AccountCaption, NamesTheProcessUserOnlyWhereTheSessionsIsAnother) {
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
    const auto seams = [&](std::optional<SidBytes> process, std::optional<SidBytes> session) {
        return AccountSeams{[=] { return process; }, [=] { return session; }, name};
    };
    EXPECT_EQ(captionForAccount(seams(admin, users)), L"Trelvane V1.0 \u2013 Benutzer KURS\\Leiter");
    EXPECT_EQ(captionForAccount(seams(admin, admin)), L"Trelvane V1.0");         // elevated as the same user
    EXPECT_EQ(captionForAccount(seams(admin, std::nullopt)), L"Trelvane V1.0");  // no one signed in, or no lookup
    EXPECT_EQ(captionForAccount(seams(std::nullopt, users)), L"Trelvane V1.0");
}

// The tests run as the session's signed-in user, whom the session names (Wine's too).
TEST(AccountCaption, OfTheDesktopsOwnUserIsThePlainCaption) {
    EXPECT_EQ(windowCaptionForAccount(), L"Trelvane V1.0");
    DWORD session = 0;
    if (!ProcessIdToSessionId(GetCurrentProcessId(), &session) || session == 0)
        GTEST_SKIP() << "no one is signed in to session 0";
    const AccountSeams accounts = systemAccounts();
    std::optional<SidBytes> process = accounts.processUser(), user = accounts.sessionUser();
    ASSERT_TRUE(process && user) << "the session's user was not found";
    EXPECT_TRUE(EqualSid(process->data(), user->data()));
}
