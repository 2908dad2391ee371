#include "cleanup/legacy_device_keys.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "support/sim_machine.h"

namespace kx {
namespace {

using sim::RegistryFault;

constexpr char kMedia[] = "HKLM\\System\\CurrentControlSet\\services\\Class\\MEDIA\\";
constexpr char kResources[] = "HKLM\\System\\CurrentControlSet\\control\\MediaResources\\";
constexpr char kPci[] = "HKLM\\Enum\\PCI\\";
constexpr char kKxi[] = "HKLM\\Enum\\KXI\\";
constexpr char kVirtual[] = "HKLM\\Enum\\VIRTUAL\\";

// The old driver's 3D-audio and ASIO registrations, each with a subkey so
// that a delete is seen to take the whole subtree.
const std::vector<std::string> kRegistrations = {
    "HKCR\\Space3D",
    "HKCR\\CLSID\\{D8F1EEE0-F634-11CF-8700-00A0245D918B}",
    "HKLM\\SOFTWARE\\ASIO",
    "HKCR\\CLSID\\{6A04F3B2-E7C9-4b81-9D35-1C8E52A07F66}",
};

std::string Join(const std::string& a, const std::string& b) { return a + b; }

sim::Machine MachineWithRegistrations() {
  sim::Machine m = sim::MakeMachine("98");
  for (const std::string& key : kRegistrations) m.registry.CreateKey(key + "\\Sub");
  m.registry.CreateKey("HKLM\\SOFTWARE\\ASIO\\Other Maker ASIO");
  return m;
}

// A MEDIA class instance with its ProviderName (value name as given).
void AddMediaInstance(sim::Machine& m, const std::string& instance, const std::string& valueName,
                      const std::string& provider) {
  m.registry.SetValue(kMedia + instance, "DriverDesc", kRegSz, sim::SzData("Audio"));
  m.registry.SetValue(kMedia + instance, valueName, kRegSz, sim::SzData(provider));
}

int Purge(sim::Machine& m) {
  sim::SimPlatform p(m);
  const int result = PurgeLegacyDeviceKeys(p);
  EXPECT_EQ(m.registry.OpenHandleCount(), 0u) << "a key was left open";
  return result;
}

struct PurgeCase {
  const char* name;
  std::vector<std::string> keys;  // created before the purge
  std::vector<std::pair<std::string, RegistryFault>> faults;
  int result;
  std::vector<std::string> gone;
  std::vector<std::string> kept;
  bool registrationsGo;
};

TEST(PurgeLegacyDeviceKeysTest, ResultTellsWhatWasFoundAndWhereThePurgeStopped) {
  const std::string pci0100 = Join(kPci, "VEN_1A9C&DEV_0100");
  const std::string pci0111 = Join(kPci, "VEN_1A9C&DEV_0111&SUBSYS_00011A9C");
  const std::string child = Join(kKxi, "CHILD0000");
  const std::string swmidi = Join(kVirtual, "SSC-SWMIDI");
  const std::string legacy = Join(kVirtual, "SSC-LEGACY");
  const std::string sbemu = Join(kVirtual, "SSC-SBEMU");
  const std::string media = Join(kMedia, "0001");
  const PurgeCase cases[] = {
      {"nothing of the card", {}, {}, kPurgeNoDeviceKeys, {}, {}, false},
      {"only a MEDIA instance of the maker",
       {},
       {},
       kPurgeNoDeviceKeys,
       {media, Join(kResources, "wave\\kx.drv<0001>")},
       {},
       false},
      {"a PCI key", {pci0111 + "\\3&1&08"}, {}, kPurgeDeviceKeysDeleted, {pci0111}, {}, true},
      {"a private-enumerator key", {child + "\\0"}, {}, kPurgeDeviceKeysDeleted, {child}, {}, true},
      {"only one virtual device",
       {sbemu + "\\0000"},
       {},
       kPurgeDeviceKeysDeleted,
       {sbemu},
       {},
       true},
      {"a PCI key that cannot be deleted",
       {pci0100, pci0111, child, sbemu},
       {{pci0111, RegistryFault::CannotDelete}},
       kPurgeDeviceKeyStuck,
       {pci0100, media},
       {pci0111, child, sbemu},
       false},
      {"a private-enumerator key that cannot be deleted",
       {pci0111, child, sbemu},
       {{child, RegistryFault::CannotDelete}},
       kPurgeDeviceKeyStuck,
       {pci0111},
       {child, sbemu},
       false},
      {"a virtual device that cannot be deleted",
       {swmidi, legacy, sbemu},
       {{legacy, RegistryFault::CannotDelete}},
       kPurgeVirtualKeyStuck,
       {swmidi},
       {legacy, sbemu},
       false},
      {"a key below a virtual device that cannot be deleted",
       {legacy + "\\0000"},
       {{legacy + "\\0000", RegistryFault::CannotDelete}},
       kPurgeVirtualKeyStuck,
       {},
       {legacy},
       false},
      // A matching key that does not open ends its walk; the next walk runs.
      {"a PCI key that does not open",
       {pci0100, pci0111, child},
       {{pci0100, RegistryFault::CannotOpen}},
       kPurgeDeviceKeysDeleted,
       {child},
       {pci0100, pci0111},
       true},
      {"a PCI key that does not open, and nothing else",
       {pci0100},
       {{pci0100, RegistryFault::CannotOpen}},
       kPurgeNoDeviceKeys,
       {},
       {pci0100},
       false},
      {"a virtual device that does not open is skipped",
       {legacy, sbemu},
       {{legacy, RegistryFault::CannotOpen}},
       kPurgeDeviceKeysDeleted,
       {sbemu},
       {legacy},
       true},
  };
  for (const PurgeCase& c : cases) {
    SCOPED_TRACE(c.name);
    sim::Machine m = MachineWithRegistrations();
    AddMediaInstance(m, "0001", "ProviderName", "Kestrix");
    m.registry.CreateKey(Join(kResources, "wave\\kx.drv<0001>"));
    for (const std::string& key : c.keys) m.registry.CreateKey(key);
    for (const auto& [key, fault] : c.faults) m.registry.InjectFault(key, fault);

    EXPECT_EQ(Purge(m), c.result);
    for (const std::string& key : c.gone) EXPECT_FALSE(m.registry.KeyExists(key)) << key;
    for (const std::string& key : c.kept) EXPECT_TRUE(m.registry.KeyExists(key)) << key;
    for (const std::string& key : kRegistrations) {
      EXPECT_EQ(m.registry.KeyExists(key), !c.registrationsGo) << key;
    }
    EXPECT_EQ(m.registry.KeyExists("HKLM\\SOFTWARE\\ASIO\\Other Maker ASIO"), !c.registrationsGo);
  }
}

TEST(PurgeLegacyDeviceKeysTest, RegistrationThatDoesNotOpenOrDeleteIsLeftAndThePurgeSucceeds) {
  sim::Machine m = MachineWithRegistrations();
  m.registry.CreateKey(Join(kPci, "VEN_1A9C&DEV_0111"));
  m.registry.InjectFault(kRegistrations[0], RegistryFault::CannotOpen);
  m.registry.InjectFault(kRegistrations[2] + "\\Sub", RegistryFault::CannotDelete);

  EXPECT_EQ(Purge(m), kPurgeDeviceKeysDeleted);
  EXPECT_TRUE(m.registry.KeyExists(kRegistrations[0]));
  EXPECT_FALSE(m.registry.KeyExists(kRegistrations[1]));
  EXPECT_TRUE(m.registry.KeyExists(kRegistrations[2]));
  EXPECT_FALSE(m.registry.KeyExists(kRegistrations[3]));
}

TEST(PurgeLegacyDeviceKeysTest, DeviceKeysMatchByNamePrefixWithCase) {
  struct NameCase {
    const char* parent;
    std::string name;
    bool deleted;
  };
  const NameCase cases[] = {
      {kPci, "VEN_1A9C&DEV_0111&SUBSYS_00011A9C&REV_10", true},
      {kPci, "VEN_1A9C&DEV_0100", true},
      {kPci, "VEN_1A9C&DEV_01", true},
      {kPci, "VEN_1A9C&DEV_0200", false},
      {kPci, "VEN_1A9C&DEV_0", false},
      {kPci, "ven_1a9c&dev_0112", false},
      {kPci, "VEN_8086&DEV_7110", false},
      // A name as long as the registry allows does not end the walk.
      {kPci, "VEN_0000" + std::string(247, 'x'), false},
      {kPci, "VEN_1A9C&DEV_0122" + std::string(238, 'y'), true},
      {kKxi, "CHILD0000", true},
      {kKxi, "CHILD", true},
      {kKxi, "child0001", false},
      {kKxi, "CHIL", false},
      {kKxi, "XCHILD", false},
  };
  sim::Machine m = MachineWithRegistrations();
  for (const NameCase& c : cases) m.registry.CreateKey(c.parent + c.name + "\\0000");

  EXPECT_EQ(Purge(m), kPurgeDeviceKeysDeleted);
  for (const NameCase& c : cases) {
    EXPECT_EQ(m.registry.KeyExists(c.parent + c.name), !c.deleted) << c.name;
  }
}

// Each deletion shifts the keys after it down by one index: a walk that went
// on at the next index would step over every second matching key.
TEST(PurgeLegacyDeviceKeysTest, WalkStartsAgainAfterEachDeletion) {
  sim::Machine m = MachineWithRegistrations();
  const char* names[] = {"VEN_1000&DEV_0001", "VEN_1A9C&DEV_0100", "VEN_1A9C&DEV_0111",
                         "VEN_1A9C&DEV_0111&SUBSYS_1", "VEN_8086&DEV_7000"};
  for (const char* name : names) m.registry.CreateKey(Join(kPci, name));

  EXPECT_EQ(Purge(m), kPurgeDeviceKeysDeleted);
  EXPECT_TRUE(m.registry.KeyExists(Join(kPci, names[0])));
  EXPECT_FALSE(m.registry.KeyExists(Join(kPci, names[1])));
  EXPECT_FALSE(m.registry.KeyExists(Join(kPci, names[2])));
  EXPECT_FALSE(m.registry.KeyExists(Join(kPci, names[3])));
  EXPECT_TRUE(m.registry.KeyExists(Join(kPci, names[4])));
}

TEST(PurgeLegacyDeviceKeysTest, MediaInstancesOfTheMakerGoWithTheirResourceEntries) {
  struct InstanceCase {
    const char* instance;
    const char* valueName;
    std::string provider;
    bool matches;
  };
  const InstanceCase cases[] = {
      {"0000", "ProviderName", "Microsoft", false},
      {"0001", "ProviderName", "kestrix audio technologies", true},
      {"0002", "providername", "Kestrix", false},  // the value name must be exact
      {"0003", "ProviderName", "KESTRI", false},
      {"0004", "ProviderName", "KestrixCorp", true},
      {"0005", "ProviderName", "KESTRIX " + std::string(200, 'z'), true},
      {"0006", "ProviderName", "Other KESTRIX", false},
  };
  sim::Machine m = MachineWithRegistrations();
  for (const InstanceCase& c : cases) {
    AddMediaInstance(m, c.instance, c.valueName, c.provider);
    m.registry.CreateKey(std::string(kResources) + "wave\\kxwave.drv<" + c.instance + ">");
  }
  // A value name longer than any buffer before ProviderName hides nothing.
  m.registry.SetValue(Join(kMedia, "0005"), std::string(300, 'n'), kRegSz, sim::SzData("x"));
  m.registry.DeleteValue(Join(kMedia, "0005"), "ProviderName");
  m.registry.SetValue(Join(kMedia, "0005"), "ProviderName", kRegSz, sim::SzData(cases[5].provider));

  // Entries of instance 0001 in every type, and names that only look alike.
  const std::vector<std::pair<std::string, bool>> entries = {
      {"aux\\kxaux.drv<0001>", true},
      {"joystick\\kxjoy.vxd<0001>", true},
      {"midi\\kxmidi.drv<0001>", true},
      {"mixer\\kxmix.drv<0001>", true},
      {"wave\\KXSYNTH.DRV<0001>", true},
      {"wave\\0001>", true},
      {"wave\\kxwave.drv<0010>", false},
      {"wave\\kxwave.drv<0001>x", false},
      {"wave\\001>", false},
      {"midi\\kxmidi.drv<0000>", false},
  };
  for (const auto& [entry, deleted] : entries) m.registry.CreateKey(kResources + entry);

  EXPECT_EQ(Purge(m), kPurgeNoDeviceKeys);
  for (const InstanceCase& c : cases) {
    EXPECT_EQ(m.registry.KeyExists(kMedia + std::string(c.instance)), !c.matches) << c.instance;
    EXPECT_EQ(
        m.registry.KeyExists(std::string(kResources) + "wave\\kxwave.drv<" + c.instance + ">"),
        !c.matches)
        << c.instance;
  }
  for (const auto& [entry, deleted] : entries) {
    EXPECT_EQ(m.registry.KeyExists(kResources + entry), !deleted) << entry;
  }
}

// Windows numbers instances upwards from 0000; the purge does not stop at
// any count of them.
TEST(PurgeLegacyDeviceKeysTest, ExaminesEveryMediaInstanceHoweverMany) {
  sim::Machine m = MachineWithRegistrations();
  for (int i = 0; i < 150; ++i) {
    char instance[8];
    std::snprintf(instance, sizeof instance, "%04d", i);
    AddMediaInstance(m, instance, "ProviderName", i % 50 == 49 ? "Kestrix" : "Microsoft");
    m.registry.CreateKey(std::string(kResources) + "wave\\w.drv<" + instance + ">");
  }

  EXPECT_EQ(Purge(m), kPurgeNoDeviceKeys);
  for (const char* instance : {"0049", "0099", "0149"}) {
    EXPECT_FALSE(m.registry.KeyExists(kMedia + std::string(instance))) << instance;
    EXPECT_FALSE(m.registry.KeyExists(std::string(kResources) + "wave\\w.drv<" + instance + ">"));
  }
  EXPECT_TRUE(m.registry.KeyExists(Join(kMedia, "0148")));
  EXPECT_TRUE(m.registry.KeyExists(std::string(kResources) + "wave\\w.drv<0148>"));
}

TEST(DeleteMediaResourceEntriesTest, DeletesAtMostFifteenEntriesPerCall) {
  sim::Machine m = sim::MakeMachine("98");
  const std::string type = "System\\CurrentControlSet\\control\\MediaResources\\wave";
  std::vector<std::string> names;
  for (int i = 0; i < 20; ++i) {
    names.push_back("Wave" + std::string(1, static_cast<char>('A' + i)) + ".drv<0003>");
    m.registry.CreateKey("HKLM\\" + type + "\\" + names.back());
  }
  m.registry.CreateKey("HKLM\\" + type + "\\Other.drv<0004>");
  sim::SimPlatform p(m);

  DeleteMediaResourceEntries(p, type.c_str(), "0003");
  for (int i = 0; i < 20; ++i) {
    EXPECT_EQ(m.registry.KeyExists("HKLM\\" + type + "\\" + names[i]), i >= 15) << names[i];
  }
  DeleteMediaResourceEntries(p, type.c_str(), "0003");
  for (const std::string& name : names)
    EXPECT_FALSE(m.registry.KeyExists("HKLM\\" + type + "\\" + name));
  EXPECT_TRUE(m.registry.KeyExists("HKLM\\" + type + "\\Other.drv<0004>"));
  EXPECT_EQ(m.registry.OpenHandleCount(), 0u);
}

}  // namespace
}  // namespace kx
