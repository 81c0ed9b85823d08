#include "ui/AccountCaption.h"

#include <windows.h>

#define SECURITY_WIN32
#include <security.h>
#include <wtsapi32.h>

#include <memory>

#include "store/UniqueHandle.h"
#include "ui/Form.h"
#include "ui/SystemFunctions.h"

// Both accounts are named by their logon sessions, so that nothing asks a domain
// controller: looking a name up may wait seconds for one on a domain laptop away from
// its network, and finds nothing for the AzureAD\ names of a Microsoft Entra ID PC.

namespace {

// secur32 and wtsapi32 are loaded while the caption is asked, after the first frame, and
// let go again: imported, they would load before the window shows, secur32 under Wine
// with every security provider (tens of milliseconds).

// As this process's logon session names its account (GetUserNameExW: Windows 2000).
std::wstring processAccount() {
    const UniqueModule secur32(loadSystemLibrary(L"secur32.dll"));
    const decltype(&GetUserNameExW) getUserNameEx = FunctionIn(secur32.get(), "GetUserNameExW");
    ULONG size = 0;  // then the length the name needs, with its terminating null
    if (!getUserNameEx) return std::wstring();
    getUserNameEx(NameSamCompatible, nullptr, &size);
    std::wstring name(size, L'\0');
    if (size == 0 || !getUserNameEx(NameSamCompatible, name.data(), &size)) return std::wstring();
    name.resize(size);
    return name;
}

// The session is asked, not its shell: another account may not open the shell's process.
// The name comes with its domain, as a local and a domain account may share it
// (WTSQuerySessionInformationW and WTSFreeMemory: Windows Vista).
std::wstring sessionAccount() {
    const UniqueModule wtsapi32(loadSystemLibrary(L"wtsapi32.dll"));
    const decltype(&WTSQuerySessionInformationW) query = FunctionIn(wtsapi32.get(), "WTSQuerySessionInformationW");
    const decltype(&WTSFreeMemory) release = FunctionIn(wtsapi32.get(), "WTSFreeMemory");
    if (!query || !release) return std::wstring();
    // One text of this session's; "" for none, or where it cannot be asked.
    const auto sessionText = [&](WTS_INFO_CLASS what) {
        LPWSTR text = nullptr;
        DWORD bytes = 0;
        if (!query(WTS_CURRENT_SERVER_HANDLE, WTS_CURRENT_SESSION, what, &text, &bytes) || !text)
            return std::wstring();
        const std::unique_ptr<WCHAR, decltype(release)> owned(text, release);
        return std::wstring(text);
    };
    const std::wstring user = sessionText(WTSUserName), domain = sessionText(WTSDomainName);
    if (user.empty() || domain.empty()) return std::wstring();
    return domain + L"\\" + user;
}

// Windows compares account names without regard to case, and Windows 7 and 8 name the
// session's in upper case; ordinal, as the user's locale has no say in it.
bool sameAccount(const std::wstring& one, const std::wstring& other) {
    return CompareStringOrdinal(one.c_str(), static_cast<int>(one.size()), other.c_str(),
                                static_cast<int>(other.size()), TRUE) == CSTR_EQUAL;
}

}  // namespace

AccountSeams systemAccounts() {
    return {processAccount, sessionAccount};
}

std::wstring captionForAccount(const AccountSeams& seams) {
    const std::wstring process = seams.processAccount(), session = seams.sessionAccount();
    // Elevated under the same account, the settings are still the signed-in user's.
    if (process.empty() || session.empty() || sameAccount(process, session)) return kWindowCaption;
    return kWindowCaption + std::wstring(L" \u2013 Benutzer ") + process;
}

std::wstring windowCaptionForAccount() {
    return captionForAccount(systemAccounts());
}
