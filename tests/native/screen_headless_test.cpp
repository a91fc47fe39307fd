// The headless screen: what a host sets is what the plug-in reads, and what
// no real screen could be is refused.
#include <gtest/gtest.h>

#include "platform/native/orva_native.h"
#include "platform/screen.h"

namespace orva::platform {
namespace {

class HeadlessScreen : public testing::Test {
 protected:
  void TearDown() override {
    orva_set_screen(1920, 1080, 96);
    orva_set_frame_size(4, 4);
  }
};

TEST_F(HeadlessScreen, IsWhatTheHostSets) {
  ASSERT_EQ(orva_set_screen(1280, 1024, 120), 0);
  ASSERT_EQ(orva_set_frame_size(0, 8), 0);
  EXPECT_EQ(PrimaryScreenSize().width, 1280);
  EXPECT_EQ(PrimaryScreenSize().height, 1024);
  EXPECT_EQ(ScreenPixelsPerInch(), 120);
  EXPECT_EQ(ResizableFrameSize(), (Point{0, 8}));
}

struct BadScreen {
  int width, height, pixelsPerInch;
};

class RejectedScreen : public HeadlessScreen, public testing::WithParamInterface<BadScreen> {};

TEST_P(RejectedScreen, ChangesNothing) {
  orva_set_screen(800, 600, 72);
  EXPECT_EQ(orva_set_screen(GetParam().width, GetParam().height, GetParam().pixelsPerInch), -1);
  EXPECT_EQ(PrimaryScreenSize().width, 800);
  EXPECT_EQ(PrimaryScreenSize().height, 600);
  EXPECT_EQ(ScreenPixelsPerInch(), 72);
}

INSTANTIATE_TEST_SUITE_P(Table, RejectedScreen,
                         testing::Values(BadScreen{0, 600, 96}, BadScreen{800, -1, 96},
                                         BadScreen{800, 600, 0}));

TEST_F(HeadlessScreen, RejectsANegativeFrame) {
  EXPECT_EQ(orva_set_frame_size(-1, 4), -1);
  EXPECT_EQ(orva_set_frame_size(4, -1), -1);
  EXPECT_EQ(ResizableFrameSize(), (Point{4, 4}));
}

}  // namespace
}  // namespace orva::platform
