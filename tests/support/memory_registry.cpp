#include "support/memory_registry.h"

#include <algorithm>

namespace kivo::testing {

class MemoryRegistry::Key : public RegistryKey {
 public:
  Key(MemoryRegistry& owner, KeyId id, bool writable)
      : owner_(owner), id_(std::move(id)), writable_(writable) {}

  std::optional<RegistryData> QueryValue(const std::string& name) const override {
    return owner_.Get(id_.first, id_.second, name);
  }
  bool SetValue(const std::string& name, std::uint32_t type, const std::string& bytes) override {
    Values* values = Find(true);
    if (!writable_ || !values) return false;
    (*values)[AsciiUpper(name)] = RegistryData{type, bytes};
    return ++owner_.writeCount > 0;
  }
  bool DeleteValue(const std::string& name) override {
    Values* values = Find(false);
    if (!writable_ || !values || values->erase(AsciiUpper(name)) == 0) return false;
    return ++owner_.writeCount > 0;
  }
  bool DeleteSubKey(const std::string& name) override {
    if (!writable_ || (!id_.second.empty() && !Find(false))) return false;
    const KeyId child{id_.first, Normalize(id_.second.empty() ? name : id_.second + "\\" + name)};
    const auto it = owner_.keys_.find(child);
    if (child.second.empty() || it == owner_.keys_.end() || owner_.HasChildren(child) ||
        owner_.Locked(child)) {
      return false;
    }
    owner_.keys_.erase(it);
    return ++owner_.writeCount > 0;
  }

 private:
  // Looked up at every call: the key may have been deleted while this handle was open.
  // A root always exists; it gets an entry when it first receives a value.
  Values* Find(bool forWriting) const {
    const auto it = owner_.keys_.find(id_);
    if (it != owner_.keys_.end()) return &it->second;
    return id_.second.empty() && forWriting ? &owner_.keys_[id_] : nullptr;
  }

  MemoryRegistry& owner_;
  KeyId id_;
  bool writable_;
};

bool MemoryRegistry::Locked(const KeyId& id) const {
  return std::any_of(locks_.begin(), locks_.end(), [&](const KeyId& lock) {
    return lock.first == id.first &&
           (lock.second.empty() || (id.second + "\\").starts_with(lock.second + "\\"));
  });
}

bool MemoryRegistry::HasChildren(const KeyId& id) const {
  return std::any_of(keys_.begin(), keys_.end(), [&](const auto& key) {
    return key.first.first == id.first && key.first.second.starts_with(id.second + "\\");
  });
}

int MemoryRegistry::AddKeyLevels(const KeyId& id) {
  // Parents first, as the system creates every missing level.
  int added = 0;
  for (std::size_t end = 0; end != std::string::npos;) {
    end = id.second.find('\\', end + 1);
    const KeyId level{id.first, id.second.substr(0, end)};
    added += !level.second.empty() && keys_.emplace(level, Values{}).second;
  }
  return added;
}

std::unique_ptr<RegistryKey> MemoryRegistry::OpenKey(RegistryRoot root, Path subKey,
                                                     RegistryAccess access) {
  const KeyId id{root, Normalize(subKey)};
  if (root == RegistryRoot::None || (!id.second.empty() && !keys_.contains(id))) return nullptr;
  const bool writable = access == RegistryAccess::Write;
  if (writable && Locked(id)) return nullptr;
  return std::make_unique<Key>(*this, id, writable);
}

std::unique_ptr<RegistryKey> MemoryRegistry::CreateKey(RegistryRoot root, Path subKey) {
  const KeyId id{root, Normalize(subKey)};
  if (root == RegistryRoot::None || Locked(id)) return nullptr;
  writeCount += AddKeyLevels(id);
  return std::make_unique<Key>(*this, id, true);
}

void MemoryRegistry::Put(RegistryRoot root, Path subKey, Path name, RegistryData data) {
  const KeyId id{root, Normalize(subKey)};
  AddKeyLevels(id);
  keys_[id][AsciiUpper(name)] = std::move(data);
}

std::optional<RegistryData> MemoryRegistry::Get(RegistryRoot root, Path subKey, Path name) const {
  const auto key = keys_.find({root, Normalize(subKey)});
  if (key == keys_.end() || !key->second.contains(AsciiUpper(name))) return std::nullopt;
  return key->second.at(AsciiUpper(name));
}

}  // namespace kivo::testing
