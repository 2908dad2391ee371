// kxview: shows one of Setup's dialog templates, as stored in the program's
// resources, in a given language, and saves a picture of it.
//
//   kxview DIALOG-ID LANGUAGE-ID OUTPUT.bmp
//
// The dialog is created from the template alone (no dialog code runs), so it
// shows the controls as the template defines them. Exit status 0 when the
// picture was written, 1 when the template does not exist, 2 otherwise.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <utility>

namespace {

INT_PTR CALLBACK DialogProc(HWND, UINT message, WPARAM, LPARAM) {
  return message == WM_INITDIALOG ? TRUE : FALSE;
}

BOOL CALLBACK NoteLanguage(HMODULE, LPCWSTR, LPCWSTR, WORD language, LONG_PTR param) {
  auto* wanted = reinterpret_cast<std::pair<LANGID, bool>*>(param);
  if (language == wanted->first) wanted->second = true;
  return TRUE;
}

// FindResourceEx may fall back to a neutral or default language when the
// asked one is missing; a picture of the wrong language would mislead.
bool HasLanguage(HINSTANCE instance, int dialogId, LANGID language) {
  std::pair<LANGID, bool> wanted{language, false};
  EnumResourceLanguagesW(instance, MAKEINTRESOURCEW(5), MAKEINTRESOURCEW(dialogId), NoteLanguage,
                         reinterpret_cast<LONG_PTR>(&wanted));
  return wanted.second;
}

void Pump(DWORD milliseconds) {
  DWORD start = GetTickCount();
  while (GetTickCount() - start < milliseconds) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    Sleep(10);
  }
}

// The window as it stands on the screen, as a 24-bit bottom-up BMP file.
bool SaveWindow(HWND window, const wchar_t* path) {
  RECT rect;
  GetWindowRect(window, &rect);
  int width = rect.right - rect.left;
  int height = rect.bottom - rect.top;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
  GdiFlush();
  DWORD stride = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
  DWORD imageSize = stride * static_cast<DWORD>(height);
  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof file + sizeof info.bmiHeader;
  file.bfSize = file.bfOffBits + imageSize;
  bool ok = false;
  FILE* out = _wfopen(path, L"wb");
  if (out != nullptr) {
    ok = std::fwrite(&file, sizeof file, 1, out) == 1 &&
         std::fwrite(&info.bmiHeader, sizeof info.bmiHeader, 1, out) == 1 &&
         std::fwrite(bits, imageSize, 1, out) == 1;
    ok = std::fclose(out) == 0 && ok;
  }
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return ok;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  int count = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &count);
  if (count != 4) return 2;
  int dialogId = _wtoi(argv[1]);
  LANGID language = static_cast<LANGID>(_wtoi(argv[2]));
  HRSRC resource = FindResourceExW(instance, MAKEINTRESOURCEW(5) /* RT_DIALOG */,
                                   MAKEINTRESOURCEW(dialogId), language);
  if (resource == nullptr || !HasLanguage(instance, dialogId, language)) return 1;
  HGLOBAL loaded = LoadResource(instance, resource);
  auto* dialogTemplate = static_cast<const DLGTEMPLATE*>(LockResource(loaded));
  HWND dialog = CreateDialogIndirectParamW(instance, dialogTemplate, nullptr, DialogProc, 0);
  if (dialog == nullptr) return 2;
  SetWindowPos(dialog, HWND_TOP, 20, 20, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
  Pump(700);
  bool saved = SaveWindow(dialog, argv[3]);
  DestroyWindow(dialog);
  return saved ? 0 : 2;
}
