// qlmdisk key
#include <cstdio>

#include "content/description_stream.h"
#include "qlmdisk/commands.h"
#include "qlmdisk/tool_io.h"

namespace qlm::disk {

int RunKey(const Args& args) {
    if (!args.empty()) return Complain("usage: qlmdisk key", kExitUsage);
    std::printf("start=0x%02X c16=0x%04X c32=0x%08X\n", static_cast<unsigned>(kRunningKeyStart),
                static_cast<unsigned>(kRunningKeyC16), static_cast<unsigned>(kRunningKeyC32));
    return kExitOk;
}

}  // namespace qlm::disk
