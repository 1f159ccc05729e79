// The main window: start-up in FormCreate/FormShow, shutdown in
// FormClose/FormDestroy, the window frame (page-button column, top bar, page
// area with the list page, bottom bar with the player panel strip), the disk
// watch on Timer1 and the disk change.
#pragma once

#include <windows.h>

#include <memory>
#include <vector>
#include <string>

#include "app/commands.h"
#include "app/settings_store.h"
#include "app/image_button.h"
#include "base/align_layout.h"
#include "browse/catalogue_browser.h"
#include "favorites/favorites_list.h"
#include "playback/bitmap_font.h"
#include "playback/multi_players.h"
#include "playback/play_commands.h"
#include "playback/player_panel.h"
#include "playback/video_player.h"
#include "playback/play_state.h"
#include "pages/text_form.h"
#include "tools/find_form.h"
#include "win/align_windows.h"
#include "win/splitter_bar.h"
#include "win/window.h"

namespace qlm {

class TSlideShow;
class TInformationPages;


// Posted by the update dialog when it closes; wParam carries the dialog's
// result (1: an installer was started, so the program closes).
constexpr UINT kUpdateDialogClosed = WM_USER + 500;  // 1524
constexpr UINT_PTR kTimer1 = 1;

class TUpdateQLMForm;
class UpdateHost;

// A registered window message with this name opens the update dialog as
// QLM1Click does; the GUI tests use it while no menu leads there.
inline constexpr const wchar_t* kOpenUpdateMessageName = L"QLM Musical Player.QLM1Click";
constexpr UINT kTimer1Interval = 250;

class TMainWindowUi;

class TMainForm : public win::Window {
public:
    // What a restart hand-over asked of the window.
    struct ResumeState {
        int playMode = 0;
        int focusControl = 0;
        int favoritesWidth = 0;
        bool userStopped = false;
        bool demoMode = false;
    };

    static constexpr const wchar_t* kClassName = L"TMainForm";
    // The form's design minimum; the height grows with the visible page buttons.
    static constexpr int kDesignMinWidth = 477;
    static constexpr int kDesignMinHeight = 456;
    static constexpr int kPageButtonHeight = 57;

    TMainForm();
    ~TMainForm() override;

    // Creates the window (running FormCreate). False when it could not be created.
    bool CreateMainWindow();
    // FormShow and the first showing of the window.
    void ShowMainWindow(int showCommand);
    TFavoritesList* Favorites() const { return favorites_.get(); }

    // The window sees keys before its controls: the message loop hands every
    // key press meant for this window or one of its children here first.
    // True when the key was consumed.
    bool PreviewKey(const MSG& msg);

    // The command table the menus and the keys go through; subsystems bind
    // their commands here.
    CommandTable& Commands() { return commands_; }
    // The tree, the song list, their fields and book mode.
    browse::TCatalogueBrowser* Browser() { return browser_.get(); }
    // The one play state the lists, the play commands and the panel share.
    PlayState& Play() { return play_; }
    // Menus, page buttons, language switch; its Seams() are filled by the other parts.
    TMainWindowUi& Ui() { return *ui_; }

    // "Автоматическое обновление": the update check, then the dialog; shows
    // the dialog again while it exists (hidden during a download).
    void QLM1Click();

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    // Start-up and shutdown.
    void FormCreate();
    void FormShow();
    void FormClose();
    void FormDestroy();
    void FormResize();
    void FormPaint();
    void Timer1Timer();
    void UpdateDialogClosed(WPARAM result);
    // A key of the window's key table; true when it is consumed.
    bool FormKeyDown(uint16_t key, uint8_t modifiers);
    void FormCommand(WPARAM wParam, LPARAM lParam);
    void FormContextMenu(HWND control, LPARAM lParam);
    void WireMainUi();
    // The slide show and the HTML pages (main_pages.cpp).
    void BuildPagesFrame();
    void WirePages();
    void LoadPagesAndSlides();
    void ClearPagesAndSlides();
    void PlayMusicLink(const std::u16string& file);
    void MenuHelpClick();

    // The update dialog's side of the main window (main_update.cpp).
    void BindUpdateCommand();
    void DestroyUpdateDialog();
    void AbortUpdateTransfer();
    bool IsOpenUpdateMessage(UINT msg) const;

    // Steps of FormCreate that carry more than a line.
    bool FindDiskRoot();
    void ReadVolumeInformation();
    void CheckLanguageVersion();
    void CreateTextWindow();
    void StartPlayer();
    void SetCaptions();
    void ReleaseCatalogueAndPlayer();
    bool RestartResume();
    void LoadWindowSettings();
    void SaveWindowSettings();
    void PlaceWinampWindow();
    void ShowWinampAsChosen();
    void ShowFavoritesPanel(int width);
    void CreateFavoritesPanel(int box);
    void StartFavorites();
    void BindFavoritesCommands();
    void ApplySchemeColours();
    TImageButton* Image(std::string_view name) const;
    void LoadFirstLeafPlayList();
    void UpdatePlayCommandStates();
    void PassLanguageToTextWindow();
    void ShowTextWindowWhenWanted();
    void CreateFindDialog();
    void ShowPrintList();
    void ApplySongListFields();
    void Splitter2Drag(int listsBox, int edge);
    void ShowPlayingTitleAgain();
    void GiveListsTheirFonts();
    void BuildLanguageMenus();
    void ShowFavoritesNames();
    void ApplyDiskMenus();
    void ShowInformationArrow();
    void ShowSelectedSongText();
    void SwitchSlideShowOff();
    // Playback (main_playback.cpp).
    void CreatePlayback();
    void LoadVideoPlayers();
    void PlaybackResize();
    void Timer2Timer();
    void LeaveToWinamp();

    // Player calls of the disk watch and the shutdown.
    // True when it paused playback.
    bool PausePlayerIfPlaying();
    void ResumePlayerIfPaused();
    void ClearPlayerList();

    // Disk watch and disk change.
    void WatchDisk();
    void ChangeDisk();

    // The frame.
    void BuildFrame();
    TImageButton& AddImage(const std::string& name, int box, bool stretch = false);
    void FillTree();
    // Page buttons of the loaded disk, and the minimum height they ask for.
    void ApplyPageButtons();

    bool shown_ = false;
    bool closed_ = false;
    bool showPending_ = false;
    bool altChordTaken_ = false;  // an Alt chord was consumed: its Alt release is too
    int minHeight_ = kDesignMinHeight;
    HWND focusAfterResume_ = nullptr;
    bool startMaximized_ = false;
    app::Settings settings_;
    CommandTable commands_;
    PlayState play_;
    ResumeState resume_;

    AlignLayout layout_;
    win::AlignedWindows aligned_{layout_};
    HWND tree_ = nullptr;       // Tree
    HWND songsList_ = nullptr;  // SongsList
    HWND favoritesList_ = nullptr;  // FavoritesList
    std::unique_ptr<TMyFontClass> textFont_;    // BitmapFont
    std::unique_ptr<TMyFontClass> digitsFont_;  // BitmapBigFont
    // The skin's pictures and buttons, each following one layout box.
    ImageButtonHost buttonHost_;
    std::vector<std::unique_ptr<TImageButton>> images_;
    std::vector<int> imageBoxes_;

    // The favourites panel: its store's files, the views it reads, the panel.
    fav::FavoritesFiles favoritesFiles_;
    std::unique_ptr<FavoritesViews> favoritesViews_;
    std::unique_ptr<TFavoritesList> favorites_;
    std::unique_ptr<win::SplitterBar> splitter2_;  // Splitter2, left of the favourites panel

    std::unique_ptr<TForm4> form4_;
    // LeftPanel: the tree, the song list and book mode.
    std::unique_ptr<browse::TCatalogueBrowser> browser_;
    std::unique_ptr<TFindForm> findForm_;
    std::unique_ptr<TMultiPlayers> players_;
    std::unique_ptr<UpdateHost> updateHost_;
    std::unique_ptr<TUpdateQLMForm> update_;
    friend class MainUpdateHost;
    std::unique_ptr<TMainWindowUi> ui_;
    std::unique_ptr<TPlayCommands> playCommands_;
    std::unique_ptr<TPlayerPanel> panel_;
    std::unique_ptr<TVideoPlayers> videos_;
    bool leavingToWinamp_ = false;
    std::unique_ptr<TSlideShow> slides_;
    std::unique_ptr<TInformationPages> info_;
};

}  // namespace qlm
