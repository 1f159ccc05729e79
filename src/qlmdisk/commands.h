// qlmdisk's subcommands. Each lives in its own cmd_*.cpp and is listed once
// in the table in main.cpp; args are the words after the subcommand, UTF-8.
#pragma once

#include <string>
#include <vector>

namespace qlm::disk {

using Args = std::vector<std::string>;

struct Command {
    const char* name;
    const char* usage;  // shown by "qlmdisk help" and on bad arguments
    int (*run)(const Args& args);
};

// Exit codes shared by the subcommands.
constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;    // unreadable input, a refused manifest, a write error
constexpr int kExitUsage = 2;     // bad arguments
constexpr int kExitNotLoaded = 3; // dump: the disk would end the program (not a disk, newer version)

int RunWrite(const Args& args);
int RunRecords(const Args& args);
int RunDump(const Args& args);
int RunKey(const Args& args);
int RunProbe(const Args& args);
int RunBuild(const Args& args);
int RunFavorites(const Args& args);

}  // namespace qlm::disk
