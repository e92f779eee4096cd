#include "app/GuiUserInterface.h"

#include <string>

#include "ui/MessageBox.h"

namespace app {

namespace {

ui::MessageBox::Icon IconOf(model::MessageIcon icon) {
  switch (icon) {
    case model::MessageIcon::Information: return ui::MessageBox::Icon::Information;
    case model::MessageIcon::Exclamation: return ui::MessageBox::Icon::Exclamation;
    case model::MessageIcon::Error: return ui::MessageBox::Icon::Error;
    case model::MessageIcon::Question: return ui::MessageBox::Icon::Question;
  }
  return ui::MessageBox::Icon::None;
}

}  // namespace

void GuiUserInterface::ShowMessage(std::string_view text, model::MessageIcon icon) {
  ui::MessageBox::Show(std::string(text), IconOf(icon));
}

bool GuiUserInterface::AskYesNo(std::string_view text) {
  return ui::MessageBox::Ask(std::string(text), false) == ui::MessageBox::kYes;
}

bool GuiUserInterface::AskViewPassword(std::string_view, std::string&) { return false; }

model::NewVersionChoice GuiUserInterface::OfferNewVersion(std::string_view) { return {}; }

void GuiUserInterface::EditNewSubscription(model::CWinBlogStorage&) {}

}  // namespace app
