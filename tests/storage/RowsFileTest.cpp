#include "storage/RowsFile.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "entry/PastedRows.h"
#include "support/StorageTestSupport.h"

namespace tallora {
namespace {

using testing::TempFolder;
using testing::WriteBytes;

TEST(ReadRowsFile, ReadsUtf8AsItIsAndOtherTextAsWindows1252) {
    TempFolder temp;
    const std::string utf8 = temp.File("rows.csv");
    WriteBytes(utf8, "Qty,Length,Mark\r\n2,1200,T\xC3\xBCr\r\n");
    std::string error;
    const auto text = ReadRowsFile(utf8, error);
    ASSERT_TRUE(text.has_value()) << error;
    EXPECT_EQ(*text, "Qty,Length,Mark\r\n2,1200,T\xC3\xBCr\r\n");

    const std::string cp1252 = temp.File("rows.txt");
    WriteBytes(cp1252, "2\t1200\tT\xFCr \xA3");
    const auto converted = ReadRowsFile(cp1252, error);
    ASSERT_TRUE(converted.has_value()) << error;
    EXPECT_EQ(RowsFromText(*converted).Rows.at(0).Mark, "T\xC3\xBCr \xC2\xA3");
}

TEST(ReadRowsFile, AFileTooLargeIsRefusedWithoutReadingIt) {
    TempFolder temp;
    const std::string path = temp.File("huge.csv");
    WriteBytes(path, "1,100\n");
    std::filesystem::resize_file(path, MaxRowsFileBytes + 1);
    std::string error;
    EXPECT_FALSE(ReadRowsFile(path, error).has_value());
    EXPECT_EQ(error, "The file " + path + " is larger than 10 MB: it is not a list of rows.");

    // Exactly the limit is still read.
    std::filesystem::resize_file(path, MaxRowsFileBytes);
    error.clear();
    EXPECT_TRUE(ReadRowsFile(path, error).has_value());
    EXPECT_EQ(error, "");
}

TEST(ReadRowsFile, AFileThatCannotBeReadGivesTheSystemsReason) {
    TempFolder temp;
    std::string error;
    const std::string missing = temp.File("missing.csv");
    EXPECT_FALSE(ReadRowsFile(missing, error).has_value());
    EXPECT_EQ(error, "The file " + missing + " could not be read:\r\n" + std::strerror(ENOENT));

    EXPECT_FALSE(ReadRowsFile(temp.Path().string(), error).has_value());
    EXPECT_EQ(error, "The file " + temp.Path().string() + " could not be read:\r\n" +
                         std::strerror(EISDIR));
}

}  // namespace
}  // namespace tallora
