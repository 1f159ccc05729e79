// qlmdisk build MUSICDIR DISKDIR [--form record|packed] [--id ID] [--title TITLE]
#include <iostream>

#include "qlmdisk/commands.h"
#include "qlmdisk/disk_build.h"
#include "qlmdisk/tool_io.h"

namespace qlm::disk {

int RunBuild(const Args& args) {
    const std::string usage = "usage: qlmdisk build MUSICDIR DISKDIR [--form record|packed] [--id ID] [--title TITLE]";
    BuildOptions o;
    std::vector<std::string> dirs;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == "--form" && hasValue) {
            const std::string& f = args[++i];
            if (f == "record") o.form = DiskManifest::Form::Record;
            else if (f == "packed") o.form = DiskManifest::Form::Packed;
            else return Complain("--form is record or packed, not \"" + f + "\"", kExitUsage);
        } else if (a == "--id" && hasValue) {
            o.id = args[++i];
        } else if (a == "--title" && hasValue) {
            o.title = args[++i];
        } else if (!a.empty() && a[0] != '-' && dirs.size() < 2) {
            dirs.push_back(a);
        } else {
            return Complain(usage, kExitUsage);
        }
    }
    if (dirs.size() != 2) return Complain(usage, kExitUsage);
    o.musicDir = ToolPath(dirs[0]);
    o.diskDir = ToolPath(dirs[1]);
    o.progress = [](size_t done, size_t total) {
        std::cerr << "qlmdisk: " << done << " of " << total << " songs\n";
    };
    BuildSummary s;
    std::string error;
    if (!BuildDisk(o, s, error)) return Complain(error, kExitFailed);
    std::cout << "built " << dirs[1] << ": " << s.folders << " folders, " << s.songs << " songs, " << s.pages
              << " pages" << (s.texts ? ", texts" : "") << (s.pictures ? ", slides" : "") << (s.videos ? ", videos" : "")
              << " (" << (o.form == DiskManifest::Form::Record ? "record" : "packed") << " form)\n";
    return kExitOk;
}

}  // namespace qlm::disk
