// An in-memory registry with the system's rules (names compared without regard to case,
// parents created with their keys, a key with sub keys cannot be deleted) and locks.
#pragma once

#include <map>
#include <set>
#include <string>
#include <utility>

#include "core/registry.h"
#include "core/text.h"

namespace kivo::testing {

class MemoryRegistry : public Registry {
  using Path = const std::string&;

 public:
  std::unique_ptr<RegistryKey> OpenKey(RegistryRoot root, Path subKey,
                                       RegistryAccess access) override;
  std::unique_ptr<RegistryKey> CreateKey(RegistryRoot root, Path subKey) override;

  // Direct access for arranging and checking a test. Put creates the key when missing.
  void Put(RegistryRoot root, Path subKey, Path name, RegistryData data);
  std::optional<RegistryData> Get(RegistryRoot root, Path subKey, Path name) const;
  bool HasKey(RegistryRoot root, Path subKey) const {
    const std::string path = Normalize(subKey);
    return root != RegistryRoot::None && (path.empty() || keys_.contains({root, path}));
  }
  // The key and everything below it refuse to be opened for writing or created.
  void Lock(RegistryRoot root, Path subKey) { locks_.insert({root, Normalize(subKey)}); }

  // Every key with its values, to compare the whole registry before and after a call.
  using KeyId = std::pair<RegistryRoot, std::string>;
  using Values = std::map<std::string, RegistryData>;
  std::map<KeyId, Values> Contents() const { return keys_; }

  int writeCount = 0;  // successful changes of any kind

 private:
  class Key;
  static std::string Normalize(Path subKey) {
    std::string key = AsciiUpper(subKey);
    while (!key.empty() && key.back() == '\\') key.pop_back();
    return key;
  }
  bool Locked(const KeyId& id) const;
  bool HasChildren(const KeyId& id) const;
  int AddKeyLevels(const KeyId& id);

  std::map<KeyId, Values> keys_;  // ids and value names upper-cased
  std::set<KeyId> locks_;
};

}  // namespace kivo::testing
