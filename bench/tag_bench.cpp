// Reading tags and stream figures of many MP3 files, against a minimal reader.
//
//   tag_bench generate DIR [FILES]   writes FILES (default 10000) tagged MP3 files as
//                                    DIR/Sound/Artist NNN/Album N/NN Song.mp3: ID3v2.3,
//                                    ID3v1, both or none; constant or variable bit rate
//   tag_bench run DIR [RUNS]         per file (a) the tag scan's reading plus ReadStream on
//                                    one open of the file, and (b) a minimal reader that
//                                    reads only the ID3v2 header, the block after the tag
//                                    and the last 128 bytes; RUNS (default 7) alternating
//                                    warm runs of each, medians and their ratio
//
// The files are mostly holes (sparse): the readers never look at the middle of a file.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "base/file_path.h"
#include "base/text_codec.h"
#include "base/utf8_main.h"
#include "content/catalogue.h"
#include "content/file_source.h"
#include "content/mp3_builder.h"
#include "content/mpeg_audio.h"
#include "content/tag_scan.h"

using namespace qlm;
using namespace qlm::test;

namespace {

constexpr int kArtists = 100, kAlbums = 10;

std::u16string ArgPath(const std::string& arg) {
#ifdef _WIN32
    return Utf8ToUtf16(arg);
#else
    return Utf8ToUtf16(std::filesystem::absolute(arg).string());
#endif
}

std::string Num(int n, int width) {
    std::string s = std::to_string(n);
    return std::string(width > int(s.size()) ? width - s.size() : 0, '0') + s;
}

// Song i of the layout, relative to Sound\.
std::string SongPath(int i, int perAlbum) {
    const int album = i / perAlbum, artist = album / kAlbums;
    return "Artist " + Num(artist + 1, 3) + "\\Album " + std::to_string(album % kAlbums + 1) + "\\" +
           Num(i % perAlbum + 1, 2) + " Song.mp3";
}

std::string SongBytesHead(int i, bool v2, bool vbr, uint64_t size, std::string& tail, bool v1) {
    FrameSpec f;
    f.mode = i % 3 == 0 ? 0 : 1;
    std::string head;
    if (v2) {
        std::vector<std::pair<std::string, std::string>> frames = {
            {"TIT2", TextBody("Song number " + std::to_string(i))},
            {"TPE1", TextBody("\xC8\xF1\xEF\xEE\xEB\xED\xE8\xF2\xE5\xEB\xFC " + std::to_string(i / 100))},
            {"TALB", TextBody("Album " + std::to_string(i / 10))},
            {"TYER", TextBody(std::to_string(1960 + i % 60))},
            {"TCON", TextBody("(" + std::to_string(i % 148) + ")")},
            {"TRCK", TextBody(std::to_string(i % 10 + 1))},
            {"COMM", CommentBody("", "Comment of song " + std::to_string(i))},
        };
        if (i % 3 == 0) frames.push_back({"TCOM", TextBody("Composer " + std::to_string(i % 50))});
        if (i % 4 == 0) frames.push_back({"APIC", std::string(20000 + i % 5000, '\x55')});  // a cover picture
        head = ID3v2Tag(frames, 512 + (i % 7) * 300);
    }
    const uint64_t audioFrames = size / 417;
    head += vbr ? XingFrame(f, uint32_t(audioFrames), uint32_t(size)) : Frame(f);
    head += Frames(f, 8, 3);
    tail = Frames(f, 8, 3);
    if (v1) tail += ID3v1Tag("Song " + std::to_string(i), "Artist", "Album", "1999", "comment", uint8_t(i % 148));
    return head;
}

int Generate(const std::string& dir, int files) {
    const std::u16string sound = WithTrailingBackslash(ArgPath(dir)) + u"Sound\\";
    const int perAlbum = std::max(1, files / (kArtists * kAlbums));
    for (int i = 0; i < files; ++i) {
        const int kind = i % 8;  // ID3v2.3 + ID3v1, ID3v2.3, ID3v1, none; CBR and VBR
        const bool v2 = kind % 4 < 2, v1 = kind % 4 == 0 || kind % 4 == 2, vbr = kind >= 4;
        const uint64_t size = 2000000 + uint64_t(i % 97) * 31337;
        std::string tail;
        const std::string head = SongBytesHead(i, v2, vbr, size, tail, v1);
        const auto path = FsPath(sound + Utf8ToUtf16(SongPath(i, perAlbum)));
        std::error_code ec;
        std::filesystem::create_directories(path.parent_path(), ec);
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(head.data(), std::streamsize(head.size()));
        out.seekp(std::streamoff(size - tail.size()));
        out.write(tail.data(), std::streamsize(tail.size()));
        if (!out) {
            std::fprintf(stderr, "tag_bench: cannot write %s\n", path.string().c_str());
            return 1;
        }
    }
    std::printf("%d files in %s\n", files, Utf16ToUtf8(sound).c_str());
    return 0;
}

// The least any reader of these fields must do: open, size, three reads, close.
bool MinimalRead(const std::u16string& file, uint64_t& checksum) {
    char head[10], block[TMPEGaudio::kBlockSize], last[128];
#ifdef _WIN32
    HANDLE h = CreateFileW(std::wstring(file.begin(), file.end()).c_str(), GENERIC_READ,
                           FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    LARGE_INTEGER size;
    GetFileSizeEx(h, &size);
    auto readAt = [&](uint64_t at, char* out, DWORD n) {
        OVERLAPPED o = {};
        o.Offset = DWORD(at);
        o.OffsetHigh = DWORD(at >> 32);
        DWORD got = 0;
        ReadFile(h, out, n, &got, &o);
        return got;
    };
    const uint64_t fileSize = uint64_t(size.QuadPart);
#else
    const int fd = ::open(FsPath(file).c_str(), O_RDONLY);
    if (fd < 0) return false;
    struct stat st;
    ::fstat(fd, &st);
    auto readAt = [&](uint64_t at, char* out, size_t n) { return size_t(std::max<ssize_t>(0, ::pread(fd, out, n, off_t(at)))); };
    const uint64_t fileSize = uint64_t(st.st_size);
#endif
    uint64_t tag = 0;
    if (readAt(0, head, 10) == 10 && head[0] == 'I' && head[1] == 'D' && head[2] == '3')
        tag = 10 + ((uint64_t(head[6] & 0x7F) << 21) | (uint64_t(head[7] & 0x7F) << 14) | (uint64_t(head[8] & 0x7F) << 7) |
                    uint64_t(head[9] & 0x7F));
    checksum += readAt(tag, block, sizeof block) + uint8_t(block[0]);
    if (fileSize >= 128) checksum += readAt(fileSize - 128, last, 128) + uint8_t(last[0]);
#ifdef _WIN32
    CloseHandle(h);
#else
    ::close(fd);
#endif
    return true;
}

struct Totals {
    size_t files = 0, v2 = 0, v1 = 0, valid = 0, vbr = 0;
};

// The tag scan's reading of one song and the player panel's ReadStream, sharing one open.
void ScanAndStream(Catalogue& c, Totals& t) {
    TMPEGaudio audio;
    c.ForEachSong([&](TRDataNode& song) {
        FileSource file(c.SongFile(song));
        const SongTags found = ScanSongTags(file, c.EnsureTags(song));
        audio.ReadStream(file);
        ++t.files;
        t.v2 += found == SongTags::ID3v2;
        t.v1 += found == SongTags::ID3v1;
        t.valid += audio.IsValid();
        t.vbr += audio.IsVBR();
    });
}

double Ms(std::chrono::steady_clock::time_point a, std::chrono::steady_clock::time_point b) {
    return std::chrono::duration<double, std::milli>(b - a).count();
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

int Run(const std::string& dir, int runs) {
    // The catalogue of the layout, as the description of such a disk would give it.
    Catalogue c;
    c.root = WithTrailingBackslash(ArgPath(dir));
    const std::u16string sound = c.root + u"Sound\\";
    std::vector<std::string> rel;
    std::error_code ec;
    for (std::filesystem::recursive_directory_iterator it(FsPath(sound), ec), end; !ec && it != end; it.increment(ec))
        if (it->is_regular_file()) {
            std::string r = Utf16ToUtf8(std::u16string(std::filesystem::relative(it->path(), FsPath(sound)).u16string()));
            std::replace(r.begin(), r.end(), '/', '\\');
            rel.push_back(r);
        }
    std::sort(rel.begin(), rel.end());
    if (rel.empty()) {
        std::fprintf(stderr, "tag_bench: no files under %s\n", Utf16ToUtf8(sound).c_str());
        return 1;
    }
    TRDataNode* folder = nullptr;
    std::string folderPath;
    std::vector<std::u16string> files;
    for (const std::string& r : rel) {
        const std::string dirPart = r.substr(0, r.rfind('\\'));
        if (!folder || dirPart != folderPath) {
            TRDataNode f;
            f.Name = f.Path = folderPath = dirPart;
            folder = &c.AddNode(nullptr, Placement::LastRoot, std::move(f));
        }
        TRDataNode s;
        s.Kind = kKindSong;
        s.Name = r;
        s.Path = r;
        c.IndexSong(c.AddNode(folder, Placement::LastChild, std::move(s)));
        files.push_back(sound + Utf8ToUtf16(r));
    }

    std::vector<double> a, b;
    Totals totals;
    uint64_t checksum = 0;
    for (int i = 0; i <= runs; ++i) {  // run 0 warms the cache and is not counted
        auto t0 = std::chrono::steady_clock::now();
        for (const auto& f : files) MinimalRead(f, checksum);
        auto t1 = std::chrono::steady_clock::now();
        Totals t;
        ScanAndStream(c, t);
        auto t2 = std::chrono::steady_clock::now();
        if (i == 0) {
            totals = t;
            continue;
        }
        b.push_back(Ms(t0, t1));
        a.push_back(Ms(t1, t2));
    }
    const double ma = Median(a), mb = Median(b);
    std::printf("%zu files (%zu with ID3v2.3, %zu with ID3v1 only, %zu valid streams, %zu VBR), %d runs\n",
                totals.files, totals.v2, totals.v1, totals.valid, totals.vbr, runs);
    std::printf("(a) tag scan + ReadStream: median %.1f ms (%.0f files/s)\n", ma, totals.files * 1000.0 / ma);
    std::printf("(b) minimal reader:        median %.1f ms (%.0f files/s)\n", mb, totals.files * 1000.0 / mb);
    std::printf("ratio a/b: %.2f   [checksum %llu]\n", ma / mb, static_cast<unsigned long long>(checksum % 1000));
    return 0;
}

int Usage() {
    std::fprintf(stderr, "usage: tag_bench generate DIR [FILES] | tag_bench run DIR [RUNS]\n");
    return 2;
}

int Main(const std::vector<std::string>& args) {
    if (args.size() >= 2 && args[0] == "generate") {
        const int files = args.size() > 2 ? std::atoi(args[2].c_str()) : 10000;
        return files > 0 ? Generate(args[1], files) : Usage();
    }
    if (args.size() >= 2 && args[0] == "run") {
        const int runs = args.size() > 2 ? std::atoi(args[2].c_str()) : 7;
        return runs > 0 ? Run(args[1], runs) : Usage();
    }
    return Usage();
}

}  // namespace

int Utf8Main(const std::vector<std::string>& args) { return Main(args); }
