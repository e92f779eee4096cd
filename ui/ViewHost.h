#pragma once

#include <QString>
#include <cstdint>

namespace ui {

class PhoneScreen;

// What the main view needs of the main frame around it: the screen its bars go
// on, the home view's soft-key bar, the caption, and command routing for the
// bars the view and the viewer own.
class ViewHost {
 public:
  virtual ~ViewHost() = default;
  virtual PhoneScreen& Screen() const = 0;
  virtual void ShowHomeBar(bool show) = 0;
  virtual void SetCaption(const QString& caption) = 0;
  virtual void OnCommand(uint32_t command) = 0;
  virtual bool CanAct(uint32_t command) const = 0;
};

}  // namespace ui
