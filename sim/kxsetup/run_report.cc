#include "sim/kxsetup/run_report.h"

#include "sim/kxsetup/json_text.h"
#include "sim/run/change_text.h"

namespace kx::sim {
namespace {

std::string Shown(const std::string& text) {
  std::string out;
  for (char c : text)
    out += c == '\n' ? std::string("\\n") : c == '\r' ? std::string("\\r") : std::string(1, c);
  return out;
}

std::string YesNo(bool b) { return b ? "yes" : "no"; }

// Joins the items of a JSON array, one per line.
class JsonArray {
 public:
  void Add(const std::string& item) { text_ += (text_.empty() ? "\n    " : ",\n    ") + item; }
  std::string Text() const { return text_.empty() ? "[]" : "[" + text_ + "\n  ]"; }

 private:
  std::string text_;
};

std::string Field(const char* name, const std::string& json) {
  return JsonString(name) + ": " + json;
}

}  // namespace

std::string FormatRunSummary(const RunResult& r) {
  std::string out = "\nSummary\n";
  switch (r.outcome) {
    case RunOutcome::kCompleted:
      out += "  Setup's exit code: " + std::to_string(r.exitCode) + "\n";
      break;
    case RunOutcome::kStuck:
      out += "  Run stopped as stuck: " + r.message + "\n";
      break;
    case RunOutcome::kNotAvailable:
      out += "  Run stopped: not available yet: " + r.message + "\n";
      break;
    case RunOutcome::kFailed:
      out += "  The simulation failed: " + r.message + "\n";
      break;
  }
  out += "  Simulated time: " + FormatClock(r.endTime) + " s\n";
  out += "  Restart requested: " + YesNo(r.restartRequested) + "\n";

  out += "  Programs started: " + std::to_string(r.started.size()) + "\n";
  for (const StartedProgram& s : r.started) {
    out += "    " + s.via + " \"" + s.command + "\" in " + s.currentFolder +
           (s.started ? " -> " + s.program : std::string(" (not started: no such program)")) + "\n";
  }
  out += "  Message boxes: " + std::to_string(r.messageBoxes.size()) + "\n";
  for (const MessageBoxRecord& m : r.messageBoxes) {
    out += "    \"" + m.caption + "\": \"" + Shown(m.text) + "\" -> " + m.answerName + "\n";
  }

  int added = 0, changed = 0, deleted = 0;
  for (const FileChange& c : r.fileChanges) {
    using K = FileChange::Kind;
    added += c.kind == K::FileAdded || c.kind == K::FolderAdded;
    deleted += c.kind == K::FileDeleted || c.kind == K::FolderDeleted;
    changed += c.kind == K::FileChanged || c.kind == K::AttributesChanged;
  }
  out += "  Files: " + std::to_string(added) + " added, " + std::to_string(changed) + " changed, " +
         std::to_string(deleted) + " deleted\n";
  for (const FileChange& c : r.fileChanges) out += "    " + FormatFileChange(c) + "\n";

  added = changed = deleted = 0;
  for (const RegistryChange& c : r.registryChanges) {
    using K = RegistryChange::Kind;
    added += c.kind == K::KeyAdded || c.kind == K::ValueAdded;
    deleted += c.kind == K::KeyDeleted || c.kind == K::ValueDeleted;
    changed += c.kind == K::ValueChanged;
  }
  out += "  Registry: " + std::to_string(added) + " added, " + std::to_string(changed) +
         " changed, " + std::to_string(deleted) + " deleted\n";
  for (const RegistryChange& c : r.registryChanges) out += "    " + FormatRegistryChange(c) + "\n";

  out += "  WININIT.INI renames: " + std::to_string(r.renames.size()) + "\n";
  for (const RenameEntry& e : r.renames) out += "    " + e.destination + "=" + e.source + "\n";
  return out;
}

std::string FormatJsonReport(const RunResult& r) {
  JsonArray started, boxes, registry, files, renames, transcript;
  for (const StartedProgram& s : r.started) {
    started.Add("{" + Field("command", JsonString(s.command)) + ", " +
                Field("current_dir", JsonString(s.currentFolder)) + ", " +
                Field("program", JsonString(s.program)) + ", " +
                Field("started", s.started ? "true" : "false") + ", " +
                Field("via", JsonString(s.via)) + ", " + Field("show", std::to_string(s.show)) +
                ", " + Field("at_ms", std::to_string(s.at)) + "}");
  }
  for (const MessageBoxRecord& m : r.messageBoxes) {
    std::string list;
    for (const std::string& b : m.buttons) list += (list.empty() ? "" : ", ") + JsonString(b);
    boxes.Add("{" + Field("caption", JsonString(m.caption)) + ", " +
              Field("text", JsonString(m.text)) + ", " + Field("buttons", "[" + list + "]") + ", " +
              Field("answer", JsonString(m.answerName)) + ", " +
              Field("answered_by", JsonString(m.answeredBy)) + ", " +
              Field("at_ms", std::to_string(m.at)) + "}");
  }
  for (const RegistryChange& c : r.registryChanges) {
    std::string item = "{" + Field("change", JsonString(RegistryChangeKindName(c.kind))) + ", " +
                       Field("key", JsonString(c.key));
    using K = RegistryChange::Kind;
    if (c.kind != K::KeyAdded && c.kind != K::KeyDeleted) {
      item += ", " + Field("value", JsonString(c.valueName));
      if (c.kind != K::ValueAdded)
        item += ", " + Field("old", JsonString(FormatRegValue(c.oldType, c.oldData)));
      if (c.kind != K::ValueDeleted)
        item += ", " + Field("new", JsonString(FormatRegValue(c.newType, c.newData)));
    }
    registry.Add(item + "}");
  }
  for (const FileChange& c : r.fileChanges) {
    files.Add("{" + Field("change", JsonString(FileChangeKindName(c.kind))) + ", " +
              Field("path", JsonString(c.path)) + ", " +
              Field("old_size", std::to_string(c.oldSize)) + ", " +
              Field("new_size", std::to_string(c.newSize)) + "}");
  }
  for (const RenameEntry& e : r.renames) {
    renames.Add("{" + Field("destination", JsonString(e.destination)) + ", " +
                Field("source", JsonString(e.source)) + "}");
  }
  for (const TranscriptEntry& e : r.transcript) {
    transcript.Add("{" + Field("at_ms", std::to_string(e.at)) + ", " +
                   Field("what", JsonString(e.what)) + ", " +
                   Field("repeat", std::to_string(e.repeat)) + "}");
  }
  std::string out = "{\n";
  out += "  " + Field("outcome", JsonString(RunOutcomeName(r.outcome))) + ",\n";
  out += "  " + Field("message", JsonString(r.message)) + ",\n";
  out += "  " + Field("exit_code", std::to_string(r.exitCode)) + ",\n";
  out += "  " + Field("restart_requested", r.restartRequested ? "true" : "false") + ",\n";
  out += "  " + Field("restart_flags", std::to_string(r.restartFlags)) + ",\n";
  out += "  " + Field("simulated_ms", std::to_string(r.endTime)) + ",\n";
  out += "  " + Field("started", started.Text()) + ",\n";
  out += "  " + Field("message_boxes", boxes.Text()) + ",\n";
  out += "  " + Field("registry", registry.Text()) + ",\n";
  out += "  " + Field("files", files.Text()) + ",\n";
  out += "  " + Field("wininit_renames", renames.Text()) + ",\n";
  out += "  " + Field("transcript", transcript.Text()) + "\n";
  return out + "}\n";
}

}  // namespace kx::sim
