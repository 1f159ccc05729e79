// Sound for the stand-in player: the decoder feeding a waveOut device, with
// buffers handed back to the window (MM_WOM_DONE). Without an audio device
// nothing sounds and the player runs on its clock alone.
#pragma once

#include <windows.h>

#include <array>
#include <string>
#include <vector>

#include "player/mp3_decoder.h"

namespace qlm::player {

class AudioOutput {
public:
    explicit AudioOutput(HWND notifyWindow) : window_(notifyWindow) {}
    AudioOutput(const AudioOutput&) = delete;
    AudioOutput& operator=(const AudioOutput&) = delete;
    ~AudioOutput() { Stop(); }

    // Plays the file from about fromMs; silently does nothing when there is
    // no device or no codec for it.
    void Start(const std::string& ansiPath, int64_t fromMs);
    void Pause(bool paused);
    void Stop();
    void SetVolume(int volume0to255);
    // MM_WOM_DONE: refills and queues the buffer again.
    void BufferDone(HWAVEOUT device, WAVEHDR* header);
    bool Sounding() const { return device_ != nullptr; }

private:
    struct Buffer {
        WAVEHDR header{};
        std::vector<char> pcm;
        bool queued = false;
    };
    bool Queue(Buffer& b);

    HWND window_;
    Mp3Decoder decoder_;
    HWAVEOUT device_ = nullptr;
    std::array<Buffer, 4> buffers_;
    int volume_ = 255;
    bool paused_ = false;
};

}  // namespace qlm::player
