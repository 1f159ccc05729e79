#include "playback/player_interface.h"

namespace qlm {

void TVNTPlayer::Reserved() { throw TAbstractPlayerCall("Reserved"); }
void TVNTPlayer::Close() { throw TAbstractPlayerCall("Close"); }
void TVNTPlayer::Play() { throw TAbstractPlayerCall("Play"); }
void TVNTPlayer::Stop() { throw TAbstractPlayerCall("Stop"); }
void TVNTPlayer::Pause() { throw TAbstractPlayerCall("Pause"); }
void TVNTPlayer::NextTrack() { throw TAbstractPlayerCall("NextTrack"); }
void TVNTPlayer::PrevTrack() { throw TAbstractPlayerCall("PrevTrack"); }
int32_t TVNTPlayer::GetTrackLength() { throw TAbstractPlayerCall("GetTrackLength"); }
int32_t TVNTPlayer::GetPosition() { throw TAbstractPlayerCall("GetPosition"); }
void TVNTPlayer::Seek(int32_t) { throw TAbstractPlayerCall("Seek"); }
void TVNTPlayer::VolumeUp() { throw TAbstractPlayerCall("VolumeUp"); }
void TVNTPlayer::VolumeDown() { throw TAbstractPlayerCall("VolumeDown"); }
int32_t TVNTPlayer::GetState() { throw TAbstractPlayerCall("GetState"); }
int32_t TVNTPlayer::GetListLength() { throw TAbstractPlayerCall("GetListLength"); }
void TVNTPlayer::GetListFile(int32_t, std::u16string&) { throw TAbstractPlayerCall("GetListFile"); }
int32_t TVNTPlayer::GetListPosition() { throw TAbstractPlayerCall("GetListPosition"); }
void TVNTPlayer::GetCurrentFile(std::u16string&) { throw TAbstractPlayerCall("GetCurrentFile"); }
void TVNTPlayer::ClearList() { throw TAbstractPlayerCall("ClearList"); }
bool TVNTPlayer::AddFile(const std::u16string&) { throw TAbstractPlayerCall("AddFile"); }
bool TVNTPlayer::ShowPlayerWindow(int32_t, int32_t) { throw TAbstractPlayerCall("ShowPlayerWindow"); }

}  // namespace qlm
