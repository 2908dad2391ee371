#include "cleanup/present_device_removal.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "support/sim_machine.h"

namespace kx {
namespace {

sim::Device MakeDevice(const char* instanceId, std::vector<std::string> hardwareIds,
                       bool removalFails = false) {
  sim::Device d;
  d.instanceId = instanceId;
  d.hardwareIds = std::move(hardwareIds);
  d.removalFails = removalFails;
  return d;
}

// The callers' buffer, with guard bytes behind it to show an overflow.
struct IdBuffer {
  char id[kHardwareIdBufferSize] = {};
  char guard[16] = {};
};

std::vector<std::string> PresentDevices(const sim::Machine& m) {
  std::vector<std::string> ids;
  for (const sim::Device& d : m.devices) ids.push_back(d.instanceId);
  return ids;
}

const std::string kCardId = kCardHardwareId;
const std::string kLongCardId = kCardId + "&SUBSYS_00011A9C&REV_10";
const std::string kTooLongId = kCardId + std::string(1100, 'X');

struct RemovalCase {
  const char* name;
  std::vector<sim::Device> devices;
  int removeDevice;  // on entry
  int result;
  int removeDeviceAfter;
  std::string idAfter;
  std::vector<std::string> presentAfter;
};

TEST(RemovePresentAudioDevicesTest, HandlesTheFirstDeviceWithAMatchingId) {
  const sim::Device other = MakeDevice("PCI\\VEN_8086&DEV_7110\\0", {"PCI\\VEN_8086&DEV_7110"});
  const sim::Device card = MakeDevice("PCI\\VEN_1A9C&DEV_0111\\1", {kLongCardId, kCardId});
  const sim::Device second = MakeDevice("PCI\\VEN_1A9C&DEV_0111\\2", {kCardId});
  const RemovalCase cases[] = {
      {"the first, longer id matches", {other, card}, 1, 1, 1, kLongCardId, {other.instanceId}},
      {"only the first of two cards", {card, second}, 1, 1, 1, kLongCardId, {second.instanceId}},
      {"a match on a later id of the device",
       {MakeDevice("ROOT\\KX\\0", {"ROOT\\KXCOMPAT", kCardId + "&CC_0401"})},
       1,
       1,
       1,
       kCardId + "&CC_0401",
       {}},
      {"removal not asked for", {card}, 0, 1, 0, kLongCardId, {card.instanceId}},
      {"removal fails",
       {MakeDevice("PCI\\VEN_1A9C&DEV_0111\\3", {kCardId}, true)},
       1,
       1,
       0,
       kCardId,
       {"PCI\\VEN_1A9C&DEV_0111\\3"}},
      {"the vendor id in lower case",
       {MakeDevice("PCI\\VEN_1A9C&DEV_0111\\4", {"PCI\\VEN_1a9c&DEV_0111"})},
       1,
       0,
       1,
       kCardId,
       {"PCI\\VEN_1A9C&DEV_0111\\4"}},
      {"no devices", {}, 1, 0, 1, kCardId, {}},
      // A device without ids, or with more than the 1024 bytes read, is
      // skipped; the search goes on with the next device.
      {"unreadable ids are skipped",
       {MakeDevice("ROOT\\NOIDS\\0", {}),
        MakeDevice("PCI\\VEN_1A9C&DEV_0111\\5", {kTooLongId, "A"}), second},
       1,
       1,
       1,
       kCardId,
       {"ROOT\\NOIDS\\0", "PCI\\VEN_1A9C&DEV_0111\\5"}},
      // A matching id longer than the callers' buffer is cut to fit it.
      {"a match longer than the buffer",
       {MakeDevice("PCI\\VEN_1A9C&DEV_0111\\6", {kCardId + std::string(400, 'Y')})},
       0,
       1,
       0,
       (kCardId + std::string(400, 'Y')).substr(0, kHardwareIdBufferSize - 1),
       {"PCI\\VEN_1A9C&DEV_0111\\6"}},
  };
  for (const RemovalCase& c : cases) {
    SCOPED_TRACE(c.name);
    sim::Machine m = sim::MakeMachine("ME");
    m.devices = c.devices;
    sim::SimPlatform p(m);
    IdBuffer buffer;
    std::strcpy(buffer.id, kCardHardwareId);
    int removeDevice = c.removeDevice;

    EXPECT_EQ(RemovePresentAudioDevices(p, buffer.id, &removeDevice), c.result);
    EXPECT_EQ(removeDevice, c.removeDeviceAfter);
    EXPECT_EQ(std::string(buffer.id, strnlen(buffer.id, sizeof buffer.id)), c.idAfter);
    EXPECT_EQ(std::string(buffer.guard, sizeof buffer.guard),
              std::string(sizeof buffer.guard, '\0'));
    EXPECT_EQ(PresentDevices(m), c.presentAfter);
  }
}

// A backend whose device-list clean-up overwrites the thread's last error,
// as a successful SetupAPI call may.
class ClearingCleanUpPlatform : public sim::SimPlatform {
 public:
  using SimPlatform::SimPlatform;
  BOOL SetupDiDestroyDeviceInfoList(HDevInfo set) override {
    const BOOL ok = SimPlatform::SetupDiDestroyDeviceInfoList(set);
    SetLastError(0);
    return ok;
  }
};

TEST(RemovePresentAudioDevicesTest, CallerSeesTheErrorOfTheEnumeration) {
  sim::Machine m = sim::MakeMachine("ME");
  m.devices = {MakeDevice("PCI\\VEN_8086&DEV_7110\\0", {"PCI\\VEN_8086&DEV_7110"})};
  ClearingCleanUpPlatform p(m);
  char id[kHardwareIdBufferSize] = {};
  std::strcpy(id, kCardHardwareId);
  int removeDevice = 1;

  EXPECT_EQ(RemovePresentAudioDevices(p, id, &removeDevice), 0);
  EXPECT_EQ(p.GetLastError(), static_cast<DWORD>(kErrorNoMoreItems));
}

}  // namespace
}  // namespace kx
