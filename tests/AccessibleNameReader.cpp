// Reads names as a screen reader does: the MSAA name of each window given on the
// command line (hexadecimal handles), from this second process, into a file of
// UTF-16 lines.
#include <windows.h>

#include <oleacc.h>

#include <cstdio>
#include <cwchar>
#include <string>

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) return 2;
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    std::wstring names;
    for (int i = 2; i < argc; ++i) {
        const auto window = reinterpret_cast<HWND>(static_cast<ULONG_PTR>(std::wcstoull(argv[i], nullptr, 16)));
        IAccessible* accessible = nullptr;
        BSTR name = nullptr;
        VARIANT self{};
        self.vt = VT_I4;
        self.lVal = CHILDID_SELF;
        // __uuidof, not IID_IAccessible: MinGW's import library resolves that to a thunk.
        if (SUCCEEDED(AccessibleObjectFromWindow(window, OBJID_CLIENT, __uuidof(IAccessible),
                                                 reinterpret_cast<void**>(&accessible)))) {
            accessible->get_accName(self, &name);
            accessible->Release();
        }
        names += (name ? std::wstring(name, SysStringLen(name)) : L"<no name>") + L"\n";
        SysFreeString(name);
    }
    FILE* out = _wfopen(argv[1], L"wb");
    if (!out) return 1;
    std::fwrite(names.data(), sizeof(wchar_t), names.size(), out);
    std::fclose(out);
    CoUninitialize();
    return 0;
}
