#include <gtest/gtest.h>

#include <type_traits>

#include "win/handles.h"
#include "win/window.h"

using namespace qlm::win;

static_assert(!std::is_copy_constructible_v<UniqueBitmap>);
static_assert(!std::is_copy_assignable_v<UniqueKernelHandle>);

TEST(Handles, MoveTransfersOwnershipOnce) {
    UniqueBrush a(CreateSolidBrush(RGB(1, 2, 3)));
    ASSERT_TRUE(a);
    HBRUSH raw = a.get();
    UniqueBrush b(std::move(a));
    EXPECT_FALSE(a);
    EXPECT_EQ(b.get(), raw);
    b = UniqueBrush(CreateSolidBrush(RGB(4, 5, 6)));
    // The first brush was deleted by the assignment.
    EXPECT_EQ(GetObjectType(raw), 0u);
}

TEST(Handles, KernelHandleClosedAtScopeEnd) {
    HANDLE raw;
    {
        UniqueKernelHandle ev(CreateEventW(nullptr, TRUE, FALSE, nullptr));
        raw = ev.get();
        DWORD flags = 0;
        EXPECT_TRUE(GetHandleInformation(raw, &flags));
    }
    DWORD flags = 0;
    EXPECT_FALSE(GetHandleInformation(raw, &flags));
}

namespace {
class CountingWindow : public Window {
public:
    int creates = 0;
    bool finalSeen = false;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM w, LPARAM l) override {
        if (msg == WM_CREATE) ++creates;
        if (msg == WM_USER + 7) throw std::runtime_error("handler failed");
        return Default(msg, w, l);
    }
    void OnFinalMessage() override { finalSeen = true; }
};
}  // namespace

TEST(Window, ThunkDispatchesAndContainsExceptions) {
    ASSERT_TRUE(Window::RegisterWindowClass(L"QlmTestWindow"));
    CountingWindow w;
    CreateParams p;
    p.className = L"QlmTestWindow";
    p.style = WS_POPUP;
    ASSERT_TRUE(w.Create(p));
    EXPECT_EQ(w.creates, 1);
    EXPECT_EQ(SendMessageW(w.hwnd(), WM_USER + 7, 0, 0), 0);  // survived the throw
    w.Destroy();
    EXPECT_TRUE(w.finalSeen);
    EXPECT_EQ(w.hwnd(), nullptr);
}
