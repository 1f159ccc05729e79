// qlmdisk records encode TEXT CFG | records decode CFG
#include <iostream>

#include "content/disk_loader.h"
#include "qlmdisk/commands.h"
#include "qlmdisk/record_text.h"
#include "qlmdisk/tool_io.h"

namespace qlm::disk {

int RunRecords(const Args& args) {
    if (args.size() == 3 && args[0] == "encode") {
        std::string text, bytes, error;
        if (!ReadToolFile(args[1], text)) return Complain("cannot read " + args[1], kExitFailed);
        if (!EncodeRecordText(text, bytes, error)) return Complain(args[1] + ": " + error, kExitFailed);
        return WriteToolFile(ToolPath(args[2]), bytes) ? kExitOk : kExitFailed;
    }
    if (args.size() == 2 && args[0] == "decode") {
        std::string bytes;
        if (!ReadToolFile(args[1], bytes)) return Complain("cannot read " + args[1], kExitFailed);
        if (IsPackedBytes(bytes))
            return Complain(args[1] + " holds the packed form; records decode reads the record form (try dump)", kExitFailed);
        std::cout << DecodeRecordText(bytes);
        return kExitOk;
    }
    return Complain("usage: qlmdisk records encode TEXT CFG | qlmdisk records decode CFG", kExitUsage);
}

}  // namespace qlm::disk
