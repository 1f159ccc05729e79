#include "player/audio_output.h"

namespace qlm::player {

void AudioOutput::Start(const std::string& ansiPath, int64_t fromMs) {
    Stop();
    if (!decoder_.Open(ansiPath, fromMs)) return;
    WAVEFORMATEX format = decoder_.PcmFormat();
    if (waveOutOpen(&device_, WAVE_MAPPER, &format, reinterpret_cast<DWORD_PTR>(window_), 0, CALLBACK_WINDOW) !=
        MMSYSERR_NOERROR) {
        device_ = nullptr;
        decoder_.Close();
        return;
    }
    SetVolume(volume_);
    if (paused_) waveOutPause(device_);
    for (Buffer& b : buffers_) Queue(b);
}

bool AudioOutput::Queue(Buffer& b) {
    // A quarter of a second per buffer.
    const WAVEFORMATEX& f = decoder_.PcmFormat();
    b.pcm.clear();
    if (!decoder_.Decode(b.pcm, f.nAvgBytesPerSec / 4 / f.nBlockAlign * f.nBlockAlign)) return false;
    b.header = {};
    b.header.lpData = b.pcm.data();
    b.header.dwBufferLength = static_cast<DWORD>(b.pcm.size());
    if (waveOutPrepareHeader(device_, &b.header, sizeof(WAVEHDR)) != MMSYSERR_NOERROR) return false;
    if (waveOutWrite(device_, &b.header, sizeof(WAVEHDR)) != MMSYSERR_NOERROR) {
        waveOutUnprepareHeader(device_, &b.header, sizeof(WAVEHDR));
        return false;
    }
    b.queued = true;
    return true;
}

void AudioOutput::BufferDone(HWAVEOUT device, WAVEHDR* header) {
    // Messages of a device closed meanwhile come late; they are not ours any more.
    if (!device_ || device != device_) return;
    for (Buffer& b : buffers_) {
        if (&b.header != header || !b.queued) continue;
        waveOutUnprepareHeader(device_, &b.header, sizeof(WAVEHDR));
        b.queued = false;
        Queue(b);
    }
}

void AudioOutput::Pause(bool paused) {
    paused_ = paused;
    if (!device_) return;
    if (paused)
        waveOutPause(device_);
    else
        waveOutRestart(device_);
}

void AudioOutput::Stop() {
    if (device_) {
        waveOutReset(device_);
        for (Buffer& b : buffers_) {
            if (b.queued) waveOutUnprepareHeader(device_, &b.header, sizeof(WAVEHDR));
            b.queued = false;
        }
        waveOutClose(device_);
        device_ = nullptr;
    }
    paused_ = false;
    decoder_.Close();
}

void AudioOutput::SetVolume(int volume0to255) {
    volume_ = volume0to255;
    if (!device_) return;
    const DWORD v = static_cast<DWORD>(volume_) * 0xFFFF / 255;
    waveOutSetVolume(device_, v | (v << 16));
}

}  // namespace qlm::player
