#include "app/main_form.h"
#include "pages/info_pages.h"
#include "pages/slide_show.h"

#include <commctrl.h>

#include <algorithm>
#include <functional>
#include <initializer_list>

#include "app/app_state.h"
#include "app/main_ui.h"
#include "app/startup_paths.h"
#include "app/startup_steps.h"
#include "app/version_compare.h"
#include "content/catalogue.h"
#include "content/disk_location.h"
#include "content/disk_search_win.h"
#include "playback/winamp_control.h"
#include "tools/update_form.h"

namespace qlm {
namespace {

// One start-up or shutdown step: a failure inside it must not stop the next.
void Guarded(const std::function<void()>& step) {
    try {
        step();
    } catch (...) {
    }
}

// "X:\" of a path, or "\\server\share\" of a network path.
std::u16string DriveRootOf(std::u16string_view path) {
    if (path.size() >= 2 && path[1] == u':') return std::u16string(path.substr(0, 2)) + u"\\";
    if (path.size() > 2 && path[0] == u'\\' && path[1] == u'\\') {
        auto server = path.find(u'\\', 2);
        if (server != std::u16string_view::npos) {
            auto share = path.find(u'\\', server + 1);
            return std::u16string(path.substr(0, share == std::u16string_view::npos ? path.size() : share)) + u"\\";
        }
    }
    return std::u16string(path);
}

bool IsCdRomDrive(std::u16string_view path) {
    std::wstring root = win::Wide(DriveRootOf(path));
    return GetDriveTypeW(root.c_str()) == DRIVE_CDROM;
}

}  // namespace

TMainForm::TMainForm() { BindUpdateCommand(); }
TMainForm::~TMainForm() = default;

bool TMainForm::CreateMainWindow() {
    RegisterWindowClass(kClassName, CS_DBLCLKS, nullptr,
                        LoadIconW(win::ModuleInstance(), L"MAINICON"));
    win::CreateParams p;
    p.className = kClassName;
    p.title = L"QLM Musical Player";
    p.style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
    p.x = 70;
    p.y = 201;
    p.width = 330;
    p.height = 348;
    return Create(p);
}

LRESULT TMainForm::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_CREATE:
            FormCreate();
            return 0;
        case WM_SIZE:
            FormResize();
            return 0;
        case WM_GETMINMAXINFO: {
            auto* mm = reinterpret_cast<MINMAXINFO*>(lParam);
            mm->ptMinTrackSize.x = kDesignMinWidth;
            mm->ptMinTrackSize.y = std::max(kDesignMinHeight, minHeight_);
            return 0;
        }
        case WM_ERASEBKGND:
            return 1;
        case WM_MOUSEMOVE:
        case WM_MOUSELEAVE:
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
        case WM_RBUTTONDOWN:
        case WM_RBUTTONUP:
        case WM_CAPTURECHANGED:
            if (buttonHost_.HandleMessage(msg, wParam, lParam)) return 0;
            return Default(msg, wParam, lParam);
        case WM_PAINT:
            FormPaint();
            return 0;
        case WM_TIMER:
            if (wParam == kTimer1) Timer1Timer();
            if (wParam == TPlayerPanel::kTimer2) Timer2Timer();
            return 0;
        case WM_COMMAND:
            FormCommand(wParam, lParam);
            return 0;
        case WM_INITMENUPOPUP:
            if (ui_) ui_->InitMenuPopup(reinterpret_cast<HMENU>(wParam));
            return 0;
        case WM_CONTEXTMENU:
            FormContextMenu(reinterpret_cast<HWND>(wParam), lParam);
            return 0;
        case kUpdateDialogClosed:
            UpdateDialogClosed(wParam);
            return 0;
        case WM_CLOSE:
            FormClose();
            DestroyWindow(hwnd());
            return 0;
        case WM_DESTROY:
            FormDestroy();
            PostQuitMessage(0);
            return 0;
        default:
            if (IsOpenUpdateMessage(msg)) {
                QLM1Click();
                return 0;
            }
            return Default(msg, wParam, lParam);
    }
}

// ---- Commands and keys ----

bool TMainForm::PreviewKey(const MSG& msg) {
    if (findForm_ && findForm_->PreviewMessage(const_cast<MSG&>(msg))) return true;
    const bool keyDown = msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN;
    if (keyDown && form4_ && form4_->PreviewKey(msg)) return true;
    if (!hwnd() || (msg.hwnd != hwnd() && !IsChild(hwnd(), msg.hwnd))) return false;
    // Letting Alt go after a chord the window took must not open the menu bar.
    if (msg.message == WM_SYSKEYUP && msg.wParam == VK_MENU && altChordTaken_) {
        altChordTaken_ = false;
        return true;
    }
    if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN) return false;
    uint8_t modifiers = kModNone;
    if (GetKeyState(VK_CONTROL) < 0) modifiers |= kModCtrl;
    if (GetKeyState(VK_MENU) < 0) modifiers |= kModAlt;
    if (GetKeyState(VK_SHIFT) < 0) modifiers |= kModShift;
    const bool consumed = FormKeyDown(static_cast<uint16_t>(msg.wParam), modifiers);
    if (consumed && modifiers == kModAlt) altChordTaken_ = true;
    return consumed;
}

bool TMainForm::FormKeyDown(uint16_t key, uint8_t modifiers) {
    auto row = CommandForKey(key, modifiers);
    if (!row) return false;
    commands_.Run(row->command);
    return row->consumed;
}

void TMainForm::FormCommand(WPARAM wParam, LPARAM lParam) {
    // Menu items and accelerators only; controls report to their own objects.
    if (lParam != 0) return;
    commands_.RunId(LOWORD(wParam));
}

void TMainForm::FormContextMenu(HWND control, LPARAM lParam) {
    if (!ui_) return;
    PopupList list = control == tree_             ? PopupList::Tree
                     : control == songsList_      ? PopupList::SongsList
                     : control == favoritesList_  ? PopupList::Favorites
                                                  : PopupList::None;
    if (list == PopupList::None) return;
    POINT p{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    if (lParam == -1) {  // from the keyboard: at the control's top-left corner, over the selection
        RECT rc{};
        GetWindowRect(control, &rc);
        p = {rc.left + 8, rc.top + 8};
        if (browser_ && list != PopupList::Favorites) browser_->PopupFromKeyboard(control);
    }
    ui_->ShowPopupMenu(list, p);
}

// ---- Start-up ----

void TMainForm::FormCreate() {
    AppState& app = App();
    const std::initializer_list<std::function<void()>> steps = {
        // 1. No update dialog, find dialog or player yet.
        [&] { players_.reset(); },
        // 2. The player panel's bitmap fonts.
        [&] {
            textFont_ = CreateTextFont();
            digitsFont_ = CreateDigitsFont();
        },
        // 3. The language: the registry's choice when its file is in the support folder.
        [&] { app.languageId = LoadLanguage(app.supportFolder); },
        // 4. Second closing flag off; the tree's tool tips.
        [&] {
            app.closing2 = false;
            BuildFrame();
            LogCommandsWhenAsked(commands_);
            ui_ = std::make_unique<TMainWindowUi>(TMainWindowUi::Frame{
                hwnd(), &layout_, [this](std::string_view name) { return Image(name); }, [this] { FormResize(); },
                [this] { SetCaptions(); }, &commands_, &play_, &settings_});
            WireMainUi();
        },
        // 5. The disk root: own drive, command line or the search.
        [&] {
            if (!FindDiskRoot()) app.quitAtStart = true;
        },
        // 6. Where the disk lies.
        [&] {
            app.runningFromCd = IsCdRomDrive(app.programFile);
            ReadVolumeInformation();
        },
        // 7. One layout pass; nothing is playing and no disk is known yet.
        [&] {
            FormResize();
            play_.PlayMode = kPlaySingleSong;
            ClearCatalogueState();
        },
        // 8. A language file that needs a newer program ends the start.
        [&] { CheckLanguageVersion(); },
        // 9. Disk acceptance.
        [&] {
            if (!IsDiskRoot(app.diskRoot)) {
                RemoveSupportFont();
                app.quitAtStart = true;
            }
        },
        // 10. The loading box stays up until FormShow.
        [&] { ShowLoadingBox(); },
        // 11. The text window; its creation loads the description.
        [&] { CreateTextWindow(); },
        // 12. Window settings.
        [&] { LoadWindowSettings(); },
        // 13-16. Winamp and the player dispatcher.
        [&] { StartPlayer(); },
        [&] { CreatePlayback(); },
        // 17. Favourites of this disk.
        [&] { StartFavorites(); },
        // 18. Play-checked and play-favourites only with something to play.
        [&] { UpdatePlayCommandStates(); },
        // 19. Play mode "disk" and the player poll.
        [&] {
            play_.PlayMode = kPlayDisk;
            SetTimer(hwnd(), kTimer1, kTimer1Interval, nullptr);
        },
        // 20-21. The text window follows the language and its button.
        [&] { PassLanguageToTextWindow(); },
        [&] { ShowTextWindowWhenWanted(); },
        // 22. Focus goes to the tree after the resume.
        [&] { focusAfterResume_ = tree_; },
        // 23. Winamp's window at its saved place.
        [&] { PlaceWinampWindow(); },
        // 24. The find dialog.
        [&] { CreateFindDialog(); },
        // 25. Caption and application title.
        [&] { SetCaptions(); },
        // 26. Song-list fields and the title strip.
        [&] { ApplySongListFields(); },
    };
    for (const auto& step : steps) {
        Guarded(step);
        if (app.quitAtStart) break;
    }
    // 27. Quitting ends the message loop before the window is ever shown.
    if (app.quitAtStart) PostQuitMessage(0);
}

bool TMainForm::FindDiskRoot() {
    AppState& app = App();
    std::u16string programFolder = FolderOf(app.programFile);
    bool programOnCd = IsCdRomDrive(app.programFile);
    std::u16string line = win::U16(GetCommandLineW());
    DiskRootChoice choice = ChooseDiskRoot(programOnCd, programFolder, FirstCommandLineParameter(line));
    if (choice.source != DiskRootSource::SearchDrives) {
        app.diskRoot = choice.root;
        return true;
    }
    WinDiskSearchPorts ports(hwnd(), app.languageId);
    auto root = SearchDiskRoot(ports);
    if (!root) return false;
    app.diskRoot = *root;
    return true;
}

void TMainForm::ReadVolumeInformation() {
    AppState& app = App();
    wchar_t name[MAX_PATH + 1] = {};
    DWORD serial = 0;
    std::wstring root = win::Wide(DriveRootOf(app.diskRoot));
    if (GetVolumeInformationW(root.c_str(), name, MAX_PATH + 1, &serial, nullptr, nullptr, nullptr, 0)) {
        app.volumeName = win::U16(name).substr(0, 36);
        app.volumeSerial = serial;
    } else {
        app.volumeName.clear();
        app.volumeSerial = 0;
    }
}

void TMainForm::CheckLanguageVersion() {
    AppState& app = App();
    if (app.languageId.empty()) return;
    std::string wanted = LanguageMinProgramVersion();
    if (!IsVersionHigher(wanted, ProgramFileVersion())) return;
    ShowStartupMessage(hwnd(), StartupText::UpdateForLanguage, StartupText::WarningCaption, StartupIcon::Warning);
    app.quitAtStart = true;
}

void TMainForm::CreateTextWindow() {
    AppState& app = App();
    form4_ = std::make_unique<TForm4>();
    form4_->Create(hwnd(), TheCatalogue(), app.diskRoot, !app.languageId.empty());
    form4_->AttachDockSite({hwnd(), &layout_, [this] { FormResize(); }, Image("TextBtn"), {}});
    TForm4::BindCommands(commands_, [this] { return form4_.get(); });
    switch (form4_->DescriptionResult()) {
        case DescriptionLoadResult::Loaded:
            FillTree();
            LoadPagesAndSlides();
            break;
        case DescriptionLoadResult::Damaged:
            // Ending without a word would leave the user with no clue: say why.
            ShowStartupMessage(hwnd(), StartupText::DamagedDescription, StartupText::ErrorCaption,
                               StartupIcon::Error);
            app.quitAtStart = true;
            break;
        case DescriptionLoadResult::NeedsNewerProgram:
            ShowStartupMessage(hwnd(), StartupText::UpdateForLanguage, StartupText::WarningCaption,
                               StartupIcon::Warning);
            app.quitAtStart = true;
            break;
    }
}

void TMainForm::StartPlayer() {
    AppState& app = App();
    std::u16string winamp = FindWinampProgram(app.diskRoot, app.runningFromCd);
    if (winamp.empty()) {
        ShowStartupMessage(hwnd(), StartupText::WinampNotFound, StartupText::ErrorCaption, StartupIcon::Error);
        ReleaseCatalogueAndPlayer();
        app.quitAtStart = true;
        return;
    }
    // Winamp's own bitmap font cannot show Cyrillic names: off while the shell runs.
    if (!app.runningFromCd && TheCatalogue().NameCharset() == kCyrillicCharset)
        app.winampFontSwitched = SwitchOffWinampFont(winamp);
    app.winampProgram = winamp;
    players_ = std::make_unique<TMultiPlayers>(false, WinampPlayerFactory());
    players_->Register(kWinampPlayerId, winamp, SW_HIDE);
    players_->Select(kWinampPlayerId);
}

bool TMainForm::PausePlayerIfPlaying() {
    if (!players_ || players_->GetState() != kPlayerPlaying) return false;
    players_->Pause();
    return true;
}

void TMainForm::ResumePlayerIfPaused() {
    if (players_ && players_->GetState() == kPlayerPaused) players_->Pause();  // Pause toggles it back on
}

void TMainForm::ClearPlayerList() {
    if (players_) players_->ClearList();
}

void TMainForm::SetCaptions() {
    std::u16string caption = MainCaption(!App().languageId.empty());
    SetWindowTextW(hwnd(), win::Wide(caption).c_str());
    SetApplicationTitle(caption);
}

void TMainForm::ShowMainWindow(int showCommand) {
    FormShow();
    if (App().quitAtStart) return;
    ShowWindow(hwnd(), startMaximized_ ? SW_SHOWMAXIMIZED : showCommand);
    UpdateWindow(hwnd());
}

void TMainForm::FormShow() {
    AppState& app = App();
    if (app.quitAtStart || shown_) return;
    shown_ = true;
    const std::initializer_list<std::function<void()>> steps = {
        // 1. The disk must still be there.
        [&] {
            if (!IsDiskRoot(app.diskRoot)) {
                CloseLoadingBox();
                ReleaseCatalogueAndPlayer();
                app.quitAtStart = true;
                PostQuitMessage(0);
            }
        },
        // 2. The lists draw with their controls' fonts.
        [&] { GiveListsTheirFonts(); },
        // 3. The hand-over of a restart, or the first leaf's play list.
        [&] {
            if (!RestartResume()) LoadFirstLeafPlayList();
        },
        // 4-6. Language menus, favourites names, the disk's menus and buttons.
        [&] { BuildLanguageMenus(); },
        [&] { ShowFavoritesNames(); },
        [&] { ApplyDiskMenus(); },
        // 7. The loading box goes.
        [&] { CloseLoadingBox(); },
        // 8. The text window when its button is down.
        [&] { ShowTextWindowWhenWanted(); },
        // 9. The first tree node is selected.
        [&] {
            if (tree_) {
                HTREEITEM first = TreeView_GetRoot(tree_);
                if (first) TreeView_SelectItem(tree_, first);
            }
        },
        // 10. Raise the window.
        [&] {
            Sleep(10);
            SetWindowPos(hwnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        },
        // 11. The colour scheme of the settings.
        [&] { ApplySchemeColours(); },
        // 12-13. The information pages' arrow; the selected song's text.
        [&] { ShowInformationArrow(); },
        [&] { ShowSelectedSongText(); },
        // 14. Minimum height from the visible page buttons.
        [&] { ApplyPageButtons(); },
        // 15. Winamp's window as the user chose.
        [&] { ShowWinampAsChosen(); },
        [&] {
            if (focusAfterResume_) SetFocus(focusAfterResume_);
        },
    };
    for (const auto& step : steps) {
        Guarded(step);
        if (app.quitAtStart) break;
    }
}

// Steps carried out by the parts that come with the menus, the song list, the
// favourites, the text window, the pages, the slide show and the find dialog;
// until they are there these steps have nothing to do.
void TMainForm::PassLanguageToTextWindow() {
    if (form4_) form4_->SetTextWindowCaption();
}
void TMainForm::ShowTextWindowWhenWanted() {
    if (form4_) form4_->ShowWhenButtonDown(settings_);
}
void TMainForm::GiveListsTheirFonts() {
    if (favorites_) favorites_->UpdateColumnWidth();
}
void TMainForm::BuildLanguageMenus() {
    if (ui_) ui_->BuildLanguageMenus();
}
void TMainForm::ShowFavoritesNames() {
    if (favorites_) favorites_->ShowNames();
}
void TMainForm::ApplyDiskMenus() {
    if (ui_) ui_->ApplyDiskMenus();
}
// The arrow follows the information pages in ApplyDiskMenus.
void TMainForm::ShowInformationArrow() {}
void TMainForm::ShowSelectedSongText() {
    if (!form4_ || !browser_) return;
    const Catalogue& cat = TheCatalogue();
    if (const TRDataNode* node = browser_->SelectedNode())
        form4_->ShowForNode(*node, cat.NodeDisplayText(*node, true, false));
}
void TMainForm::SwitchSlideShowOff() {
    if (slides_) slides_->PlayPicBtnClick(false);
}

// ---- Shutdown ----

void TMainForm::FormClose() {
    if (closed_) return;
    closed_ = true;
    AppState& app = App();
    Guarded([&] { AbortUpdateTransfer(); });
    Guarded([&] {
        if (!app.quitAtStart) {
            Guarded([&] {
                if (favorites_) favorites_->Save();
            });
            Guarded([&] { SaveWindowSettings(); });
        }
    });
    Guarded([&] { videos_.reset(); });
    Guarded([&] {
        app.closing1 = true;
        KillTimer(hwnd(), kTimer1);
        KillTimer(hwnd(), TPlayerPanel::kTimer2);
        ReleaseCatalogueAndPlayer();
    });
    Guarded([&] {
        textFont_.reset();
        digitsFont_.reset();
    });
    Guarded([&] {
        app.closing2 = true;
        findForm_.reset();
        form4_.reset();
    });
}

void TMainForm::FormDestroy() {
    Guarded([&] {
        panel_.reset();
        playCommands_.reset();
    });
    Guarded([&] { players_.reset(); });
}

void TMainForm::ReleaseCatalogueAndPlayer() {
    RemoveSupportFont();
    Guarded([&] {
        if (players_ && !leavingToWinamp_) players_->Stop();
    });
    Guarded([&] {
        AppState& app = App();
        if (app.winampFontSwitched) RestoreWinampFont(app.winampProgram);
        app.winampFontSwitched = false;
    });
    Guarded([&] {
        if (browser_) browser_->Clear();
        ClearPagesAndSlides();
        if (favorites_) favorites_->Empty();
        ReleaseCatalogue(TheCatalogue());
    });
}

void TMainForm::UpdateDialogClosed(WPARAM result) {
    DestroyUpdateDialog();
    if (form4_ && form4_->hwnd()) EnableWindow(form4_->hwnd(), TRUE);
    EnableWindow(hwnd(), TRUE);
    if (result == 1)
        PostMessageW(hwnd(), WM_CLOSE, 0, 0);
    else
        SetActiveWindow(hwnd());
}

// ---- Disk watch ----

void TMainForm::Timer1Timer() {
    if (App().closing1) return;
    Guarded([&] {
        if (panel_) panel_->CheckWinampWindow();
    });
    Guarded([&] { WatchDisk(); });
    Guarded([&] {
        if (panel_) panel_->Timer1Tick();
    });
}

void TMainForm::WatchDisk() {
    AppState& app = App();
    DiskWatchState state{app.runningFromCd, app.diskAbsent, app.volumeSerial};
    bool present = (app.runningFromCd || app.diskAbsent) && IsDiskRoot(app.diskRoot);
    if (!app.runningFromCd && !app.diskAbsent) return;
    auto action = WatchDiskStep(state, present, [&] {
        ReadVolumeInformation();
        return app.volumeSerial;
    });
    app.diskAbsent = state.diskAbsent;
    switch (action) {
        case DiskWatchAction::None:
            break;
        case DiskWatchAction::DiskRemoved:
            app.pausedByDiskWatch = PausePlayerIfPlaying();
            SwitchSlideShowOff();  // its pictures are on the disk
            break;
        case DiskWatchAction::SameDiskBack:
            // Only what the removal paused goes on: a pause of the user's, or
            // playback the user started meanwhile, is left as it is.
            if (app.pausedByDiskWatch) ResumePlayerIfPaused();
            app.pausedByDiskWatch = false;
            break;
        case DiskWatchAction::OtherDisk:
            app.pausedByDiskWatch = false;
            ChangeDisk();
            break;
    }
}

void TMainForm::ChangeDisk() {
    AppState& app = App();
    Guarded([&] {
        if (favorites_) favorites_->Save();
    });
    Guarded([&] {
        if (favorites_) favorites_->Empty();
        if (browser_) browser_->Clear();
        ClearPagesAndSlides();
        play_.ForgetCatalogue();
        if (findForm_) findForm_->CatalogueChanged();
        ReleaseCatalogue(TheCatalogue());
        if (form4_) form4_->StorePlacement(settings_);
        form4_.reset();
        ClearCatalogueState();
        ClearPlayerList();
        FormResize();
        play_.PlayMode = kPlaySingleSong;
    });
    Guarded([&] { CreateTextWindow(); });
    if (app.quitAtStart) {
        // The new disk's description cannot be used and the program ends; the
        // session's window settings are kept as at any close (its favourites
        // were saved above, with the old disk).
        Guarded([&] { SaveWindowSettings(); });
        PostMessageW(hwnd(), WM_CLOSE, 0, 0);
        return;
    }
    Guarded([&] {
        app.runningFromCd = IsCdRomDrive(app.diskRoot);
        ReadVolumeInformation();
    });
    Guarded([&] {
        if (favorites_) favorites_->LoadForDisk();
    });
    Guarded([&] { UpdatePlayCommandStates(); });
    Guarded([&] { ShowTextWindowWhenWanted(); });
    Guarded([&] { SetCaptions(); });
    Guarded([&] {
        if (tree_) {
            HTREEITEM first = TreeView_GetRoot(tree_);
            if (first) TreeView_SelectItem(tree_, first);
        }
        if (playCommands_) playCommands_->LoadDiskChangeList();
    });
    Guarded([&] { LoadVideoPlayers(); });
    Guarded([&] { ApplyDiskMenus(); });
    Guarded([&] { ShowInformationArrow(); });
    Guarded([&] { ApplyPageButtons(); });
}

}  // namespace qlm
