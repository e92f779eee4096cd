#include <QPlainTextEdit>
#include <QTest>
#include <QTimer>

#include "dialogs/comments/CAddCommentDlg.h"
#include "dialogs/comments/CCommentsDlg.h"
#include "dialogs/comments/CCommentsListBox.h"
#include "dialogs/comments/CViewCommentDlg.h"
#include "model/CWinBlogStorage.h"
#include "platform/DeviceFacts.h"
#include "platform/TimeValue.h"
#include "tests/ui/DialogDriver.h"
#include "tests/ui/ViewFixture.h"
#include "ui/CommandIds.h"
#include "ui/SoftKeyBar.h"

namespace {

namespace c = ui::commands;
using uitest::Later;
using dialogs::CCommentsDlg;
using uitest::DialogDriver;

constexpr uint32_t kDay = 86400;
const QString kSelectFirst = "You must select an item in the list before using this command.";

// An entry of another account's blog with three comments: one by another user,
// one of the user's own (the account is user 7), and one not yet sent.
class CommentScreensTest : public uitest::ViewFixture {
 protected:
  CommentScreensTest() {
    blog_ = AddBlog("theirs", "Theirs", 1);
    blog_->GetBlogInfo()->readOnly = true;
    entry_ = blog_->Entries().At(0);
    entry_->SetId(5);
    entry_->SetNewComments(true);
    const uint32_t now = platform::Now();
    AddComment(10, 99, "Sam", now - 31 * kDay, "Lovely light.");
    AddComment(11, 7, "Ann", now - 2 * 3600, "Thanks!\r\nMore soon.");
    AddComment(0, 0, "", now, "Pending one");
    blog_->Save();
    savedOs_ = platform::DeviceFacts::Current().osMajorVersion;
  }
  ~CommentScreensTest() override { platform::DeviceFacts::Current().osMajorVersion = savedOs_; }

  void AddComment(uint32_t id, uint32_t author, const std::string& name, uint32_t date, const std::string& text) {
    auto comment = std::make_unique<model::CWinBlogComment>();
    comment->SetId(id);
    comment->SetEntryId(entry_->GetId());
    comment->SetAuthorId(author);
    comment->SetAuthorName(name);
    comment->SetDate(date);
    comment->SetText(text);
    comment->SetModified(id == 0);
    blog_->InsertComment(std::move(comment));
  }
  // The window loads the blogs anew: the test goes on with the loaded ones.
  void StartView() {
    Start(240, 320, 96);
    blog_ = user_->FindBlog(u"theirs");
    ASSERT_NE(blog_, nullptr);
    entry_ = blog_->Entries().At(0);
  }
  void Run() {
    CCommentsDlg dialog(*screen_, frame_, *user_, *blog_, *entry_);
    dialog.DoModal();
  }
  std::unique_ptr<model::CWinBlogStorage> Stored() const {
    auto stored = std::make_unique<model::CWinBlogStorage>();
    stored->SetPath(blog_->GetPath());
    EXPECT_EQ(stored->Load(), 0u);
    return stored;
  }

  model::CWinBlogStorage* blog_ = nullptr;
  model::CWinBlogEntry* entry_ = nullptr;
  uint32_t savedOs_ = 5;
  DialogDriver driver_;
};

TEST_F(CommentScreensTest, TheListShowsEachCommentInFullAndDeletesOnlyWhatTheUserMay) {
  StartView();
  QStringList items;
  int selected = -1;
  uint32_t bar = 0;
  driver_.On<CCommentsDlg>([&](CCommentsDlg& dialog) {
    bar = dialog.Bar()->ResourceId();
    for (int i = 0; i < dialog.List()->count(); ++i) items << dialog.List()->item(i)->text();
    selected = dialog.List()->currentRow();
    EXPECT_EQ(dialog.focusWidget(), dialog.List());
    // Word-wrapped items of their own height.
    EXPECT_GT(dialog.List()->visualItemRect(dialog.List()->item(1)).height(),
              dialog.List()->visualItemRect(dialog.List()->item(2)).height());
    dialog.List()->setCurrentRow(0);
    dialog.OnCommand(c::kDialogDelete);  // another user's, on a blog without write access
    dialog.List()->setCurrentRow(1);
    dialog.OnCommand(c::kDialogDelete);
  });
  driver_.Answer(ui::MessageBox::kYes);
  int afterDelete = -1;
  driver_.On<CCommentsDlg>([&](CCommentsDlg& dialog) {
    afterDelete = dialog.List()->currentRow();
    EXPECT_EQ(dialog.List()->count(), 2);
    dialog.Bar()->PressLeft();
  });
  Run();
  EXPECT_TRUE(driver_.Done());
  EXPECT_EQ(bar, 198u);
  EXPECT_EQ(items, (QStringList{"Sam (1 month ago):\nLovely light.", "Ann (2 hours ago):\nThanks!\nMore soon.",
                                "-NEW- (less than a minute ago):\nPending one"}));
  EXPECT_EQ(selected, 2);
  EXPECT_EQ(afterDelete, 0);
  EXPECT_EQ(driver_.MessageTexts(), (std::vector<QString>{"You don't have permission to delete the selected comment.",
                                                          "Are you sure you want to delete the selected comment?"}));
  const auto stored = Stored();
  EXPECT_FALSE(stored->Entries().At(0)->HasNewComments());
  ASSERT_EQ(stored->DeletedComments().Count(), 1u);
  EXPECT_EQ(stored->DeletedComments().At(0)->GetId(), 11u);
  EXPECT_EQ(stored->Comments().Count(), 2u);
}

TEST_F(CommentScreensTest, OlderSystemsListTheTextsAndViewOneInFull) {
  platform::DeviceFacts::Current().osMajorVersion = 4;
  StartView();
  QString first;
  QString viewed;
  driver_.On<CCommentsDlg>([&](CCommentsDlg& dialog) {
    EXPECT_EQ(dialog.Bar()->ResourceId(), 199u);
    first = dialog.List()->item(1)->text();
    dialog.List()->setCurrentRow(1);
    Later(&dialog, [&dialog] { dialog.OnCommand(c::kDialogView); });
  });
  driver_.On<dialogs::CViewCommentDlg>([&](dialogs::CViewCommentDlg& view) {
    viewed = view.TextField()->toPlainText();
    EXPECT_TRUE(view.TextField()->isReadOnly());
    view.Bar()->PressLeft();
  });
  driver_.On<CCommentsDlg>([](CCommentsDlg& dialog) {
    dialog.List()->clearSelection();
    dialog.OnCommand(c::kDialogView);
    dialog.OnCommand(c::kDialogDelete);
    dialog.Bar()->PressLeft();
  });
  Run();
  EXPECT_TRUE(driver_.Done());
  EXPECT_EQ(first, "Thanks!More soon.");
  EXPECT_EQ(viewed, "Ann (2 hours ago):\nThanks!\nMore soon.");
  EXPECT_EQ(driver_.MessageTexts(), (std::vector<QString>{kSelectFirst, kSelectFirst}));
}

}  // namespace
