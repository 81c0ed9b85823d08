#include "ui/AccountCaption.h"

#include <sddl.h>

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

std::optional<SidBytes> shellUser() {
    DWORD processId = 0;
    HWND shell = GetShellWindow();
    if (!shell || !GetWindowThreadProcessId(shell, &processId)) return std::nullopt;
    const UniqueKernelHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
    if (!process) return std::nullopt;
    return tokenUser(process.get());
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
    return {[] { return tokenUser(GetCurrentProcess()); }, shellUser, accountName};
}

std::wstring captionForAccount(const AccountSeams& seams) {
    std::optional<SidBytes> process = seams.processUser(), shell = seams.shellUser();
    // Elevated under the same account, the settings are still the desktop user's.
    if (!process || !shell || EqualSid(process->data(), shell->data())) return kWindowCaption;
    return kWindowCaption + std::wstring(L" \u2013 Benutzer ") + seams.accountName(process->data());
}

std::wstring windowCaptionForAccount() {
    return captionForAccount(systemAccounts());
}
