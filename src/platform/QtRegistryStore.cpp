#include "platform/QtRegistryStore.h"

#include <QByteArray>

namespace tallora {

namespace {

QString Group(const std::string& path) {
    return QString::fromStdString(path).replace(QLatin1Char('\\'), QLatin1Char('/'));
}

// Machine keys: only Windows has them.
std::unique_ptr<QSettings> MachineKey(const std::string& key) {
#if defined(Q_OS_WIN)
    return std::make_unique<QSettings>("HKEY_LOCAL_MACHINE\\" + QString::fromStdString(key),
                                       QSettings::NativeFormat);
#else
    (void)key;
    return nullptr;
#endif
}

}  // namespace

QtRegistryStore::QtRegistryStore()
    : user_(std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                        QStringLiteral("Vantorel"), QStringLiteral("Tallora"))) {
    user_->setFallbacksEnabled(false);
}

QtRegistryStore::QtRegistryStore(const QString& iniFile)
    : user_(std::make_unique<QSettings>(iniFile, QSettings::IniFormat)) {
    user_->setFallbacksEnabled(false);
}

std::optional<QString> QtRegistryStore::UserGroup(const std::string& key) const {
    if (key.size() < MainKey.size() ||
        QString::fromStdString(key.substr(0, MainKey.size()))
                .compare(QString::fromStdString(MainKey), Qt::CaseInsensitive) != 0) {
        return std::nullopt;
    }
    if (key.size() == MainKey.size()) return QString();
    if (key[MainKey.size()] != '\\') return std::nullopt;
    return Group(key.substr(MainKey.size() + 1));
}

bool QtRegistryStore::KeyExists(RegistryRoot root, const std::string& key) const {
    if (root == RegistryRoot::LocalMachine) {
        const auto machine = MachineKey(key);
        return machine && !machine->allKeys().isEmpty();
    }
    const auto group = UserGroup(key);
    if (!group) return false;
    if (created_.count(*group) != 0) return true;
    user_->beginGroup(*group);
    const bool exists = !user_->childKeys().isEmpty() || !user_->childGroups().isEmpty();
    user_->endGroup();
    return exists;
}

bool QtRegistryStore::CreateKey(RegistryRoot root, const std::string& key) {
    if (root == RegistryRoot::LocalMachine) return KeyExists(root, key);
    const auto group = UserGroup(key);
    if (!group) return false;
    created_.insert(*group);
    return true;
}

bool QtRegistryStore::DeleteKey(RegistryRoot root, const std::string& key) {
    if (root == RegistryRoot::LocalMachine) return false;
    const auto group = UserGroup(key);
    if (!group || !KeyExists(root, key)) return false;
    if (group->isEmpty()) {
        user_->clear();
        created_.clear();
    } else {
        user_->remove(*group);
        const QString prefix = *group + QLatin1Char('/');
        for (auto it = created_.begin(); it != created_.end();) {
            it = (*it == *group || it->startsWith(prefix)) ? created_.erase(it) : std::next(it);
        }
    }
    user_->sync();
    return user_->status() == QSettings::NoError;
}

QVariant QtRegistryStore::Read(RegistryRoot root, const std::string& key,
                               const std::string& name) const {
    const QString valueName = QString::fromStdString(name);
    if (root == RegistryRoot::LocalMachine) {
        const auto machine = MachineKey(key);
        return machine ? machine->value(valueName) : QVariant();
    }
    const auto group = UserGroup(key);
    if (!group) return {};
    return user_->value(group->isEmpty() ? valueName : *group + QLatin1Char('/') + valueName);
}

bool QtRegistryStore::ValueExists(RegistryRoot root, const std::string& key,
                                  const std::string& name) const {
    return Read(root, key, name).isValid();
}

std::optional<std::string> QtRegistryStore::ReadString(RegistryRoot root, const std::string& key,
                                                       const std::string& name) const {
    const QVariant value = Read(root, key, name);
    if (!value.isValid() || value.typeId() == QMetaType::QByteArray ||
        !value.canConvert<QString>()) {
        return std::nullopt;
    }
    return value.toString().toStdString();
}

std::optional<std::int32_t> QtRegistryStore::ReadInteger(RegistryRoot root, const std::string& key,
                                                         const std::string& name) const {
    const QVariant value = Read(root, key, name);
    if (!value.isValid() || value.typeId() == QMetaType::QByteArray) return std::nullopt;
    // A settings file gives numbers back as text: a text that is not a whole number is of
    // another type.
    bool ok = false;
    const int number =
        value.typeId() == QMetaType::QString ? value.toString().toInt(&ok, 10) : value.toInt(&ok);
    return ok ? std::optional<std::int32_t>(number) : std::nullopt;
}

std::optional<std::vector<std::uint8_t>> QtRegistryStore::ReadBinary(
    RegistryRoot root, const std::string& key, const std::string& name) const {
    const QVariant value = Read(root, key, name);
    if (value.typeId() != QMetaType::QByteArray) return std::nullopt;
    const QByteArray bytes = value.toByteArray();
    return std::vector<std::uint8_t>(bytes.begin(), bytes.end());
}

bool QtRegistryStore::Write(RegistryRoot root, const std::string& key, const std::string& name,
                            const QVariant& value) {
    if (root == RegistryRoot::LocalMachine || !KeyExists(root, key)) return false;
    const auto group = UserGroup(key);
    const QString valueName = QString::fromStdString(name);
    user_->setValue(group->isEmpty() ? valueName : *group + QLatin1Char('/') + valueName, value);
    user_->sync();
    return user_->status() == QSettings::NoError;
}

bool QtRegistryStore::WriteString(RegistryRoot root, const std::string& key,
                                  const std::string& name, const std::string& value) {
    return Write(root, key, name, QString::fromStdString(value));
}

bool QtRegistryStore::WriteInteger(RegistryRoot root, const std::string& key,
                                   const std::string& name, std::int32_t value) {
    return Write(root, key, name, static_cast<int>(value));
}

bool QtRegistryStore::WriteBinary(RegistryRoot root, const std::string& key,
                                  const std::string& name, const std::vector<std::uint8_t>& value) {
    return Write(root, key, name,
                 QByteArray(reinterpret_cast<const char*>(value.data()),
                            static_cast<qsizetype>(value.size())));
}

}  // namespace tallora
