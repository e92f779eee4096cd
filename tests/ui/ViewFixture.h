#pragma once

#include <gtest/gtest.h>

#include <QImage>
#include <memory>
#include <string>

#include "app/CMainFrame.h"
#include "model/CWinBlogUser.h"
#include "tests/support/TempDeviceRoot.h"
#include "ui/CChildView.h"
#include "ui/PhoneScreen.h"

namespace uitest {

// A device with an account and blogs, and the phone screen with the main frame
// and view over it, as start-up builds them.
class ViewFixture : public testing::Test {
 protected:
  ViewFixture();
  ~ViewFixture() override;

  // Writes a JPEG photo of width x height in a colour made from `seed`.
  std::string WritePhoto(const std::string& name, int width, int height, int seed);
  // Adds a saved blog with `photos` entries made from photo files.
  model::CWinBlogStorage* AddBlog(const std::string& urlName, const std::string& title, int photos,
                                  uint16_t groupType = 0);
  // Builds the screen, frame and view for a screen of width x height at dpi and
  // runs the view's start-up.
  void Start(int width, int height, int dpi);
  void PressKey(int qtKey);  // down and up, as the phone delivers keys
  QImage Screenshot() const;
  // Saves the screen in the screenshot folder: TESSARY_SCREENSHOT_DIR from the
  // environment, else "screenshots" in the build folder.
  void SaveScreenshot(const std::string& name) const;

  testsupport::TempDeviceRoot root_;
  std::unique_ptr<model::CWinBlogUser> user_;
  std::unique_ptr<ui::PhoneScreen> screen_;
  app::CMainFrame* frame_ = nullptr;
  ui::CChildView* view_ = nullptr;
};

}  // namespace uitest
