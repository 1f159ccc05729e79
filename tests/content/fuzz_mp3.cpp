// Any bytes as a song file: the tag and stream readers must neither crash nor
// hang, and reading through the chunked file cache must see what a plain
// buffer shows.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "content/byte_source.h"
#include "content/genres.h"
#include "content/id3v1.h"
#include "content/id3v2.h"
#include "content/mpeg_audio.h"
#include "content/song_comment.h"

namespace {

class TinyChunks final : public qlm::ChunkedSource {
public:
    TinyChunks(std::string_view bytes, size_t chunk) : ChunkedSource(chunk), bytes_(bytes) { SetOpen(bytes.size()); }

protected:
    size_t ReadAt(uint64_t offset, char* out, size_t count) override {
        return bytes_.copy(out, count, size_t(offset));
    }

private:
    std::string_view bytes_;
};

struct Result {
    bool v1 = false, v2 = false;
    qlm::ID3v1Fields id3v1;
    qlm::TId3Tag20 id3v2;
    qlm::TMPEGaudio stream;
    std::string comment;
};

Result ReadAll(qlm::ByteSource& src) {
    Result r;
    r.v2 = qlm::ReadID3v2(src, r.id3v2);
    r.v1 = qlm::ReadID3v1(src, r.id3v1);
    r.stream.ReadStream(src);
    r.comment = qlm::CommentOfTags(r.v2 ? &r.id3v2 : nullptr, r.v1 ? &r.id3v1 : nullptr, {true, false});
    return r;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    qlm::MemorySource memory(bytes);
    const Result a = ReadAll(memory);
    (void)qlm::GenreText(a.id3v2.TCON);
    (void)a.stream.BitRate();
    (void)a.stream.Duration();
    (void)a.stream.IsValid();

    TinyChunks chunked(bytes, 1 + size % 97);
    const Result b = ReadAll(chunked);
    for (size_t i = 0; i < qlm::TId3Tag20::kFieldCount; ++i)
        if (a.id3v2.Field(i) != b.id3v2.Field(i)) std::abort();
    if (a.v1 != b.v1 || a.v2 != b.v2 || a.id3v1.Comment != b.id3v1.Comment || a.comment != b.comment ||
        a.stream.Found != b.stream.Found || a.stream.FirstFrame != b.stream.FirstFrame ||
        a.stream.VbrFrames != b.stream.VbrFrames || a.stream.ID3v2Size != b.stream.ID3v2Size)
        std::abort();
    return 0;
}
