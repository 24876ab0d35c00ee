// The live window: a top-level window on a thread of its own, showing the
// pictures its source hands out.
//
// The host's Out32 calls never wait on painting: the thread asks its source
// for a picture on a timer, and the source copies the model under its own
// short lock. The window's pixels are the source's pixels, unscaled, so what
// is on screen is the PNG renderer's image.
//
// Lifetime: the thread holds its own reference to this module and leaves
// with FreeLibraryAndExitThread, so no code of this module runs after its
// unload, and nothing ever waits for the thread.
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <new>
#include <string>
#include <type_traits>
#include <vector>

#include "live_window_api.h"

#define LIVE_WINDOW_EXPORT extern "C" __declspec(dllexport)

namespace {

// About 30 pictures a second at most.
constexpr UINT kRefreshMs = 33;
constexpr UINT_PTR kRefreshTimer = 1;
constexpr int kStatusPadding = 4;
// Wide enough for the status line beside the smallest screens.
constexpr int kMinimumClientWidth = 420;
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
// How long LiveWindow_Open waits to hear whether the window could be made.
constexpr DWORD kStartupWaitMs = 10000;

// Shared by LiveWindow_Open and the thread, so that either may be the last
// to let go of it.
struct Startup {
  HANDLE told = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  bool shown = false;
  ~Startup() {
    if (told != nullptr) CloseHandle(told);
  }
};

struct Window {
  std::wstring title;
  std::wstring class_name;
  HMODULE self = nullptr;
  HANDLE closed = nullptr;  // set by LiveWindow_Close, the thread's signal to end
  SRWLOCK lock = SRWLOCK_INIT;
  LiveWindowSource source = nullptr;  // guarded by `lock`; null once closed
  void* context = nullptr;
  HWND handle = nullptr;
  HFONT font = nullptr;
  int status_height = 0;
  // The picture as a top-down DIB wants it: BGR, rows padded to 4 bytes.
  int width = 0;
  int height = 0;
  std::vector<uint8_t> bgr;
  std::wstring status;
  std::shared_ptr<Startup> startup;
};

std::wstring Wide(const char* text) {
  const int length = MultiByteToWideChar(CP_UTF8, 0, text, -1, nullptr, 0);
  if (length <= 1) return L"";
  std::wstring wide(static_cast<size_t>(length), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text, -1, wide.data(), length);
  wide.resize(static_cast<size_t>(length - 1));
  return wide;
}

int RowBytes(int width) { return (3 * width + 3) & ~3; }

void TakePicture(Window* window, const LiveWindowPicture& picture) {
  window->width = std::max(0, picture.width);
  window->height = std::max(0, picture.height);
  const int row_bytes = RowBytes(window->width);
  window->bgr.assign(static_cast<size_t>(row_bytes) * static_cast<size_t>(window->height), 0);
  for (int y = 0; y < window->height; ++y) {
    const uint8_t* from = picture.rgb + static_cast<size_t>(3 * y * window->width);
    uint8_t* to = window->bgr.data() + static_cast<size_t>(y * row_bytes);
    for (int x = 0; x < window->width; ++x) {
      to[3 * x] = from[3 * x + 2];
      to[3 * x + 1] = from[3 * x + 1];
      to[3 * x + 2] = from[3 * x];
    }
  }
  window->status = Wide(picture.status == nullptr ? "" : picture.status);
}

// Asks the source for a new picture; true when one came.
bool Refresh(Window* window) {
  bool changed = false;
  AcquireSRWLockExclusive(&window->lock);
  if (window->source != nullptr) {
    LiveWindowPicture picture;
    if (window->source(window->context, &picture) == 1 && picture.rgb != nullptr) {
      TakePicture(window, picture);
      changed = true;
    }
  }
  ReleaseSRWLockExclusive(&window->lock);
  return changed;
}

SIZE ClientSize(const Window& window) {
  return SIZE{std::max(window.width, kMinimumClientWidth), window.height + window.status_height};
}

void FitToPicture(Window* window) {
  const SIZE client = ClientSize(*window);
  RECT frame{0, 0, client.cx, client.cy};
  AdjustWindowRectEx(&frame, kStyle, FALSE, 0);
  SetWindowPos(window->handle, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Paint(Window* window, HDC dc) {
  RECT client{};
  GetClientRect(window->handle, &client);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = window->width;
  info.bmiHeader.biHeight = -window->height;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  if (window->width > 0 && window->height > 0) {
    SetDIBitsToDevice(dc, 0, 0, static_cast<DWORD>(window->width),
                      static_cast<DWORD>(window->height), 0, 0, 0,
                      static_cast<UINT>(window->height), window->bgr.data(), &info, DIB_RGB_COLORS);
  }
  const HBRUSH face = GetSysColorBrush(COLOR_BTNFACE);
  RECT beside{window->width, 0, client.right, window->height};
  if (beside.left < beside.right) FillRect(dc, &beside, face);
  RECT status{0, window->height, client.right, client.bottom};
  FillRect(dc, &status, face);
  status.left += kStatusPadding;
  const HGDIOBJ previous = SelectObject(dc, window->font);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
  DrawTextW(dc, window->status.c_str(), -1, &status,
            DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
  SelectObject(dc, previous);
}

LRESULT CALLBACK WindowProcedure(HWND handle, UINT message, WPARAM wparam, LPARAM lparam) {
  auto* window = reinterpret_cast<Window*>(GetWindowLongPtrW(handle, GWLP_USERDATA));
  switch (message) {
    case WM_NCCREATE: {
      const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lparam);
      SetWindowLongPtrW(handle, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
      break;
    }
    case WM_TIMER:
      if (window != nullptr && wparam == kRefreshTimer) {
        const SIZE before = ClientSize(*window);
        if (!Refresh(window)) return 0;
        const SIZE after = ClientSize(*window);
        if (after.cx != before.cx || after.cy != before.cy) FitToPicture(window);
        InvalidateRect(handle, nullptr, FALSE);
      }
      return 0;
    case WM_ERASEBKGND:
      return 1;  // every pixel is painted
    case WM_PAINT: {
      PAINTSTRUCT paint;
      const HDC dc = BeginPaint(handle, &paint);
      if (window != nullptr) Paint(window, dc);
      EndPaint(handle, &paint);
      return 0;
    }
    case WM_CLOSE:
      // The host owns the session; closing only hides the simulator.
      ShowWindow(handle, SW_HIDE);
      return 0;
    default:
      break;
  }
  return DefWindowProcW(handle, message, wparam, lparam);
}

void CreateTheWindow(Window* window) {
  WNDCLASSEXW type{};
  type.cbSize = sizeof type;
  type.lpfnWndProc = WindowProcedure;
  type.hInstance = window->self;
  type.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  type.lpszClassName = window->class_name.c_str();
  if (RegisterClassExW(&type) == 0) return;
  window->font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  Refresh(window);
  const HDC screen = GetDC(nullptr);
  const HGDIOBJ previous = SelectObject(screen, window->font);
  TEXTMETRICW metrics{};
  GetTextMetricsW(screen, &metrics);
  SelectObject(screen, previous);
  ReleaseDC(nullptr, screen);
  window->status_height = metrics.tmHeight + 2 * kStatusPadding;
  const SIZE client = ClientSize(*window);
  RECT frame{0, 0, client.cx, client.cy};
  AdjustWindowRectEx(&frame, kStyle, FALSE, 0);
  window->handle = CreateWindowExW(
      0, window->class_name.c_str(), window->title.c_str(), kStyle, CW_USEDEFAULT, CW_USEDEFAULT,
      frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr, window->self, window);
  if (window->handle == nullptr) return;
  SetTimer(window->handle, kRefreshTimer, kRefreshMs, nullptr);
}

void Release(Window* window) {
  if (window->handle != nullptr) DestroyWindow(window->handle);
  UnregisterClassW(window->class_name.c_str(), window->self);
  CloseHandle(window->closed);
  delete window;
}

DWORD WINAPI WindowThread(void* parameter) {
  auto* window = static_cast<Window*>(parameter);
  const HMODULE self = window->self;
  CreateTheWindow(window);
  const bool shown = window->handle != nullptr;
  {
    const std::shared_ptr<Startup> startup = std::move(window->startup);
    startup->shown = shown;
    SetEvent(startup->told);
  }
  if (!shown) {
    // LiveWindow_Open returns null for it: no Close will come, and the
    // opener keeps its own reference.
    Release(window);
    FreeLibraryAndExitThread(self, 1);
  }
  // Shown after LiveWindow_Open is told, so that it never waits on showing,
  // which can send messages to other windows, the host's among them. It
  // never takes the focus from the host.
  ShowWindow(window->handle, SW_SHOWNOACTIVATE);
  for (;;) {
    const DWORD woke = MsgWaitForMultipleObjects(1, &window->closed, FALSE, INFINITE, QS_ALLINPUT);
    if (woke == WAIT_OBJECT_0) break;
    if (woke != WAIT_OBJECT_0 + 1) {
      // Messages can no longer be waited for; LiveWindow_Close still must be.
      WaitForSingleObject(window->closed, INFINITE);
      break;
    }
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }
  Release(window);
  FreeLibrary(self);  // the opener's reference, handed over by LiveWindow_Close
  FreeLibraryAndExitThread(self, 0);
}

bool ProcessHasDesktop() {
  USEROBJECTFLAGS flags{};
  const HWINSTA station = GetProcessWindowStation();
  return station != nullptr &&
         GetUserObjectInformationW(station, UOI_FLAGS, &flags, sizeof flags, nullptr) &&
         (flags.dwFlags & WSF_VISIBLE) != 0;
}

}  // namespace

LIVE_WINDOW_EXPORT void* LiveWindow_Open(const char* title, LiveWindowSource source,
                                         void* context) {
  if (source == nullptr || !ProcessHasDesktop()) return nullptr;
  auto* window = new (std::nothrow) Window;
  if (window == nullptr) return nullptr;
  std::shared_ptr<Startup> startup;
  try {
    window->title = Wide(title == nullptr ? "" : title);
    window->class_name = L"VirtualLcdWindow" + std::to_wstring(reinterpret_cast<uintptr_t>(window));
    startup = std::make_shared<Startup>();
  } catch (...) {
    delete window;
    return nullptr;
  }
  window->source = source;
  window->context = context;
  window->closed = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  window->startup = startup;
  // The thread's own reference, released as it leaves.
  const bool referenced =
      GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                         reinterpret_cast<LPCWSTR>(&WindowThread), &window->self) != 0;
  const HANDLE thread = window->closed != nullptr && startup->told != nullptr && referenced
                            ? CreateThread(nullptr, 0, WindowThread, window, 0, nullptr)
                            : nullptr;
  if (thread == nullptr) {
    if (referenced) FreeLibrary(window->self);
    if (window->closed != nullptr) CloseHandle(window->closed);
    delete window;
    return nullptr;
  }
  CloseHandle(thread);
  // A window still being made after the wait may yet appear: only one known
  // not to be made is reported, and that thread has already let `window` go.
  if (WaitForSingleObject(startup->told, kStartupWaitMs) == WAIT_OBJECT_0 && !startup->shown) {
    return nullptr;
  }
  return window;
}

LIVE_WINDOW_EXPORT void LiveWindow_Close(void* handle) {
  auto* window = static_cast<Window*>(handle);
  if (window == nullptr) return;
  AcquireSRWLockExclusive(&window->lock);
  window->source = nullptr;
  ReleaseSRWLockExclusive(&window->lock);
  // The last touch: the thread may free `window` as soon as this is set.
  SetEvent(window->closed);
}

static_assert(std::is_same_v<decltype(&LiveWindow_Open), LiveWindowOpenFn>);
static_assert(std::is_same_v<decltype(&LiveWindow_Close), LiveWindowCloseFn>);
