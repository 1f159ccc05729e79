// qlmdisk: the disk authoring tool. One table of subcommands; each lives in
// its own file (commands.h).
#include <cstring>
#include <iostream>

#include "base/text_codec.h"
#include "base/utf8_main.h"
#include "qlmdisk/commands.h"
#include "qlmdisk/tool_io.h"

namespace qlm::disk {
namespace {

const Command kCommands[] = {
    {"write", "write MANIFEST.json DISKDIR   write DISKDIR/qlm.cfg from a manifest (MANIFEST.md)", RunWrite},
    {"records", "records encode TEXT CFG | records decode CFG   the record form, one record per line", RunRecords},
    {"dump", "dump DISKDIR [--second-language]   load the disk as the player does and print it as JSON", RunDump},
    {"key", "key   print the running-key constants", RunKey},
    {"probe", "probe FILE...   print the tags and stream figures the player reads, one JSON object per file", RunProbe},
    {"build", "build MUSICDIR DISKDIR [--form record|packed] [--id ID] [--title TITLE]   make a disk from a music folder",
     RunBuild},
    {"favorites",
     "favorites dump FILE | favorites load FILE DISKDIR LIST | favorites set FILE DISKDIR LIST PATH...   "
     "look into a favorites.dat and reproduce one",
     RunFavorites},
};

int Usage(int code) {
    std::ostream& out = code == kExitOk ? std::cout : std::cerr;
    out << "usage: qlmdisk COMMAND ...\n";
    for (const auto& c : kCommands) out << "  qlmdisk " << c.usage << "\n";
    return code;
}

}  // namespace

int Main(const Args& all) {
    if (all.empty()) return Usage(kExitUsage);
    if (all[0] == "help" || all[0] == "--help" || all[0] == "-h") return Usage(kExitOk);
    for (const auto& c : kCommands)
        if (all[0] == c.name) return c.run(Args(all.begin() + 1, all.end()));
    Complain("unknown command \"" + all[0] + "\"", kExitUsage);
    return Usage(kExitUsage);
}

}  // namespace qlm::disk

int Utf8Main(const std::vector<std::string>& args) { return qlm::disk::Main(args); }
