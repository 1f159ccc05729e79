#include "content/description_stream.h"

namespace qlm {

DescriptionStream::DescriptionStream(std::string_view bytes, size_t start)
    : data_(bytes), pos_(start > bytes.size() ? bytes.size() : start) {}

bool DescriptionStream::Take(size_t count, const unsigned char*& out) {
    if (data_.size() - pos_ < count) {
        pos_ = data_.size();
        return false;
    }
    out = reinterpret_cast<const unsigned char*>(data_.data() + pos_);
    pos_ += count;
    return true;
}

bool DescriptionStream::ReadKeyedByte(uint8_t& out) {
    const unsigned char* p;
    if (!Take(1, p)) return false;
    out = static_cast<uint8_t>(p[0] ^ key_.value);
    ++key_.value;
    return true;
}

bool DescriptionStream::ReadKeyedWord(uint16_t& out) {
    const unsigned char* p;
    if (!Take(2, p)) return false;
    out = static_cast<uint16_t>((p[0] | (p[1] << 8)) ^ key_.WordMask());
    ++key_.value;
    return true;
}

bool DescriptionStream::ReadKeyedDword(uint32_t& out) {
    const unsigned char* p;
    if (!Take(4, p)) return false;
    uint32_t d = p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
    out = d ^ key_.DwordMask();
    ++key_.value;
    return true;
}

void DescriptionStream::Body(const unsigned char* p, size_t length, std::string& out) {
    out.resize(length);
    const auto step = static_cast<uint8_t>(length);
    for (size_t i = 0; i < length; ++i) {
        out[i] = static_cast<char>(p[i] ^ key_.value);
        key_.value = static_cast<uint8_t>(key_.value + step);
    }
}

bool DescriptionStream::ReadShortRecord(std::string& out) {
    const unsigned char* p;
    if (!Take(1, p)) return false;
    const size_t length = static_cast<uint8_t>(p[0] ^ key_.value);
    key_.value = p[0];
    if (!Take(length, p)) return false;
    Body(p, length, out);
    return true;
}

bool DescriptionStream::ReadLongRecord(std::string& out) {
    const unsigned char* p;
    if (!Take(2, p)) return false;
    const size_t length = static_cast<uint16_t>((p[0] | (p[1] << 8)) ^ key_.WordMask());
    if (!Take(length, p)) return false;
    Body(p, length, out);
    return true;
}

bool DescriptionStream::ReadWideRecord(std::u16string& out) {
    const unsigned char* p;
    if (!Take(2, p)) return false;
    const size_t length = static_cast<uint16_t>((p[0] | (p[1] << 8)) ^ key_.WordMask());
    if (length > (data_.size() - pos_) / 2) {
        pos_ = data_.size();
        return false;
    }
    Take(length * 2, p);
    out.resize(length);
    const auto step = static_cast<uint8_t>(length);
    for (size_t i = 0; i < length; ++i) {
        out[i] = static_cast<char16_t>((p[2 * i] ^ key_.value) | (p[2 * i + 1] << 8));
        key_.value = static_cast<uint8_t>(key_.value + step);
    }
    return true;
}

void DescriptionWriter::WriteKeyedByte(uint8_t value) {
    out_.push_back(static_cast<char>(value ^ key_.value));
    ++key_.value;
}

void DescriptionWriter::WriteKeyedWord(uint16_t value) {
    const uint16_t w = value ^ key_.WordMask();
    out_.push_back(static_cast<char>(w & 0xFF));
    out_.push_back(static_cast<char>(w >> 8));
    ++key_.value;
}

void DescriptionWriter::WriteKeyedDword(uint32_t value) {
    const uint32_t d = value ^ key_.DwordMask();
    for (int i = 0; i < 4; ++i) out_.push_back(static_cast<char>((d >> (8 * i)) & 0xFF));
    ++key_.value;
}

bool DescriptionWriter::WriteShortRecord(std::string_view text) {
    if (text.size() > 0xFF) return false;
    const auto stored = static_cast<uint8_t>(text.size() ^ key_.value);
    out_.push_back(static_cast<char>(stored));
    key_.value = stored;
    const auto step = static_cast<uint8_t>(text.size());
    for (char c : text) {
        out_.push_back(static_cast<char>(static_cast<uint8_t>(c) ^ key_.value));
        key_.value = static_cast<uint8_t>(key_.value + step);
    }
    return true;
}

bool DescriptionWriter::WriteLongRecord(std::string_view text) {
    if (text.size() > 0xFFFF) return false;
    const uint16_t w = static_cast<uint16_t>(text.size()) ^ key_.WordMask();
    out_.push_back(static_cast<char>(w & 0xFF));
    out_.push_back(static_cast<char>(w >> 8));
    const auto step = static_cast<uint8_t>(text.size());
    for (char c : text) {
        out_.push_back(static_cast<char>(static_cast<uint8_t>(c) ^ key_.value));
        key_.value = static_cast<uint8_t>(key_.value + step);
    }
    return true;
}

bool DescriptionWriter::WriteWideRecord(std::u16string_view text) {
    if (text.size() > 0xFFFF) return false;
    const uint16_t w = static_cast<uint16_t>(text.size()) ^ key_.WordMask();
    out_.push_back(static_cast<char>(w & 0xFF));
    out_.push_back(static_cast<char>(w >> 8));
    const auto step = static_cast<uint8_t>(text.size());
    for (char16_t c : text) {
        out_.push_back(static_cast<char>((c & 0xFF) ^ key_.value));
        out_.push_back(static_cast<char>(c >> 8));
        key_.value = static_cast<uint8_t>(key_.value + step);
    }
    return true;
}

}  // namespace qlm
