#include "sim/files/file_diff.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "sim/files/file_system.h"

namespace kx::sim {
namespace {

using Kind = FileChange::Kind;

std::string Describe(const FileChange& change) {
  static const char* const kinds[] = {"FolderAdded", "FolderDeleted", "FileAdded",
                                      "FileChanged", "FileDeleted",   "AttributesChanged"};
  return std::string(kinds[static_cast<int>(change.kind)]) + " " + change.path + " " +
         std::to_string(change.oldSize) + ">" + std::to_string(change.newSize) + " " +
         std::to_string(change.oldAttributes) + ">" + std::to_string(change.newAttributes);
}

std::vector<std::string> Describe(const std::vector<FileChange>& changes) {
  std::vector<std::string> out;
  for (const FileChange& change : changes) out.push_back(Describe(change));
  return out;
}

TEST(FileDiffTest, ReportsEveryKindInPathOrder) {
  FileSystem before;
  before.AddDrive('C', {});
  before.CreateDirectories("C:\\WINDOWS\\INF");
  before.CreateDirectories("C:\\OLD\\SUB");
  before.WriteFile("C:\\OLD\\SUB\\x.dll", "xx");
  before.WriteFile("C:\\WINDOWS\\win.ini", "[windows]");
  before.WriteFile("C:\\WINDOWS\\same.ini", "same");
  before.WriteFile("C:\\WINDOWS\\ro.dll", "ro");
  before.WriteFile("C:\\WINDOWS\\both.inf", "1");

  FileSystem after = before;
  after.WriteFile("C:\\WINDOWS\\win.ini", "[windows]\r\nrun=");
  after.WriteFile("C:\\WINDOWS\\same.ini", "same");  // rewritten with the same bytes
  after.SetFileAttributesA("C:\\WINDOWS\\ro.dll", kFileAttributeReadonly);
  after.WriteFile("C:\\WINDOWS\\both.inf", "2");
  after.SetFileAttributesA("C:\\WINDOWS\\both.inf", kFileAttributeNormal);
  after.CreateDirectories("C:\\Program Files\\Kestrix");
  after.WriteFile("C:\\Program Files\\Kestrix\\a.sys", "abc");
  after.DeleteFileA("C:\\OLD\\SUB\\x.dll");
  after.AddDrive('D', {});
  after.WriteFile("D:\\d.txt", "d");

  EXPECT_EQ(Describe(DiffFiles(before, after)),
            (std::vector<std::string>{
                "FileDeleted C:\\OLD\\SUB\\x.dll 2>0 32>0",
                "FolderAdded C:\\Program Files 0>0 0>16",
                "FolderAdded C:\\Program Files\\Kestrix 0>0 0>16",
                "FileAdded C:\\Program Files\\Kestrix\\a.sys 0>3 0>32",
                "FileChanged C:\\WINDOWS\\both.inf 1>1 32>128",
                "AttributesChanged C:\\WINDOWS\\both.inf 1>1 32>128",
                "AttributesChanged C:\\WINDOWS\\ro.dll 2>2 32>1",
                "FileChanged C:\\WINDOWS\\win.ini 9>15 32>32",
                "FolderAdded D:\\ 0>0 0>16",
                "FileAdded D:\\d.txt 0>1 0>32",
            }));

  // The other way round, additions become deletions, folders first.
  const std::vector<std::string> back = Describe(DiffFiles(after, before));
  EXPECT_EQ(back[1], "FolderDeleted C:\\Program Files 0>0 16>0");
  EXPECT_EQ(back[3], "FileDeleted C:\\Program Files\\Kestrix\\a.sys 3>0 32>0");
  EXPECT_EQ(back.back(), "FileDeleted D:\\d.txt 1>0 32>0");
  EXPECT_TRUE(DiffFiles(before, before).empty());
}

TEST(FileDiffTest, SharedContentIsNotRead) {
  const auto folder =
      std::filesystem::temp_directory_path() / ("kx_files_diff_" + std::to_string(::getpid()));
  std::filesystem::create_directories(folder);
  std::ofstream(folder / "media.bin") << "media";
  FileSystem before;
  std::string error;
  ASSERT_TRUE(before.LoadDriveFromHost('E', folder, &error)) << error;
  FileSystem after = before;
  after.CopyFileA("E:\\media.bin", "E:\\copy.bin", kTrue);
  // Unreadable now: any attempt to compare its bytes would count it changed.
  std::filesystem::remove_all(folder);
  EXPECT_EQ(Describe(DiffFiles(before, after)),
            (std::vector<std::string>{"FileAdded E:\\copy.bin 0>5 0>32"}));
}

}  // namespace
}  // namespace kx::sim
