#pragma once

#include <cctype>
#include <map>
#include <variant>

#include "storage/RegistryStore.h"

namespace tallora {

// A registry held in memory, for the tests and the screenshot tool. Key and value names ignore
// letter case; the machine root is read only.
class MemoryRegistry : public RegistryStore {
    using Root = RegistryRoot;
    using Text = const std::string&;
    using Bytes = std::vector<std::uint8_t>;

public:
    bool KeyExists(Root root, Text key) const override { return Keys(root).count(Fold(key)) != 0; }
    bool CreateKey(Root root, Text key) override {
        if (root == Root::LocalMachine) return KeyExists(root, key);
        const std::string path = Fold(key);
        for (size_t at = path.find('\\'); at != std::string::npos; at = path.find('\\', at + 1))
            user_[path.substr(0, at)];
        user_[path];
        return true;
    }
    bool DeleteKey(Root root, Text key) override {
        const std::string path = Fold(key);
        if (root == Root::LocalMachine || user_.erase(path) == 0) return false;
        std::erase_if(user_, [&](const auto& k) { return k.first.rfind(path + "\\", 0) == 0; });
        return true;
    }
    bool ValueExists(Root root, Text key, Text name) const override {
        return Find(root, key, name) != nullptr;
    }
    std::optional<std::string> ReadString(Root root, Text key, Text name) const override {
        return Read<std::string>(root, key, name);
    }
    std::optional<std::int32_t> ReadInteger(Root root, Text key, Text name) const override {
        return Read<std::int32_t>(root, key, name);
    }
    std::optional<Bytes> ReadBinary(Root root, Text key, Text name) const override {
        return Read<Bytes>(root, key, name);
    }
    bool WriteString(Root root, Text key, Text name, Text value) override {
        return Write(root, key, name, value);
    }
    bool WriteInteger(Root root, Text key, Text name, std::int32_t value) override {
        return Write(root, key, name, value);
    }
    bool WriteBinary(Root root, Text key, Text name, const Bytes& value) override {
        return Write(root, key, name, value);
    }

private:
    using Value = std::variant<std::string, std::int32_t, Bytes>;
    using KeyMap = std::map<std::string, std::map<std::string, Value>>;  // by lower-case path

    static std::string Fold(std::string text) {
        for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return text;
    }
    const KeyMap& Keys(Root root) const { return root == Root::CurrentUser ? user_ : machine_; }
    const Value* Find(Root root, Text key, Text name) const {
        const auto k = Keys(root).find(Fold(key));
        if (k == Keys(root).end()) return nullptr;
        const auto v = k->second.find(Fold(name));
        return v == k->second.end() ? nullptr : &v->second;
    }
    // A value of another type counts as absent.
    template <typename T>
    std::optional<T> Read(Root root, Text key, Text name) const {
        const Value* v = Find(root, key, name);
        if (v == nullptr || !std::holds_alternative<T>(*v)) return std::nullopt;
        return std::get<T>(*v);
    }
    bool Write(Root root, Text key, Text name, Value value) {
        const auto k = user_.find(Fold(key));
        if (root == Root::LocalMachine || k == user_.end()) return false;
        k->second[Fold(name)] = std::move(value);
        return true;
    }

    KeyMap user_, machine_;
};

}  // namespace tallora
