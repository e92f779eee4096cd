#include <QApplication>
#include <QCheckBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <QTimeEdit>
#include <QTimer>

#include "dialogs/entries/CCaptionDlg.h"
#include "dialogs/entries/CCategorizeEntriesDlg.h"
#include "dialogs/entries/CDeleteEntriesDlg.h"
#include "dialogs/entries/CEditEntryDlg.h"
#include "model/CWinBlogStorage.h"
#include "platform/Preferences.h"
#include "platform/TimeValue.h"
#include "tests/support/TimeValueAt.h"
#include "tests/ui/DialogDriver.h"
#include "tests/ui/ViewFixture.h"
#include "ui/CImageWnd.h"
#include "ui/CommandIds.h"
#include "ui/QtText.h"
#include "ui/SpinList.h"

namespace {

namespace c = ui::commands;
using dialogs::CDeleteEntriesDlg;
using dialogs::CEditEntryDlg;
using uitest::DialogDriver;

constexpr auto At = testsupport::TimeValueAt;

// The blog "trips" with a category "Sea" (id 5) and three entries: two
// published by user 9, user 7's (the account's) and one pending; the first
// shown entry open in the viewer when asked.
class EntryDialogsTest : public uitest::ViewFixture {
 protected:
  void StartBlog(uint16_t groupType = 0, bool readOnly = false) {
    blog_ = AddBlog("trips", "Trips", 3, groupType);
    auto sea = std::make_unique<model::CWinBlogAlbum>();
    sea->SetId(5);
    sea->SetName("Sea");
    blog_->InsertCategory(std::move(sea));
    blog_->GetBlogInfo()->readOnly = readOnly;
    Publish(blog_->Entries().At(0), 100, 9, At(2024, 5, 1, 10, 20, 37));
    Publish(blog_->Entries().At(1), 101, 7, At(2024, 4, 1, 10, 0, 0));
    ASSERT_EQ(blog_->Save(), 0u);
    platform::WriteCurrentlyViewedBlog("trips");
    Start(240, 320, 96);
    QApplication::setActiveWindow(screen_.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(screen_.get()));
    blog_ = view_->CurrentBlog();
  }
  void Publish(model::CWinBlogEntry* entry, uint32_t id, uint32_t author, uint32_t date) {
    entry->SetId(id);
    entry->SetAuthorId(author);
    entry->SetDate(date);
    entry->SetModified(false);
    entry->SetCategoryId(5);
    blog_->ResortEntry(entry);
  }
  model::CWinBlogEntry* OpenViewer(uint32_t id) {
    model::CWinBlogEntry* entry = blog_->FindEntry(id);
    const int at = blog_->GetShownPosition(entry);
    view_->Select(at, false);
    view_->ItemActivated(at);
    EXPECT_EQ(view_->Viewer()->Entry(), entry);
    return entry;
  }
  size_t SavedEntryCount(bool deleted) const {
    model::CWinBlogStorage saved;
    saved.SetPath(blog_->GetPath());
    EXPECT_EQ(saved.Load(), 0u);
    return deleted ? saved.DeletedEntries().Count() : saved.Entries().Count();
  }

  model::CWinBlogStorage* blog_ = nullptr;
};

TEST_F(EntryDialogsTest, EditEntryOpensOnTheEntryAndOkWithoutChangesLeavesItAlone) {
  StartBlog();
  model::CWinBlogEntry* entry = OpenViewer(101);
  DialogDriver driver;
  driver.On<CEditEntryDlg>([&](CEditEntryDlg& editor) {
    EXPECT_EQ(editor.DateField()->date(), QDate(2024, 4, 1));
    EXPECT_EQ(editor.TimeField()->time(), QTime(10, 0, 0));
    EXPECT_EQ(editor.CategoryList()->currentText(), "Sea");
    EXPECT_EQ(editor.CategoryList()->itemText(editor.CategoryList()->count() - 1), "Unfiled");
    EXPECT_EQ(editor.TitleField()->selectedText(), ui::Text(entry->GetTitle()));
    EXPECT_TRUE(editor.TitleField()->hasFocus());
    EXPECT_EQ(editor.Bar()->ResourceId(), 194u);
    SaveScreenshot("edit-entry");
    editor.Bar()->PressLeft();
  });
  frame_->OnCommand(c::kEditEntry);
  EXPECT_TRUE(driver.Done());
  EXPECT_FALSE(entry->IsModified());
  EXPECT_TRUE(driver.Messages().empty());
}

TEST_F(EntryDialogsTest, TheTimeKeepsItsSecondsSoOkChangesNothing) {
  StartBlog();
  model::CWinBlogEntry* entry = OpenViewer(100);
  const uint32_t date = entry->GetDate();
  DialogDriver driver;
  driver.On<CEditEntryDlg>([](CEditEntryDlg& editor) {
    EXPECT_EQ(editor.TimeField()->time().second(), 37);
    editor.Bar()->PressLeft();
  });
  blog_->GetBlogInfo()->ownerId = 7;  // the account's own blog: nothing read-only
  frame_->OnCommand(c::kEditEntry);
  EXPECT_TRUE(driver.Done());
  EXPECT_EQ(entry->GetDate(), date);
  EXPECT_FALSE(entry->IsModified());
}

TEST_F(EntryDialogsTest, ChangesAreStoredMarkedSavedAndTheEntryMovesToItsNewDate) {
  StartBlog();
  model::CWinBlogEntry* entry = OpenViewer(101);
  DialogDriver driver;
  driver.On<CEditEntryDlg>([](CEditEntryDlg& editor) {
    editor.DateField()->setDate(QDate(2024, 6, 1));
    editor.TitleField()->selectAll();
    DialogDriver::Type(*editor.TitleField(), "Harbour");
    editor.CaptionField()->clear();
    DialogDriver::Type(*editor.CaptionField(), "Early boats");
    editor.CategoryList()->SelectData(0);
    editor.Bar()->PressLeft();
  });
  frame_->OnCommand(c::kEditEntry);
  EXPECT_TRUE(driver.Done());
  EXPECT_TRUE(entry->IsModified());
  EXPECT_EQ(entry->GetTitle(), "Harbour");
  EXPECT_EQ(entry->GetCaption(), "Early boats");
  EXPECT_EQ(entry->GetCategoryId(), 0u);
  EXPECT_EQ(entry->GetDate(), At(2024, 6, 1, 10, 0, 0));
  // Now before entry 100 (1 May), which it followed, and still the one selected.
  EXPECT_LT(blog_->GetShownPosition(entry), blog_->GetShownPosition(blog_->FindEntry(100)));
  EXPECT_EQ(view_->Selected(), blog_->GetShownPosition(entry));
  model::CWinBlogStorage saved;
  saved.SetPath(blog_->GetPath());
  ASSERT_EQ(saved.Load(), 0u);
  EXPECT_EQ(saved.FindEntry(101)->GetTitle(), "Harbour");
}

TEST_F(EntryDialogsTest, ReadOnlyEntriesKeepEverythingAndSayWhy) {
  StartBlog(1);  // a group blog of user 0: entry 100 is user 9's
  model::CWinBlogEntry* entry = OpenViewer(100);
  DialogDriver driver;
  auto retitle = [](CEditEntryDlg& editor) {
    EXPECT_TRUE(editor.ReadOnly());
    DialogDriver::Type(*editor.TitleField(), "Mine now");
    editor.Bar()->PressLeft();
  };
  driver.On<CEditEntryDlg>(retitle);
  frame_->OnCommand(c::kEditEntry);
  blog_->GetBlogInfo()->readOnly = true;
  driver.On<CEditEntryDlg>(retitle);
  frame_->OnCommand(c::kEditEntry);
  EXPECT_TRUE(driver.Done());
  EXPECT_EQ(entry->GetTitle(), "Trips photo 1");
  EXPECT_FALSE(entry->IsModified());
  ASSERT_EQ(driver.Messages().size(), 2u);
  EXPECT_EQ(driver.Messages()[0].text,
            "You cannot edit this blog entry. You may only edit entries that you posted. This entry was posted by "
            "another user.");
  EXPECT_EQ(driver.Messages()[0].icon, ui::MessageBox::Icon::None);
  EXPECT_EQ(driver.Messages()[1].text, "You do not have permission to edit this blog.");
}

TEST_F(EntryDialogsTest, AnEntryOfAnUnknownCategoryKeepsIt) {
  StartBlog();
  model::CWinBlogEntry* entry = OpenViewer(101);
  entry->SetCategoryId(77);
  DialogDriver driver;
  driver.On<CEditEntryDlg>([](CEditEntryDlg& editor) {
    EXPECT_EQ(editor.CategoryList()->currentIndex(), -1);
    editor.Bar()->PressLeft();
  });
  frame_->OnCommand(c::kEditEntry);
  EXPECT_TRUE(driver.Done());
  EXPECT_EQ(entry->GetCategoryId(), 77u);
  EXPECT_FALSE(entry->IsModified());
}

TEST_F(EntryDialogsTest, TextsStopAtTheirLimits) {
  StartBlog();
  OpenViewer(101);
  DialogDriver driver;
  driver.On<CEditEntryDlg>([](CEditEntryDlg& editor) {
    editor.TitleField()->selectAll();
    DialogDriver::Type(*editor.TitleField(), QString(60, 'x'));
    EXPECT_EQ(editor.TitleField()->text().size(), 49);
    editor.CaptionField()->setPlainText(QString(7995, 'y'));
    editor.CaptionField()->moveCursor(QTextCursor::End);
    DialogDriver::Type(*editor.CaptionField(), "abcdefgh");
    EXPECT_EQ(editor.CaptionField()->toPlainText().size(), 7999);
    EXPECT_TRUE(editor.CaptionField()->toPlainText().endsWith("yabcd"));
    editor.OnCommand(c::kCancel);
  });
  frame_->OnCommand(c::kEditEntry);
  EXPECT_TRUE(driver.Done());
}

TEST_F(EntryDialogsTest, CaptionShowsItAllAndClosesOnTheKeyThatOpenedIt) {
  StartBlog();
  model::CWinBlogEntry* entry = OpenViewer(101);
  entry->SetCaption(std::string(400, 'w') + " end");
  DialogDriver driver;
  driver.On<dialogs::CCaptionDlg>([&](dialogs::CCaptionDlg& caption) {
    EXPECT_TRUE(caption.Field()->isReadOnly());
    EXPECT_TRUE(caption.Field()->toPlainText().endsWith(" end"));
    EXPECT_EQ(caption.Field()->textCursor().position(), 0);
    QTest::keyRelease(caption.Field(), Qt::Key_F6);  // a release alone is not the key
  });
  // Still open for the next step: the whole key closes it.
  driver.On<dialogs::CCaptionDlg>(
      [](dialogs::CCaptionDlg& caption) { QTest::keyClick(caption.Field(), Qt::Key_F6); });
  PressKey(Qt::Key_F6);
  EXPECT_TRUE(driver.Done());
  EXPECT_TRUE(view_->ViewerOpen());
}

TEST_F(EntryDialogsTest, DeleteOffersTheWebOnlyForPublishedEntriesTheUserMayChange) {
  Start(240, 320, 96);
  struct Case {
    bool single, webLocked, pending;
    bool web, note;
    QString question, noteText;
  };
  for (const Case& form : {Case{false, false, false, true, false, "Delete all blog entries shown?", ""},
                           Case{false, true, false, false, true, "Delete all blog entries shown?",
                                "The entries will remain on the web."},
                           Case{true, false, true, false, false, "Delete blog entry?", ""},
                           Case{true, true, false, false, true, "Delete blog entry?", "The entry will remain on the web."}}) {
    CDeleteEntriesDlg dialog(*screen_, view_, form.single, form.webLocked, form.pending);
    DialogDriver driver;
    driver.On<CDeleteEntriesDlg>([&](CDeleteEntriesDlg& d) {
      EXPECT_EQ(d.WebBox()->isVisible(), form.web);
      EXPECT_EQ(d.WebBox()->isEnabled(), form.web);
      EXPECT_EQ(d.Note()->isVisible(), form.note);
      if (form.note) {
        EXPECT_EQ(d.Note()->text(), form.noteText);
      }
      EXPECT_EQ(d.PhotoBox()->text(), form.single ? "Delete photo on device" : "Delete photos on the device");
      EXPECT_FALSE(d.WebBox()->isChecked());
      EXPECT_FALSE(d.PhotoBox()->isChecked());
      d.WebBox()->setChecked(true);  // a hidden box's tick does not count
      d.Bar()->PressLeft();
    });
    EXPECT_EQ(dialog.DoModal(), CDeleteEntriesDlg::kOk);
    EXPECT_EQ(dialog.DeleteOnWeb(), form.web);
    EXPECT_FALSE(dialog.DeletePhoto());
  }
}

TEST_F(EntryDialogsTest, DeleteEntryTakesItOffTheWebAndItsPhotoWhenAsked) {
  StartBlog();
  model::CWinBlogEntry* entry = OpenViewer(101);
  const std::string photo = entry->photoPath;
  DialogDriver driver;
  driver.On<CDeleteEntriesDlg>([](CDeleteEntriesDlg& d) {
    EXPECT_TRUE(d.WebBox()->isVisible());
    d.WebBox()->setChecked(true);
    d.PhotoBox()->setChecked(true);
    d.Bar()->PressLeft();
  });
  frame_->OnCommand(c::kDeleteEntry);
  EXPECT_TRUE(driver.Done());
  EXPECT_FALSE(view_->ViewerOpen());
  EXPECT_EQ(screen_->TopBar(), view_->BlogBar());
  EXPECT_EQ(blog_->FindEntry(101), nullptr);
  EXPECT_EQ(SavedEntryCount(true), 1u);
  EXPECT_FALSE(root_.Fs().Exists(photo));
  EXPECT_EQ(view_->GetItemCount(), 2);
}

TEST_F(EntryDialogsTest, DeleteEntriesRemovesTheShownOnesFromTheDeviceOnly) {
  StartBlog();
  frame_->OnCommand(c::kCategoryFirst);  // "Sea": the two published entries
  DialogDriver driver;
  driver.On<CDeleteEntriesDlg>([](CDeleteEntriesDlg& d) { d.Bar()->PressLeft(); });
  frame_->OnCommand(c::kDeleteEntries);
  EXPECT_TRUE(driver.Done());
  EXPECT_TRUE(blog_->FindEntry(100)->IsRemoved());
  EXPECT_TRUE(blog_->FindEntry(101)->IsRemoved());
  EXPECT_FALSE(blog_->FindEntry(100)->photoPath.empty());
  EXPECT_EQ(SavedEntryCount(true), 0u);
  EXPECT_EQ(view_->GetItemCount(), 0);
}

TEST_F(EntryDialogsTest, DeleteFromTheEditorClosesItAndTheViewer) {
  StartBlog();
  OpenViewer(101);
  DialogDriver driver;
  driver.On<CEditEntryDlg>([](CEditEntryDlg& editor) {
    QTimer::singleShot(0, &editor, [&editor] { editor.OnCommand(c::kDialogDelete); });
  });
  driver.On<CDeleteEntriesDlg>([](CDeleteEntriesDlg& d) { d.Bar()->PressLeft(); });
  frame_->OnCommand(c::kEditEntry);
  EXPECT_TRUE(driver.Done());
  EXPECT_TRUE(blog_->FindEntry(101)->IsRemoved());
  EXPECT_FALSE(view_->ViewerOpen());
  EXPECT_EQ(view_->GetItemCount(), 2);
}

TEST_F(EntryDialogsTest, SyncWithoutLocalChangesClosesWithoutConnecting) {
  StartBlog();
  OpenViewer(101);
  DialogDriver driver;
  bool progressShown = false;
  driver.On<CEditEntryDlg>([&](CEditEntryDlg& editor) {
    editor.OnCommand(c::kDialogSync);
    progressShown = screen_->TopBar() && screen_->TopBar()->ResourceId() == 201;
  });
  frame_->OnCommand(c::kEditEntry);
  EXPECT_TRUE(driver.Done());
  EXPECT_FALSE(progressShown);
  EXPECT_TRUE(driver.Messages().empty());
}

TEST_F(EntryDialogsTest, CategorizeSkipsWhatTheUserMayNotChangeAndSaysSoOnce) {
  StartBlog(1);
  DialogDriver driver;
  driver.On<dialogs::CCategorizeEntriesDlg>([](dialogs::CCategorizeEntriesDlg& d) {
    EXPECT_EQ(d.List()->currentText(), "Sea");  // the first item
    d.List()->SelectData(0);
    d.Bar()->PressLeft();
  });
  frame_->OnCommand(c::kCategorizeEntries);
  EXPECT_TRUE(driver.Done());
  EXPECT_EQ(blog_->FindEntry(100)->GetCategoryId(), 5u);  // user 9's
  EXPECT_EQ(blog_->FindEntry(101)->GetCategoryId(), 0u);
  EXPECT_TRUE(blog_->FindEntry(101)->IsModified());
  EXPECT_EQ(driver.MessageTexts(),
            std::vector<QString>{"Some entries were not categorized because you didn't have permission to edit them."});

  // The category shown already: nothing changes, nothing is said.
  frame_->OnCommand(c::kCategoryFirst);
  driver.On<dialogs::CCategorizeEntriesDlg>([](dialogs::CCategorizeEntriesDlg& d) { d.Bar()->PressLeft(); });
  frame_->OnCommand(c::kCategorizeEntries);
  EXPECT_TRUE(driver.Done());
  EXPECT_EQ(driver.Messages().size(), 1u);
}

}  // namespace
