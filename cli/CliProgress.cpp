#include "cli/CliProgress.h"

#include <unistd.h>

#include <chrono>
#include <csignal>
#include <iostream>

namespace cli {

namespace {

volatile std::sig_atomic_t cancelRequested = 0;
volatile std::sig_atomic_t interrupted = 0;

extern "C" void OnInterrupt(int) {
  if (cancelRequested != 0) {
    std::signal(SIGINT, SIG_DFL);
    std::raise(SIGINT);
    return;
  }
  cancelRequested = 1;
  interrupted = 1;
}

constexpr char kFrames[] = {'|', '/', '-', '\\'};
constexpr size_t kBarWidth = 78;
constexpr std::chrono::milliseconds kFrameTime{100};
CliProgress* active = nullptr;

}  // namespace

CliProgress::CliProgress() : terminal_(::isatty(STDERR_FILENO) != 0) {
  cancelRequested = 0;
  interrupted = 0;
  previousHandler_ = std::signal(SIGINT, OnInterrupt);
}

CliProgress::~CliProgress() {
  Finish();
  std::signal(SIGINT, previousHandler_ == SIG_ERR ? SIG_DFL : previousHandler_);
}

void CliProgress::SetText(std::string_view text) { SetLine(1, text); }

void CliProgress::SetLine(int line, std::string_view text) {
  if (line < 0 || line > 2) line = 1;
  lines_[line] = text;
  if (terminal_) {
    Draw();
  } else if (!text.empty() && line != 0) {
    std::cerr << (lines_[0].empty() ? std::string() : lines_[0] + ": ") << text << '\n';
  }
}

void CliProgress::Pump() {
  if (!terminal_) return;
  const auto now = std::chrono::steady_clock::now();
  if (now - lastDraw_ < kFrameTime) return;
  frame_ = (frame_ + 1) % 4;
  Draw();
}

bool CliProgress::IsCancelled() { return cancelRequested != 0; }

void CliProgress::ResetCancel() { cancelRequested = 0; }

bool CliProgress::Interrupted() { return interrupted != 0; }

void CliProgress::Draw() {
  std::string bar(1, kFrames[frame_]);
  for (const std::string& line : lines_) {
    if (line.empty()) continue;
    bar += "  ";
    bar += line;
  }
  if (bar.size() > kBarWidth) bar.resize(kBarWidth);
  bar.append(kBarWidth - bar.size(), ' ');
  std::cerr << '\r' << bar << std::flush;
  drawn_ = true;
  active = this;
  lastDraw_ = std::chrono::steady_clock::now();
}

void CliProgress::Finish() {
  if (active == this) active = nullptr;
  if (!drawn_) return;
  std::cerr << '\r' << std::string(kBarWidth, ' ') << '\r' << std::flush;
  drawn_ = false;
}

void CliProgress::ClearBar() {
  if (active != nullptr) active->Finish();
}

}  // namespace cli
