// The placement as it lands in the native settings file, through the whole
// plug-in: the values, their order and their types.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "tests/fake_form_window.h"
#include "tests/settings_fixture.h"
#include "window/form_storage.h"

namespace orva {
namespace {

// The registry does not promise an order of values, the file store keeps the
// order of writing: here the placement's order of writes shows on disk.
TEST(PlacementFile, HoldsTheTenValuesInTheOrderOfWriting) {
  test::TestSettings settings;
  test::FakeFormWindow form;
  TFormStorage storage({[&settings] { return settings.ExecutablePath(); },
                        [] {
                          return platform::ScreenSize{1280, 1024};
                        },
                        [] { return 120; },
                        [] {
                          return Point{4, 4};
                        },
                        [](std::uint32_t) {}});
  storage.Attach(form, {}, [](const std::string& message) { ADD_FAILURE() << message; });
  storage.ShowHook();
  form.visible = true;
  form.state = platform::WindowState::kMaximized;
  bool canClose = true;
  storage.CloseQueryHook(canClose);

  std::ifstream file(std::string(std::getenv("XDG_CONFIG_HOME")) + "/orva/Software/" +
                     ExeBaseName(settings.ExecutablePath(), "/") + "/TfmMainForm.values");
  std::ostringstream bytes;
  bytes << file.rdbuf();
  EXPECT_EQ(bytes.str(),
            "orva-settings 1\n"
            "sz:FormVersion=0\n"
            "sz:Flags=0\n"
            "sz:ShowCmd=3\n"
            "sz:PixelsPerInch=120\n"
            "sz:MinMaxPos(1280x1024)=-1,-1,-4,-4\n"
            "sz:MinMaxPos=-1,-1,-4,-4\n"
            "sz:NormPos(1280x1024)=950,138,1324,334\n"
            "sz:NormPos=950,138,1324,334\n"
            "sz:Visible=0\n"
            "sz:CurrentBand=0\n");
}

}  // namespace
}  // namespace orva
