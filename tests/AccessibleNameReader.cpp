// Reads what a screen reader reads: the MSAA name of each window given on the command
// line (hexadecimal handles), from this second process, one UTF-8 line each.
#include <windows.h>

#include <oleacc.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

std::wstring accessibleName(HWND window) {
    IAccessible* accessible = nullptr;
    // __uuidof, not IID_IAccessible: MinGW's import library resolves that to a thunk.
    if (FAILED(AccessibleObjectFromWindow(window, OBJID_CLIENT, __uuidof(IAccessible),
                                          reinterpret_cast<void**>(&accessible))))
        return L"<no object>";
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR name = nullptr;
    const HRESULT result = accessible->get_accName(self, &name);
    std::wstring text = SUCCEEDED(result) && name ? std::wstring(name, SysStringLen(name)) : L"<no name>";
    SysFreeString(name);
    accessible->Release();
    return text;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    for (int i = 1; i < argc; ++i) {
        const std::wstring name =
            accessibleName(reinterpret_cast<HWND>(static_cast<ULONG_PTR>(std::wcstoull(argv[i], nullptr, 16))));
        std::string utf8(static_cast<size_t>(name.size()) * 4 + 1, '\0');
        utf8.resize(static_cast<size_t>(WideCharToMultiByte(CP_UTF8, 0, name.data(), static_cast<int>(name.size()),
                                                            utf8.data(), static_cast<int>(utf8.size()), nullptr,
                                                            nullptr)));
        std::printf("%s\n", utf8.c_str());
    }
    std::fflush(stdout);
    CoUninitialize();
    return 0;
}
