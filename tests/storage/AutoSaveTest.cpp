#include "job/Capacities.h"
#include "storage/AutoSave.h"
#include "support/TestJob.h"

#include <gtest/gtest.h>

#include "support/MemoryRegistry.h"

namespace tallora {
namespace {

constexpr auto User = RegistryRoot::CurrentUser;

class AutoSaveTest : public ::testing::Test {
protected:
    AutoSaveTest() { store.CreateKey(User, MainKey); }

    MemoryRegistry store;
};

TEST_F(AutoSaveTest, ADamagedKeyNeverStopsTheStart) {
    store.CreateKey(User, AutoSaveKey);
    store.WriteInteger(User, AutoSaveKey, "SCount", 5);  // more rows than the texts hold
    store.WriteString(User, AutoSaveKey, "SL", "6000;");
    store.WriteString(User, AutoSaveKey, "SQ", "-1;");
    store.WriteInteger(User, AutoSaveKey, "OCount", 2000000);
    store.WriteString(User, AutoSaveKey, "OL", std::string(3000, ';'));
    store.WriteString(User, AutoSaveKey, "OQ", std::string(3000, ';'));
    store.WriteInteger(User, AutoSaveKey, "Kerf", 50);
    store.WriteString(User, AutoSaveKey, "Trim", "wrong type");
    store.WriteBinary(User, AutoSaveKey, "Weight", {1, 2, 3});

    TestJob job;
    job.Input.Costing.CCutValue = 9;
    ASSERT_TRUE(HasAutoSavedInputs(store));
    RecoverInputs(store, job.Input);
    EXPECT_EQ(job.Input.StockRows, (std::vector<ListRow>{{"*", "6000"}}));
    EXPECT_EQ(job.Input.CutRows.size(), static_cast<size_t>(MaxCutRows));
    EXPECT_EQ(job.Input.Allowances.Kerf, 10);
    EXPECT_EQ(job.Input.Allowances.Trim, 0);
    EXPECT_EQ(job.Input.Allowances.Hold, 0);
    EXPECT_EQ(job.Input.Section.Weight, 0.0);
    EXPECT_EQ(job.Input.Section.Cost, 0.0);
    EXPECT_EQ(job.Input.Costing.CCutValue, 9);  // a missing charge keeps its value
}

}  // namespace
}  // namespace tallora
