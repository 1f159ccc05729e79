// qlmdisk write MANIFEST.json DISKDIR
#include <nlohmann/json.hpp>

#include "base/file_path.h"
#include "qlmdisk/commands.h"
#include "qlmdisk/manifest.h"
#include "qlmdisk/tool_io.h"

namespace qlm::disk {

int RunWrite(const Args& args) {
    if (args.size() != 2) return Complain("usage: qlmdisk write MANIFEST.json DISKDIR", kExitUsage);
    std::string text;
    if (!ReadToolFile(args[0], text)) return Complain("cannot read " + args[0], kExitFailed);
    nlohmann::json json;
    try {
        json = nlohmann::json::parse(text);
    } catch (const nlohmann::json::exception& e) {
        return Complain(args[0] + ": not valid JSON: " + e.what(), kExitFailed);
    }
    DiskManifest manifest;
    std::string error, bytes;
    if (!ParseManifest(json, manifest, error) || !WriteDescription(manifest, bytes, error))
        return Complain(args[0] + ": " + error, kExitFailed);
    return WriteToolFile(WithTrailingBackslash(ToolPath(args[1])) + u"qlm.cfg", bytes) ? kExitOk : kExitFailed;
}

}  // namespace qlm::disk
