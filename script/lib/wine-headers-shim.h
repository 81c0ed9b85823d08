// Included first into every file by script/check-headers, which compiles our code against
// Wine's Windows headers in place of MinGW-w64's. Each item bridges a place where those
// headers differ from the Windows SDK's (or do not fit MinGW-w64's runtime headers, which
// the check keeps), so that only what the SDK itself declares decides.

// The SDK's WCHAR is wchar_t; Wine's headers make it char16_t in C++ unless told that
// wchar_t has 16 bits, as it has on Windows.
#define WINE_UNICODE_NATIVE

// g++ defines __STDC__ and MSVC does not; seeing it, oaidl.h (the SDK's and Wine's alike)
// names VARIANT's unions. The SDK's own switch keeps them nameless, as MSVC has them.
#define _FORCENAMELESSUNION

// MinGW-w64's _mingw.h defines __uuidof with templates that only MinGW-w64's guiddef.h
// declares; Wine's guiddef.h, which replaces it, brings its own __uuidof where none is defined.
#include <_mingw.h>
#undef __uuidof

// Wine 8's psapi.h lacks PROCESS_MEMORY_COUNTERS_EX, which the SDK's psapi.h declares
// (DWORD and SIZE_T spelled out, as this comes before windows.h).
typedef struct _PROCESS_MEMORY_COUNTERS_EX {
    unsigned long cb, PageFaultCount;
    unsigned long long PeakWorkingSetSize, WorkingSetSize, QuotaPeakPagedPoolUsage, QuotaPagedPoolUsage,
        QuotaPeakNonPagedPoolUsage, QuotaNonPagedPoolUsage, PagefileUsage, PeakPagefileUsage, PrivateUsage;
} PROCESS_MEMORY_COUNTERS_EX, *PPROCESS_MEMORY_COUNTERS_EX;

// Wine 8's winuser.h lacks GetGuiResources' flags, which the SDK's winuser.h defines.
#define GR_GDIOBJECTS 0
#define GR_USEROBJECTS 1
