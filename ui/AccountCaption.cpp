#include "ui/AccountCaption.h"

#include <sddl.h>
#include <wtsapi32.h>

#include "store/UniqueHandle.h"
#include "ui/Form.h"

namespace {

std::optional<SidBytes> tokenUser(HANDLE process) {
    UniqueKernelHandle token;
    if (!OpenProcessToken(process, TOKEN_QUERY, token.put())) return std::nullopt;
    DWORD size = 0;
    GetTokenInformation(token.get(), TokenUser, nullptr, 0, &size);
    std::vector<BYTE> buffer(size);  // aligned for TOKEN_USER, as new memory is
    if (size == 0 || !GetTokenInformation(token.get(), TokenUser, buffer.data(), size, &size)) return std::nullopt;
    const PSID sid = reinterpret_cast<const TOKEN_USER*>(buffer.data())->User.Sid;
    if (!IsValidSid(sid)) return std::nullopt;
    const auto* bytes = static_cast<const BYTE*>(sid);
    return SidBytes(bytes, bytes + GetLengthSid(sid));
}

// One text of this session's: its signed-in user's name or that user's domain; "" for
// none, or where it cannot be asked.
std::wstring sessionText(WTS_INFO_CLASS what) {
    UniqueWtsMemory text;
    DWORD bytes = 0;
    if (!WTSQuerySessionInformationW(WTS_CURRENT_SERVER_HANDLE, WTS_CURRENT_SESSION, what, text.put(), &bytes) || !text)
        return std::wstring();
    return text.get();
}

// The session is asked, not its shell: another account may not open the shell's process.
// The name is looked up with its domain, as a local and a domain account may share it.
std::optional<SidBytes> sessionUser() {
    const std::wstring user = sessionText(WTSUserName), domain = sessionText(WTSDomainName);
    if (user.empty() || domain.empty()) return std::nullopt;
    const std::wstring account = domain + L"\\" + user;
    DWORD sidSize = 0, domainLength = 0;
    SID_NAME_USE use{};
    LookupAccountNameW(nullptr, account.c_str(), nullptr, &sidSize, nullptr, &domainLength, &use);
    SidBytes sid(sidSize);
    std::wstring referencedDomain(domainLength, L'\0');
    if (sidSize == 0 || domainLength == 0 ||
        !LookupAccountNameW(nullptr, account.c_str(), sid.data(), &sidSize, referencedDomain.data(), &domainLength,
                            &use) ||
        use != SidTypeUser)
        return std::nullopt;
    return sid;
}

// As LookupAccountSidW names the account; where it cannot, the SID's own text still
// tells it apart.
std::wstring accountName(PSID user) {
    DWORD nameLength = 0, domainLength = 0;
    SID_NAME_USE use{};
    LookupAccountSidW(nullptr, user, nullptr, &nameLength, nullptr, &domainLength, &use);
    std::wstring name(nameLength, L'\0'), domain(domainLength, L'\0');
    if (nameLength > 0 &&
        LookupAccountSidW(nullptr, user, name.data(), &nameLength, domain.data(), &domainLength, &use)) {
        name.resize(nameLength);
        domain.resize(domainLength);
        return domain.empty() ? name : domain + L"\\" + name;
    }
    wchar_t* text = nullptr;
    if (!ConvertSidToStringSidW(user, &text)) return std::wstring();
    const UniqueLocalMemory owned(text);
    return text;
}

}  // namespace

AccountSeams systemAccounts() {
    return {[] { return tokenUser(GetCurrentProcess()); }, sessionUser, accountName};
}

std::wstring captionForAccount(const AccountSeams& seams) {
    std::optional<SidBytes> process = seams.processUser(), session = seams.sessionUser();
    // Elevated under the same account, the settings are still the signed-in user's.
    if (!process || !session || EqualSid(process->data(), session->data())) return kWindowCaption;
    return kWindowCaption + std::wstring(L" \u2013 Benutzer ") + seams.accountName(process->data());
}

std::wstring windowCaptionForAccount() {
    return captionForAccount(systemAccounts());
}
