// qlmdisk dump DISKDIR [--second-language]
#include <filesystem>
#include <iostream>

#include "base/file_path.h"
#include "content/disk_loader.h"
#include "content/tag_scan.h"
#include "qlmdisk/commands.h"
#include "qlmdisk/dump_json.h"
#include "qlmdisk/tool_io.h"

namespace qlm::disk {

int RunDump(const Args& args) {
    std::string dir;
    bool second = false;
    for (const auto& a : args) {
        if (a == "--second-language") second = true;
        else if (dir.empty() && !a.empty() && a[0] != '-') dir = a;
        else return Complain("usage: qlmdisk dump DISKDIR [--second-language]", kExitUsage);
    }
    if (dir.empty()) return Complain("usage: qlmdisk dump DISKDIR [--second-language]", kExitUsage);
    LoadOptions options;
    options.root = WithTrailingBackslash(ToolPath(dir));
    options.secondLanguageActive = second;
    std::error_code ec;
    if (!std::filesystem::is_regular_file(FsPath(options.root + u"qlm.cfg"), ec))
        return Complain("no readable qlm.cfg in " + dir, kExitFailed);
    Catalogue catalogue;
    const LoadResult result = LoadDiskDescription(catalogue, options);
    if (result.NeedsTagScan(catalogue)) TagScan(catalogue);  // as the player does right after loading
    std::cout << DumpDisk(catalogue, result).dump(2) << "\n";
    switch (result.outcome) {
    case LoadOutcome::Loaded: return kExitOk;
    case LoadOutcome::NoDescription: return Complain("cannot read qlm.cfg in " + dir, kExitFailed);
    case LoadOutcome::NotADisk: return Complain("qlm.cfg does not start with CDQLM=: not a disk description", kExitNotLoaded);
    case LoadOutcome::NewerVersion:
        return Complain("qlm.cfg is of version " + std::to_string(result.versionMajor) + "." +
                            std::to_string(result.versionMinor) + ", newer than this program reads",
                        kExitNotLoaded);
    }
    return kExitOk;
}

}  // namespace qlm::disk
