// qlmdisk probe FILE...
#include <iostream>

#include "content/file_source.h"
#include "qlmdisk/commands.h"
#include "qlmdisk/probe_json.h"
#include "qlmdisk/tool_io.h"

namespace qlm::disk {

int RunProbe(const Args& args) {
    if (args.empty()) return Complain("usage: qlmdisk probe FILE...", kExitUsage);
    int code = kExitOk;
    for (const auto& name : args) {
        FileSource file(ToolPath(name));
        if (!file.IsOpen()) {
            code = Complain("cannot read " + name, kExitFailed);
            continue;
        }
        nlohmann::ordered_json j;
        j["file"] = name;
        j.update(ProbeSong(file));
        std::cout << j.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace) << "\n";
    }
    return code;
}

}  // namespace qlm::disk
