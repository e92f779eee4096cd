#pragma once

#include <QString>
#include <cstdint>
#include <functional>

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
  // Runs `work` holding the device root's lock, after the account has been
  // brought up to date (`reloaded` tells that another program's changes were
  // read and the view re-read its lists); not at all when the wait for the lock
  // was cancelled.
  virtual void RunLocked(const std::function<void(bool reloaded)>& work) = 0;
};

}  // namespace ui
