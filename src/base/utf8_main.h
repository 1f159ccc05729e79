// Console programs take their arguments as UTF-8 on every platform: such a
// program defines Utf8Main and adds base/utf8_main.cpp to its sources, which
// supplies wmain (Windows: UTF-16 arguments) or main (host: already UTF-8).
#pragma once

#include <string>
#include <vector>

int Utf8Main(const std::vector<std::string>& args);
