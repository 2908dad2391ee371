// Device installation on the simulated PC: device sets over the present
// devices, removal, the configuration manager, the source list, OEM INFs.
#include <gtest/gtest.h>

#include <cstring>

#include "sim/sim_constants.h"
#include "sim/sim_platform.h"

namespace kx::sim {
namespace {

constexpr char kCard[] = "PCI\\VEN_1A9C&DEV_0111&SUBSYS_00011A9C&REV_01\\BUS_00&DEV_0A&FUNC_00";

Machine MachineWithDevices() {
  Machine m = MakeMachine("ME");
  m.devices = {
      {"ROOT\\PRINTER\\0000", {}, false},
      {"PCI\\VEN_8086&DEV_7110\\BUS_00&DEV_07",
       {"PCI\\VEN_8086&DEV_7110&REV_02", "PCI\\VEN_8086&DEV_7110"},
       false},
      {kCard, {"PCI\\VEN_1A9C&DEV_0111&SUBSYS_00011A9C&REV_01", "PCI\\VEN_1A9C&DEV_0111"}, false},
  };
  return m;
}

TEST(SimPlatformDevices, EnumeratesPresentDevicesWithTheirHardwareIds) {
  Machine m = MachineWithDevices();
  SimPlatform p(m);
  const HDevInfo set =
      p.SetupDiGetClassDevsA(nullptr, nullptr, nullptr, kDigcfPresent | kDigcfAllClasses);
  ASSERT_NE(set, kInvalidDevInfo);
  DevInfoData data;
  data.cbSize = kDevInfoDataSize;
  BYTE buffer[1024];
  DWORD type = 0, size = 0;

  // A device without hardware ids: the property read fails.
  ASSERT_TRUE(p.SetupDiEnumDeviceInfo(set, 0, &data));
  EXPECT_FALSE(p.SetupDiGetDeviceRegistryPropertyA(set, &data, kSpdrpHardwareId, &type, buffer,
                                                   sizeof buffer, &size));

  ASSERT_TRUE(p.SetupDiEnumDeviceInfo(set, 2, &data));
  ASSERT_TRUE(p.SetupDiGetDeviceRegistryPropertyA(set, &data, kSpdrpHardwareId, &type, buffer,
                                                  sizeof buffer, &size));
  EXPECT_EQ(type, kRegMultiSz);
  const std::string expected = std::string("PCI\\VEN_1A9C&DEV_0111&SUBSYS_00011A9C&REV_01") + '\0' +
                               "PCI\\VEN_1A9C&DEV_0111" + '\0' + '\0';
  EXPECT_EQ(std::string(reinterpret_cast<char*>(buffer), size), expected);

  // Too small a buffer: fails, with the size needed.
  EXPECT_FALSE(
      p.SetupDiGetDeviceRegistryPropertyA(set, &data, kSpdrpHardwareId, &type, buffer, 10, &size));
  EXPECT_EQ(p.GetLastError(), static_cast<DWORD>(kErrorInsufficientBuffer));
  EXPECT_EQ(size, expected.size());

  EXPECT_FALSE(p.SetupDiEnumDeviceInfo(set, 3, &data));
  EXPECT_EQ(p.GetLastError(), static_cast<DWORD>(kErrorNoMoreItems));
  data.cbSize = 32;
  EXPECT_FALSE(p.SetupDiEnumDeviceInfo(set, 0, &data));
  EXPECT_TRUE(p.SetupDiDestroyDeviceInfoList(set));
  EXPECT_FALSE(p.SetupDiDestroyDeviceInfoList(set));
}

TEST(SimPlatformDevices, RemovalTakesTheDeviceAwayUnlessItFails) {
  Machine m = MachineWithDevices();
  m.devices[1].removalFails = true;
  SimPlatform p(m);
  const HDevInfo set =
      p.SetupDiGetClassDevsA(nullptr, nullptr, nullptr, kDigcfPresent | kDigcfAllClasses);
  DevInfoData data;
  data.cbSize = kDevInfoDataSize;
  ASSERT_TRUE(p.SetupDiEnumDeviceInfo(set, 1, &data));
  EXPECT_FALSE(p.SetupDiRemoveDevice(set, &data));
  ASSERT_TRUE(p.SetupDiEnumDeviceInfo(set, 2, &data));
  EXPECT_TRUE(p.SetupDiRemoveDevice(set, &data));
  ASSERT_EQ(m.devices.size(), 2u);
  EXPECT_EQ(m.devices[1].instanceId, "PCI\\VEN_8086&DEV_7110\\BUS_00&DEV_07");
  // The set keeps its snapshot; removing again fails.
  EXPECT_FALSE(p.SetupDiRemoveDevice(set, &data));
  EXPECT_EQ(p.GetLastError(), kErrorNoSuchDevinst);
  p.SetupDiDestroyDeviceInfoList(set);

  // A new set no longer holds it.
  const HDevInfo after = p.SetupDiGetClassDevsA(nullptr, nullptr, nullptr, kDigcfAllClasses);
  EXPECT_FALSE(p.SetupDiEnumDeviceInfo(after, 2, &data));
}

TEST(SimPlatformDevices, ConfigurationManagerCallsAreRecorded) {
  Machine m = MachineWithDevices();
  SimPlatform p(m);
  DevInst root = 0, card = 0;
  EXPECT_EQ(p.CM_Locate_DevNodeA(&root, nullptr, 0), kCrSuccess);
  EXPECT_EQ(p.CM_Locate_DevNodeA(&card, kCard, 0), kCrSuccess);
  EXPECT_NE(card, root);
  DevInst none = 0;
  EXPECT_EQ(p.CM_Locate_DevNodeA(&none, "PCI\\NOTHING", 0), kCrNoSuchDevnode);
  EXPECT_EQ(p.CM_Reenumerate_DevNode(root, 0), kCrSuccess);
  EXPECT_EQ(p.CM_Reenumerate_DevNode(0x77, 0), kCrInvalidDevnode);
  ASSERT_EQ(p.configManagerCalls().size(), 5u);
  EXPECT_EQ(p.configManagerCalls()[3].call, "CM_Reenumerate_DevNode");
  EXPECT_EQ(p.configManagerCalls()[3].devInst, kRootDevNode);
}

TEST(SimPlatformDevices, SourceListRoundTripsThroughTheRegistry) {
  Machine m = MakeMachine("ME");
  m.SetSourceList({"D:\\WIN9X", "C:\\WINDOWS\\OPTIONS\\CABS"});
  SimPlatform p(m);
  const char** list = nullptr;
  UINT count = 0;
  ASSERT_TRUE(p.SetupQuerySourceListA(kSrclistSystem | kSrclistUser, &list, &count));
  ASSERT_EQ(count, 2u);
  EXPECT_STREQ(list[1], "C:\\WINDOWS\\OPTIONS\\CABS");
  std::vector<const char*> longer(list, list + count);
  longer.push_back("C:\\Program Files\\Kestrix\\WIN_ME");
  ASSERT_TRUE(p.SetupSetSourceListA(kSrclistSystem | kSrclistUser, longer.data(), 3));
  EXPECT_TRUE(p.SetupFreeSourceListA(&list, count));
  EXPECT_EQ(list, nullptr);
  EXPECT_FALSE(p.SetupFreeSourceListA(&list, count));
  const std::vector<std::string> expected = {"D:\\WIN9X", "C:\\WINDOWS\\OPTIONS\\CABS",
                                             "C:\\Program Files\\Kestrix\\WIN_ME"};
  EXPECT_EQ(m.SourceList(), expected);
  ASSERT_EQ(p.sourceListsSet().size(), 1u);
}

TEST(SimPlatformDevices, OemInfTakesTheFirstFreeNumberAndIsKeptOnce) {
  Machine m = MakeMachine("ME");
  m.files.CreateDirectories("C:\\Program Files\\Kestrix\\WIN_ME");
  m.files.WriteFile("C:\\Program Files\\Kestrix\\WIN_ME\\KXAUDIO.INF", "[Version]\r\n");
  m.files.WriteFile("C:\\Program Files\\Kestrix\\WIN_ME\\OTHER.INF", "[Version]\r\nx\r\n");
  m.files.WriteFile("C:\\WINDOWS\\INF\\OEM0.INF", "someone else's");
  SimPlatform p(m);
  ASSERT_TRUE(p.SetupCopyOEMInfA("C:\\Program Files\\Kestrix\\WIN_ME\\KXAUDIO.INF",
                                 "C:\\Program Files\\Kestrix\\WIN_ME", kSpostPath, 0, nullptr, 0,
                                 nullptr, nullptr));
  std::string copy;
  ASSERT_TRUE(m.files.ReadFile("C:\\WINDOWS\\INF\\OEM1.INF", &copy));
  EXPECT_EQ(copy, "[Version]\r\n");
  ASSERT_EQ(m.oemInfs.size(), 1u);
  EXPECT_EQ(m.oemInfs[0].name, "OEM1.INF");
  EXPECT_EQ(m.oemInfs[0].mediaLocation, "C:\\Program Files\\Kestrix\\WIN_ME");

  // The same INF again: no second copy. Another INF: the next number.
  char name[kMaxPath];
  char* component = nullptr;
  ASSERT_TRUE(p.SetupCopyOEMInfA("C:\\Program Files\\Kestrix\\WIN_ME\\KXAUDIO.INF", nullptr,
                                 kSpostPath, 0, name, sizeof name, nullptr, &component));
  EXPECT_STREQ(name, "C:\\WINDOWS\\INF\\OEM1.INF");
  EXPECT_STREQ(component, "OEM1.INF");
  ASSERT_TRUE(p.SetupCopyOEMInfA("C:\\Program Files\\Kestrix\\WIN_ME\\OTHER.INF", nullptr,
                                 kSpostPath, 0, nullptr, 0, nullptr, nullptr));
  ASSERT_EQ(m.oemInfs.size(), 2u);
  EXPECT_EQ(m.oemInfs[1].name, "OEM2.INF");

  EXPECT_FALSE(
      p.SetupCopyOEMInfA("C:\\NoSuch.inf", nullptr, kSpostPath, 0, nullptr, 0, nullptr, nullptr));
  EXPECT_EQ(p.GetLastError(), static_cast<DWORD>(kErrorFileNotFound));
}

}  // namespace
}  // namespace kx::sim
