#include "support/sim_machine.h"

#include <gtest/gtest.h>

#include "sim/run/change_text.h"

namespace kx::test {

void AddMedia(sim::Machine& machine, const std::vector<MediaFile>& files, char letter) {
  const std::string root = std::string(1, letter) + ":\\";
  if (!machine.files.HasDrive(letter)) machine.AddDrive(letter, {});
  for (const auto& [path, bytes] : files) {
    const std::string full = root + path;
    const std::size_t slash = full.find_last_of('\\');
    if (slash > 2) {
      ASSERT_TRUE(machine.files.CreateDirectories(full.substr(0, slash))) << full;
    }
    ASSERT_TRUE(machine.files.WriteFile(full, bytes)) << full;
    machine.files.SetFileAttributesA(full.c_str(), kFileAttributeReadonly);
  }
}

void MountMediaFolder(sim::Machine& machine, const std::string& hostFolder, char letter) {
  sim::DriveOptions options;
  options.readOnly = true;
  machine.AddDrive(letter, options);
  machine.drives.back().transient = true;
  std::string error;
  ASSERT_TRUE(machine.files.LoadDriveFromHost(letter, hostFolder, &error)) << error;
}

std::string ExamplePath(const std::string& relative) {
  return std::string(KX_EXAMPLES_DIR) + "/" + relative;
}

void MountExampleMedia(sim::Machine& machine, const std::string& name, char letter) {
  MountMediaFolder(machine, ExamplePath("media/" + name), letter);
}

std::string DescribeChanges(const sim::Machine& before, const sim::Machine& after) {
  std::string out;
  for (const sim::FileChange& c : sim::DiffFiles(before.files, after.files)) {
    out += sim::FormatFileChange(c) + "\n";
  }
  for (const sim::RegistryChange& c : sim::DiffRegistry(before.registry, after.registry)) {
    out += sim::FormatRegistryChange(c) + "\n";
  }
  return out;
}

std::string TranscriptText(const sim::SimPlatform& platform) {
  std::string out;
  for (const sim::TranscriptEntry& e : platform.transcript().entries()) {
    out += sim::FormatTranscriptEntry(e) + "\n";
  }
  return out;
}

}  // namespace kx::test
