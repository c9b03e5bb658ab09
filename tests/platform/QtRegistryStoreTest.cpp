#include "platform/QtRegistryStore.h"

#include <gtest/gtest.h>

#include <QFile>

#include "support/StorageTestSupport.h"

namespace tallora {
namespace {

using testing::TempFolder;
constexpr auto User = RegistryRoot::CurrentUser;

QString IniIn(const TempFolder& temp) { return QString::fromStdString(temp.File("Tallora.conf")); }

TEST(QtRegistryStore, ValuesKeepTheirTypesAcrossSessionsAndKeysGoWithTheirSubKeys) {
    TempFolder temp;
    {
        QtRegistryStore store(IniIn(temp));
        EXPECT_FALSE(store.KeyExists(User, MainKey));
        ASSERT_TRUE(store.CreateKey(User, MainKey));
        EXPECT_TRUE(store.KeyExists(User, MainKey));
        EXPECT_TRUE(store.WriteString(User, MainKey, "DataDir", "/home/ann/Cutting Lists £"));
        EXPECT_TRUE(store.WriteInteger(User, MainKey, "Kerf", -4));
        ASSERT_TRUE(store.CreateKey(User, AutoSaveKey));
        EXPECT_TRUE(store.WriteBinary(User, AutoSaveKey, "Weight", {0, 1, 0xFF, 0x80, 7, 0, 0, 9}));
        EXPECT_FALSE(store.WriteString(User, MruKey, "File0", "x"));  // no such key
    }
    QtRegistryStore store(IniIn(temp));
    EXPECT_EQ(store.ReadString(User, MainKey, "DataDir"), "/home/ann/Cutting Lists £");
    EXPECT_EQ(store.ReadInteger(User, MainKey, "Kerf"), -4);
    EXPECT_EQ(store.ReadBinary(User, AutoSaveKey, "Weight"),
              (std::vector<std::uint8_t>{0, 1, 0xFF, 0x80, 7, 0, 0, 9}));
    EXPECT_TRUE(store.KeyExists(User, AutoSaveKey));
    // A value of another type counts as absent.
    EXPECT_FALSE(store.ReadInteger(User, MainKey, "DataDir").has_value());
    EXPECT_FALSE(store.ReadString(User, AutoSaveKey, "Weight").has_value());
    EXPECT_FALSE(store.ReadBinary(User, MainKey, "Kerf").has_value());
    EXPECT_FALSE(store.ValueExists(User, MainKey, "Trim"));

    // Deleting a key takes its values and sub-keys.
    store.CreateKey(User, MruKey);
    store.WriteInteger(User, MruKey, "Count", 1);
    EXPECT_TRUE(store.DeleteKey(User, AutoSaveKey));
    EXPECT_FALSE(store.KeyExists(User, AutoSaveKey));
    EXPECT_EQ(store.ReadInteger(User, MainKey, "Kerf"), -4);
    EXPECT_FALSE(store.DeleteKey(User, AutoSaveKey));
    EXPECT_TRUE(store.DeleteKey(User, MainKey));
    EXPECT_FALSE(store.KeyExists(User, MainKey));
    EXPECT_FALSE(store.KeyExists(User, MruKey));

    // Nothing outside the program's key, and the machine root is read only.
    EXPECT_FALSE(store.CreateKey(User, "Software\\Other"));
    EXPECT_FALSE(store.CreateKey(RegistryRoot::LocalMachine, AppPathsKey));
    EXPECT_FALSE(store.WriteString(RegistryRoot::LocalMachine, AppPathsKey, "Path", "x"));
}

}  // namespace
}  // namespace tallora
