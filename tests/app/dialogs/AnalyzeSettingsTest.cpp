#include "app/dialogs/AnalyzeSettings.h"

#include <gtest/gtest.h>

#include "AnalyzeTestSupport.h"
#include "platform/registry/TypedSettings.h"

namespace orvale::testing {
namespace {

class AnalyzeSettingsTest : public AnalyzeTest {
 protected:
  static void Store(std::string_view key, std::string_view text) {
    GetSettingString(kAnalyzeSection, key, "");  // makes the section
    SaveSettingString(kAnalyzeSection, key, text);
  }
  static std::string Stored(std::string_view key) {
    return GetSettingString(kAnalyzeSection, key, "<missing>");
  }
};

TEST_F(AnalyzeSettingsTest, AnEmptyStoreGivesTheDefaults) {
  const AnalyzeControls c = ReadAnalyzeSettings();
  EXPECT_EQ(c.Remove, (std::array<bool, 5>{true, true, false, false, false}));
  EXPECT_FALSE(c.InvertWavefront);
  EXPECT_TRUE(c.TrimEdges);
  EXPECT_EQ(c.DisplayUnits, 0);
  EXPECT_EQ(c.InputWL, "632.8");
  EXPECT_EQ(c.OutputWL, "632.8");
  EXPECT_EQ(c.ScaleFactorOption, 0);
  EXPECT_EQ(c.ScaleFactorText, "2");
  EXPECT_EQ(c.LimitOrderIndex, 0);
  EXPECT_EQ(c.BrowseDir, "");
  EXPECT_EQ(c.ReferenceItems(), (std::vector<std::string>{"none", "Custom"}));
  EXPECT_EQ(c.ReferenceIndex(), kReferenceNone);
}

TEST_F(AnalyzeSettingsTest, OptionsRoundTrip) {
  ReadAnalyzeSettings();
  AnalyzeControls c;
  c.Remove = {false, true, true, false, true};
  c.InvertWavefront = true;
  c.TrimEdges = false;
  c.DisplayUnits = 2;
  c.InputWL = "543.5";
  c.OutputWL = "1000nm";
  c.ScaleFactorOption = 2;
  c.ScaleFactorText = "1.5";  // decimals survive a restart
  c.LimitOrderIndex = 3;
  c.BrowseDir = dir_.string();
  const std::string a = WriteFile("a.zrn", "");
  const std::string b = WriteFile("b.ovd", "");
  c.AddReferenceFile(a);
  c.AddReferenceFile(b);
  c.SelectReference(3);
  SaveAnalyzeSettings(c);

  EXPECT_EQ(Stored("Reference File1"), a);
  EXPECT_EQ(Stored("Reference File2"), b);
  EXPECT_EQ(Stored("Reference Selected"), b);
  EXPECT_EQ(Stored("Custom Scale"), "1.5");
  EXPECT_EQ(Stored("Invert Scale"), "1");

  const AnalyzeControls r = ReadAnalyzeSettings();
  EXPECT_EQ(r.Remove, c.Remove);
  EXPECT_EQ(r.InvertWavefront, true);
  EXPECT_EQ(r.TrimEdges, false);
  EXPECT_EQ(r.DisplayUnits, 2);
  EXPECT_EQ(r.InputWL, "543.5");
  EXPECT_EQ(r.OutputWL, "1000nm");
  EXPECT_EQ(r.ScaleFactorOption, 2);
  EXPECT_EQ(r.ScaleFactorText, "1.5");
  EXPECT_EQ(r.LimitOrderIndex, 3);
  EXPECT_EQ(r.BrowseDir, dir_.string());
  EXPECT_EQ(r.ReferenceItems(), (std::vector<std::string>{"none", "Custom", "a.zrn", "b.ovd"}));
  EXPECT_EQ(r.ReferencePath(2), a);
  EXPECT_EQ(r.ReferenceIndex(), 3);
}

TEST_F(AnalyzeSettingsTest, StoredValuesOutOfRangeShowTheirDefaults) {
  const struct {
    const char* key;
    const char* stored;
    std::string AnalyzeControls::*field;
    const char* shown;
  } cases[] = {
      {"Input WL", "20000", &AnalyzeControls::InputWL, "632.8"},
      {"Input WL", "abc", &AnalyzeControls::InputWL, "632.8"},
      {"Input WL", "0.5", &AnalyzeControls::InputWL, "632.8"},
      {"Output WL", "500nm", &AnalyzeControls::OutputWL, "500nm"},
      {"Custom Scale", "0", &AnalyzeControls::ScaleFactorText, "2"},
      {"Custom Scale", "1.5", &AnalyzeControls::ScaleFactorText, "1.5"},
      {"Custom Scale", "2000", &AnalyzeControls::ScaleFactorText, "1000"},
      {"Custom Scale", "-3", &AnalyzeControls::ScaleFactorText, "2"},
  };
  for (const auto& c : cases) {
    Store(c.key, c.stored);
    EXPECT_EQ(ReadAnalyzeSettings().*c.field, c.shown) << c.key << " " << c.stored;
  }
}

TEST_F(AnalyzeSettingsTest, MissingReferenceFilesAreDroppedAndTheRestRenumbered) {
  const std::string a = WriteFile("a.zrn", "");
  const std::string c = WriteFile("c.zrn", "");
  Store("Reference File1", a);
  Store("Reference File2", (dir_ / "gone.zrn").string());
  Store("Reference File3", c);
  Store("Reference File5", c);  // after a gap: never read
  Store("Reference Selected", c);

  const AnalyzeControls read = ReadAnalyzeSettings();
  EXPECT_EQ(read.ReferenceItems(), (std::vector<std::string>{"none", "Custom", "a.zrn", "c.zrn"}));
  EXPECT_EQ(read.ReferenceIndex(), 3);

  SaveAnalyzeSettings(read);
  EXPECT_EQ(Stored("Reference File1"), a);
  EXPECT_EQ(Stored("Reference File2"), c);
  EXPECT_EQ(Stored("Reference File3"), "<missing>");
}

TEST_F(AnalyzeSettingsTest, TheSelectionIsMatchedExactly) {
  const std::string a = WriteFile("a.zrn", "");
  Store("Reference File1", a);
  const struct {
    std::string stored;
    std::int32_t selected;
  } cases[] = {
      {"", kReferenceNone},     {"none", kReferenceNone}, {"Custom", kReferenceCustom},
      {"custom", kReferenceNone}, {a, 2},                 {a + " ", kReferenceNone},
  };
  for (const auto& c : cases) {
    Store("Reference Selected", c.stored);
    EXPECT_EQ(ReadAnalyzeSettings().ReferenceIndex(), c.selected) << "'" << c.stored << "'";
  }
}

}  // namespace
}  // namespace orvale::testing
