// Profile files (sections in square brackets, key=value lines) seen through a
// tiny interface, so the settings logic runs against an in-memory store in
// tests and against the system profile functions in the program.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "base/profile_text.h"

namespace qlm::app {

class ProfileStore {
public:
    virtual ~ProfileStore() = default;
    // nullopt when the section or key does not exist. Section and key names
    // match without regard to letter case.
    virtual std::optional<std::u16string> Read(std::u16string_view section, std::u16string_view key) = 0;
    virtual void Write(std::u16string_view section, std::u16string_view key, std::u16string_view value) = 0;
    virtual void EraseSection(std::u16string_view section) = 0;
};

// Typed reads always supply a default, so a missing file or key is never an
// error. Integers are decimal; a value that is not one gives the default.
// A boolean is stored as 1 or 0 and reads true for any non-zero integer.
std::u16string ReadString(ProfileStore& store, std::u16string_view section, std::u16string_view key,
                          std::u16string_view def = {});
int ReadInt(ProfileStore& store, std::u16string_view section, std::u16string_view key, int def);
bool ReadBool(ProfileStore& store, std::u16string_view section, std::u16string_view key, bool def);
void WriteInt(ProfileStore& store, std::u16string_view section, std::u16string_view key, int value);
void WriteBool(ProfileStore& store, std::u16string_view section, std::u16string_view key, bool value);

// The store of tests and of anything that wants a profile in memory.
class MemoryProfileStore : public ProfileStore {
public:
    using Section = std::map<std::u16string, std::u16string, LessNoCase>;
    std::optional<std::u16string> Read(std::u16string_view section, std::u16string_view key) override;
    void Write(std::u16string_view section, std::u16string_view key, std::u16string_view value) override;
    void EraseSection(std::u16string_view section) override;

    bool HasSection(std::u16string_view section) const;
    const std::map<std::u16string, Section, LessNoCase>& Sections() const { return sections_; }

private:
    std::map<std::u16string, Section, LessNoCase> sections_;
};

}  // namespace qlm::app
