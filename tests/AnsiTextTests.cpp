#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "store/AnsiText.h"

// The system's "Unicode UTF-8 for worldwide language support" option makes the ANSI
// code page 65001; the conversions must then be exact UTF-8 both ways.
TEST(AnsiText, Utf8CodePageRoundTripsAndRefusesBrokenSurrogates) {
    const std::wstring text = L"C:\\J\u00F6rg\\\u041C\u043E\u0434\u0443\u043B\u0438";
    const auto bytes = toAnsiExact(text, CP_UTF8);
    ASSERT_TRUE(bytes);
    EXPECT_EQ(*bytes, "C:\\J\xC3\xB6rg\\\xD0\x9C\xD0\xBE\xD0\xB4\xD1\x83\xD0\xBB\xD0\xB8");
    EXPECT_EQ(fromAnsi(*bytes, CP_UTF8), text);
    for (const std::wstring& broken :
         {std::wstring(L"C:\\\xD800"), std::wstring(L"C:\\\xDC00x"), std::wstring(L"\xDBFF")})
        EXPECT_FALSE(toAnsiExact(broken, CP_UTF8)) << "a broken surrogate was converted";
}

TEST(AnsiText, SingleByteCodePageRefusesWhatItLacks) {
    EXPECT_EQ(toAnsiExact(L"C:\\M\u00FCll", 1252), std::optional<std::string>("C:\\M\xFCll"));
    EXPECT_EQ(fromAnsi("C:\\M\xFCll", 1252), L"C:\\M\u00FCll");
    EXPECT_FALSE(toAnsiExact(L"C:\\\u041C", 1252));  // would be "?"
    EXPECT_FALSE(toAnsiExact(L"C:\\\u0141", 1252));  // would be "L" by best fit
}
