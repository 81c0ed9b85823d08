#include <gtest/gtest.h>

#include <vector>

#include "schemas/ActiveSchema.h"
#include "schemas/SchemaTable.h"

TEST(ActiveSchema, NamesEveryMatchingSchema) {
    SchemaTable table;
    table.sysPaths = {L"C:\\Sys", L"leer", L"c:\\sys\\", L"C:\\Sys", L"D:\\Sys", L"leer"};
    table.comPaths = {L"D:\\Com", L"leer", L"D:\\COM", L"D:\\Anders", L"D:\\Com", L"leer"};
    EXPECT_EQ(matchingSchemas(table, {L"C:\\Sys", L"D:\\Com"}), (std::vector<int>{0, 2}));
}
