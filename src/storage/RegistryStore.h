#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tallora {

// Registry-like settings: keys named by backslash-separated paths under two roots, holding
// string, 32-bit and binary values. The machine root is read-only. A value read as the wrong
// type counts as absent.
enum class RegistryRoot { CurrentUser, LocalMachine };

class RegistryStore {
public:
    virtual ~RegistryStore() = default;

    virtual bool KeyExists(RegistryRoot root, const std::string& key) const = 0;
    // Creates the key and its missing parents; false when it cannot.
    virtual bool CreateKey(RegistryRoot root, const std::string& key) = 0;
    // Deletes the key with its values and sub-keys.
    virtual bool DeleteKey(RegistryRoot root, const std::string& key) = 0;

    virtual bool ValueExists(RegistryRoot root, const std::string& key,
                             const std::string& name) const = 0;
    virtual std::optional<std::string> ReadString(RegistryRoot root, const std::string& key,
                                                  const std::string& name) const = 0;
    virtual std::optional<std::int32_t> ReadInteger(RegistryRoot root, const std::string& key,
                                                    const std::string& name) const = 0;
    virtual std::optional<std::vector<std::uint8_t>> ReadBinary(RegistryRoot root,
                                                                const std::string& key,
                                                                const std::string& name) const = 0;

    // Writes into an existing key; false when the key does not exist or cannot be written.
    virtual bool WriteString(RegistryRoot root, const std::string& key, const std::string& name,
                             const std::string& value) = 0;
    virtual bool WriteInteger(RegistryRoot root, const std::string& key, const std::string& name,
                              std::int32_t value) = 0;
    virtual bool WriteBinary(RegistryRoot root, const std::string& key, const std::string& name,
                             const std::vector<std::uint8_t>& value) = 0;
};

// The program's keys.
inline const std::string MainKey = "Software\\Vantorel\\Tallora";
inline const std::string MruKey = MainKey + "\\MRU";
inline const std::string AutoSaveKey = MainKey + "\\AutoSave";
// Where the installer records the installation folder (machine root, value "Path").
inline const std::string AppPathsKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Tlora.exe";

}  // namespace tallora
