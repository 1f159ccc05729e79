#include "base/utf8_main.h"

#include <cwchar>

#include "base/text_codec.h"

#ifdef _WIN32
int wmain(int argc, wchar_t** argv) {
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i)
        args.push_back(qlm::Utf16ToUtf8(std::u16string(reinterpret_cast<const char16_t*>(argv[i]), std::wcslen(argv[i]))));
    return Utf8Main(args);
}
#else
int main(int argc, char** argv) { return Utf8Main(std::vector<std::string>(argv + 1, argv + argc)); }
#endif
