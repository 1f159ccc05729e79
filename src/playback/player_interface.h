// The one interface through which the shell asks anything of an audio player.
// The shell decodes no audio itself; every play command, the player panel and
// the restart hand-over talk to a TVNTPlayer (in practice the dispatcher).
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace qlm {

// Raised when an operation reaches the base class: a player class that forgot
// one of the twenty operations. Named, so the fault is found at once.
class TAbstractPlayerCall : public std::logic_error {
public:
    explicit TAbstractPlayerCall(const char* operation)
        : std::logic_error(std::string("abstract player operation called: TVNTPlayer::") + operation) {}
};

// The twenty operations, declared in their slot order. None is pure: an
// implementation that leaves one out raises TAbstractPlayerCall instead of
// the undefined behaviour of a pure call.
//
// File names are full Windows paths. Results a caller never uses are void.
class TVNTPlayer {
public:
    TVNTPlayer(const TVNTPlayer&) = delete;
    TVNTPlayer& operator=(const TVNTPlayer&) = delete;
    virtual ~TVNTPlayer() = default;

    virtual void Reserved();                             // 0  nothing calls it
    virtual void Close();                                // 1  end playback before release
    virtual void Play();                                 // 2
    virtual void Stop();                                 // 3
    virtual void Pause();                                // 4  toggles
    virtual void NextTrack();                            // 5
    virtual void PrevTrack();                            // 6
    virtual int32_t GetTrackLength();                    // 7  seconds
    virtual int32_t GetPosition();                       // 8  ms; -1 when unreachable
    virtual void Seek(int32_t ms);                       // 9
    virtual void VolumeUp();                             // 10
    virtual void VolumeDown();                           // 11
    virtual int32_t GetState();                          // 12 0 stopped, 1 playing, 3 paused, -1 otherwise
    virtual int32_t GetListLength();                     // 13 0 when unreachable
    virtual void GetListFile(int32_t index, std::u16string& name);  // 14 empty when unreachable or index < 0
    virtual int32_t GetListPosition();                   // 15 0-based; -1 when unreachable
    virtual void GetCurrentFile(std::u16string& name);   // 16
    virtual void ClearList();                            // 17
    virtual bool AddFile(const std::u16string& name);    // 18 true when accepted
    virtual bool ShowPlayerWindow(int32_t playerId, int32_t showCommand);  // 19 ShowWindow code

protected:
    TVNTPlayer() = default;
};

// Play states as GetState answers them.
constexpr int32_t kPlayerStopped = 0;
constexpr int32_t kPlayerPlaying = 1;
constexpr int32_t kPlayerPaused = 3;
constexpr int32_t kPlayerUnknownState = -1;

// Player ids of the dispatcher. 0 is kept for a built-in player the program
// does not have.
constexpr int32_t kBuiltInPlayerId = 0;
constexpr int32_t kWinampPlayerId = 1;

}  // namespace qlm
