// File access of the tool: command-line paths are UTF-8 on every platform.
#pragma once

#include <string>

namespace qlm::disk {

// A command-line path as the Windows-style UTF-16 path the content code takes.
std::u16string ToolPath(const std::string& arg);
bool ReadToolFile(const std::string& arg, std::string& bytes);
// Creates missing parent folders. False with a message on stderr.
bool WriteToolFile(const std::u16string& path, const std::string& bytes);
// Prints "qlmdisk: message" on stderr and returns code.
int Complain(const std::string& message, int code);

}  // namespace qlm::disk
