// The running-key record stream every value of qlm.cfg goes through (both
// forms), and its writing side for the authoring tool and the tests.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace qlm {

// The three constants of the scheme. They are part of the disk format: every
// disk made for this program is written with exactly these values.
constexpr uint8_t kRunningKeyStart = 0x6B;
constexpr uint16_t kRunningKeyC16 = 0x4D2E;
constexpr uint32_t kRunningKeyC32 = 0x9E3779B1;

// The one state byte of the stream. All additions wrap at 256.
struct RunningKey {
    uint8_t value = kRunningKeyStart;

    uint16_t WordMask() const { return static_cast<uint16_t>(value + kRunningKeyC16); }
    uint32_t DwordMask() const { return static_cast<uint32_t>(value) + kRunningKeyC32; }
};

// Reads keyed values and records from bytes held in memory (the whole file).
// Every read returns false when the bytes run out before the value is
// complete; the stream then stays at its end, so a truncated file can never
// make a reader loop or allocate past what the file holds.
class DescriptionStream {
public:
    // `start`: where the keyed part begins (8 for the packed form).
    explicit DescriptionStream(std::string_view bytes, size_t start = 0);

    bool ReadKeyedByte(uint8_t& out);
    bool ReadKeyedWord(uint16_t& out);
    bool ReadKeyedDword(uint32_t& out);
    // Length byte, then that many single-byte characters.
    bool ReadShortRecord(std::string& out);
    // Length word, then that many single-byte characters.
    bool ReadLongRecord(std::string& out);
    // Length word, then that many UTF-16 units (only their low byte is keyed).
    bool ReadWideRecord(std::u16string& out);

    bool AtEnd() const { return pos_ >= data_.size(); }
    size_t Position() const { return pos_; }
    RunningKey Key() const { return key_; }

private:
    bool Take(size_t count, const unsigned char*& out);
    void Body(const unsigned char* p, size_t length, std::string& out);

    std::string_view data_;
    size_t pos_;
    RunningKey key_;
};

// The exact inverse of DescriptionStream.
class DescriptionWriter {
public:
    // Bytes written as they are (the packed form's plain header).
    void WritePlain(std::string_view bytes) { out_.append(bytes); }
    void ResetKey() { key_ = RunningKey{}; }

    void WriteKeyedByte(uint8_t value);
    void WriteKeyedWord(uint16_t value);
    void WriteKeyedDword(uint32_t value);
    // False (and nothing written) when the text is too long for the record.
    bool WriteShortRecord(std::string_view text);
    bool WriteLongRecord(std::string_view text);
    bool WriteWideRecord(std::u16string_view text);

    const std::string& Bytes() const { return out_; }
    std::string Take() { return std::move(out_); }

private:
    std::string out_;
    RunningKey key_;
};

}  // namespace qlm
