#pragma once

#include <functional>
#include <string>

// Started as administrator with another account's password, the program reads and
// writes that account's settings, which the IDE of the session's signed-in user never
// sees: the window's caption then names the account.

struct AccountSeams {
    std::function<std::wstring()> processAccount;  // DOMAIN\user of this process; "" where it cannot be asked
    std::function<std::wstring()> sessionAccount;  // DOMAIN\user signed in to the session; "" for none
};

// This process's account and the session's, each as its logon named it.
AccountSeams systemAccounts();

// "Trelvane V1.0", or "Trelvane V1.0 – Benutzer DOMAIN\user" naming the process's
// account where the session's is another; the names are compared whatever their case.
std::wstring captionForAccount(const AccountSeams& seams);

// The caption from this process and its session as they are; asked once, after the
// first frame.
std::wstring windowCaptionForAccount();
