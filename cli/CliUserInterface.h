#pragma once

#include <optional>
#include <string>

#include "model/UserInterface.h"

namespace cli {

// The command line's answers to the core's questions: --yes / --no when given,
// else a prompt on the terminal, else No. Messages go to stderr as
// "Tessary: TEXT". It is the current user interface while it lives.
class CliUserInterface : public model::UserInterface {
 public:
  // answer: true for --yes, false for --no, none to ask.
  explicit CliUserInterface(std::optional<bool> answer);
  ~CliUserInterface() override;
  CliUserInterface(const CliUserInterface&) = delete;
  CliUserInterface& operator=(const CliUserInterface&) = delete;

  void ShowMessage(std::string_view text, model::MessageIcon icon) override;
  bool AskYesNo(std::string_view text) override;
  bool AskViewPassword(std::string_view blogName, std::string& password) override;
  model::NewVersionChoice OfferNewVersion(std::string_view version) override;
  void EditNewSubscription(model::CWinBlogStorage& blog) override;

  // The view password given on the command line, used once instead of a prompt.
  std::optional<std::string> viewPassword;
  // Where the download page of a newer version is.
  std::string downloadPage;

 private:
  // Whether stdin and stderr are a terminal that can be asked.
  bool interactive_;
  bool passwordRefused_ = false;  // a --view-password was handed over: asked again, it was refused
  model::UserInterface* previous_;
  std::optional<bool> answer_;
};

}  // namespace cli
