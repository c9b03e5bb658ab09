#pragma once

#include <QSettings>
#include <QString>
#include <memory>
#include <set>

#include "storage/RegistryStore.h"

namespace tallora {

// The registry through QSettings. The current user's key "Software\Vantorel\Tallora" is the
// QSettings of organisation "Vantorel" and application "Tallora" in its native format: on Windows
// that very registry key, elsewhere a file in the user's configuration folder; its sub-keys are
// groups. The machine root is read only: on Windows the registry's, elsewhere it holds nothing.
class QtRegistryStore : public RegistryStore {
public:
    QtRegistryStore();
    // The current user's key in an INI file of its own (tests point it at a temporary folder).
    explicit QtRegistryStore(const QString& iniFile);

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

private:
    // The QSettings group of a key, or nothing when the key lies outside the stores.
    std::optional<QString> UserGroup(const std::string& key) const;
    QVariant Read(RegistryRoot root, const std::string& key, const std::string& name) const;
    bool Write(RegistryRoot root, const std::string& key, const std::string& name,
               const QVariant& value);

    std::unique_ptr<QSettings> user_;
    // Keys created in this session that hold no value yet (a settings file cannot show them).
    std::set<QString> created_;
};

}  // namespace tallora
