// The HTTP client of the update dialog: one GET at a time over WinINet, into
// memory or into a file, with the events the dialog follows. The transfer runs
// on a worker thread; Get keeps the program's windows running with a message
// loop of its own and returns when the transfer has ended, so every event and
// every handler stays on the user-interface thread.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace qlm {

enum class HttpCommand { Get };

class THttpClient {
public:
    THttpClient();
    ~THttpClient();
    THttpClient(const THttpClient&) = delete;
    THttpClient& operator=(const THttpClient&) = delete;

    // Events, in this order: host resolved, connected, packets received (at
    // most one waiting at a time), then one of success, failure (an HTTP
    // error status, a broken transfer, fewer bytes than announced, a file
    // that could not be written or closed), connection failed or invalid
    // host. None arrives once Abort was called.
    std::function<void()> OnHostResolved;
    std::function<void()> OnConnected;
    std::function<void()> OnPacketRecvd;
    std::function<void(HttpCommand)> OnSuccess;
    std::function<void(HttpCommand)> OnFailure;
    std::function<void()> OnConnectionFailed;
    std::function<void()> OnInvalidHost;

    // Off: the response body is kept in memory (Body). On: it is written to
    // the file named by BodyFile, created or emptied by the transfer.
    bool InputFileMode = false;
    std::u16string BodyFile;
    const std::string& Body() const { return body_; }
    // Kept for the dialog, which asks for level 2 before its check; the
    // client reports the same events at every level.
    int ReportLevel = 0;

    // Performs a GET of an http or https address and returns when the
    // transfer has ended. False when the request could not be made at all
    // (no connection, unknown host, not an http address): the caller's
    // "raised". An aborted GET returns true.
    bool Get(const std::u16string& url);
    // Cancels the running transfer; callable from an event or any message
    // handler while Get runs. Nothing happens when no transfer runs.
    void Abort();
    bool Busy() const { return transfer_ != nullptr; }

    int64_t BytesRecvd() const;
    // The announced length; 0 while unknown or when the server gave none.
    int64_t BytesTotal() const;

    // The worker's messages to the user-interface thread (internal).
    struct Transfer;
    void Deliver(int event);

private:
    std::shared_ptr<Transfer> transfer_;
    std::shared_ptr<Transfer> last_;  // the ended transfer's figures stay readable
    HWND window_ = nullptr;
    std::string body_;
    bool done_ = false;
};

}  // namespace qlm
