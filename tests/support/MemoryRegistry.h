#pragma once

#include <map>
#include <variant>

#include "storage/RegistryStore.h"

namespace tallora {

// A registry held in memory: for tests and for the command line.
class MemoryRegistry : public RegistryStore {
public:
    using Value = std::variant<std::string, std::int32_t, std::vector<std::uint8_t>>;

    bool KeyExists(RegistryRoot root, const std::string& key) const override;
    bool CreateKey(RegistryRoot root, const std::string& key) override;
    bool DeleteKey(RegistryRoot root, const std::string& key) override;
    bool ValueExists(RegistryRoot root, const std::string& key,
                     const std::string& name) const override;
    std::optional<std::string> ReadString(RegistryRoot root, const std::string& key,
                                          const std::string& name) const override;
    std::optional<std::int32_t> ReadInteger(RegistryRoot root, const std::string& key,
                                            const std::string& name) const override;
    std::optional<std::vector<std::uint8_t>> ReadBinary(RegistryRoot root, const std::string& key,
                                                        const std::string& name) const override;
    bool WriteString(RegistryRoot root, const std::string& key, const std::string& name,
                     const std::string& value) override;
    bool WriteInteger(RegistryRoot root, const std::string& key, const std::string& name,
                      std::int32_t value) override;
    bool WriteBinary(RegistryRoot root, const std::string& key, const std::string& name,
                     const std::vector<std::uint8_t>& value) override;

    // Sets up the read-only machine root, as an installer would.
    void SetMachineValue(const std::string& key, const std::string& name, const std::string& value);
    // Removes one value (as a user editing the registry might).
    void DeleteValue(RegistryRoot root, const std::string& key, const std::string& name);

private:
    using Values = std::map<std::string, Value>;
    using Keys = std::map<std::string, Values>;  // by lower-case key path
    Keys& RootOf(RegistryRoot root) { return root == RegistryRoot::CurrentUser ? user_ : machine_; }
    const Keys& RootOf(RegistryRoot root) const {
        return root == RegistryRoot::CurrentUser ? user_ : machine_;
    }
    const Value* Find(RegistryRoot root, const std::string& key, const std::string& name) const;
    bool Write(RegistryRoot root, const std::string& key, const std::string& name, Value value);

    Keys user_;
    Keys machine_;
};

}  // namespace tallora
