// What the player reads from one MP3 file, as one JSON object (qlmdisk probe).
#pragma once

#include <nlohmann/json.hpp>

#include "content/byte_source.h"

namespace qlm::disk {

// Texts are the tags' Windows-1251 bytes as UTF-8.
nlohmann::ordered_json ProbeSong(ByteSource& file);

}  // namespace qlm::disk
