// The update dialog "Обновление": asks the publisher's server for the newest
// version, downloads the installer with a progress display, hands the play
// list over for the restart, starts the installer and lets the main window
// close. Created by the main window's QLM1Click; tells the main window it has
// finished by posting kUpdateDialogClosed (1524) with its result.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "app/restart_resume.h"
#include "playback/player_interface.h"
#include "tools/http_client.h"
#include "win/handles.h"
#include "win/window.h"

namespace qlm {

// The dialog posts itself this message on its first activation to start the
// download; posted to the main window it says the dialog has finished (wParam:
// the dialog's result).
constexpr UINT kUpdateMessage = WM_USER + 500;  // 1524

// What the dialog needs of the main window.
class UpdateHost {
public:
    virtual ~UpdateHost() = default;
    virtual HWND MainWindow() = 0;
    virtual HWND TextWindow() = 0;  // null when there is none
    virtual TVNTPlayer* Player() = 0;  // null when there is none
    virtual HandOverWindowState HandOverState() = 0;
    virtual std::u16string LanguageId() = 0;
    virtual std::u16string InstalledProgramPath() = 0;  // RootDir
};

class TUpdateQLMForm : public win::Window {
public:
    static constexpr const wchar_t* kClassName = L"TUpdateQLMForm";
    // Results posted to the main window with the finished message.
    static constexpr int kResultNone = 0;
    static constexpr int kResultOk = 1;      // the installer was started
    static constexpr int kResultCancel = 2;  // the user aborted

    explicit TUpdateQLMForm(UpdateHost& host);
    ~TUpdateQLMForm() override;

    // Creates the dialog hidden and runs the check; true when an update was
    // found, and then the dialog is shown (its first activation starts the
    // download). False: nothing to download, the caller destroys the dialog.
    bool CreateAndCheck();
    // QLM1Click while the dialog exists (hidden during a download).
    void ShowAgain();
    // The main window closes: the transfer ends without its error message.
    void AbortTransfer();
    int ModalResult() const { return modalResult_; }

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void FormCreate();
    void FormActivate();
    void CreateControls();
    void Check();
    void DownloadInstaller();  // the private message on the first activation
    void Timer1Timer();
    void CloseBtnClick();
    void SpeedButton1Click();

    // Events of the HTTP client.
    void NMHTTP1HostResolved();
    void NMHTTP1Connect();
    void NMHTTP1PacketRecvd();
    void NMHTTP1Success(HttpCommand cmd);
    void NMHTTP1Failure(HttpCommand cmd);
    void NMHTTP1ConnectionFailed();
    void NMHTTP1InvalidHost();

    // Steps of the download.
    // Where the installer ends up: false when the user keeps it only in the
    // temporary file.
    bool SaveInstallerCopy(std::u16string& installer);
    void WriteHandOver(const std::u16string& tempInstaller);
    bool StartInstaller(const std::u16string& installer);
    void Finish();
    void EnableOwnerWindows(bool enable);
    void OpenHomePage();
    bool AskYesNo(const std::u16string& text, const std::u16string& caption);
    void SetLabel(HWND label, const std::u16string& text);

    UpdateHost& host_;
    THttpClient http_;
    std::u16string server_, homePage_;
    int state_ = 0;            // the transfer state the client's events set
    DWORD startMs_ = 0;        // the first packet's arrival
    bool checking_ = false;
    bool checkCancelled_ = false;
    bool updateFound_ = false;
    bool activated_ = false;
    bool aborted_ = false;
    bool finished_ = false;
    int modalResult_ = kResultNone;
    std::u16string tempFile_;

    win::UniqueFont font_;
    HWND gauge1_ = nullptr, progressLabel_ = nullptr, speedLabel_ = nullptr;
    HWND curDownloadLabel_ = nullptr, totalBytesLabel_ = nullptr;
    HWND timeLeftLabel_ = nullptr, timeWaitLabel_ = nullptr;
    HWND deleteCheckBox_ = nullptr, bitBtn1_ = nullptr, speedButton1_ = nullptr;
};

}  // namespace qlm
