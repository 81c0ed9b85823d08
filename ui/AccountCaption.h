#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

// Started as administrator with another account's password, the program reads and
// writes that account's settings, which the IDE of the session's signed-in user never
// sees: the window's caption then names the account.

using SidBytes = std::vector<BYTE>;

struct AccountSeams {
    std::function<std::optional<SidBytes>()> processUser;  // nothing when it cannot be asked
    std::function<std::optional<SidBytes>()> sessionUser;  // nothing without a signed-in user or a lookup
    std::function<std::wstring(PSID user)> accountName;    // DOMAIN\user
};

// The user of this process's token, the user signed in to its session, and their names.
AccountSeams systemAccounts();

// "Trelvane V1.0", or "Trelvane V1.0 – Benutzer DOMAIN\user" naming the process's
// user where the session's is another account; compared as accounts (SIDs), not names.
std::wstring captionForAccount(const AccountSeams& seams);

// The caption from this process and its session as they are; asked once, after the
// first frame.
std::wstring windowCaptionForAccount();
