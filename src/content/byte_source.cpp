#include "content/byte_source.h"

#include <algorithm>

namespace qlm {

std::string_view MemorySource::Read(uint64_t offset, size_t count) {
    if (offset >= bytes_.size()) return {};
    return bytes_.substr(static_cast<size_t>(offset), count);
}

std::string_view ChunkedSource::Read(uint64_t offset, size_t count) {
    if (!open_ || offset >= size_ || count == 0) return {};
    const uint64_t end = offset + std::min<uint64_t>(count, size_ - offset);
    for (Chunk& c : chunks_) {
        if (offset >= c.offset && end <= c.offset + c.bytes.size()) {
            c.lastUse = ++useClock_;
            return std::string_view(c.bytes).substr(static_cast<size_t>(offset - c.offset),
                                                    static_cast<size_t>(end - offset));
        }
    }
    Chunk& victim = chunks_[0].lastUse <= chunks_[1].lastUse ? chunks_[0] : chunks_[1];
    // A small file is read whole at the first request, wherever that points.
    const uint64_t start = size_ <= chunk_ ? 0 : offset;
    const size_t want = static_cast<size_t>(std::min<uint64_t>(std::max<uint64_t>(end - start, uint64_t(chunk_)), size_ - start));
    victim.offset = start;
    victim.bytes.resize(want);
    ++storageReads_;
    const size_t got = ReadAt(start, victim.bytes.data(), want);
    victim.bytes.resize(std::min(got, want));
    victim.lastUse = ++useClock_;
    const std::string_view held(victim.bytes);
    const size_t at = static_cast<size_t>(offset - start);
    return at < held.size() ? held.substr(at, static_cast<size_t>(end - offset)) : std::string_view();
}

}  // namespace qlm
