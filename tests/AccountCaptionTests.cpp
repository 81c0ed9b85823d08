#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "ui/AccountCaption.h"

TEST(AccountCaption, NamesTheProcessUserOnlyWhereTheSessionsIsAnother) {
    const auto caption = [](const std::wstring& process, const std::wstring& session) {
        return captionForAccount({
            [=] { return process; },
            [=] { return session; },
        });
    };
    const std::wstring plain = L"Trelvane V1.0", named = plain + L" \u2013 Benutzer KURS\\Leiter";
    EXPECT_EQ(caption(L"KURS\\Leiter", L"KURS\\Schueler"), named);
    EXPECT_EQ(caption(L"KURS\\Leiter", L"PC01\\Leiter"), named);        // a local account of the same name
    EXPECT_EQ(caption(L"KURS\\Leiter", L"AzureAD\\MaxMuster"), named);  // a Microsoft Entra ID PC's session
    EXPECT_EQ(caption(L"KURS\\Leiter", L"KURS\\Leiter"), plain);        // elevated as the same user
    EXPECT_EQ(caption(L"KURS\\J\u00fcrgen", L"KURS\\J\u00dcRGEN"), plain);  // Windows 7 and 8 answer in upper case
    EXPECT_EQ(caption(L"KURS\\Leiter", L""), plain);                        // no one signed in
    EXPECT_EQ(caption(L"", L"KURS\\Schueler"), plain);                      // the process's name cannot be asked
}

// The tests run as the session's signed-in user, whom the session names (Wine's too).
TEST(AccountCaption, OfTheDesktopsOwnUserIsThePlainCaption) {
    EXPECT_EQ(windowCaptionForAccount(), L"Trelvane V1.0");
    DWORD session = 0;
    if (!ProcessIdToSessionId(GetCurrentProcessId(), &session) || session == 0)
        GTEST_SKIP() << "no one is signed in to session 0";
    const AccountSeams accounts = systemAccounts();
    const std::wstring process = accounts.processAccount(), user = accounts.sessionAccount();
    ASSERT_FALSE(process.empty() || user.empty()) << "the process's or the session's account was not named";
    EXPECT_EQ(CompareStringOrdinal(process.c_str(), -1, user.c_str(), -1, TRUE), CSTR_EQUAL);
}
