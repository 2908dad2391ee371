#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sim/files/file_system.h"

namespace kx::sim {
namespace {

class FileStreamsTest : public ::testing::Test {
 protected:
  void SetUp() override { fs.AddDrive('C', {}); }

  std::string Bytes(const char* path) {
    std::string bytes;
    EXPECT_TRUE(fs.ReadFile(path, &bytes));
    return bytes;
  }

  // Every line FGets returns, with a buffer of the given size.
  std::vector<std::string> Lines(const char* mode, int size = 1024) {
    std::vector<std::string> lines;
    FileStream stream = fs.FOpen("C:\\f.txt", mode);
    EXPECT_NE(stream, nullptr);
    if (stream == nullptr) return lines;
    std::vector<char> buffer(size);
    while (fs.FGets(buffer.data(), size, stream)) lines.emplace_back(buffer.data());
    fs.FClose(stream);
    return lines;
  }

  FileSystem fs;
};

TEST_F(FileStreamsTest, ReadingInTextAndBinaryMode) {
  const struct {
    std::string bytes;
    std::vector<std::string> text;
    std::vector<std::string> binary;
  } cases[] = {
      {"a\r\nb\r\n", {"a\n", "b\n"}, {"a\r\n", "b\r\n"}},
      {"a\rb\n\r", {"a\rb\n", "\r"}, {"a\rb\n", "\r"}},  // a lone CR stays
      {"a\r\n\x1a"
       "b\r\n",
       {"a\n"},
       {"a\r\n",
        "\x1a"
        "b\r\n"}},
      {"no newline", {"no newline"}, {"no newline"}},
      {"", {}, {}},
      {std::string("nul\0byte\n", 9), {"nul"}, {"nul"}},  // C strings end at the NUL
  };
  for (const auto& c : cases) {
    ASSERT_TRUE(fs.WriteFile("C:\\f.txt", c.bytes));
    EXPECT_EQ(Lines("r"), c.text) << c.bytes;
    EXPECT_EQ(Lines("rb"), c.binary) << c.bytes;
  }
}

TEST_F(FileStreamsTest, FGetsStopsAtSizeMinusOne) {
  ASSERT_TRUE(fs.WriteFile("C:\\f.txt", "abcdef\r\ngh"));
  EXPECT_EQ(Lines("r", 4), (std::vector<std::string>{"abc", "def", "\n", "gh"}));
  FileStream stream = fs.FOpen("C:\\f.txt", "r");
  char buffer[4] = "xyz";
  EXPECT_EQ(fs.FGets(buffer, 1, stream), buffer);  // room for the terminator only
  EXPECT_STREQ(buffer, "");
  EXPECT_EQ(fs.FGets(buffer, 0, stream), nullptr);
  EXPECT_EQ(fs.FTell(stream), 0);
  fs.FClose(stream);
}

// The option edits of the driver INF: read a line in text mode, step back
// over the CR LF, overwrite one digit, flush; every other byte stays.
TEST_F(FileStreamsTest, InPlaceEditInTextModeKeepsEveryOtherByte) {
  const std::string original =
      "[Section]\r\nHKR,Config,DISMPU,1,00\r\nlone\rcr\r\nHKR,Config,DISMPU,1,00\r\n\x1a";
  ASSERT_TRUE(fs.WriteFile("C:\\f.inf", original));
  FileStream stream = fs.FOpen("C:\\f.inf", "r+");
  ASSERT_NE(stream, nullptr);
  char line[1024];
  ASSERT_NE(fs.FGets(line, sizeof line, stream), nullptr);
  EXPECT_EQ(fs.FTell(stream), 11);  // byte offsets, CR LF counted as two
  ASSERT_NE(fs.FGets(line, sizeof line, stream), nullptr);
  EXPECT_STREQ(line, "HKR,Config,DISMPU,1,00\n");
  ASSERT_EQ(fs.FSeek(stream, -3, kSeekCur), 0);
  EXPECT_EQ(fs.FWrite("1", 1, 1, stream), 1u);
  // Not in the file until flushed.
  EXPECT_EQ(Bytes("C:\\f.inf"), original);
  EXPECT_EQ(fs.FFlush(stream), 0);
  std::string expected = original;
  expected[32] = '1';
  EXPECT_EQ(Bytes("C:\\f.inf"), expected);

  // The WDM form: seek by 46 - L from the end of a line of length L.
  ASSERT_EQ(fs.FSeek(stream, 0, kSeekSet), 0);
  ASSERT_NE(fs.FGets(line, sizeof line, stream), nullptr);
  ASSERT_NE(fs.FGets(line, sizeof line, stream), nullptr);
  const long length = static_cast<long>(std::string(line).size()) - 1;
  ASSERT_EQ(fs.FSeek(stream, 10 - length, kSeekCur), 0);  // column 12 of that line
  EXPECT_EQ(fs.FTell(stream), 11 + 12);
  EXPECT_EQ(fs.FWrite("X", 1, 1, stream), 1u);
  ASSERT_EQ(fs.FSeek(stream, 0, kSeekEnd), 0);
  EXPECT_EQ(fs.FClose(stream), 0);
  expected[23] = 'X';
  EXPECT_EQ(Bytes("C:\\f.inf"), expected);
}

TEST_F(FileStreamsTest, WritingModes) {
  ASSERT_TRUE(fs.WriteFile("C:\\f.txt", "old contents"));
  const struct {
    const char* mode;
    const char* write;
    std::string result;
  } cases[] = {
      {"w", "a\nb\n", "a\r\nb\r\n"},
      {"wb", "a\nb\n", "a\nb\n"},
      {"w+", "x", "x"},
      {"a", "\nmore", "old contents\r\nmore"},
      {"ab", "\nmore", "old contents\nmore"},
      {"r+b", "OLD", "OLD contents"},
      {"rb+", "NEW\n", "NEW\ncontents"},
  };
  for (const auto& c : cases) {
    ASSERT_TRUE(fs.WriteFile("C:\\f.txt", "old contents"));
    FileStream stream = fs.FOpen("C:\\f.txt", c.mode);
    ASSERT_NE(stream, nullptr) << c.mode;
    const std::string text = c.write;
    EXPECT_EQ(fs.FWrite(text.data(), 1, text.size(), stream), text.size()) << c.mode;
    EXPECT_EQ(fs.FClose(stream), 0);
    EXPECT_EQ(Bytes("C:\\f.txt"), c.result) << c.mode;
  }
  // "w" empties the file as it opens; "a" writes at the end wherever it seeks.
  FileStream stream = fs.FOpen("C:\\f.txt", "w");
  EXPECT_EQ(Bytes("C:\\f.txt"), "");
  fs.FClose(stream);
  ASSERT_TRUE(fs.WriteFile("C:\\f.txt", "123"));
  stream = fs.FOpen("C:\\f.txt", "a+");
  ASSERT_EQ(fs.FSeek(stream, 0, kSeekSet), 0);
  fs.FWrite("4", 1, 1, stream);
  fs.FClose(stream);
  EXPECT_EQ(Bytes("C:\\f.txt"), "1234");
  // Writing past the end fills the gap with zero bytes.
  stream = fs.FOpen("C:\\f.txt", "r+b");
  ASSERT_EQ(fs.FSeek(stream, 2, kSeekEnd), 0);
  fs.FWrite("5", 1, 1, stream);
  fs.FClose(stream);
  EXPECT_EQ(Bytes("C:\\f.txt"), std::string("1234\0\0005", 7));
}

TEST_F(FileStreamsTest, OpenRefusals) {
  ASSERT_TRUE(fs.WriteFile("C:\\ro.txt", "ro"));
  ASSERT_TRUE(fs.SetFileAttributesA("C:\\ro.txt", kFileAttributeReadonly));
  ASSERT_TRUE(fs.CreateDirectoryA("C:\\DIR"));
  const struct {
    const char* path;
    const char* mode;
    DWORD error;
  } cases[] = {
      {"C:\\missing.txt", "rb", kErrorFileNotFound},
      {"C:\\missing.txt", "r+", kErrorFileNotFound},
      {"C:\\NODIR\\new.txt", "w", kErrorPathNotFound},
      {"C:\\new.txt\\", "w", kErrorInvalidName},
      {"C:\\ro.txt", "r+", kErrorAccessDenied},
      {"C:\\ro.txt", "w", kErrorAccessDenied},
      {"C:\\ro.txt", "a", kErrorAccessDenied},
      {"C:\\DIR", "rb", kErrorAccessDenied},
      {"C:\\ro.txt", "x", kErrorInvalidParameter},
      {"C:\\ro.txt", "rbb", kErrorInvalidParameter},
      {"C:\\ro.txt", "", kErrorInvalidParameter},
  };
  for (const auto& c : cases) {
    fs.set_last_error(0);
    EXPECT_EQ(fs.FOpen(c.path, c.mode), nullptr) << c.path << " " << c.mode;
    EXPECT_EQ(fs.last_error(), c.error) << c.path << " " << c.mode;
  }
  EXPECT_FALSE(fs.FileExists("C:\\NODIR\\new.txt"));
  EXPECT_FALSE(fs.FileExists("C:\\new.txt"));
  EXPECT_EQ(Bytes("C:\\ro.txt"), "ro");

  // A read-only file opens for reading; a read stream does not write.
  FileStream stream = fs.FOpen("C:\\ro.txt", "r");
  ASSERT_NE(stream, nullptr);
  EXPECT_EQ(fs.FWrite("x", 1, 1, stream), 0u);
  EXPECT_EQ(fs.FClose(stream), 0);
  EXPECT_EQ(fs.FClose(stream), -1);  // already closed
  EXPECT_EQ(fs.FSeek(stream, 0, kSeekSet), -1);
  EXPECT_EQ(fs.last_error(), static_cast<DWORD>(kErrorInvalidHandle));
}

// A stream left open while its drive is replaced must not write into
// whatever file of the same name the new drive holds.
TEST_F(FileStreamsTest, StreamDoesNotOutliveItsDrive) {
  ASSERT_TRUE(fs.WriteFile("C:\\f.txt", "old"));
  FileStream stream = fs.FOpen("C:\\f.txt", "r+b");
  ASSERT_NE(stream, nullptr);
  EXPECT_EQ(fs.FWrite("NEW", 1, 3, stream), 3u);
  fs.AddDrive('C', {});
  ASSERT_TRUE(fs.WriteFile("C:\\f.txt", "other"));
  EXPECT_EQ(fs.FClose(stream), -1);
  EXPECT_EQ(Bytes("C:\\f.txt"), "other");
}

TEST_F(FileStreamsTest, SeekRules) {
  ASSERT_TRUE(fs.WriteFile("C:\\f.txt", "abc\r\ndef"));
  FileStream stream = fs.FOpen("C:\\f.txt", "r");
  char line[16];
  ASSERT_NE(fs.FGets(line, sizeof line, stream), nullptr);
  EXPECT_EQ(fs.FTell(stream), 5);
  ASSERT_EQ(fs.FSeek(stream, -3, kSeekCur), 0);
  ASSERT_NE(fs.FGets(line, sizeof line, stream), nullptr);
  EXPECT_STREQ(line, "c\n");
  EXPECT_EQ(fs.FSeek(stream, -9, kSeekEnd), -1);  // before the start
  EXPECT_EQ(fs.FSeek(stream, 0, 7), -1);
  EXPECT_EQ(fs.FTell(stream), 5);
  ASSERT_EQ(fs.FSeek(stream, -2, kSeekEnd), 0);
  ASSERT_NE(fs.FGets(line, sizeof line, stream), nullptr);
  EXPECT_STREQ(line, "ef");
  EXPECT_EQ(fs.FGets(line, sizeof line, stream), nullptr);  // end of file
  fs.FClose(stream);
}

}  // namespace
}  // namespace kx::sim
