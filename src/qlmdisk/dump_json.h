// A loaded disk as one JSON object (qlmdisk dump).
#pragma once

#include <nlohmann/json.hpp>

#include "content/disk_loader.h"

namespace qlm::disk {

nlohmann::ordered_json DumpDisk(const Catalogue& catalogue, const LoadResult& result);

}  // namespace qlm::disk
