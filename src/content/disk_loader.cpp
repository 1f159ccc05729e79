#include "content/disk_loader.h"

#include <filesystem>
#include <system_error>

#include "base/file_path.h"
#include "content/text_case.h"

namespace qlm {
namespace {

// A description is a few megabytes at most; anything far larger is not one,
// and reading only this much makes it end in a format error.
constexpr uintmax_t kMaxDescriptionBytes = 64u << 20;

void Prepare(Catalogue& cat, const LoadOptions& options) {
    cat.Release();
    cat.root = options.root.empty() ? std::u16string() : WithTrailingBackslash(options.root);
    cat.secondLanguageActive = options.secondLanguageActive;
    cat.settings.TextCharset = options.textCharset;
}

bool HasExtension(const std::u16string& name, std::u16string_view ext1, std::u16string_view ext2) {
    if (name.size() < 4) return false;
    const std::u16string ext = UpperCase(std::u16string_view(name).substr(name.size() - 4));
    return ext == ext1 || ext == ext2;
}

// File names of a disk folder, in the order the file system lists them.
template <class F>
void ForEachFile(const std::u16string& folder, F&& f) {
    std::error_code ec;
    std::filesystem::directory_iterator it(FsPath(folder), ec), end;
    for (; !ec && it != end; it.increment(ec)) {
        std::error_code typeEc;
        if (it->is_regular_file(typeEc)) f(it->path().filename().u16string());
    }
}

void VideoFolderFromDisk(Catalogue& cat) {
    TRDataNode* folder = nullptr;
    ForEachFile(cat.root + u"Video\\", [&](const std::u16string& name) {
        if (!HasExtension(name, u".AVI", u".MPG")) return;
        if (!folder) {
            TRDataNode f;
            f.Kind = kKindVideoFolder;
            f.Flags = kNodeWideNames;
            f.WideName = u"Видео";
            f.WideName2 = u"Videos";
            folder = &cat.AddNode(nullptr, Placement::LastRoot, std::move(f));
        }
        TRDataNode v;
        v.Kind = kKindVideo;
        v.Flags = kNodeWideNames;
        v.WideName = name;
        if (cat.settings.DualLanguageVideos) v.WideName2 = name;
        v.Path = EncodeText(name, cat.DiskCharset());
        cat.AddNode(folder, Placement::LastChild, std::move(v));
    });
}

void SlidesFromDisk(Catalogue& cat) {
    ForEachFile(cat.root + u"Picture\\", [&](const std::u16string& name) {
        if (!HasExtension(name, u".JPG", u".BMP")) return;
        TTSlideList slide;
        slide.File = EncodeText(name, cat.DiskCharset());
        cat.slides.push_back(std::move(slide));
    });
}

void AfterLoading(Catalogue& cat, LoadResult& result) {
    DiskSettings& s = cat.settings;
    const bool folders = !cat.root.empty();
    if (s.VideosEnabled && s.VideoListInFile && cat.VideosPresent()) cat.MoveLeadingVideoFoldersToEnd();
    if (s.VideosEnabled && !s.VideoListInFile && folders) VideoFolderFromDisk(cat);
    result.bookModeAvailable = cat.HasNestedNodes();
    if (s.SlidesEnabled && !s.PictureListInFile && folders) SlidesFromDisk(cat);
    if (cat.slides.empty()) s.SlidesEnabled = false;
    cat.slideBytes.assign(cat.slides.size(), 0);
}

LoadResult ReadAndFinish(Catalogue& cat, std::string_view bytes) {
    LoadResult result;
    if (IsPackedBytes(bytes)) ReadPackedForm(bytes, cat, result);
    else ReadRecordForm(bytes, cat, result);
    if (result.outcome == LoadOutcome::Loaded) AfterLoading(cat, result);
    return result;
}

bool ReadDescription(const std::filesystem::path& path, std::string& bytes) {
    std::error_code ec;
    const uintmax_t size = std::filesystem::file_size(path, ec);
    if (ec) return false;
    if (size <= kMaxDescriptionBytes) return ReadWholeFile(path, bytes);
    return ReadFileRange(path, 0, kMaxDescriptionBytes, bytes);
}

}  // namespace

LoadResult LoadDiskDescription(Catalogue& catalogue, const LoadOptions& options) {
    Prepare(catalogue, options);
    std::string bytes;
    if (catalogue.root.empty() || !ReadDescription(FsPath(catalogue.root + u"qlm.cfg"), bytes)) return LoadResult{};
    return ReadAndFinish(catalogue, bytes);
}

LoadResult LoadDescriptionBytes(Catalogue& catalogue, std::string_view bytes, const LoadOptions& options) {
    Prepare(catalogue, options);
    return ReadAndFinish(catalogue, bytes);
}

bool IsPackedDescription(std::u16string_view path) {
    std::string head;
    // The probe reads two short records and a dword after the header, and a
    // 6-byte record: never more than this.
    if (!ReadFileRange(FsPath(path), 0, 8 + 2 * 256 + 4 + 7, head)) return false;
    return IsPackedBytes(head);
}

}  // namespace qlm
