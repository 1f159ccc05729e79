// Panel1, the player panel at the bottom of the main window: the scrolling
// title and comment lines, the stream fields, the progress bar and slider,
// the transport, volume and colour buttons; and the player's share of the
// main window's two timers (Timer1: poll the player, move on at a song's end;
// Timer2: scroll the lines).
//
// The panel's elements are windowless images of the main window's button
// host; the panel lays them out inside the rectangle the main window gives.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/image_button.h"
#include "app/skin_scheme.h"
#include "content/catalogue.h"
#include "playback/bitmap_font.h"
#include "playback/multi_players.h"
#include "playback/panel_logic.h"
#include "playback/play_commands.h"
#include "playback/play_state.h"

namespace qlm {

// What the panel reads of the favourites list and tells the main window.
struct PanelSources {
    std::function<int()> favoritesCount;
    std::function<std::u16string(int)> favoritePath;
    std::function<std::u16string(int)> favoriteCaption;
    std::function<void(PlayList)> repaintList;
    // The scheme index changed (to be saved as QLMColor).
    std::function<void(int)> schemeChanged;
    // The backgrounds and pictures that follow the scheme (redrawLines is the panel's own).
    ColourSchemeTargets schemeTargets;
    std::function<bool()> winampWindowExists;  // default: a window of class "Winamp v1.x"
};

class TPlayerPanel {
public:
    static constexpr int kHeight = 110;
    static constexpr UINT_PTR kTimer2 = 2;
    static constexpr UINT kTimer2Interval = 90;
    static constexpr uint32_t kDemoLengthMs = 7000;

    TPlayerPanel(PlayState& state, TMultiPlayers& players, const Catalogue& catalogue, TPlayCommands& commands,
                 PanelSources sources);
    TPlayerPanel(const TPlayerPanel&) = delete;
    TPlayerPanel& operator=(const TPlayerPanel&) = delete;
    ~TPlayerPanel();

    // Makes the elements in the host (above the panel's backgrounds).
    void Create(ImageButtonHost& host, TMyFontClass* textFont, TMyFontClass* digitsFont);
    // Panel1's rectangle in the window and the width of PlayerCenterImage (W).
    void Layout(const RECT& panel, int travel);

    // Timer1, step 1: the Winamp window check.
    void CheckWinampWindow();
    bool WinampWindowExists() const { return winampWindow_; }
    // Timer1, steps 3 to 5: the player's state, the current song, demo mode,
    // the stream fields, the end of a song, held volume buttons.
    void Timer1Tick();
    void Timer2Tick();
    // The current song is looked up at the next tick (after a play command).
    void RequestLookup() { refresh_ = 2; }

    void ShowStreamInfo(bool visible, int32_t seconds);
    void PlaceSlider(double duration, double position);
    void ReadStreamInfo(const TRDataNode* node);
    void ShowTitle(const std::u16string& text, bool wide);
    // The playing song's title again (other tag fields shown, another language).
    void RefreshTitle();
    void ShowComment(const std::u16string& text);
    void ClearLines();

    // The colour button: the next of the three schemes.
    void ChangeColour();
    void SetScheme(int index);
    int Scheme() const { return scheme_; }
    // The play button shows its pause picture while the player plays.
    void SetPlaying(bool playing);

    // For tests and the benchmark.
    const ScrollLine& TitleLine() const { return title_.line; }
    const std::u16string& DisplayedFile() const { return displayedFile_; }
    int SliderLeft() const;
    TImageButton* Element(std::string_view name) const;

private:
    void ColourProgressBar();
    struct TextLine {
        TImageButton* image = nullptr;
        SkinPicture strip;
        ScrollLine line;
        std::u16string text;
        bool wide = false;
        COLORREF colour = 0;
    };

    TImageButton& Add(const std::string& name);
    TImageButton& AddButton(const std::string& name, std::function<void()> click);
    void LookUpCurrentSong();
    void ShowPlayingNode(const TRDataNode* node);
    void SongEnded();
    void DrawStrip(TextLine& line);
    void BlitLine(TextLine& line);
    void DrawField(TImageButton* field, const std::u16string& text, TMyFontClass* font, int width, int height);
    void DrawFieldBytes(TImageButton* field, std::string_view text, TMyFontClass* font, int width, int height);
    void SliderDown(int x);
    void SliderMove(int x);
    void SliderUp();
    void IconDown(int y);
    void IconUp(int x, int y);
    COLORREF SchemeColour() const;

    PlayState& state_;
    TMultiPlayers& players_;
    const Catalogue& catalogue_;
    TPlayCommands& commands_;
    PanelSources sources_;
    ImageButtonHost* host_ = nullptr;
    TMyFontClass* textFont_ = nullptr;
    TMyFontClass* digitsFont_ = nullptr;
    std::vector<std::unique_ptr<TImageButton>> elements_;
    std::vector<TImageButton*> streamFields_;

    RECT panel_{};
    SliderGeometry slider_;
    TextLine title_, comment_;
    TImageButton *total_ = nullptr, *current_ = nullptr, *stereo_ = nullptr, *kbps_ = nullptr, *bitRate_ = nullptr,
                 *vbr_ = nullptr, *mp3_ = nullptr, *progress_ = nullptr, *sliderBtn_ = nullptr, *icon_ = nullptr,
                 *playBtn_ = nullptr, *volUp_ = nullptr, *volDown_ = nullptr;

    std::u16string displayedFile_;  // whose stream information was read last
    std::u16string drawnFile_;      // last drawn in the static fields
    double duration_ = 0;
    int32_t wholeDuration_ = 0;
    int bitRate_kbps_ = 0;
    std::string stereoText_;
    bool vbr_flag_ = false;
    std::string shownTime_;
    int refresh_ = 0;
    bool winampWindow_ = false;
    bool dragging_ = false;
    int grab_ = 0;
    int sliderLeftRel_ = 0;
    int iconPressY_ = -1;
    bool playing_ = false;
    int scheme_ = 0;
};

}  // namespace qlm
