// kxauto: starts a program, watches the dialogs and message boxes it shows,
// writes down each one (caption, controls, texts, states) and answers it by a
// scenario's rules. A run that does not end within the time-out is ended and
// fails.
//
//   kxauto [--timeout SECONDS] [--cwd FOLDER] [--log FILE]
//          [--on TEXT [--check ID] [--uncheck ID] [--click ID]]...
//          -- COMMAND LINE
//
// A rule (--on TEXT and the actions after it) applies to a dialog whose
// caption or any control text contains TEXT; the first rule that matches is
// used, and each rule answers one dialog only. A dialog no rule matches is
// written down as "unexpected", closed with its first push button, and makes
// the run fail.
//
// Exit status: the program's own exit code when everything went by the rules,
// 2 for an unexpected dialog or an action that could not be taken, 3 for a
// time-out, 4 for bad arguments or a program that does not start.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

namespace {

struct Action {
  enum Kind { kClick, kCheck, kUncheck } kind;
  int id;
};

struct Rule {
  std::string text;  // UTF-8
  std::vector<Action> actions;
  bool used = false;
};

struct Options {
  DWORD timeoutMs = 30000;
  std::string cwd;
  std::string log;
  std::vector<Rule> rules;
  std::string commandLine;
};

FILE* out = stdout;

std::string Utf8(const std::wstring& wide) {
  if (wide.empty()) return {};
  int size = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                                 nullptr, nullptr);
  std::string text(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), text.data(), size,
                      nullptr, nullptr);
  return text;
}

std::wstring Wide(const std::string& utf8) {
  if (utf8.empty()) return {};
  int size =
      MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring text(static_cast<std::size_t>(size), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), text.data(), size);
  return text;
}

// Arguments arrive in the ANSI code page; scenario texts are ASCII or UTF-8
// written by our scripts, which pass them through the UTF-16 command line.
std::vector<std::string> Arguments() {
  int count = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::string> args;
  for (int i = 0; i < count; ++i) args.push_back(Utf8(argv[i]));
  LocalFree(argv);
  return args;
}

// The rest of the command line after " -- ", exactly as written.
std::string CommandAfterSeparator() {
  std::wstring line = GetCommandLineW();
  std::size_t at = line.find(L" -- ");
  return at == std::wstring::npos ? std::string() : Utf8(line.substr(at + 4));
}

bool ParseOptions(Options& options) {
  std::vector<std::string> args = Arguments();
  for (std::size_t i = 1; i < args.size(); ++i) {
    const std::string& arg = args[i];
    auto value = [&]() -> const std::string* { return i + 1 < args.size() ? &args[++i] : nullptr; };
    if (arg == "--") {
      options.commandLine = CommandAfterSeparator();
      return !options.commandLine.empty();
    }
    const std::string* v = value();
    if (v == nullptr) return false;
    if (arg == "--timeout") {
      options.timeoutMs = static_cast<DWORD>(std::atof(v->c_str()) * 1000);
    } else if (arg == "--cwd") {
      options.cwd = *v;
    } else if (arg == "--log") {
      options.log = *v;
    } else if (arg == "--on") {
      options.rules.push_back({*v, {}});
    } else if (arg == "--click" || arg == "--check" || arg == "--uncheck") {
      if (options.rules.empty()) return false;
      Action::Kind kind = arg == "--click"   ? Action::kClick
                          : arg == "--check" ? Action::kCheck
                                             : Action::kUncheck;
      options.rules.back().actions.push_back({kind, std::atoi(v->c_str())});
    } else {
      return false;
    }
  }
  return false;
}

std::string WindowText(HWND window) {
  int length = GetWindowTextLengthW(window);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  int got = GetWindowTextW(window, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(got < 0 ? 0 : got));
  return Utf8(text);
}

std::string ClassName(HWND window) {
  wchar_t name[128] = {};
  GetClassNameW(window, name, 128);
  return Utf8(name);
}

std::string Escaped(const std::string& text) {
  std::string outText;
  for (char c : text) {
    if (c == '\n') {
      outText += "\\n";
    } else if (c == '\r') {
      outText += "\\r";
    } else if (c == '\t') {
      outText += "\\t";
    } else if (c == '"' || c == '\\') {
      outText += '\\';
      outText += c;
    } else {
      outText += c;
    }
  }
  return outText;
}

struct ControlInfo {
  HWND window;
  int id;
  std::string className;
  std::string text;
  LONG style;
};

BOOL CALLBACK CollectChild(HWND child, LPARAM param) {
  auto* controls = reinterpret_cast<std::vector<ControlInfo>*>(param);
  controls->push_back({child, GetDlgCtrlID(child), ClassName(child), WindowText(child),
                       GetWindowLongW(child, GWL_STYLE)});
  return TRUE;
}

std::vector<ControlInfo> Controls(HWND dialog) {
  std::vector<ControlInfo> controls;
  EnumChildWindows(dialog, CollectChild, reinterpret_cast<LPARAM>(&controls));
  return controls;
}

bool IsCheckable(const ControlInfo& control) {
  LONG type = control.style & 0xF;
  return control.className == "Button" && type != BS_PUSHBUTTON && type != BS_DEFPUSHBUTTON &&
         type != BS_GROUPBOX;
}

void Record(HWND dialog, const std::vector<ControlInfo>& controls) {
  std::fprintf(out, "dialog \"%s\"\n", Escaped(WindowText(dialog)).c_str());
  for (const ControlInfo& c : controls) {
    std::string state;
    if (IsCheckable(c)) {
      state += SendMessageW(c.window, BM_GETCHECK, 0, 0) == BST_CHECKED ? " checked" : " unchecked";
    }
    if (!IsWindowEnabled(c.window)) state += " disabled";
    if (!IsWindowVisible(c.window)) state += " hidden";
    std::fprintf(out, "  control %d %s \"%s\"%s\n", c.id, c.className.c_str(),
                 Escaped(c.text).c_str(), state.c_str());
  }
  std::fflush(out);
}

const ControlInfo* FindControl(const std::vector<ControlInfo>& controls, int id) {
  for (const ControlInfo& c : controls) {
    if (c.id == id) return &c;
  }
  return nullptr;
}

// A click as the user makes it: the button toggles or pushes itself and
// tells the dialog. Posted, so that a long handler does not block us.
void Click(HWND button) { PostMessageW(button, BM_CLICK, 0, 0); }

bool Apply(const Action& action, const std::vector<ControlInfo>& controls) {
  const char* names[] = {"click", "check", "uncheck"};
  const ControlInfo* control = FindControl(controls, action.id);
  std::fprintf(out, "answer %s %d", names[action.kind], action.id);
  bool ok = true;
  if (control == nullptr) {
    std::fprintf(out, " failed: no such control");
    ok = false;
  } else if (!IsWindowEnabled(control->window) || !IsWindowVisible(control->window)) {
    std::fprintf(out, " failed: the control is disabled or hidden");
    ok = false;
  } else if (action.kind == Action::kClick) {
    Click(control->window);
  } else {
    bool checked = SendMessageW(control->window, BM_GETCHECK, 0, 0) == BST_CHECKED;
    if (checked != (action.kind == Action::kCheck)) Click(control->window);
  }
  std::fprintf(out, "\n");
  std::fflush(out);
  Sleep(100);
  return ok;
}

bool Matches(const Rule& rule, HWND dialog, const std::vector<ControlInfo>& controls) {
  if (WindowText(dialog).find(rule.text) != std::string::npos) return true;
  for (const ControlInfo& c : controls) {
    if (c.text.find(rule.text) != std::string::npos) return true;
  }
  return false;
}

struct Finder {
  DWORD processId;
  std::vector<HWND> dialogs;
};

BOOL CALLBACK CollectDialog(HWND window, LPARAM param) {
  auto* finder = reinterpret_cast<Finder*>(param);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner == finder->processId && IsWindowVisible(window) && ClassName(window) == "#32770") {
    finder->dialogs.push_back(window);
  }
  return TRUE;
}

// Answers each new dialog of the process once. Returns false when something
// went against the rules.
bool HandleDialogs(DWORD processId, Options& options, std::set<HWND>& seen) {
  Finder finder{processId, {}};
  EnumWindows(CollectDialog, reinterpret_cast<LPARAM>(&finder));
  bool ok = true;
  for (HWND dialog : finder.dialogs) {
    if (seen.count(dialog) != 0) continue;
    seen.insert(dialog);
    Sleep(100);  // let the dialog finish its initialisation
    std::vector<ControlInfo> controls = Controls(dialog);
    Record(dialog, controls);
    Rule* rule = nullptr;
    for (Rule& candidate : options.rules) {
      if (!candidate.used && Matches(candidate, dialog, controls)) {
        rule = &candidate;
        break;
      }
    }
    if (rule == nullptr) {
      std::fprintf(out, "unexpected dialog: no rule answers it\n");
      for (const ControlInfo& c : controls) {
        LONG type = c.style & 0xF;
        if (c.className == "Button" && (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON)) {
          Click(c.window);
          break;
        }
      }
      ok = false;
      continue;
    }
    rule->used = true;
    for (const Action& action : rule->actions) ok = Apply(action, controls) && ok;
  }
  return ok;
}

}  // namespace

int main() {
  Options options;
  if (!ParseOptions(options)) {
    std::fprintf(stderr,
                 "usage: kxauto [--timeout S] [--cwd DIR] [--log FILE] "
                 "[--on TEXT [--check ID] [--uncheck ID] [--click ID]]... -- COMMAND\n");
    return 4;
  }
  if (!options.log.empty()) {
    out = _wfopen(Wide(options.log).c_str(), L"w");
    if (out == nullptr) {
      std::fprintf(stderr, "kxauto: cannot write %s\n", options.log.c_str());
      return 4;
    }
  }

  std::wstring command = Wide(options.commandLine);
  std::wstring cwd = Wide(options.cwd);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      cwd.empty() ? nullptr : cwd.c_str(), &startup, &process)) {
    std::fprintf(out, "start failed: error %lu\n", GetLastError());
    return 4;
  }
  std::fprintf(out, "start %s\n", Escaped(options.commandLine).c_str());
  std::fflush(out);

  bool ok = true;
  std::set<HWND> seen;
  DWORD started = GetTickCount();
  for (;;) {
    if (WaitForSingleObject(process.hProcess, 50) == WAIT_OBJECT_0) break;
    ok = HandleDialogs(process.dwProcessId, options, seen) && ok;
    if (GetTickCount() - started > options.timeoutMs) {
      std::fprintf(out, "timeout after %lu ms: the program is ended\n", options.timeoutMs);
      TerminateProcess(process.hProcess, 259);
      WaitForSingleObject(process.hProcess, 5000);
      std::fflush(out);
      return 3;
    }
  }
  DWORD code = 0;
  GetExitCodeProcess(process.hProcess, &code);
  for (const Rule& rule : options.rules) {
    if (!rule.used) {
      std::fprintf(out, "rule not used: no dialog showed \"%s\"\n", Escaped(rule.text).c_str());
      ok = false;
    }
  }
  std::fprintf(out, "exit %lu\n", code);
  std::fflush(out);
  if (out != stdout) std::fclose(out);
  return ok ? static_cast<int>(code) : 2;
}
