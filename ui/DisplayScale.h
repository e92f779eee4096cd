#pragma once

#include <cstdint>

namespace ui {

// The two process-wide display scale factors: logical dots per inch / 96 across
// and down. Every layout size is a size at 96 dpi times a factor, truncated.
class DisplayScale {
 public:
  static void Set(double across, double down);
  static void FromDpi(uint32_t dpiAcross, uint32_t dpiDown);
  static double X();
  static double Y();
  // design * X() (or Y()) truncated toward zero.
  static int Across(double design);
  static int Down(double design);
};

}  // namespace ui
