// Feeds arbitrary bytes as a profile file to the profile engine: lists and
// lookups with small and large buffers, integer reads, and writes whose
// results must read back and leave the rest of the file as it was.
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_check.h"
#include "platform/text.h"
#include "sim/profile/profile.h"

namespace {

using kx::DWORD;
using namespace kx::sim::profile;

// A read into a buffer of exactly size bytes, so that the address sanitizer
// sees any write past it. Checks the buffer rules every read keeps.
std::string ReadExact(const std::string* file, const char* section, const char* key, DWORD size,
                      bool list) {
  std::vector<char> buffer(size == 0 ? 1 : size, '\x7f');
  const DWORD n =
      GetString(file, section, key, "default", size == 0 ? nullptr : buffer.data(), size);
  if (size == 0) {
    FUZZ_CHECK(n == 0);
    return std::string();
  }
  FUZZ_CHECK(n < size);
  FUZZ_CHECK(buffer[n] == '\0');
  // A whole list ends in its last name's zero and the extra zero; a cut one
  // in the zero after the cut name and the extra zero.
  if (list && n > 0) FUZZ_CHECK(buffer[n - 1] == '\0' || (n + 1 < size && buffer[n + 1] == '\0'));
  if (!list) FUZZ_CHECK(std::memchr(buffer.data(), '\0', n) == nullptr);
  return std::string(buffer.data(), list ? n + 1 : n);
}

// The names of a zero-separated list read whole.
std::vector<std::string> Names(const std::string& file, const char* section) {
  const DWORD size = static_cast<DWORD>(file.size() * 2 + 16);
  const std::string list = ReadExact(&file, section, nullptr, size, true);
  std::vector<std::string> names;
  for (std::size_t at = 0; at < list.size() && list[at] != '\0';) {
    const std::size_t end = list.find('\0', at);
    names.push_back(list.substr(at, end - at));
    at = end + 1;
  }
  return names;
}

std::string Value(const std::string& file, const std::string& section, const std::string& key) {
  return ReadExact(&file, section.c_str(), key.c_str(), static_cast<DWORD>(file.size() + 16),
                   false);
}

// A value made of the input's bytes that reads back unchanged: no line ends,
// NULs or outer blanks, not wrapped in quotes.
std::string SafeValue(std::string_view input) {
  static const char kAlphabet[] = "abcXYZ019=;[]#\"-_. ";
  std::string value = "v";
  for (std::size_t i = 0; i < input.size() && i < 12; ++i) {
    value += kAlphabet[static_cast<unsigned char>(input[i]) % (sizeof kAlphabet - 1)];
  }
  value += 'v';
  return value;
}

std::string_view Tail(std::string_view input, std::size_t from) {
  return from < input.size() ? input.substr(from) : std::string_view();
}

void CheckLists(const std::string& file, const char* section) {
  const std::string whole = ReadExact(&file, section, nullptr, 1 << 16, true);
  for (DWORD size : {0u, 1u, 2u, 3u, 7u, 16u}) {
    const std::string cut = ReadExact(&file, section, nullptr, size, true);
    // A cut list starts like the whole one.
    if (!cut.empty()) FUZZ_CHECK(whole.compare(0, cut.size() - 1, cut, 0, cut.size() - 1) == 0);
  }
}

void CheckKey(const std::string& file, const std::string& section, const std::string& key,
              std::string_view input) {
  const std::string value = Value(file, section, key);
  for (DWORD size : {1u, 2u, 5u}) {
    const std::string cut = ReadExact(&file, section.c_str(), key.c_str(), size, false);
    FUZZ_CHECK(value.compare(0, cut.size(), cut) == 0);
  }
  GetInt(&file, section.c_str(), key.c_str(), -7);

  // Writing the value a key already has changes nothing.
  std::string same = file;
  FUZZ_CHECK(WriteString(same, section.c_str(), key.c_str(), value.c_str()));
  FUZZ_CHECK(same == file);

  // A new value reads back; the other keys of the section keep theirs.
  const std::vector<std::string> keys = Names(file, section.c_str());
  const std::string fresh = SafeValue(input);
  std::string changed = file;
  FUZZ_CHECK(WriteString(changed, section.c_str(), key.c_str(), fresh.c_str()));
  FUZZ_CHECK(Value(changed, section, key) == fresh);
  FUZZ_CHECK(Names(changed, section.c_str()) == keys);
  for (std::size_t i = 0; i < keys.size() && i < 4; ++i) {
    if (keys[i] != key)
      FUZZ_CHECK(Value(changed, section, keys[i]) == Value(file, section, keys[i]));
  }

  // So does a number.
  FUZZ_CHECK(WriteString(changed, section.c_str(), key.c_str(), "-12345"));
  FUZZ_CHECK(GetInt(&changed, section.c_str(), key.c_str(), 0) == static_cast<kx::UINT>(-12345));

  // Deleting the key and then the section never fails.
  FUZZ_CHECK(WriteString(changed, section.c_str(), key.c_str(), nullptr));
  FUZZ_CHECK(WriteString(changed, section.c_str(), nullptr, nullptr));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string file(reinterpret_cast<const char*>(data), size);
  const std::string_view input = file;

  CheckLists(file, nullptr);
  const std::vector<std::string> sections = Names(file, nullptr);
  for (std::size_t s = 0; s < sections.size() && s < 3; ++s) {
    CheckLists(file, sections[s].c_str());
    const std::vector<std::string> keys = Names(file, sections[s].c_str());
    for (std::size_t k = 0; k < keys.size() && k < 3; ++k) {
      CheckKey(file, sections[s], keys[k], Tail(input, s * 7 + k));
    }
    // A key the section does not have goes in and reads back.
    std::string added = file;
    const std::string value = SafeValue(Tail(input, s));
    FUZZ_CHECK(WriteString(added, sections[s].c_str(), "kx-fuzz-new-key", value.c_str()));
    FUZZ_CHECK(Value(added, sections[s], "kx-fuzz-new-key") == value);
    FUZZ_CHECK(Names(added, nullptr) == sections);
  }

  // Lookups of names the file may or may not hold.
  for (const char* name : {"", "s", "section1", "name1"}) {
    ReadExact(&file, name, name, 8, false);
    ReadExact(&file, name, name, 4096, false);
    GetInt(&file, name, name, 42);
  }
  ReadExact(nullptr, "s", "k", 4, false);

  // A section the file does not have is appended and reads back, after
  // every section there was.
  std::string appended = file;
  const std::string value = SafeValue(input);
  FUZZ_CHECK(WriteString(appended, "kx fuzz section", "key", value.c_str()));
  FUZZ_CHECK(Value(appended, "kx fuzz section", "key") == value);
  std::vector<std::string> expected = sections;
  bool had = false;
  for (const std::string& name : sections)
    had = had || kx::EqualsIgnoreCase(name, "kx fuzz section");
  if (!had) expected.push_back("kx fuzz section");
  FUZZ_CHECK(Names(appended, nullptr) == expected);

  std::string untouched = file;
  FUZZ_CHECK(!WriteString(untouched, nullptr, "key", "value"));
  FUZZ_CHECK(untouched == file);
  return 0;
}
