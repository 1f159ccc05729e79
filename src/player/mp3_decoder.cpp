#include "player/mp3_decoder.h"

#include <algorithm>
#include <cstring>

namespace qlm::player {
namespace {

win::UniqueFile OpenForReading(const std::string& path) {
    return win::UniqueFile(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                       OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
}

bool ReadAt(HANDLE f, uint64_t offset, size_t count, std::string& out) {
    out.assign(count, '\0');
    LARGE_INTEGER at;
    at.QuadPart = static_cast<LONGLONG>(offset);
    DWORD got = 0;
    if (!SetFilePointerEx(f, at, nullptr, FILE_BEGIN) || !ReadFile(f, out.data(), static_cast<DWORD>(count), &got, nullptr))
        return false;
    out.resize(got);
    return true;
}

}  // namespace

std::optional<MpegStreamInfo> ProbeMp3File(const std::string& ansiPath) {
    int n = MultiByteToWideChar(CP_ACP, 0, ansiPath.c_str(), -1, nullptr, 0);
    if (n <= 1) return std::nullopt;
    std::wstring wide(n - 1, L'\0');
    MultiByteToWideChar(CP_ACP, 0, ansiPath.c_str(), -1, wide.data(), n);
    TMPEGaudio stream;
    if (!stream.ReadStream(std::u16string(wide.begin(), wide.end()))) return std::nullopt;
    return StreamInfoOf(stream);
}

Mp3Decoder::~Mp3Decoder() { Close(); }

void Mp3Decoder::Close() {
    if (stream_) {
        if (prepared_) {
            header_.cbSrcLength = static_cast<DWORD>(src_.size());
            header_.cbDstLength = static_cast<DWORD>(dst_.size());
            acmStreamUnprepareHeader(stream_, &header_, 0);
        }
        acmStreamClose(stream_, 0);
    }
    stream_ = nullptr;
    prepared_ = false;
    file_.reset();
}

bool Mp3Decoder::Open(const std::string& ansiPath, int64_t fromMs) {
    Close();
    auto info = ProbeMp3File(ansiPath);
    if (!info || info->layer != 3) return false;
    info_ = *info;
    file_ = OpenForReading(ansiPath);
    if (!file_) return false;

    const MpegStreamInfo& h = info_;
    MPEGLAYER3WAVEFORMAT mp3{};
    mp3.wfx.wFormatTag = WAVE_FORMAT_MPEGLAYER3;
    mp3.wfx.nChannels = static_cast<WORD>(h.channels);
    mp3.wfx.nSamplesPerSec = static_cast<DWORD>(h.sampleRate);
    mp3.wfx.nAvgBytesPerSec = static_cast<DWORD>(h.bitrateKbps * 1000 / 8);
    mp3.wfx.nBlockAlign = 1;
    mp3.wfx.wBitsPerSample = 0;
    mp3.wfx.cbSize = MPEGLAYER3_WFX_EXTRA_BYTES;
    mp3.wID = MPEGLAYER3_ID_MPEG;
    mp3.fdwFlags = MPEGLAYER3_FLAG_PADDING_OFF;
    mp3.nBlockSize = static_cast<WORD>(h.frameBytes - (h.padding ? 1 : 0));
    mp3.nFramesPerBlock = 1;
    mp3.nCodecDelay = 0;

    pcm_ = {};
    pcm_.wFormatTag = WAVE_FORMAT_PCM;
    pcm_.nChannels = static_cast<WORD>(h.channels);
    pcm_.nSamplesPerSec = static_cast<DWORD>(h.sampleRate);
    pcm_.wBitsPerSample = 16;
    pcm_.nBlockAlign = static_cast<WORD>(2 * h.channels);
    pcm_.nAvgBytesPerSec = pcm_.nSamplesPerSec * pcm_.nBlockAlign;

    if (acmStreamOpen(&stream_, nullptr, &mp3.wfx, &pcm_, nullptr, 0, 0, 0) != 0) {
        stream_ = nullptr;
        return false;
    }
    src_.assign(16 * 1024, 0);
    DWORD dstSize = 0;
    if (acmStreamSize(stream_, static_cast<DWORD>(src_.size()), &dstSize, ACM_STREAMSIZEF_SOURCE) != 0 || dstSize == 0)
        dstSize = 1 << 20;
    dst_.assign(dstSize, 0);
    header_ = {};
    header_.cbStruct = sizeof(header_);
    header_.pbSrc = src_.data();
    header_.cbSrcLength = static_cast<DWORD>(src_.size());
    header_.pbDst = dst_.data();
    header_.cbDstLength = static_cast<DWORD>(dst_.size());
    if (acmStreamPrepareHeader(stream_, &header_, 0) != 0) {
        Close();
        return false;
    }
    prepared_ = true;

    // Start at a frame boundary near the wanted time (exact for constant bit rates).
    uint64_t offset = info_.firstFrameOffset;
    if (fromMs > 0 && info_.durationMs > 0) {
        offset += info_.audioBytes * static_cast<uint64_t>(std::min(fromMs, info_.durationMs)) /
                  static_cast<uint64_t>(info_.durationMs);
        std::string window;
        if (ReadAt(file_.get(), offset, 8192, window)) {
            const auto* b = reinterpret_cast<const unsigned char*>(window.data());
            for (size_t i = 0; i + 4 <= window.size(); ++i) {
                if (IsFrameOf(b + i, info_)) {
                    offset += i;
                    break;
                }
            }
        }
    }
    const uint64_t end = info_.firstFrameOffset + info_.audioBytes;
    remaining_ = end > offset ? end - offset : 0;
    LARGE_INTEGER at;
    at.QuadPart = static_cast<LONGLONG>(offset);
    SetFilePointerEx(file_.get(), at, nullptr, FILE_BEGIN);
    srcFill_ = 0;
    started_ = false;
    flushed_ = false;
    return true;
}

bool Mp3Decoder::Convert(std::vector<char>& pcm, DWORD flags) {
    header_.cbSrcLength = srcFill_;
    header_.cbDstLength = static_cast<DWORD>(dst_.size());
    header_.cbSrcLengthUsed = 0;
    header_.cbDstLengthUsed = 0;
    if (acmStreamConvert(stream_, &header_, flags) != 0) return false;
    const DWORD used = std::min(header_.cbSrcLengthUsed, srcFill_);
    std::memmove(src_.data(), src_.data() + used, srcFill_ - used);
    srcFill_ -= used;
    pcm.insert(pcm.end(), dst_.begin(), dst_.begin() + header_.cbDstLengthUsed);
    return header_.cbDstLengthUsed > 0 || used > 0;
}

bool Mp3Decoder::Decode(std::vector<char>& pcm, size_t want) {
    if (!stream_) return false;
    const size_t before = pcm.size();
    while (pcm.size() - before < want) {
        if (remaining_ > 0 && srcFill_ < src_.size()) {
            DWORD got = 0;
            DWORD room = static_cast<DWORD>(std::min<uint64_t>(src_.size() - srcFill_, remaining_));
            if (!ReadFile(file_.get(), src_.data() + srcFill_, room, &got, nullptr) || got == 0) {
                remaining_ = 0;
            } else {
                srcFill_ += got;
                remaining_ -= got;
            }
        }
        if (remaining_ > 0 || srcFill_ > 0) {
            DWORD flags = ACM_STREAMCONVERTF_BLOCKALIGN | (started_ ? 0 : ACM_STREAMCONVERTF_START);
            started_ = true;
            // No progress: drop what the codec will not take, or it never will.
            if (!Convert(pcm, flags) && (remaining_ == 0 || srcFill_ == src_.size())) srcFill_ = 0;
            continue;
        }
        // Input used up: let the codec give back what it still holds.
        if (flushed_) break;
        const size_t had = pcm.size();
        Convert(pcm, ACM_STREAMCONVERTF_END);
        if (pcm.size() == had) flushed_ = true;
    }
    return pcm.size() > before;
}

}  // namespace qlm::player
