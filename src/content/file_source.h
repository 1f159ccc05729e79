// A song file opened read-only (sharing allowed) as a ByteSource. One object
// is one open of the file; the readers share it so that a file is opened once
// however many of them look at it.
#pragma once

#include <string_view>

#include "content/byte_source.h"

namespace qlm {

class FileSource final : public ChunkedSource {
public:
    // `windowsPath` as the disk gives it; mapped onto the host in the native build.
    explicit FileSource(std::u16string_view windowsPath);
    ~FileSource() override;
    FileSource(const FileSource&) = delete;
    FileSource& operator=(const FileSource&) = delete;

protected:
    size_t ReadAt(uint64_t offset, char* out, size_t count) override;

private:
#ifdef _WIN32
    void* handle_ = nullptr;
#else
    int fd_ = -1;
#endif
};

}  // namespace qlm
