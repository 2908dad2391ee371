#include "sim/registry/registry.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace kx::sim {
namespace {

const std::string kKestrix = "HKEY_LOCAL_MACHINE\\Software\\Kestrix";
HKey const kBogusHandle = reinterpret_cast<HKey>(std::uintptr_t{0x4321});

std::string Sz(std::string_view text) { return std::string(text) + '\0'; }
std::string Dword(DWORD v) {
  return std::string{static_cast<char>(v), static_cast<char>(v >> 8), static_cast<char>(v >> 16),
                     static_cast<char>(v >> 24)};
}

// HKLM\Software\Kestrix with three values and the subkey Sub\Deeper.
class RegistryTest : public ::testing::Test {
 protected:
  RegistryTest() {
    reg.SetValue(kKestrix, "Path", kRegSz, Sz("C:\\KX"));
    reg.SetValue(kKestrix, "Count", kRegDword, Dword(5));
    reg.SetValue(kKestrix, "Raw", kRegSz, "abc");  // stored without a terminator
    reg.CreateKey(kKestrix + "\\Sub\\Deeper");
  }

  HKey Open(HKey root, const char* subKey, DWORD access = kKeyAllAccess) {
    HKey key = nullptr;
    EXPECT_EQ(reg.RegOpenKeyExA(root, subKey, 0, access, &key), kErrorSuccess) << subKey;
    return key;
  }

  std::vector<std::string> SubkeyNames(HKey key) {
    std::vector<std::string> names;
    char name[300];
    for (DWORD i = 0;; ++i) {
      DWORD size = sizeof(name);
      const LONG result = reg.RegEnumKeyExA(key, i, name, &size);
      if (result != kErrorSuccess) {
        EXPECT_EQ(result, kErrorNoMoreItems);
        return names;
      }
      EXPECT_EQ(size, std::strlen(name));
      names.emplace_back(name);
    }
  }

  Registry reg;
};

TEST_F(RegistryTest, OpenKeyResults) {
  struct Case {
    const char* subKey;
    LONG on9x;
    LONG onNt;
  };
  const std::string longName(256, 'x');
  const Case cases[] = {
      {"Software\\Kestrix", kErrorSuccess, kErrorSuccess},
      {"SOFTWARE\\kestrix\\sub", kErrorSuccess, kErrorSuccess},
      {"Software\\Kestrix\\\\", kErrorSuccess, kErrorSuccess},
      {nullptr, kErrorSuccess, kErrorSuccess},
      {"", kErrorSuccess, kErrorSuccess},
      {"Software\\Missing", kErrorFileNotFound, kErrorFileNotFound},
      {"Software\\Kestrix\\Path", kErrorFileNotFound, kErrorFileNotFound},  // a value
      {"\\Software", kErrorFileNotFound, kErrorBadPathname},
      {"Software\\\\Kestrix", kErrorFileNotFound, kErrorBadPathname},
      {longName.c_str(), kErrorFileNotFound, kErrorFileNotFound},
  };
  for (bool nt : {false, true}) {
    reg.SetNtBehaviour(nt);
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(c.subKey ? c.subKey : "(null)") + (nt ? " NT" : " 9x"));
      HKey key = kBogusHandle;
      const LONG result = reg.RegOpenKeyExA(kHkeyLocalMachine, c.subKey, 0, kKeyRead, &key);
      EXPECT_EQ(result, nt ? c.onNt : c.on9x);
      if (result == kErrorSuccess) {
        EXPECT_NE(key, nullptr);
        EXPECT_EQ(reg.RegCloseKey(key), kErrorSuccess);
      } else {
        EXPECT_EQ(key, nullptr);
      }
    }
  }

  HKey key = kBogusHandle;
  EXPECT_EQ(reg.RegOpenKeyExA(nullptr, "Software", 0, kKeyRead, &key), kErrorInvalidHandle);
  EXPECT_EQ(key, kBogusHandle);  // untouched
  EXPECT_EQ(reg.RegOpenKeyExA(kHkeyLocalMachine, "Software", 0, kKeyRead, nullptr),
            kErrorInvalidParameter);
}

TEST_F(RegistryTest, HandlesOpenRelativeToEachOtherAndCloseOnce) {
  HKey software = Open(kHkeyLocalMachine, "Software");
  HKey kestrix = Open(software, "kestrix");
  HKey again = Open(kestrix, "");
  EXPECT_NE(again, kestrix);
  EXPECT_EQ(SubkeyNames(again), std::vector<std::string>{"Sub"});
  EXPECT_EQ(reg.OpenHandleCount(), 3u);
  EXPECT_EQ(reg.RegCloseKey(again), kErrorSuccess);
  EXPECT_EQ(reg.RegCloseKey(again), kErrorInvalidHandle);
  EXPECT_EQ(reg.RegCloseKey(kHkeyLocalMachine), kErrorSuccess);  // predefined: harmless
  EXPECT_EQ(reg.RegCloseKey(nullptr), kErrorInvalidHandle);
  EXPECT_EQ(reg.OpenHandleCount(), 2u);
}

TEST_F(RegistryTest, QueryValueBufferRules) {
  struct Case {
    const char* name;
    int bufferSize;  // -1: no data buffer
    LONG result;
    DWORD size;         // *dataSize afterwards
    std::string bytes;  // expected start of the buffer ("" = untouched)
  };
  const Case cases[] = {
      {"Path", -1, kErrorSuccess, 6, ""},
      {"path", 6, kErrorSuccess, 6, Sz("C:\\KX")},
      {"Path", 64, kErrorSuccess, 6, Sz("C:\\KX")},
      {"Path", 5, kErrorMoreData, 6, ""},
      {"Path", 0, kErrorMoreData, 6, ""},
      {"Raw", 64, kErrorSuccess, 3, "abc"},  // returned as stored: no terminator added
      {"Count", 4, kErrorSuccess, 4, Dword(5)},
      {"Missing", -1, kErrorFileNotFound, 0, ""},
      {"Missing", 10, kErrorFileNotFound, 10, ""},
  };
  HKey key = Open(kHkeyLocalMachine, "Software\\Kestrix");
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.name) + " buffer " + std::to_string(c.bufferSize));
    std::string buffer(64, '#');
    DWORD type = 99;
    DWORD size = c.bufferSize < 0 ? 12345 : static_cast<DWORD>(c.bufferSize);
    BYTE* data = c.bufferSize < 0 ? nullptr : reinterpret_cast<BYTE*>(buffer.data());
    EXPECT_EQ(reg.RegQueryValueExA(key, c.name, &type, data, &size), c.result);
    EXPECT_EQ(size, c.size);
    if (c.result != kErrorFileNotFound) {
      EXPECT_NE(type, 99u);
    }
    const std::string expected = c.bytes.empty() ? std::string(64, '#') : c.bytes;
    EXPECT_EQ(buffer.substr(0, expected.size()), expected);
  }
  // Type only, without any size; and a buffer without a size is refused.
  DWORD type = 0;
  EXPECT_EQ(reg.RegQueryValueExA(key, "Count", &type, nullptr, nullptr), kErrorSuccess);
  EXPECT_EQ(type, kRegDword);
  BYTE byte = 0;
  EXPECT_EQ(reg.RegQueryValueExA(key, "Count", &type, &byte, nullptr), kErrorInvalidParameter);
}

TEST_F(RegistryTest, SetValueStoresBytesAsGivenAndDefaultValueHasTwoSpellings) {
  HKey key = Open(kHkeyLocalMachine, "Software\\Kestrix");
  const BYTE text[] = "new";
  ASSERT_EQ(reg.RegSetValueExA(key, nullptr, kRegSz, text, 4), kErrorSuccess);
  EXPECT_EQ(reg.GetValue(kKestrix, "")->data, Sz("new"));
  ASSERT_EQ(reg.RegSetValueExA(key, "", kRegExpandSz, text, 2), kErrorSuccess);
  EXPECT_EQ(reg.GetValue(kKestrix, "")->data, "ne");
  EXPECT_EQ(reg.GetValue(kKestrix, "")->type, kRegExpandSz);

  // Setting an existing value again (in another case) keeps its place and name.
  ASSERT_EQ(reg.RegSetValueExA(key, "PATH", kRegBinary, text, 1), kErrorSuccess);
  const RegistryKey* stored = reg.FindKey(kKestrix);
  ASSERT_EQ(stored->ValueCount(), 4u);
  EXPECT_EQ(stored->ValueAt(0).name, "Path");
  EXPECT_EQ(stored->ValueAt(0).data, "n");
  EXPECT_EQ(stored->ValueAt(3).name, "");

  EXPECT_EQ(reg.RegSetValueExA(key, "x", kRegBinary, nullptr, 4), kErrorInvalidParameter);
  EXPECT_EQ(reg.RegSetValueExA(key, "x", kRegBinary, nullptr, 0), kErrorSuccess);
  EXPECT_EQ(reg.RegSetValueExA(key, "y", kRegSz, nullptr, 0), kErrorInvalidParameter);  // 9x
  reg.SetNtBehaviour(true);
  EXPECT_EQ(reg.RegSetValueExA(key, "y", kRegSz, nullptr, 0), kErrorSuccess);
  EXPECT_EQ(reg.GetValue(kKestrix, "y")->data, "");
  EXPECT_EQ(reg.RegSetValueExA(key, "a\nb", kRegSz, text, 4), kErrorInvalidParameter);
}

TEST_F(RegistryTest, SubkeysEnumerateInCaseInsensitiveOrderOfUpperCase) {
  // Upper-case folding puts '_' (after 'Z') behind the letters, and a
  // Windows-1252 letter like 0xC9 behind ASCII.
  for (const char* name : {"beta", "\xC9t\xE9", "_under", "Zeta", "Alpha", "ALPHA"}) {
    reg.CreateKey(kKestrix + "\\List\\" + name);
  }
  HKey list = Open(kHkeyLocalMachine, "Software\\Kestrix\\List");
  EXPECT_EQ(SubkeyNames(list),
            (std::vector<std::string>{"Alpha", "beta", "Zeta", "_under", "\xC9t\xE9"}));
  EXPECT_TRUE(reg.KeyExists(kKestrix + "\\List\\\xE9T\xC9"));  // case of accented letters too
}

TEST_F(RegistryTest, EnumKeyBufferRules) {
  HKey key = Open(kHkeyLocalMachine, "Software\\Kestrix");
  char name[8] = "#######";
  DWORD size = 3;  // "Sub" needs 4 with its terminator
  EXPECT_EQ(reg.RegEnumKeyExA(key, 0, name, &size), kErrorMoreData);
  EXPECT_EQ(size, 3u);
  EXPECT_STREQ(name, "#######");
  size = 4;
  EXPECT_EQ(reg.RegEnumKeyExA(key, 0, name, &size), kErrorSuccess);
  EXPECT_EQ(size, 3u);
  EXPECT_STREQ(name, "Sub");
  size = sizeof(name);
  EXPECT_EQ(reg.RegEnumKeyExA(key, 1, name, &size), kErrorNoMoreItems);
  EXPECT_EQ(reg.RegEnumKeyExA(key, 0, nullptr, &size), kErrorInvalidParameter);
}

TEST_F(RegistryTest, EnumValueBufferRules) {
  HKey key = Open(kHkeyLocalMachine, "Software\\Kestrix");
  struct Case {
    DWORD index;
    DWORD nameSize;
    int dataSize;  // -1: no data buffer
    LONG result;
    DWORD nameSizeAfter;
    const char* nameAfter;
    DWORD dataSizeAfter;
  };
  const Case cases[] = {
      {0, 5, 16, kErrorSuccess, 4, "Path", 6},  // values in the order they were set
      {1, 6, 16, kErrorSuccess, 5, "Count", 4},
      {2, 4, 16, kErrorSuccess, 3, "Raw", 3},
      {0, 4, 16, kErrorMoreData, 4, "########", 6},  // name too long: nothing written
      {0, 5, 5, kErrorMoreData, 5, "########", 6},   // data too long: name not written either
      {0, 5, -1, kErrorSuccess, 4, "Path", 6},       // no buffer: the size is reported
      {3, 16, 16, kErrorNoMoreItems, 16, "########", 16},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("index " + std::to_string(c.index) + " name size " + std::to_string(c.nameSize));
    char name[9] = "########";
    std::string data(16, '#');
    DWORD nameSize = c.nameSize;
    DWORD dataSize = c.dataSize < 0 ? 16 : static_cast<DWORD>(c.dataSize);
    DWORD type = 99;
    BYTE* buffer = c.dataSize < 0 ? nullptr : reinterpret_cast<BYTE*>(data.data());
    EXPECT_EQ(reg.RegEnumValueA(key, c.index, name, &nameSize, &type, buffer, &dataSize), c.result);
    EXPECT_EQ(nameSize, c.nameSizeAfter);
    EXPECT_STREQ(name, c.nameAfter);
    EXPECT_EQ(dataSize, c.dataSizeAfter);
    if (c.result == kErrorSuccess && buffer) {
      EXPECT_EQ(data.substr(0, dataSize), reg.FindKey(kKestrix)->ValueAt(c.index).data);
    } else {
      EXPECT_EQ(data, std::string(16, '#'));
    }
  }
}

TEST_F(RegistryTest, DeleteValue) {
  HKey key = Open(kHkeyLocalMachine, "Software\\Kestrix");
  EXPECT_EQ(reg.RegDeleteValueA(key, "COUNT"), kErrorSuccess);
  EXPECT_EQ(reg.RegDeleteValueA(key, "Count"), kErrorFileNotFound);
  EXPECT_EQ(reg.RegDeleteValueA(key, nullptr), kErrorFileNotFound);  // no default value
  EXPECT_FALSE(reg.GetValue(kKestrix, "Count"));
  EXPECT_EQ(reg.FindKey(kKestrix)->ValueAt(1).name, "Raw");  // the others keep their order
}

TEST_F(RegistryTest, DeleteKeyRemovesSubtreeOn9xAndRefusesKeysWithSubkeysOnNt) {
  HKey software = Open(kHkeyLocalMachine, "Software");
  Registry nt = reg;  // the copy has the handle too
  nt.SetNtBehaviour(true);
  EXPECT_EQ(nt.RegDeleteKeyA(software, "Kestrix"), kErrorAccessDenied);
  EXPECT_EQ(nt.RegDeleteKeyA(software, "Kestrix\\Sub"), kErrorAccessDenied);
  EXPECT_TRUE(nt.KeyExists(kKestrix + "\\Sub\\Deeper"));
  EXPECT_EQ(nt.RegDeleteKeyA(software, "Kestrix\\Sub\\Deeper"), kErrorSuccess);
  EXPECT_EQ(nt.RegDeleteKeyA(software, "Kestrix\\Sub"), kErrorSuccess);
  EXPECT_FALSE(nt.KeyExists(kKestrix + "\\Sub"));
  EXPECT_TRUE(nt.GetValue(kKestrix, "Path"));

  EXPECT_EQ(reg.RegDeleteKeyA(software, "KESTRIX"), kErrorSuccess);
  EXPECT_FALSE(reg.KeyExists(kKestrix));
  EXPECT_TRUE(reg.KeyExists("HKLM\\Software"));
  EXPECT_EQ(reg.RegDeleteKeyA(software, "Kestrix"), kErrorFileNotFound);
  EXPECT_EQ(reg.RegDeleteKeyA(software, nullptr), kErrorInvalidParameter);
}

TEST_F(RegistryTest, RootsAndTheKeysViewsShowCannotBeDeletedThroughTheirHandles) {
  reg.CreateKey("HKCU\\Software");
  reg.CreateKey("HKCR\\.wav");
  for (HKey root : {kHkeyLocalMachine, kHkeyUsers, kHkeyCurrentUser, kHkeyClassesRoot}) {
    EXPECT_EQ(reg.RegDeleteKeyA(root, ""), kErrorAccessDenied);
  }
  EXPECT_TRUE(reg.KeyExists("HKEY_USERS\\.DEFAULT\\Software"));
  EXPECT_TRUE(reg.KeyExists("HKEY_LOCAL_MACHINE\\Software\\Classes\\.wav"));
  // Through another handle the key is an ordinary key.
  HKey key = Open(kHkeyLocalMachine, "Software\\Kestrix\\Sub\\Deeper");
  EXPECT_EQ(reg.RegDeleteKeyA(key, ""), kErrorSuccess);
  EXPECT_FALSE(reg.KeyExists(kKestrix + "\\Sub\\Deeper"));
}

TEST_F(RegistryTest, HandleOfDeletedKeyReportsKeyDeletedEvenAfterTheNameIsReused) {
  HKey sub = Open(kHkeyLocalMachine, "Software\\Kestrix\\Sub");
  HKey deeper = Open(kHkeyLocalMachine, "Software\\Kestrix\\Sub\\Deeper");
  ASSERT_EQ(reg.RegDeleteKeyA(kHkeyLocalMachine, "Software\\Kestrix\\Sub"), kErrorSuccess);
  reg.CreateKey(kKestrix + "\\Sub\\Deeper");
  for (HKey key : {sub, deeper}) {
    char name[32];
    DWORD size = sizeof(name);
    DWORD dataSize = 0;
    HKey opened = nullptr;
    const BYTE byte = 1;
    EXPECT_EQ(reg.RegOpenKeyExA(key, "", 0, kKeyRead, &opened), kErrorKeyDeleted);
    EXPECT_EQ(reg.RegQueryValueExA(key, "x", nullptr, nullptr, &dataSize), kErrorKeyDeleted);
    EXPECT_EQ(reg.RegSetValueExA(key, "x", kRegBinary, &byte, 1), kErrorKeyDeleted);
    EXPECT_EQ(reg.RegEnumKeyExA(key, 0, name, &size), kErrorKeyDeleted);
    EXPECT_EQ(reg.RegEnumValueA(key, 0, name, &size, nullptr, nullptr, nullptr), kErrorKeyDeleted);
    EXPECT_EQ(reg.RegDeleteValueA(key, "x"), kErrorKeyDeleted);
    EXPECT_EQ(reg.RegDeleteKeyA(key, ""), kErrorKeyDeleted);
    EXPECT_EQ(reg.RegCloseKey(key), kErrorSuccess);
  }
  EXPECT_TRUE(reg.KeyExists(kKestrix + "\\Sub\\Deeper"));
}

TEST_F(RegistryTest, BadHandleIsRefusedByEveryCall) {
  char name[32];
  DWORD size = sizeof(name);
  HKey opened = nullptr;
  const BYTE byte = 1;
  for (HKey key : {kBogusHandle, static_cast<HKey>(nullptr)}) {
    EXPECT_EQ(reg.RegOpenKeyExA(key, "x", 0, kKeyRead, &opened), kErrorInvalidHandle);
    EXPECT_EQ(reg.RegQueryValueExA(key, "x", nullptr, nullptr, &size), kErrorInvalidHandle);
    EXPECT_EQ(reg.RegSetValueExA(key, "x", kRegBinary, &byte, 1), kErrorInvalidHandle);
    EXPECT_EQ(reg.RegEnumKeyExA(key, 0, name, &size), kErrorInvalidHandle);
    EXPECT_EQ(reg.RegEnumValueA(key, 0, name, &size, nullptr, nullptr, nullptr),
              kErrorInvalidHandle);
    EXPECT_EQ(reg.RegDeleteValueA(key, "x"), kErrorInvalidHandle);
    EXPECT_EQ(reg.RegDeleteKeyA(key, "x"), kErrorInvalidHandle);
    EXPECT_EQ(reg.RegCloseKey(key), kErrorInvalidHandle);
  }
}

TEST_F(RegistryTest, AccessMasksAreEnforcedOnNtOnly) {
  struct Case {
    DWORD access;
    LONG query, set, enumKeys, enumValues, deleteValue;
  };
  const Case cases[] = {
      {kKeyRead, kErrorSuccess, kErrorAccessDenied, kErrorSuccess, kErrorSuccess,
       kErrorAccessDenied},
      {kKeyWrite, kErrorAccessDenied, kErrorSuccess, kErrorAccessDenied, kErrorAccessDenied,
       kErrorSuccess},
      {kKeyQueryValue, kErrorSuccess, kErrorAccessDenied, kErrorAccessDenied, kErrorSuccess,
       kErrorAccessDenied},
      {0x80000000u /* generic read */, kErrorSuccess, kErrorAccessDenied, kErrorSuccess,
       kErrorSuccess, kErrorAccessDenied},
      {kKeyAllAccess, kErrorSuccess, kErrorSuccess, kErrorSuccess, kErrorSuccess, kErrorSuccess},
  };
  for (bool nt : {false, true}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(std::to_string(c.access) + (nt ? " NT" : " 9x"));
      Registry r = reg;
      r.SetNtBehaviour(nt);
      HKey key = nullptr;
      ASSERT_EQ(r.RegOpenKeyExA(kHkeyLocalMachine, "Software\\Kestrix", 0, c.access, &key),
                kErrorSuccess);
      auto expect = [nt](LONG onNt) { return nt ? onNt : kErrorSuccess; };
      char name[32];
      DWORD size = sizeof(name);
      const BYTE byte = 1;
      EXPECT_EQ(r.RegQueryValueExA(key, "Path", nullptr, nullptr, &size), expect(c.query));
      EXPECT_EQ(r.RegSetValueExA(key, "New", kRegBinary, &byte, 1), expect(c.set));
      size = sizeof(name);
      EXPECT_EQ(r.RegEnumKeyExA(key, 0, name, &size), expect(c.enumKeys));
      size = sizeof(name);
      EXPECT_EQ(r.RegEnumValueA(key, 0, name, &size, nullptr, nullptr, nullptr),
                expect(c.enumValues));
      EXPECT_EQ(r.RegDeleteValueA(key, "Raw"), expect(c.deleteValue));
    }
  }
}

TEST_F(RegistryTest, CurrentUserAndClassesRootAreViews) {
  HKey software = nullptr;
  ASSERT_EQ(reg.RegSetValueExA(kHkeyCurrentUser, "Direct", kRegBinary,
                               reinterpret_cast<const BYTE*>("1"), 1),
            kErrorSuccess);  // creates HKU\.DEFAULT, which the image lacked
  reg.CreateKey("HKEY_USERS\\.default\\Software");
  ASSERT_EQ(reg.RegOpenKeyExA(kHkeyCurrentUser, "Software", 0, kKeyAllAccess, &software),
            kErrorSuccess);
  ASSERT_EQ(reg.RegSetValueExA(software, "V", kRegSz, reinterpret_cast<const BYTE*>("a"), 2),
            kErrorSuccess);
  EXPECT_EQ(reg.GetValue("HKEY_USERS\\.DEFAULT\\Software", "V")->data, Sz("a"));
  EXPECT_EQ(reg.GetValue("HKCU\\Software", "v")->data, Sz("a"));
  EXPECT_TRUE(reg.GetValue("HKEY_USERS\\.DEFAULT", "Direct"));

  // Another current user: the view moves, open handles stay where they are.
  ASSERT_TRUE(reg.SetCurrentUserKey("S-1-5-21-1000"));
  EXPECT_FALSE(reg.KeyExists("HKEY_CURRENT_USER\\Software"));
  DWORD size = 0;
  EXPECT_EQ(reg.RegQueryValueExA(kHkeyCurrentUser, "Direct", nullptr, nullptr, &size),
            kErrorFileNotFound);
  char name[32];
  size = sizeof(name);
  EXPECT_EQ(reg.RegEnumKeyExA(kHkeyCurrentUser, 0, name, &size), kErrorNoMoreItems);
  EXPECT_EQ(reg.RegQueryValueExA(software, "V", nullptr, nullptr, &size), kErrorSuccess);
  reg.SetValue("HKCU\\Software", "W", kRegSz, Sz("b"));
  EXPECT_TRUE(reg.GetValue("HKEY_USERS\\S-1-5-21-1000\\Software", "W"));
  EXPECT_FALSE(reg.SetCurrentUserKey("a\\b"));
  EXPECT_EQ(reg.CurrentUserKey(), "S-1-5-21-1000");

  reg.SetValue("HKEY_CLASSES_ROOT\\.wav", "", kRegSz, Sz("SoundRec"));
  EXPECT_EQ(reg.GetValue("HKLM\\SOFTWARE\\Classes\\.WAV", "")->data, Sz("SoundRec"));
  HKey wav = Open(kHkeyClassesRoot, ".wav");
  EXPECT_EQ(reg.RegDeleteValueA(wav, ""), kErrorSuccess);
  EXPECT_FALSE(reg.GetValue("HKLM\\Software\\Classes\\.wav", ""));
}

TEST_F(RegistryTest, InjectedFaults) {
  ASSERT_TRUE(reg.InjectFault(kKestrix + "\\Sub", RegistryFault::CannotOpen));
  ASSERT_TRUE(reg.InjectFault(kKestrix, RegistryFault::CannotWrite));
  ASSERT_TRUE(reg.InjectFault(kKestrix + "\\Sub\\Deeper", RegistryFault::CannotDelete));
  EXPECT_FALSE(reg.InjectFault("HKEY_NOWHERE\\x", RegistryFault::CannotOpen));

  // CannotOpen: exactly that key.
  HKey key = kBogusHandle;
  EXPECT_EQ(reg.RegOpenKeyExA(kHkeyLocalMachine, "Software\\KESTRIX\\sub", 0, kKeyRead, &key),
            kErrorAccessDenied);
  EXPECT_EQ(key, nullptr);
  Open(kHkeyLocalMachine, "Software\\Kestrix\\Sub\\Deeper");

  // CannotWrite: values cannot be set or deleted; they can still be read.
  HKey kestrix = Open(kHkeyLocalMachine, "Software\\Kestrix");
  const BYTE byte = 1;
  EXPECT_EQ(reg.RegSetValueExA(kestrix, "Path", kRegBinary, &byte, 1), kErrorAccessDenied);
  EXPECT_EQ(reg.RegDeleteValueA(kestrix, "Path"), kErrorAccessDenied);
  DWORD size = 0;
  EXPECT_EQ(reg.RegQueryValueExA(kestrix, "Path", nullptr, nullptr, &size), kErrorSuccess);
  EXPECT_EQ(reg.GetValue(kKestrix, "Path")->data, Sz("C:\\KX"));

  // CannotDelete: the key and, on 9x, every key whose subtree holds it.
  for (const char* path : {"Software\\Kestrix\\Sub\\Deeper", "Software\\Kestrix\\Sub",
                           "Software\\Kestrix", "Software"}) {
    EXPECT_EQ(reg.RegDeleteKeyA(kHkeyLocalMachine, path), kErrorAccessDenied) << path;
  }
  EXPECT_TRUE(reg.KeyExists(kKestrix + "\\Sub\\Deeper"));
  reg.CreateKey(kKestrix + "\\Other");
  EXPECT_EQ(reg.RegDeleteKeyA(kHkeyLocalMachine, "Software\\Kestrix\\Other"), kErrorSuccess);

  // The path interface does not see faults; cleared faults are gone.
  EXPECT_TRUE(reg.SetValue(kKestrix, "Path", kRegSz, Sz("D:\\")));
  reg.ClearFaults();
  EXPECT_EQ(reg.RegDeleteKeyA(kHkeyLocalMachine, "Software\\Kestrix"), kErrorSuccess);
}

TEST_F(RegistryTest, PathInterfaceRejectsInvalidPaths) {
  std::string deep = "HKLM";
  for (std::size_t i = 0; i <= Registry::kMaxKeyDepth; ++i) deep += "\\k";
  const std::string cases[] = {
      "HKEY_NOWHERE\\Software",
      "",
      "HKLM\\",
      "HKLM\\Software\\\\Kestrix",
      "\\HKLM",
      "HKLM\\" + std::string(Registry::kMaxKeyNameLength + 1, 'n'),
      "HKLM\\tab\there",
      deep,
  };
  for (const std::string& path : cases) {
    SCOPED_TRACE(path.substr(0, 40));
    EXPECT_FALSE(reg.KeyPathError(path).empty());
    EXPECT_FALSE(reg.CreateKey(path));
    EXPECT_FALSE(reg.SetValue(path, "v", kRegSz, Sz("x")));
    EXPECT_FALSE(reg.KeyExists(path));
  }
  EXPECT_TRUE(reg.CreateKey("HKLM\\" + std::string(Registry::kMaxKeyNameLength, 'n')));
  EXPECT_FALSE(
      reg.SetValue(kKestrix, std::string(Registry::kMaxValueNameLength + 1, 'v'), kRegSz, Sz("x")));
  for (const char* root : {"HKEY_LOCAL_MACHINE", "hku", "HKEY_CURRENT_USER", "HKCR"}) {
    EXPECT_TRUE(reg.IsRootKeyPath(root));
    EXPECT_FALSE(reg.DeleteKey(root)) << root;
  }
  EXPECT_FALSE(reg.DeleteKey(kKestrix + "\\Missing"));
  EXPECT_TRUE(reg.DeleteKey("hklm\\software\\kestrix\\SUB"));
  EXPECT_FALSE(reg.KeyExists(kKestrix + "\\Sub\\Deeper"));
  EXPECT_TRUE(reg.DeleteValue(kKestrix, "raw"));
  EXPECT_FALSE(reg.DeleteValue(kKestrix, "raw"));
}

TEST_F(RegistryTest, CopyIsAnIndependentSnapshot) {
  HKey key = Open(kHkeyLocalMachine, "Software\\Kestrix");
  Registry snapshot = reg;
  EXPECT_TRUE(snapshot.SameContent(reg));
  ASSERT_EQ(reg.RegDeleteKeyA(key, "Sub"), kErrorSuccess);
  reg.SetValue(kKestrix, "Path", kRegSz, Sz("changed"));
  EXPECT_FALSE(snapshot.SameContent(reg));
  EXPECT_TRUE(snapshot.KeyExists(kKestrix + "\\Sub\\Deeper"));
  EXPECT_EQ(snapshot.GetValue(kKestrix, "Path")->data, Sz("C:\\KX"));
  // The snapshot's copy of the handle refers to the snapshot's key.
  char name[8];
  DWORD size = sizeof(name);
  EXPECT_EQ(snapshot.RegEnumKeyExA(key, 0, name, &size), kErrorSuccess);
  EXPECT_STREQ(name, "Sub");
}

TEST_F(RegistryTest, ForEachKeyVisitsParentsFirstInEnumerationOrder) {
  reg.CreateKey("HKU\\.DEFAULT");
  reg.CreateKey(kKestrix + "\\apple");
  std::vector<std::string> paths;
  reg.ForEachKey([&paths](const std::string& path, const RegistryKey&) { paths.push_back(path); });
  EXPECT_EQ(paths, (std::vector<std::string>{
                       "HKEY_LOCAL_MACHINE",
                       "HKEY_LOCAL_MACHINE\\Software",
                       "HKEY_LOCAL_MACHINE\\Software\\Kestrix",
                       "HKEY_LOCAL_MACHINE\\Software\\Kestrix\\apple",
                       "HKEY_LOCAL_MACHINE\\Software\\Kestrix\\Sub",
                       "HKEY_LOCAL_MACHINE\\Software\\Kestrix\\Sub\\Deeper",
                       "HKEY_USERS",
                       "HKEY_USERS\\.DEFAULT",
                   }));
}

}  // namespace
}  // namespace kx::sim
