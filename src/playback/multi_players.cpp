#include "playback/multi_players.h"

namespace qlm {

TMultiPlayers::TMultiPlayers(bool withBuiltIn, PlayerFactory factory)
    : withBuiltIn_(withBuiltIn), factory_(std::move(factory)) {
    if (withBuiltIn_) Register(kBuiltInPlayerId, u"", 0);
}

TMultiPlayers::~TMultiPlayers() {
    // The player goes first: destroying it may still send it commands.
    current_.reset();
    items_.clear();
}

void TMultiPlayers::Register(int32_t id, const std::u16string& path, int32_t showCommand) {
    auto item = std::make_unique<TPlayerItem>(TPlayerItem{id, path, showCommand});
    lastItem_ = item.get();
    items_.push_back(std::move(item));
}

void TMultiPlayers::ReleaseCurrent() {
    if (!current_) return;
    // Close first so that the player stops before it is destroyed, even if
    // closing fails.
    try {
        current_->Close();
    } catch (...) {
    }
    current_.reset();
}

void TMultiPlayers::Select(int32_t id) {
    if (id == currentId_) return;
    ReleaseCurrent();
    const TPlayerItem* found = nullptr;
    for (const auto& item : items_) {
        if (item->Id == id) {
            found = item.get();
            break;
        }
    }
    if (!found) return;
    if (found->Id == kWinampPlayerId && factory_) current_ = factory_(*found);
    currentId_ = id;
}

void TMultiPlayers::Reserved() {
    if (current_) current_->Reserved();
}
void TMultiPlayers::Close() {
    if (current_) current_->Close();
}
void TMultiPlayers::Play() {
    if (current_) current_->Play();
}
void TMultiPlayers::Stop() {
    if (current_) current_->Stop();
}
void TMultiPlayers::Pause() {
    if (current_) current_->Pause();
}
void TMultiPlayers::NextTrack() {
    if (current_) current_->NextTrack();
}
void TMultiPlayers::PrevTrack() {
    if (current_) current_->PrevTrack();
}
int32_t TMultiPlayers::GetTrackLength() { return current_ ? current_->GetTrackLength() : 0; }
int32_t TMultiPlayers::GetPosition() { return current_ ? current_->GetPosition() : -1; }
void TMultiPlayers::Seek(int32_t ms) {
    if (current_) current_->Seek(ms);
}
void TMultiPlayers::VolumeUp() {
    if (current_) current_->VolumeUp();
}
void TMultiPlayers::VolumeDown() {
    if (current_) current_->VolumeDown();
}
int32_t TMultiPlayers::GetState() { return current_ ? current_->GetState() : kPlayerUnknownState; }
int32_t TMultiPlayers::GetListLength() { return current_ ? current_->GetListLength() : 0; }
void TMultiPlayers::GetListFile(int32_t index, std::u16string& name) {
    if (current_)
        current_->GetListFile(index, name);
    else
        name.clear();
}
int32_t TMultiPlayers::GetListPosition() { return current_ ? current_->GetListPosition() : -1; }
void TMultiPlayers::GetCurrentFile(std::u16string& name) {
    if (current_)
        current_->GetCurrentFile(name);
    else
        name.clear();
}
void TMultiPlayers::ClearList() {
    if (current_) current_->ClearList();
}
bool TMultiPlayers::AddFile(const std::u16string& name) { return current_ ? current_->AddFile(name) : false; }

bool TMultiPlayers::ShowPlayerWindow(int32_t playerId, int32_t showCommand) {
    if (playerId > 0) {
        for (auto& item : items_)
            if (item->Id == playerId) item->ShowCommand = showCommand;
    }
    if (playerId == currentId_ && current_) current_->ShowPlayerWindow(playerId, showCommand);
    return currentId_ == kWinampPlayerId;
}

}  // namespace qlm
