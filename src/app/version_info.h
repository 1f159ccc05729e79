// The strings of a program's version resource: what the update check compares
// and what the about box shows. Looked up under the first language and code
// page of \VarFileInfo\Translation.
#pragma once

#include <string>

namespace qlm {

struct VersionInfo {
    std::string fileVersion = "0.0.0.0";  // FileVersion; "0.0.0.0" without resource or string
    std::u16string productName;           // ProductName; empty when missing
    std::u16string companyName;           // CompanyName; empty when missing
};

// Of the program file at `path` (a missing file gives the defaults).
VersionInfo ReadVersionInfo(const std::u16string& path);
// Of the running program.
VersionInfo OwnVersionInfo();

}  // namespace qlm
