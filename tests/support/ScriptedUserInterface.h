#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "model/UserInterface.h"

namespace testsupport {

// A user-interface stand-in for tests: it answers from a script of expected
// prompts, records every prompt, and fails the test on a prompt that the script
// does not expect next or on expectations left over at its end. It is the current
// user interface for its lifetime.
class ScriptedUserInterface : public model::UserInterface {
 public:
  enum class Kind { Message, Question, ViewPassword, NewVersion, NewSubscription };

  struct Prompt {
    Kind kind;
    std::string text;  // message, question, blog name or version
    model::MessageIcon icon = model::MessageIcon::Information;
  };

  ScriptedUserInterface();
  ~ScriptedUserInterface() override;
  ScriptedUserInterface(const ScriptedUserInterface&) = delete;
  ScriptedUserInterface& operator=(const ScriptedUserInterface&) = delete;

  // Expectations, consumed in order. `text` must equal the prompt's text.
  ScriptedUserInterface& ExpectMessage(std::string text, model::MessageIcon icon);
  ScriptedUserInterface& ExpectQuestion(std::string text, bool answer);
  // ok false stands for Cancel.
  ScriptedUserInterface& ExpectViewPassword(std::string blogName, bool ok, std::string password);
  ScriptedUserInterface& ExpectNewVersion(std::string version, model::NewVersionChoice choice);
  ScriptedUserInterface& ExpectNewSubscription(
      std::function<void(model::CWinBlogStorage&)> edit = nullptr);

  const std::vector<Prompt>& Prompts() const { return prompts_; }
  bool Done() const { return script_.empty(); }

  void ShowMessage(std::string_view text, model::MessageIcon icon) override;
  bool AskYesNo(std::string_view text) override;
  bool AskViewPassword(std::string_view blogName, std::string& password) override;
  model::NewVersionChoice OfferNewVersion(std::string_view version) override;
  void EditNewSubscription(model::CWinBlogStorage& blog) override;

 private:
  struct Step {
    Prompt prompt;
    bool answer = false;
    std::string password;
    model::NewVersionChoice choice;
    std::function<void(model::CWinBlogStorage&)> edit;
  };
  // Takes the next step if it matches the prompt; records the prompt either way.
  bool Take(const Prompt& prompt, Step& step);

  std::deque<Step> script_;
  std::vector<Prompt> prompts_;
  model::UserInterface* previous_;
};

}  // namespace testsupport
