// The About box (dialog resource 100), opened from the main dialog's system
// menu entry "&About Setup...". Its data, for the dialog layer and the
// resource script; positions and sizes in dialog units.
#pragma once

namespace kx::about {

inline constexpr int kDialogId = 100;
inline constexpr int kIconId = 128;
inline constexpr int kOkId = 1;  // IDOK

inline constexpr char kCaption[] = "About Setup";
inline constexpr char kFontName[] = "MS Sans Serif";
inline constexpr int kFontPoints = 8;
inline constexpr char kVersionText[] = "Setup Version 2.5";
inline constexpr char kCopyrightText[] = "Copyright (C) 2002 Kestrix";
inline constexpr char kOkText[] = "OK";
inline constexpr char kSystemMenuEntry[] = "&About Setup...";

struct Rect {
  int x, y, width, height;
};

inline constexpr Rect kDialog{0, 0, 235, 55};  // modal frame, caption and system menu
inline constexpr Rect kIcon{11, 17, 20, 20};
inline constexpr Rect kVersion{40, 10, 119, 8};
inline constexpr Rect kCopyright{40, 25, 119, 8};
inline constexpr Rect kOkButton{178, 7, 50, 14};  // the default push button

}  // namespace kx::about
