#include "tests/support/ScriptedUserInterface.h"

#include <gtest/gtest.h>

namespace testsupport {

namespace {

const char* KindName(ScriptedUserInterface::Kind kind) {
  switch (kind) {
    case ScriptedUserInterface::Kind::Message: return "message";
    case ScriptedUserInterface::Kind::Question: return "question";
    case ScriptedUserInterface::Kind::ViewPassword: return "view password";
    case ScriptedUserInterface::Kind::NewVersion: return "new version";
    case ScriptedUserInterface::Kind::NewSubscription: return "new subscription";
  }
  return "?";
}

}  // namespace

ScriptedUserInterface::ScriptedUserInterface() : previous_(&model::UserInterface::Current()) {
  model::UserInterface::SetCurrent(this);
}

ScriptedUserInterface::~ScriptedUserInterface() {
  model::UserInterface::SetCurrent(previous_);
  for (const Step& step : script_) {
    ADD_FAILURE() << "expected " << KindName(step.prompt.kind) << " \"" << step.prompt.text
                  << "\" was never shown";
  }
}

ScriptedUserInterface& ScriptedUserInterface::ExpectMessage(std::string text,
                                                            model::MessageIcon icon) {
  Step step;
  step.prompt = {Kind::Message, std::move(text), icon};
  script_.push_back(std::move(step));
  return *this;
}

ScriptedUserInterface& ScriptedUserInterface::ExpectQuestion(std::string text, bool answer) {
  Step step;
  step.prompt = {Kind::Question, std::move(text), model::MessageIcon::Question};
  step.answer = answer;
  script_.push_back(std::move(step));
  return *this;
}

ScriptedUserInterface& ScriptedUserInterface::ExpectViewPassword(std::string blogName, bool ok,
                                                                 std::string password) {
  Step step;
  step.prompt = {Kind::ViewPassword, std::move(blogName), model::MessageIcon::Information};
  step.answer = ok;
  step.password = std::move(password);
  script_.push_back(std::move(step));
  return *this;
}

ScriptedUserInterface& ScriptedUserInterface::ExpectNewVersion(std::string version,
                                                               model::NewVersionChoice choice) {
  Step step;
  step.prompt = {Kind::NewVersion, std::move(version), model::MessageIcon::Information};
  step.choice = choice;
  script_.push_back(std::move(step));
  return *this;
}

ScriptedUserInterface& ScriptedUserInterface::ExpectNewSubscription(
    std::function<void(model::CWinBlogStorage&)> edit) {
  Step step;
  step.prompt = {Kind::NewSubscription, "", model::MessageIcon::Information};
  step.edit = std::move(edit);
  script_.push_back(std::move(step));
  return *this;
}

bool ScriptedUserInterface::Take(const Prompt& prompt, Step& step) {
  prompts_.push_back(prompt);
  if (script_.empty()) {
    ADD_FAILURE() << "unexpected " << KindName(prompt.kind) << " \"" << prompt.text << "\"";
    return false;
  }
  const Step& next = script_.front();
  bool matches = next.prompt.kind == prompt.kind &&
                 (prompt.kind == Kind::NewSubscription || next.prompt.text == prompt.text) &&
                 (prompt.kind != Kind::Message || next.prompt.icon == prompt.icon);
  if (!matches) {
    ADD_FAILURE() << "expected " << KindName(next.prompt.kind) << " \"" << next.prompt.text
                  << "\" but got " << KindName(prompt.kind) << " \"" << prompt.text << "\"";
    return false;
  }
  step = std::move(script_.front());
  script_.pop_front();
  return true;
}

void ScriptedUserInterface::ShowMessage(std::string_view text, model::MessageIcon icon) {
  Step step;
  Take({Kind::Message, std::string(text), icon}, step);
}

bool ScriptedUserInterface::AskYesNo(std::string_view text) {
  Step step;
  return Take({Kind::Question, std::string(text), model::MessageIcon::Question}, step) &&
         step.answer;
}

bool ScriptedUserInterface::AskViewPassword(std::string_view blogName, std::string& password) {
  Step step;
  if (!Take({Kind::ViewPassword, std::string(blogName), model::MessageIcon::Information}, step) ||
      !step.answer) {
    return false;
  }
  password = step.password;
  return true;
}

model::NewVersionChoice ScriptedUserInterface::OfferNewVersion(std::string_view version) {
  Step step;
  if (!Take({Kind::NewVersion, std::string(version), model::MessageIcon::Information}, step)) {
    return {};
  }
  return step.choice;
}

void ScriptedUserInterface::EditNewSubscription(model::CWinBlogStorage& blog) {
  Step step;
  if (Take({Kind::NewSubscription, "", model::MessageIcon::Information}, step) && step.edit) {
    step.edit(blog);
  }
}

}  // namespace testsupport
