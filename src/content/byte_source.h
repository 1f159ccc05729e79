// Random access to the bytes of one song file for the tag and stream readers.
// The readers parse only what a ByteSource hands them, so they run the same on
// a memory buffer (tests, fuzzing) and on a file, and never trust a size field
// beyond what the source holds.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace qlm {

class ByteSource {
public:
    virtual ~ByteSource() = default;
    // False when the file could not be opened; such a source holds no bytes.
    virtual bool IsOpen() const = 0;
    virtual uint64_t Size() const = 0;
    // Up to `count` bytes at `offset`: shorter at the end of the source or on a
    // read failure, empty past the end. The view stays valid until the next Read.
    virtual std::string_view Read(uint64_t offset, size_t count) = 0;
};

class MemorySource final : public ByteSource {
public:
    explicit MemorySource(std::string_view bytes) : bytes_(bytes) {}
    bool IsOpen() const override { return true; }
    uint64_t Size() const override { return bytes_.size(); }
    std::string_view Read(uint64_t offset, size_t count) override;

private:
    std::string_view bytes_;
};

// Goes to the underlying storage in chunks of at least kChunk bytes and keeps
// the two latest chunks, so that the head of a file (ID3v2 tag and first audio
// block) and its tail (ID3v1 tag) are each read once however often the readers
// come back to them. Under Wine every read call costs far more than its bytes.
class ChunkedSource : public ByteSource {
public:
    static constexpr size_t kDefaultChunk = 16384;
    explicit ChunkedSource(size_t chunk = kDefaultChunk) : chunk_(chunk ? chunk : 1) {}

    bool IsOpen() const override { return open_; }
    uint64_t Size() const override { return size_; }
    std::string_view Read(uint64_t offset, size_t count) override;
    // Number of reads that went to the storage (for tests and the benchmark).
    int StorageReads() const { return storageReads_; }

protected:
    void SetOpen(uint64_t size) { open_ = true; size_ = size; }
    // Reads up to `count` bytes at `offset` into `out`; returns the number read.
    virtual size_t ReadAt(uint64_t offset, char* out, size_t count) = 0;

private:
    struct Chunk {
        uint64_t offset = 0;
        std::string bytes;
        unsigned lastUse = 0;
    };
    size_t chunk_;
    bool open_ = false;
    uint64_t size_ = 0;
    Chunk chunks_[2];
    unsigned useClock_ = 0;
    int storageReads_ = 0;
};

}  // namespace qlm
