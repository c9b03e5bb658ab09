#include "costing/CostingFields.h"

#include <gtest/gtest.h>

#include "storage/Settings.h"

#include "support/MemoryRegistry.h"

namespace tallora {
namespace {

constexpr auto User = RegistryRoot::CurrentUser;

// A registry whose key cannot be created.
class LockedRegistry : public MemoryRegistry {
public:
    bool CreateKey(RegistryRoot, const std::string&) override { return false; }
};

TEST(ChargeNames, RenamesAreTrimmedOrResetAndCopiedToTheRegistry) {
    EXPECT_EQ(RenamedCharge(1, "\t\x01Hot dip  galv\r\n\x7F"), "Hot dip  galv");
    // Letters beyond ASCII are never trimmed, at either end.
    EXPECT_EQ(RenamedCharge(2, " \xC3\x96lfarbe \xC3\xA9 "), "\xC3\x96lfarbe \xC3\xA9");
    EXPECT_EQ(RenamedCharge(1, ""), "Other Charges 1");
    EXPECT_EQ(RenamedCharge(2, "\t\r\n"), "Other Charges 2");

    MemoryRegistry store;
    CostingSettings settings;
    settings.OtherName2 = "Painting";
    LoadChargeNames(store, settings);  // no key: nothing changes
    EXPECT_EQ(settings.OtherName2, "Painting");
    store.CreateKey(User, MainKey);
    store.WriteString(User, MainKey, "OtherName1", "Galvanising");
    store.WriteInteger(User, MainKey, "OtherName3", 7);  // not a string: as good as missing
    LoadChargeNames(store, settings);
    EXPECT_EQ(settings.OtherName1, "Galvanising");
    EXPECT_EQ(settings.OtherName2, "Painting");
    EXPECT_EQ(settings.OtherName3, "Other Charges 3");

    LockedRegistry locked;
    EXPECT_NO_THROW(WriteChargeNames(locked, settings));
    EXPECT_FALSE(locked.KeyExists(User, MainKey));
}

}  // namespace
}  // namespace tallora
