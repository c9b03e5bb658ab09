#include "support/MemoryRegistry.h"

#include <algorithm>
#include <cctype>

namespace tallora {

namespace {

// Registry key and value names ignore letter case.
std::string Folded(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

}  // namespace

bool MemoryRegistry::KeyExists(RegistryRoot root, const std::string& key) const {
    return RootOf(root).count(Folded(key)) != 0;
}

bool MemoryRegistry::CreateKey(RegistryRoot root, const std::string& key) {
    if (root == RegistryRoot::LocalMachine) return KeyExists(root, key);
    std::string path = Folded(key);
    // Parents too.
    for (size_t at = path.find('\\'); at != std::string::npos; at = path.find('\\', at + 1)) {
        user_[path.substr(0, at)];
    }
    user_[path];
    return true;
}

bool MemoryRegistry::DeleteKey(RegistryRoot root, const std::string& key) {
    if (root == RegistryRoot::LocalMachine) return false;
    const std::string path = Folded(key);
    if (user_.erase(path) == 0) return false;
    const std::string prefix = path + "\\";
    for (auto it = user_.lower_bound(prefix);
         it != user_.end() && it->first.rfind(prefix, 0) == 0;) {
        it = user_.erase(it);
    }
    return true;
}

const MemoryRegistry::Value* MemoryRegistry::Find(RegistryRoot root, const std::string& key,
                                                  const std::string& name) const {
    const Keys& keys = RootOf(root);
    const auto k = keys.find(Folded(key));
    if (k == keys.end()) return nullptr;
    const auto v = k->second.find(Folded(name));
    return v == k->second.end() ? nullptr : &v->second;
}

bool MemoryRegistry::ValueExists(RegistryRoot root, const std::string& key,
                                 const std::string& name) const {
    return Find(root, key, name) != nullptr;
}

std::optional<std::string> MemoryRegistry::ReadString(RegistryRoot root, const std::string& key,
                                                      const std::string& name) const {
    const Value* v = Find(root, key, name);
    if (v == nullptr || !std::holds_alternative<std::string>(*v)) return std::nullopt;
    return std::get<std::string>(*v);
}

std::optional<std::int32_t> MemoryRegistry::ReadInteger(RegistryRoot root, const std::string& key,
                                                        const std::string& name) const {
    const Value* v = Find(root, key, name);
    if (v == nullptr || !std::holds_alternative<std::int32_t>(*v)) return std::nullopt;
    return std::get<std::int32_t>(*v);
}

std::optional<std::vector<std::uint8_t>> MemoryRegistry::ReadBinary(RegistryRoot root,
                                                                    const std::string& key,
                                                                    const std::string& name) const {
    const Value* v = Find(root, key, name);
    if (v == nullptr || !std::holds_alternative<std::vector<std::uint8_t>>(*v)) return std::nullopt;
    return std::get<std::vector<std::uint8_t>>(*v);
}

bool MemoryRegistry::Write(RegistryRoot root, const std::string& key, const std::string& name,
                           Value value) {
    if (root == RegistryRoot::LocalMachine) return false;
    const auto k = user_.find(Folded(key));
    if (k == user_.end()) return false;
    k->second[Folded(name)] = std::move(value);
    return true;
}

bool MemoryRegistry::WriteString(RegistryRoot root, const std::string& key, const std::string& name,
                                 const std::string& value) {
    return Write(root, key, name, value);
}

bool MemoryRegistry::WriteInteger(RegistryRoot root, const std::string& key,
                                  const std::string& name, std::int32_t value) {
    return Write(root, key, name, value);
}

bool MemoryRegistry::WriteBinary(RegistryRoot root, const std::string& key, const std::string& name,
                                 const std::vector<std::uint8_t>& value) {
    return Write(root, key, name, value);
}

void MemoryRegistry::SetMachineValue(const std::string& key, const std::string& name,
                                     const std::string& value) {
    machine_[Folded(key)][Folded(name)] = value;
}

void MemoryRegistry::DeleteValue(RegistryRoot root, const std::string& key,
                                 const std::string& name) {
    auto& keys = RootOf(root);
    const auto k = keys.find(Folded(key));
    if (k != keys.end()) k->second.erase(Folded(name));
}

}  // namespace tallora
