#include "content/file_source.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "base/file_path.h"
#endif

#include <string>

namespace qlm {

#ifdef _WIN32

FileSource::FileSource(std::u16string_view windowsPath) {
    std::wstring path(windowsPath.begin(), windowsPath.end());
    HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return;
    LARGE_INTEGER size;
    if (!GetFileSizeEx(h, &size) || size.QuadPart < 0) {
        CloseHandle(h);
        return;
    }
    handle_ = h;
    SetOpen(static_cast<uint64_t>(size.QuadPart));
}

FileSource::~FileSource() {
    if (handle_) CloseHandle(static_cast<HANDLE>(handle_));
}

size_t FileSource::ReadAt(uint64_t offset, char* out, size_t count) {
    // The offset travels with the read itself: one call instead of a seek and a read.
    OVERLAPPED at = {};
    at.Offset = static_cast<DWORD>(offset);
    at.OffsetHigh = static_cast<DWORD>(offset >> 32);
    DWORD got = 0;
    if (!ReadFile(static_cast<HANDLE>(handle_), out, static_cast<DWORD>(count), &got, &at)) return 0;
    return got;
}

#else

FileSource::FileSource(std::u16string_view windowsPath) {
    const std::string path = FsPath(windowsPath).string();
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return;
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return;
    }
    fd_ = fd;
    SetOpen(static_cast<uint64_t>(st.st_size));
}

FileSource::~FileSource() {
    if (fd_ >= 0) ::close(fd_);
}

size_t FileSource::ReadAt(uint64_t offset, char* out, size_t count) {
    size_t done = 0;
    while (done < count) {
        ssize_t n = ::pread(fd_, out + done, count - done, static_cast<off_t>(offset + done));
        if (n <= 0) break;
        done += static_cast<size_t>(n);
    }
    return done;
}

#endif

}  // namespace qlm
