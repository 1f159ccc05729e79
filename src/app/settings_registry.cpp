#include "app/settings_registry.h"

namespace qlm::app {

std::u16string MemoryRegistryStore::ReadValue(std::u16string_view name) {
    auto it = values.find(std::u16string(name));
    return it == values.end() ? std::u16string() : it->second;
}

void MemoryRegistryStore::WriteValue(std::u16string_view name, std::u16string_view value) {
    values[std::u16string(name)] = value;
    ++writes;
}

}  // namespace qlm::app
