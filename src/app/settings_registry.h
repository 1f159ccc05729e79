// The program's registry key seen through a tiny interface:
// HKEY_LOCAL_MACHINE\SOFTWARE\VNT Company\QLM Musical Player with the values
// RootDir (the installed program file, set by the installer) and Language
// (the language id). Every failure is ignored; a failed read is empty.
#pragma once

#include <map>
#include <string>
#include <string_view>

namespace qlm::app {

inline constexpr std::u16string_view kRegistryKeyPath = u"SOFTWARE\\VNT Company\\QLM Musical Player";
inline constexpr std::u16string_view kRootDirValue = u"RootDir";
inline constexpr std::u16string_view kLanguageValue = u"Language";

class RegistryStore {
public:
    virtual ~RegistryStore() = default;
    // Empty when the key or value is missing or cannot be read.
    virtual std::u16string ReadValue(std::u16string_view name) = 0;
    virtual void WriteValue(std::u16string_view name, std::u16string_view value) = 0;
};

class MemoryRegistryStore : public RegistryStore {
public:
    std::u16string ReadValue(std::u16string_view name) override;
    void WriteValue(std::u16string_view name, std::u16string_view value) override;
    std::map<std::u16string, std::u16string> values;
    int writes = 0;  // lets tests see the order of writes
};

// Full path of the installed program file; empty when not installed.
inline std::u16string ReadInstalledProgramPath(RegistryStore& reg) { return reg.ReadValue(kRootDirValue); }
// The language id chosen last time; empty means the built-in Russian texts.
inline std::u16string ReadLanguageId(RegistryStore& reg) { return reg.ReadValue(kLanguageValue); }
inline void WriteLanguageId(RegistryStore& reg, std::u16string_view id) { reg.WriteValue(kLanguageValue, id); }

}  // namespace qlm::app
