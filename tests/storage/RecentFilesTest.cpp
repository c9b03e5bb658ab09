#include "storage/RecentFiles.h"

#include <gtest/gtest.h>

#include <set>

#include "support/MemoryRegistry.h"

namespace tallora {
namespace {

constexpr auto User = RegistryRoot::CurrentUser;

// Files that exist are those named in the set.
class RecentFilesTest : public ::testing::Test {
protected:
    MemoryRegistry store;
    std::set<std::string> present;
    RecentFiles mru{store, [this](const std::string& p) { return present.count(p) != 0; }};
};

TEST_F(RecentFilesTest, NewestFirstAtMostEightAndCaseInsensitiveRepeats) {
    mru.Load();
    auto menu = mru.MenuEntries();
    ASSERT_EQ(menu.size(), 1u);
    EXPECT_EQ(menu[0].Caption, "(Empty)");
    EXPECT_FALSE(menu[0].Enabled);

    for (int i = 1; i <= 9; ++i) mru.Add("/jobs/job" + std::to_string(i) + ".tlf");
    menu = mru.MenuEntries();
    ASSERT_EQ(menu.size(), 8u);
    EXPECT_EQ(menu[0].Caption, "&1 /jobs/job9.tlf");
    EXPECT_EQ(menu[7].Caption, "&8 /jobs/job2.tlf");
    EXPECT_EQ(menu[7].Position, 7);

    mru.Add("/JOBS/Job5.TLF");
    mru.Add("");
    EXPECT_EQ(mru.Paths().front(), "/JOBS/Job5.TLF");
    EXPECT_EQ(mru.Paths().size(), 8u);
    EXPECT_EQ(std::count(mru.Paths().begin(), mru.Paths().end(), "/jobs/job5.tlf"), 0);

    // The registry holds exactly the list.
    EXPECT_EQ(store.ReadInteger(User, MruKey, "Count"), 8);
    EXPECT_EQ(store.ReadString(User, MruKey, "File0"), "/JOBS/Job5.TLF");
    EXPECT_FALSE(store.ValueExists(User, MruKey, "File8"));
}

TEST_F(RecentFilesTest, AFileThatHasGoneIsRemovedWithAWarning) {
    present = {"/jobs/a.tlf"};
    mru.Add("/jobs/a.tlf");
    mru.Add("/jobs/b & c.tlf");
    EXPECT_EQ(mru.MenuEntries()[0].Caption, "&1 /jobs/b && c.tlf");
    EXPECT_EQ(mru.Check(1), RecentFiles::Reopen::Open);
    EXPECT_EQ(mru.Check(0), RecentFiles::Reopen::Missing);
    EXPECT_EQ(mru.Check(5), RecentFiles::Reopen::Nothing);
    EXPECT_EQ(mru.RemoveMissing(0),
              "That file could no longer be found and has been removed from the Reopen list:\r\n"
              "/jobs/b & c.tlf");
    EXPECT_EQ(mru.Paths(), std::vector<std::string>{"/jobs/a.tlf"});
    EXPECT_EQ(store.ReadInteger(User, MruKey, "Count"), 1);
}

}  // namespace
}  // namespace tallora
