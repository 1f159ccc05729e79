// MP3 to 16-bit PCM through the system's ACM MPEG Layer-3 codec (present on
// Windows and in Wine). Only Layer III streams; anything else fails to open.
#pragma once

#include <windows.h>
// (WIN32_LEAN_AND_MEAN leaves the multimedia API out of windows.h.)
#include <mmsystem.h>
#include <mmreg.h>
#include <msacm.h>

#include <cstdint>
#include <string>
#include <vector>

#include "player/mpeg_stream.h"
#include "win/handles.h"

namespace qlm::player {

// Reads what the player needs to know about a file: its stream, or nothing
// when it cannot be opened or holds no MPEG audio.
std::optional<MpegStreamInfo> ProbeMp3File(const std::string& ansiPath);

class Mp3Decoder {
public:
    Mp3Decoder() = default;
    Mp3Decoder(const Mp3Decoder&) = delete;
    Mp3Decoder& operator=(const Mp3Decoder&) = delete;
    ~Mp3Decoder();

    // Opens the file and positions it at about fromMs. False when the file or
    // the codec cannot be opened.
    bool Open(const std::string& ansiPath, int64_t fromMs);
    void Close();
    // Appends up to about `want` bytes of PCM; false once the stream is exhausted
    // and nothing was added.
    bool Decode(std::vector<char>& pcm, size_t want);
    const WAVEFORMATEX& PcmFormat() const { return pcm_; }

private:
    bool Convert(std::vector<char>& pcm, DWORD flags);

    win::UniqueFile file_;
    MpegStreamInfo info_{};
    WAVEFORMATEX pcm_{};
    HACMSTREAM stream_ = nullptr;
    ACMSTREAMHEADER header_{};
    bool prepared_ = false;
    std::vector<BYTE> src_;
    std::vector<BYTE> dst_;
    DWORD srcFill_ = 0;
    uint64_t remaining_ = 0;  // compressed bytes left to read
    bool started_ = false;
    bool flushed_ = false;
};

}  // namespace qlm::player
