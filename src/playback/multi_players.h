// The player dispatcher: a table of registered players and the one selected,
// to which every operation is forwarded. The main window owns one.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "playback/player_interface.h"
#include "playback/player_item.h"

namespace qlm {

// Makes the player object for a registered item; null when the item's kind of
// player cannot be made. The program passes WinampPlayerFactory()
// (playback/winamp_control.h); tests pass their own.
using PlayerFactory = std::function<std::unique_ptr<TVNTPlayer>(const TPlayerItem&)>;

class TMultiPlayers final : public TVNTPlayer {
public:
    // Create(withBuiltIn): the program passes false.
    TMultiPlayers(bool withBuiltIn, PlayerFactory factory);
    ~TMultiPlayers() override;

    void Register(int32_t id, const std::u16string& path, int32_t showCommand);
    // Releases the current player and makes the one registered under `id`;
    // the current id again does nothing; an unknown id leaves CurrentId alone.
    void Select(int32_t id);

    int32_t CurrentId() const { return currentId_; }
    TVNTPlayer* Current() const { return current_.get(); }
    const std::vector<std::unique_ptr<TPlayerItem>>& Items() const { return items_; }
    const TPlayerItem* LastItem() const { return lastItem_; }
    bool WithBuiltIn() const { return withBuiltIn_; }

    // Forwarded to Current. Without a selected player every query answers as
    // an unreachable player does and commands do nothing.
    void Reserved() override;
    void Close() override;
    void Play() override;
    void Stop() override;
    void Pause() override;
    void NextTrack() override;
    void PrevTrack() override;
    int32_t GetTrackLength() override;
    int32_t GetPosition() override;
    void Seek(int32_t ms) override;
    void VolumeUp() override;
    void VolumeDown() override;
    int32_t GetState() override;
    int32_t GetListLength() override;
    void GetListFile(int32_t index, std::u16string& name) override;
    int32_t GetListPosition() override;
    void GetCurrentFile(std::u16string& name) override;
    void ClearList() override;
    bool AddFile(const std::u16string& name) override;
    // Stores the show command in every item with this id (id > 0); only the
    // current player's window is shown or hidden. True only while Winamp is current.
    bool ShowPlayerWindow(int32_t playerId, int32_t showCommand) override;

private:
    void ReleaseCurrent();

    std::unique_ptr<TVNTPlayer> current_;
    int32_t currentId_ = -1;
    std::vector<std::unique_ptr<TPlayerItem>> items_;
    const TPlayerItem* lastItem_ = nullptr;
    bool withBuiltIn_;
    PlayerFactory factory_;
};

}  // namespace qlm
