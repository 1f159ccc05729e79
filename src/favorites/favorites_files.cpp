// The store's file access: wide Win32 file calls in the program, POSIX calls
// in the native build (tests, fuzzers, qlmdisk).
#include "favorites/favorites_store.h"

#ifdef _WIN32
#include <windows.h>

#include "win/handles.h"
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#endif

#include <algorithm>

#include "base/file_path.h"
#include "base/text_codec.h"

namespace qlm::fav {
namespace {

#ifdef _WIN32
std::wstring W(const std::u16string& s) { return std::wstring(s.begin(), s.end()); }

using File = win::UniqueFile;

File OpenRead(const std::u16string& path, DWORD& error) {
    File f(CreateFileW(W(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                       FILE_ATTRIBUTE_NORMAL, nullptr));
    error = f ? 0 : GetLastError();
    return f;
}
bool IsMissing(DWORD error) { return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND; }
#else
std::string N(const std::u16string& s) { return FsPath(s).string(); }

class File {
public:
    explicit File(int fd = -1) : fd_(fd) {}
    File(const File&) = delete;
    File& operator=(const File&) = delete;
    ~File() { reset(); }
    int get() const { return fd_; }
    explicit operator bool() const { return fd_ >= 0; }
    bool reset() {
        const bool ok = fd_ < 0 || ::close(fd_) == 0;
        fd_ = -1;
        return ok;
    }

private:
    int fd_;
};
#endif

}  // namespace

FavoritesFiles::ReadResult FavoritesFiles::Read(const std::u16string& path, std::string& bytes) {
    bytes.clear();
#ifdef _WIN32
    DWORD error = 0;
    File f = OpenRead(path, error);
    if (!f) return IsMissing(error) ? ReadResult::Missing : ReadResult::Failed;
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(f.get(), &size) || size.QuadPart > 0x7FFFFFFF) return ReadResult::Failed;
    bytes.resize(static_cast<size_t>(size.QuadPart));
    size_t got = 0;
    while (got < bytes.size()) {
        DWORD n = 0;
        const DWORD want = static_cast<DWORD>(std::min<size_t>(bytes.size() - got, 1 << 20));
        if (!ReadFile(f.get(), bytes.data() + got, want, &n, nullptr)) return ReadResult::Failed;
        if (n == 0) break;
        got += n;
    }
    bytes.resize(got);
    return ReadResult::Ok;
#else
    File f(::open(N(path).c_str(), O_RDONLY));
    if (!f) return errno == ENOENT || errno == ENOTDIR ? ReadResult::Missing : ReadResult::Failed;
    char buf[65536];
    for (;;) {
        const ssize_t n = ::read(f.get(), buf, sizeof buf);
        if (n < 0) {
            if (errno == EINTR) continue;
            return ReadResult::Failed;
        }
        if (n == 0) break;
        bytes.append(buf, static_cast<size_t>(n));
    }
    return ReadResult::Ok;
#endif
}

bool FavoritesFiles::Exists(const std::u16string& path) {
#ifdef _WIN32
    const DWORD a = GetFileAttributesW(W(path).c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
#else
    struct stat st {};
    return ::stat(N(path).c_str(), &st) == 0 && S_ISREG(st.st_mode);
#endif
}

bool FavoritesFiles::Replace(const std::u16string& path, std::string_view bytes) {
    const std::u16string temp = path + u".new";
    bool ok = false;
    {
#ifdef _WIN32
        File f;
        if (Allow(Step::Create))
            f.reset(CreateFileW(W(temp).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                nullptr));
        ok = static_cast<bool>(f);
        for (size_t at = 0; ok && at < bytes.size();) {
            const DWORD want = static_cast<DWORD>(std::min(bytes.size() - at, writeChunk_));
            DWORD n = 0;
            ok = Allow(Step::Write) && WriteFile(f.get(), bytes.data() + at, want, &n, nullptr) && n == want;
            at += n;
        }
        ok = ok && Allow(Step::Flush) && FlushFileBuffers(f.get());
        const bool closed = f && CloseHandle(f.release());
        ok = ok && Allow(Step::Close) && closed;
#else
        File f(Allow(Step::Create) ? ::open(N(temp).c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644) : -1);
        ok = static_cast<bool>(f);
        for (size_t at = 0; ok && at < bytes.size();) {
            const size_t want = std::min(bytes.size() - at, writeChunk_);
            const ssize_t n = Allow(Step::Write) ? ::write(f.get(), bytes.data() + at, want) : -1;
            if (n < 0 && errno == EINTR) continue;
            ok = n > 0;
            if (ok) at += static_cast<size_t>(n);
        }
        ok = ok && Allow(Step::Flush) && ::fsync(f.get()) == 0;
        const bool closed = f.reset();
        ok = ok && Allow(Step::Close) && closed;
#endif
    }
    if (ok) {
        ok = Allow(Step::Move);
#ifdef _WIN32
        ok = ok && MoveFileExW(W(temp).c_str(), W(path).c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
#else
        ok = ok && ::rename(N(temp).c_str(), N(path).c_str()) == 0;
#endif
    }
    if (!ok) {
#ifdef _WIN32
        DeleteFileW(W(temp).c_str());
#else
        ::unlink(N(temp).c_str());
#endif
    }
    return ok;
}

bool FavoritesFiles::KeepCopy(const std::u16string& path, std::string_view bytes) {
    std::u16string name = path + u".bad";
    for (int i = 2; i <= 9 && Exists(name); ++i) name = path + u".bad" + static_cast<char16_t>(u'0' + i);
    return Replace(name, bytes);
}

}  // namespace qlm::fav
