#include "apps/player_windows.h"

namespace kx {
namespace {

constexpr char kRackPlayerTitle[] = "TuneStack";
constexpr const char* kPlayerTitles[] = {"Disc Player", "Synth Player", "Track Player"};
constexpr DWORD kClosePauseMs = 500;

// Sends WM_CLOSE to the first top-level window with this exact title.
bool CloseWindowTitled(Platform& platform, const char* title) {
  HWnd window = platform.FindWindowExA(nullptr, nullptr, nullptr, title);
  if (window == nullptr) return false;
  platform.SendMessageA(window, kWmClose, 0, 0);
  return true;
}

}  // namespace

void ClosePlayerWindows(Platform& platform, PlayerClosePause pause) {
  if (CloseWindowTitled(platform, kRackPlayerTitle)) {
    platform.Sleep(kClosePauseMs);
  } else {
    for (const char* title : kPlayerTitles) CloseWindowTitled(platform, title);
  }
  if (pause == PlayerClosePause::kFinalPause) platform.Sleep(kClosePauseMs);
}

}  // namespace kx
