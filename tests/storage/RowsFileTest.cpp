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

// UTF-8 is read as it is and other text as Windows-1252; a file too large is refused without
// reading it, and one that cannot be read gives the system's reason.
TEST(ReadRowsFile, ReadsUtf8AsItIsAndOtherTextAsWindows1252) {
    TempFolder temp;
    const std::string utf8 = temp.File("rows.csv");
    WriteBytes(utf8, "Qty,Length,Mark\r\n2,1200,T\xC3\xBCr\r\n");
    std::string error;
    EXPECT_EQ(ReadRowsFile(utf8, error), "Qty,Length,Mark\r\n2,1200,T\xC3\xBCr\r\n") << error;
    const std::string cp1252 = temp.File("rows.txt");
    WriteBytes(cp1252, "2\t1200\tT\xFCr \xA3");
    const auto converted = ReadRowsFile(cp1252, error);
    ASSERT_TRUE(converted.has_value()) << error;
    EXPECT_EQ(RowsFromText(*converted).Rows.at(0).Mark, "T\xC3\xBCr \xC2\xA3");

    std::filesystem::resize_file(utf8, MaxRowsFileBytes + 1);
    EXPECT_FALSE(ReadRowsFile(utf8, error).has_value());
    EXPECT_EQ(error, "The file " + utf8 + " is larger than 10 MB: it is not a list of rows.");
    std::filesystem::resize_file(utf8, MaxRowsFileBytes);  // exactly the limit is still read
    error.clear();
    EXPECT_TRUE(ReadRowsFile(utf8, error).has_value());
    EXPECT_EQ(error, "");

    const std::string missing = temp.File("missing.csv");
    EXPECT_FALSE(ReadRowsFile(missing, error).has_value());
    EXPECT_EQ(error, "The file " + missing + " could not be read:\r\n" + std::strerror(ENOENT));
    EXPECT_FALSE(ReadRowsFile(temp.Path().string(), error).has_value());
    EXPECT_EQ(error, "The file " + temp.Path().string() + " could not be read:\r\n" +
                         std::strerror(EISDIR));
}

}  // namespace
}  // namespace tallora
