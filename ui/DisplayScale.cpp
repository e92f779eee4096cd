#include "ui/DisplayScale.h"

namespace ui {
namespace {

double g_across = 1.0;
double g_down = 1.0;

}  // namespace

void DisplayScale::Set(double across, double down) {
  g_across = across;
  g_down = down;
}

void DisplayScale::FromDpi(uint32_t dpiAcross, uint32_t dpiDown) {
  Set(dpiAcross / 96.0, dpiDown / 96.0);
}

double DisplayScale::X() { return g_across; }
double DisplayScale::Y() { return g_down; }
int DisplayScale::Across(double design) { return static_cast<int>(design * g_across); }
int DisplayScale::Down(double design) { return static_cast<int>(design * g_down); }

}  // namespace ui
