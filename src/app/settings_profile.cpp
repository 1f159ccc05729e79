#include "app/settings_profile.h"


namespace qlm::app {

std::u16string ReadString(ProfileStore& store, std::u16string_view section, std::u16string_view key,
                          std::u16string_view def) {
    auto v = store.Read(section, key);
    return v ? *v : std::u16string(def);
}

int ReadInt(ProfileStore& store, std::u16string_view section, std::u16string_view key, int def) {
    auto v = store.Read(section, key);
    if (!v) return def;
    return ParseProfileInt(*v).value_or(def);
}

bool ReadBool(ProfileStore& store, std::u16string_view section, std::u16string_view key, bool def) {
    return ReadInt(store, section, key, def ? 1 : 0) != 0;
}

void WriteInt(ProfileStore& store, std::u16string_view section, std::u16string_view key, int value) {
    std::string s = std::to_string(value);
    store.Write(section, key, std::u16string(s.begin(), s.end()));
}

void WriteBool(ProfileStore& store, std::u16string_view section, std::u16string_view key, bool value) {
    store.Write(section, key, value ? u"1" : u"0");
}

std::optional<std::u16string> MemoryProfileStore::Read(std::u16string_view section, std::u16string_view key) {
    auto s = sections_.find(section);
    if (s == sections_.end()) return std::nullopt;
    auto k = s->second.find(key);
    if (k == s->second.end()) return std::nullopt;
    return k->second;
}

void MemoryProfileStore::Write(std::u16string_view section, std::u16string_view key, std::u16string_view value) {
    auto s = sections_.find(section);
    if (s == sections_.end()) s = sections_.emplace(std::u16string(section), Section{}).first;
    auto k = s->second.find(key);
    if (k == s->second.end())
        s->second.emplace(std::u16string(key), std::u16string(value));
    else
        k->second = value;  // the first spelling of the key stays, as in a profile file
}

void MemoryProfileStore::EraseSection(std::u16string_view section) {
    auto s = sections_.find(section);
    if (s != sections_.end()) sections_.erase(s);
}

bool MemoryProfileStore::HasSection(std::u16string_view section) const {
    return sections_.find(section) != sections_.end();
}

}  // namespace qlm::app
