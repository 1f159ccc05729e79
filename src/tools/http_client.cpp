#include "tools/http_client.h"

#include <wininet.h>

#include <atomic>
#include <mutex>
#include <thread>
#include <vector>

#include "tools/update_logic.h"

namespace qlm {
namespace {

constexpr wchar_t kWindowClass[] = L"QlmHttpClientWindow";
constexpr UINT kEventMessage = WM_APP + 17;
constexpr DWORD kTimeoutMs = 20000;
// How long an aborted Get still waits for its worker before leaving it to end
// on its own (a server that sends nothing keeps the worker in its read until
// the receive time-out).
constexpr DWORD kAbortWaitMs = 2000;
constexpr DWORD kReadBuffer = 64 * 1024;

enum Event : int {
    kEvResolved = 1,
    kEvConnected,
    kEvPacket,
    kEvSuccess,
    kEvFailure,
    kEvConnectionFailed,
    kEvInvalidHost,
    kEvDone,
};

}  // namespace

// Shared by the client and its worker; the worker may outlive an aborted Get.
struct THttpClient::Transfer {
    std::wstring url;
    bool fileMode = false;
    std::wstring file;
    HWND notify = nullptr;

    std::atomic<bool> aborted{false};
    std::atomic<bool> abandoned{false};  // Get no longer waits: post nothing
    std::atomic<bool> packetPending{false};
    std::atomic<int64_t> received{0};
    std::atomic<int64_t> total{0};
    bool raised = false;  // written by the worker before kEvDone
    std::string body;

    std::mutex lock;
    HINTERNET session = nullptr;
    HINTERNET request = nullptr;
    bool resolvedPosted = false, connectedPosted = false;  // worker only

    void Post(int event) {
        if (event == kEvPacket && packetPending.exchange(true)) return;
        if (event != kEvDone && aborted) return;
        if (!abandoned) PostMessageW(notify, kEventMessage, static_cast<WPARAM>(event), 0);
    }
    void Resolved() {
        if (!resolvedPosted) Post(kEvResolved);
        resolvedPosted = true;
    }
    void Connected() {
        Resolved();
        if (!connectedPosted) Post(kEvConnected);
        connectedPosted = true;
    }
    void CloseHandles() {
        std::lock_guard<std::mutex> g(lock);
        if (request) InternetCloseHandle(request);
        if (session) InternetCloseHandle(session);
        request = session = nullptr;
    }
};

namespace {

void CALLBACK StatusCallback(HINTERNET, DWORD_PTR context, DWORD status, LPVOID, DWORD) {
    auto* t = reinterpret_cast<THttpClient::Transfer*>(context);
    if (!t) return;
    if (status == INTERNET_STATUS_NAME_RESOLVED) t->Resolved();
    if (status == INTERNET_STATUS_CONNECTED_TO_SERVER) t->Connected();
}

int64_t ContentLength(HINTERNET request) {
    wchar_t text[32] = {};
    DWORD size = sizeof text;
    if (!HttpQueryInfoW(request, HTTP_QUERY_CONTENT_LENGTH, text, &size, nullptr)) return 0;
    int64_t n = 0;
    for (const wchar_t* p = text; *p; ++p) {
        if (*p < L'0' || *p > L'9') return 0;
        n = n * 10 + (*p - L'0');
        if (n > (int64_t{1} << 50)) return 0;
    }
    return n;
}

// The ending event of a request that could not be made.
int OpenFailure(DWORD error) {
    return error == ERROR_INTERNET_NAME_NOT_RESOLVED ? kEvInvalidHost : kEvConnectionFailed;
}

// One transfer from start to end on the worker thread; the last message
// posted is kEvDone.
void RunTransfer(const std::shared_ptr<THttpClient::Transfer>& t) {
    auto finish = [&](int event, bool raised) {
        t->CloseHandles();
        t->raised = raised;
        if (event) t->Post(event);
        t->Post(kEvDone);
    };

    HINTERNET session = InternetOpenW(L"QLM Musical Player", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
    if (!session) return finish(kEvConnectionFailed, true);
    DWORD timeout = kTimeoutMs;
    InternetSetOptionW(session, INTERNET_OPTION_CONNECT_TIMEOUT, &timeout, sizeof timeout);
    InternetSetOptionW(session, INTERNET_OPTION_RECEIVE_TIMEOUT, &timeout, sizeof timeout);
    InternetSetOptionW(session, INTERNET_OPTION_SEND_TIMEOUT, &timeout, sizeof timeout);
    InternetSetStatusCallbackW(session, StatusCallback);
    {
        std::lock_guard<std::mutex> g(t->lock);
        if (t->aborted) {
            InternetCloseHandle(session);
            return finish(0, false);
        }
        t->session = session;
    }

    const DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_PRAGMA_NOCACHE |
                        INTERNET_FLAG_NO_UI | INTERNET_FLAG_NO_COOKIES | INTERNET_FLAG_NO_AUTH;
    HINTERNET request =
        InternetOpenUrlW(session, t->url.c_str(), nullptr, 0, flags, reinterpret_cast<DWORD_PTR>(t.get()));
    if (!request) {
        DWORD error = GetLastError();
        if (t->aborted) return finish(0, false);
        return finish(OpenFailure(error), true);
    }
    {
        std::lock_guard<std::mutex> g(t->lock);
        if (t->aborted) {
            InternetCloseHandle(request);
            return finish(0, false);
        }
        t->request = request;
    }
    t->Connected();

    DWORD status = 0, size = sizeof status;
    if (!HttpQueryInfoW(request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size, nullptr) ||
        status >= 400)
        return finish(kEvFailure, false);
    const int64_t announced = ContentLength(request);
    t->total = announced;

    HANDLE file = INVALID_HANDLE_VALUE;
    if (t->fileMode) {
        file = CreateFileW(t->file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) return finish(kEvFailure, false);
    }
    std::vector<char> buffer(kReadBuffer);
    bool ok = true;
    for (;;) {
        DWORD n = 0;
        if (!InternetReadFile(request, buffer.data(), kReadBuffer, &n)) {
            ok = false;
            break;
        }
        if (n == 0) break;
        if (t->aborted) break;
        if (t->fileMode) {
            DWORD written = 0;
            if (!WriteFile(file, buffer.data(), n, &written, nullptr) || written != n) {
                ok = false;
                break;
            }
        } else {
            t->body.append(buffer.data(), n);
        }
        t->received += n;
        t->Post(kEvPacket);
    }
    if (file != INVALID_HANDLE_VALUE) {
        // A file whose last bytes never reached the disk is not a download.
        if (!FlushFileBuffers(file)) ok = false;
        if (!CloseHandle(file)) ok = false;
        if (t->abandoned) DeleteFileW(t->file.c_str());
    }
    if (t->aborted) return finish(0, false);
    if (announced > 0 && t->received != announced) ok = false;
    finish(ok ? kEvSuccess : kEvFailure, false);
}

LRESULT CALLBACK ClientWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == kEventMessage) {
        auto* client = reinterpret_cast<THttpClient*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        if (client) client->Deliver(static_cast<int>(wParam));
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

void Call(const std::function<void()>& f) {
    if (f) f();
}

}  // namespace

THttpClient::THttpClient() {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = ClientWindowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kWindowClass;
    RegisterClassExW(&wc);  // a second client finds it registered
    window_ = CreateWindowExW(0, kWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
    if (window_) SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

THttpClient::~THttpClient() {
    Abort();
    if (window_) DestroyWindow(window_);
}

int64_t THttpClient::BytesRecvd() const {
    const auto& t = transfer_ ? transfer_ : last_;
    return t ? t->received.load() : 0;
}

int64_t THttpClient::BytesTotal() const {
    const auto& t = transfer_ ? transfer_ : last_;
    return t ? t->total.load() : 0;
}

void THttpClient::Abort() {
    auto t = transfer_;
    if (!t || t->aborted.exchange(true)) return;
    // Closing the handles makes a blocked connect or read give up.
    std::lock_guard<std::mutex> g(t->lock);
    if (t->request) InternetCloseHandle(t->request);
    if (t->session) InternetCloseHandle(t->session);
    t->request = t->session = nullptr;
}

void THttpClient::Deliver(int event) {
    auto t = transfer_;
    if (!t) return;
    if (event == kEvDone) {
        done_ = true;
        return;
    }
    if (t->aborted) return;
    switch (event) {
        case kEvResolved: Call(OnHostResolved); break;
        case kEvConnected: Call(OnConnected); break;
        case kEvPacket:
            t->packetPending = false;
            Call(OnPacketRecvd);
            break;
        case kEvSuccess:
            if (OnSuccess) OnSuccess(HttpCommand::Get);
            break;
        case kEvFailure:
            if (OnFailure) OnFailure(HttpCommand::Get);
            break;
        case kEvConnectionFailed: Call(OnConnectionFailed); break;
        case kEvInvalidHost: Call(OnInvalidHost); break;
    }
}

bool THttpClient::Get(const std::u16string& url) {
    if (transfer_ || !window_) return false;  // one transfer at a time
    body_.clear();
    if (!update::IsHttpUrl(url)) {
        Call(OnConnectionFailed);
        return false;
    }
    auto t = std::make_shared<Transfer>();
    t->url.assign(url.begin(), url.end());
    t->fileMode = InputFileMode;
    t->file.assign(BodyFile.begin(), BodyFile.end());
    t->notify = window_;
    transfer_ = t;
    done_ = false;
    std::thread worker([t] { RunTransfer(t); });

    bool quit = false;
    WPARAM quitCode = 0;
    DWORD abortedAt = 0;
    while (!done_) {
        DWORD wait = INFINITE;
        if (t->aborted) {
            if (!abortedAt) abortedAt = GetTickCount() | 1;
            DWORD spent = GetTickCount() - abortedAt;
            if (spent >= kAbortWaitMs) break;
            wait = kAbortWaitMs - spent;
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, wait, QS_ALLINPUT);
        MSG m;
        while (!done_ && PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
            if (m.message == WM_QUIT) {
                quit = true;
                quitCode = m.wParam;
                Abort();
                continue;
            }
            TranslateMessage(&m);
            DispatchMessageW(&m);
        }
    }
    if (done_) {
        worker.join();
    } else {
        // The worker ends on its own and removes the file it was writing.
        t->abandoned = true;
        worker.detach();
    }
    const bool raised = done_ && t->raised;
    if (!t->fileMode && done_) body_ = std::move(t->body);
    last_ = t;
    transfer_.reset();
    if (quit) PostQuitMessage(static_cast<int>(quitCode));
    return !raised;
}

}  // namespace qlm
