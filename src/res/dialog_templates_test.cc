#include "res/dialog_templates.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <set>
#include <sstream>

#include "res/resource_ids.h"
#include "res/resource_script.h"

namespace kx::res {
namespace {

// The checked-in resource script is what Setup.exe is built from; it must be
// exactly what the tables say. KX_WRITE_RESOURCE_SCRIPT=1 rewrites it instead
// (scripts/write-resource-script).
TEST(ResourceScript, CheckedInScriptMatchesTables) {
  const std::string path = std::string(KX_SOURCE_DIR) + "/src/res/setup.rc";
  const std::string expected = WriteResourceScript("setup.ico");
  if (std::getenv("KX_WRITE_RESOURCE_SCRIPT") != nullptr) {
    std::ofstream(path, std::ios::binary) << expected;
  }
  std::ifstream in(path, std::ios::binary);
  std::stringstream actual;
  actual << in.rdbuf();
  EXPECT_EQ(actual.str(), expected) << path << " is out of date: run scripts/write-resource-script";
}

TEST(DialogTemplates, EveryDialogInItsLanguages) {
  const int all[] = {kEnglish, kChineseTraditional, kFrench, kJapanese, kKorean};
  struct Case {
    int dialog;
    bool translated;
  } cases[] = {{kAboutDialog, false},
               {kMainDialog, true},
               {kVxdOptionsDialog, false},
               {kArchitectureDialog, true},
               {kWdmOptionsDialog, false}};
  for (const Case& c : cases) {
    for (int language : all) {
      bool wanted = language == kEnglish || c.translated;
      EXPECT_EQ(FindDialogTemplate(c.dialog, language) != nullptr, wanted)
          << c.dialog << "/" << language;
    }
  }
}

// A translation keeps the English template's controls: the same ids of the
// same class and style in the same order, so the dialog code works on each.
TEST(DialogTemplates, TranslationsKeepTheControls) {
  for (const DialogTemplate& dialog : DialogTemplates()) {
    const DialogTemplate* english = FindDialogTemplate(dialog.id, kEnglish);
    ASSERT_NE(english, nullptr);
    ASSERT_EQ(dialog.controls.size(), english->controls.size()) << dialog.language;
    for (std::size_t i = 0; i < dialog.controls.size(); ++i) {
      const ControlTemplate& c = dialog.controls[i];
      const ControlTemplate& e = english->controls[i];
      EXPECT_EQ(c.id, e.id) << dialog.id << "/" << dialog.language << " #" << i;
      EXPECT_EQ(c.windowClass, e.windowClass) << dialog.id << "/" << dialog.language << " #" << i;
      // The Korean wait text is centred; nothing else may differ.
      std::uint32_t styleDifference = c.style ^ e.style;
      if (!(dialog.id == kMainDialog && c.id == kWaitText)) {
        EXPECT_EQ(styleDifference, 0u) << dialog.id << "/" << dialog.language << " #" << i;
      }
      EXPECT_FALSE(c.text.empty() && !e.text.empty()) << dialog.id << "/" << dialog.language;
    }
  }
}

bool IsGroupBox(const ControlTemplate& c) {
  return c.windowClass == ControlClass::kButton && (c.style & 0xF) == kBsGroupBox;
}

// Layout faults: a control outside its dialog, or two controls on top of each
// other (a group box may hold others).
TEST(DialogTemplates, ControlsLieInsideTheirDialogAndApart) {
  for (const DialogTemplate& dialog : DialogTemplates()) {
    const std::string where = std::to_string(dialog.id) + "/" + std::to_string(dialog.language);
    for (std::size_t i = 0; i < dialog.controls.size(); ++i) {
      const ControlTemplate& a = dialog.controls[i];
      EXPECT_TRUE(a.x >= 0 && a.y >= 0 && a.x + a.cx <= dialog.cx && a.y + a.cy <= dialog.cy)
          << where << ": \"" << a.text << "\" leaves the dialog";
      for (std::size_t j = i + 1; j < dialog.controls.size(); ++j) {
        const ControlTemplate& b = dialog.controls[j];
        if (IsGroupBox(a) || IsGroupBox(b)) continue;
        bool overlap = a.x < b.x + b.cx && b.x < a.x + a.cx && a.y < b.y + b.cy && b.y < a.y + a.cy;
        EXPECT_FALSE(overlap) << where << ": \"" << a.text << "\" overlaps \"" << b.text << "\"";
      }
    }
  }
}

TEST(DialogTemplates, ControlIdsAreUniqueInADialog) {
  for (const DialogTemplate& dialog : DialogTemplates()) {
    std::set<int> seen;
    for (const ControlTemplate& control : dialog.controls) {
      if (control.id == kNoId) continue;
      EXPECT_TRUE(seen.insert(control.id).second) << dialog.id << " id " << control.id;
    }
  }
}

}  // namespace
}  // namespace kx::res
