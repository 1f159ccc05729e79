// The stand-in player's behaviour, free of windows: a play list, a state
// (stopped, playing, paused), a position that runs with a clock, and the
// answers Winamp 5 gives to the window messages the shell sends. The window
// of the program (standin_window.*) only passes messages in and out.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qlm::player {

struct TrackInfo {
    int64_t lengthMs = -1;  // -1 when unknown
    int sampleRate = 0;
    int bitrateKbps = 0;
    int channels = 0;
};

// What the core needs from the outside world.
class PlayerHost {
public:
    virtual ~PlayerHost() = default;
    virtual int64_t NowMs() = 0;  // a monotonic clock
    // Opens a list entry to learn its length; nullopt when it cannot be played.
    virtual std::optional<TrackInfo> Probe(const std::string& fileName) = 0;
    // Sound output; the defaults are the silent player.
    virtual void AudioStart(const std::string& /*fileName*/, int64_t /*fromMs*/) {}
    virtual void AudioPause(bool /*paused*/) {}
    virtual void AudioStop() {}
    virtual void AudioVolume(int /*volume0to255*/) {}
};

enum class PlayState { Stopped, Playing, Paused };

class PlayerCore {
public:
    // Buffers that message 211 answers are at least this large, so a reader
    // may copy 1001 bytes from any of them.
    static constexpr size_t kNameBufferSize = 1040;
    static constexpr intptr_t kVersion = 0x5000;

    explicit PlayerCore(PlayerHost& host) : host_(host) {}

    // WM_USER: lParam is the request, wParam its argument.
    intptr_t OnUser(intptr_t wParam, intptr_t lParam);
    // WM_COMMAND: always answers 0. Sets quitRequested for 40001.
    intptr_t OnCommand(int id);
    // WM_COPYDATA: 100 appends the file name (bounded by size, up to its zero).
    intptr_t OnCopyData(uintptr_t dwData, const void* data, size_t size);
    // Called often: moves on when the current track has ended.
    void Tick();

    PlayState State() const { return state_; }
    int64_t PositionMs();  // -1 when stopped
    int ListPosition() const { return pos_; }
    int ListLength() const { return static_cast<int>(entries_.size()); }
    const char* EntryName(int index) const;
    const char* EntryTitle(int index) const;
    // The track that plays or is paused; empty when stopped.
    const std::string& PlayingName() const { return playingName_; }
    int64_t PlayingLengthMs() const { return playingInfo_.lengthMs; }
    int Volume() const { return volume_; }
    // Grows on every change of the list, so a view knows when to refill.
    unsigned ListVersion() const { return listVersion_; }
    // Grows when the list is emptied; between two emptyings it only grows at
    // its end, so a view may append the new entries instead of refilling.
    unsigned ListClears() const { return listClears_; }
    bool QuitRequested() const { return quitRequested_; }

private:
    struct Entry {
        std::unique_ptr<char[]> name;   // stable while the entry exists
        std::unique_ptr<char[]> title;
        std::optional<TrackInfo> info;
        bool probed = false;
    };
    const TrackInfo* InfoOf(int index);
    // Plays entry `from`, or the first playable one after it; stops when none is.
    void PlayFrom(int from);
    void StopPlaying();
    void Step(int delta);
    void TrackEnded();
    void SetPosition(int64_t ms);
    intptr_t LengthAnswer(bool inMs);
    intptr_t JumpTo(intptr_t ms);
    static std::unique_ptr<char[]> Buffer(std::string_view text);

    PlayerHost& host_;
    std::vector<Entry> entries_;
    int pos_ = 0;
    PlayState state_ = PlayState::Stopped;
    std::string playingName_;
    TrackInfo playingInfo_;
    // Set when the list was emptied under a playing track: the track plays on
    // but no longer belongs to the list.
    bool detached_ = false;
    int64_t basePositionMs_ = 0;  // position at baseClockMs_ (the position itself while paused)
    int64_t baseClockMs_ = 0;
    int volume_ = 255;
    unsigned listVersion_ = 0;
    unsigned listClears_ = 0;
    bool quitRequested_ = false;
};

}  // namespace qlm::player
