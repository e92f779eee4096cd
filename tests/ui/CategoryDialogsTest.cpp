#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>
#include <QTimer>

#include "dialogs/categories/CCategoryNameDlg.h"
#include "dialogs/categories/CEditCategoriesDlg.h"
#include "model/CWinBlogStorage.h"
#include "platform/Preferences.h"
#include "tests/ui/DialogDriver.h"
#include "tests/ui/ViewFixture.h"
#include "ui/CommandIds.h"

namespace {

namespace c = ui::commands;
using dialogs::CCategoryNameDlg;
using dialogs::CEditCategoriesDlg;
using uitest::DialogDriver;

const QString kExists = "A category with that name already exists. Please use a different name.";
const QString kSelectFirst = "You must select an item in the list before using this command.";

QStringList Items(const QListWidget& list) {
  QStringList items;
  for (int i = 0; i < list.count(); ++i) items << list.item(i)->text();
  return items;
}

// The blog "trips" with the categories "Sea" (id 5) and "hills" (id 9); its
// first entry is filed under "Sea".
class CategoryDialogsTest : public uitest::ViewFixture {
 protected:
  void SetUp() override {
    blog_ = AddBlog("trips", "Trips", 1);
    AddCategory(5, "Sea");
    AddCategory(9, "hills");
    blog_->Entries().At(0)->SetCategoryId(5);
    ASSERT_EQ(blog_->Save(), 0u);
    platform::WriteCurrentlyViewedBlog("trips");
    Start(240, 320, 96);
    blog_ = view_->CurrentBlog();  // the window loads the blogs anew
    ASSERT_NE(blog_, nullptr);
    QApplication::setActiveWindow(screen_.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(screen_.get()));
  }
  void AddCategory(uint32_t id, const std::string& name) {
    auto category = std::make_unique<model::CWinBlogAlbum>();
    category->SetId(id);
    category->SetName(name);
    category->SetModified(false);
    blog_->InsertCategory(std::move(category));
  }
  // Runs Edit Categories with the driver's steps; answers whether Done closed it.
  bool RunEditCategories(DialogDriver& driver) {
    CEditCategoriesDlg dialog(*screen_, view_, *blog_);
    const int result = dialog.DoModal();
    EXPECT_TRUE(driver.Done());
    return result == CEditCategoriesDlg::kOk;
  }
  // A command of Edit Categories, sent once the driver's step has returned (the
  // screens it opens are the next steps').
  static void Send(CEditCategoriesDlg& d, uint32_t command) {
    QTimer::singleShot(0, &d, [&d, command] { d.OnCommand(command); });
  }
  static void Done(DialogDriver& driver) {
    driver.On<CEditCategoriesDlg>([](CEditCategoriesDlg& d) { d.Bar()->PressLeft(); });
  }
  static void Name(DialogDriver& driver, const QString& text) {
    driver.On<CCategoryNameDlg>([text](CCategoryNameDlg& d) {
      d.Field()->selectAll();
      DialogDriver::Type(*d.Field(), text);
      d.Bar()->PressLeft();
    });
  }

  model::CWinBlogStorage* blog_ = nullptr;
};

TEST_F(CategoryDialogsTest, NewRefusesANameThatDiffersOnlyInCaseThenFilesTheNewOneInNameOrder) {
  DialogDriver driver;
  driver.On<CEditCategoriesDlg>([](CEditCategoriesDlg& d) {
    EXPECT_EQ(Items(*d.List()), (QStringList{"hills", "Sea"}));
    EXPECT_EQ(d.List()->currentRow(), 0);
    Send(d, c::kDialogNew);
  });
  driver.On<CCategoryNameDlg>([](CCategoryNameDlg& d) {
    EXPECT_TRUE(d.Field()->text().isEmpty());
    DialogDriver::Type(*d.Field(), "SEA");
    d.Bar()->PressLeft();
  });
  Name(driver, "Lakes");  // the same screen, still open after the refusal
  driver.On<CEditCategoriesDlg>([](CEditCategoriesDlg& d) {
    EXPECT_EQ(Items(*d.List()), (QStringList{"hills", "Lakes", "Sea"}));
    EXPECT_EQ(d.List()->currentRow(), 1);
    d.Bar()->PressLeft();
  });
  EXPECT_TRUE(RunEditCategories(driver));
  ASSERT_EQ(driver.Messages().size(), 1u);
  EXPECT_EQ(driver.Messages()[0].text, kExists);
  EXPECT_EQ(driver.Messages()[0].icon, ui::MessageBox::Icon::Error);
  model::CWinBlogStorage saved;
  saved.SetPath(blog_->GetPath());
  ASSERT_EQ(saved.Load(), 0u);
  const model::CWinBlogAlbum* lakes = saved.FindCategoryByName("Lakes");
  ASSERT_NE(lakes, nullptr);
  EXPECT_EQ(lakes->GetId(), 0xFFFFFF00u);
}

TEST_F(CategoryDialogsTest, RenamingToTheSameNameChangesNothingAndACaseChangeIsAccepted) {
  DialogDriver driver;
  driver.On<CEditCategoriesDlg>([](CEditCategoriesDlg& d) { Send(d, c::kDialogEdit); });
  driver.On<CCategoryNameDlg>([](CCategoryNameDlg& d) {
    EXPECT_EQ(d.Field()->selectedText(), "hills");
    d.Bar()->PressLeft();
  });
  driver.On<CEditCategoriesDlg>([this](CEditCategoriesDlg& d) {
    EXPECT_FALSE(blog_->FindCategory(9)->IsModified());
    Send(d, c::kDialogEdit);
  });
  Name(driver, "Hills");
  driver.On<CEditCategoriesDlg>([](CEditCategoriesDlg& d) {
    EXPECT_EQ(Items(*d.List()), (QStringList{"Hills", "Sea"}));
    d.Bar()->PressLeft();
  });
  EXPECT_TRUE(RunEditCategories(driver));
  EXPECT_TRUE(driver.Messages().empty());
  EXPECT_EQ(blog_->FindCategory(9)->GetName(), "Hills");
  EXPECT_TRUE(blog_->FindCategory(9)->IsModified());
  EXPECT_FALSE(blog_->FindCategory(5)->IsModified());
}

TEST_F(CategoryDialogsTest, AnEmptyNameIsAcceptedAndNamesStopAt99Characters) {
  DialogDriver driver;
  driver.On<CEditCategoriesDlg>([](CEditCategoriesDlg& d) { Send(d, c::kDialogNew); });
  driver.On<CCategoryNameDlg>([](CCategoryNameDlg& d) {
    DialogDriver::Type(*d.Field(), QString(120, 'n'));
    EXPECT_EQ(d.Field()->text().size(), 99);
    d.Field()->clear();
    d.Bar()->PressLeft();
  });
  Done(driver);
  EXPECT_TRUE(RunEditCategories(driver));
  EXPECT_EQ(blog_->GetCategoryCount(), 3u);
  EXPECT_NE(blog_->FindCategoryByName(""), nullptr);
}

TEST_F(CategoryDialogsTest, DeletingMovesItsEntriesToUnfiledAndLeavesNothingSelected) {
  DialogDriver driver;
  driver.Answer(ui::MessageBox::kNo).Answer(ui::MessageBox::kYes).Answer(ui::MessageBox::kYes);
  driver.On<CEditCategoriesDlg>([](CEditCategoriesDlg& d) {
    d.List()->setCurrentRow(1);
    d.OnCommand(c::kDialogDelete);  // No: kept
    EXPECT_EQ(d.List()->count(), 2);
    d.OnCommand(c::kDialogDelete);
    EXPECT_EQ(d.List()->currentRow(), -1);
    d.List()->setCurrentRow(0);
    d.OnCommand(c::kDialogDelete);
    EXPECT_EQ(d.List()->count(), 0);
    d.OnCommand(c::kDialogEdit);
    d.OnCommand(c::kDialogDelete);
    d.Bar()->PressLeft();
  });
  EXPECT_TRUE(RunEditCategories(driver));
  EXPECT_EQ(blog_->GetCategoryCount(), 0u);
  EXPECT_EQ(blog_->Entries().At(0)->GetCategoryId(), 0u);
  const std::vector<QString> texts = driver.MessageTexts();
  ASSERT_EQ(texts.size(), 5u);
  EXPECT_EQ(texts[3], kSelectFirst);
  EXPECT_EQ(texts[4], kSelectFirst);
}

TEST_F(CategoryDialogsTest, NoNewCategoryOnceTheTemporaryIdsRunOut) {
  for (uint32_t k = 0; k < 256; ++k) AddCategory(0xFFFFFF00u + k, "new " + std::to_string(k));
  DialogDriver driver;
  driver.On<CEditCategoriesDlg>([](CEditCategoriesDlg& d) { Send(d, c::kDialogNew); });
  Name(driver, "One more");
  Done(driver);
  EXPECT_TRUE(RunEditCategories(driver));
  EXPECT_EQ(blog_->GetCategoryCount(), 258u);
  EXPECT_EQ(blog_->FindCategoryByName("One more"), nullptr);
  EXPECT_EQ(blog_->FindCategory(0), nullptr);
  EXPECT_EQ(driver.MessageTexts(),
            std::vector<QString>{
                "This blog already has 256 new categories waiting for a sync. Sync the blog before adding more."});
}

TEST_F(CategoryDialogsTest, EditCategoriesIsRefusedOnABlogTheUserMayNotChange) {
  blog_ = view_->CurrentBlog();
  ASSERT_NE(blog_, nullptr);
  blog_->GetBlogInfo()->readOnly = true;
  DialogDriver driver;
  frame_->OnCommand(c::kEditCategories);
  EXPECT_EQ(driver.MessageTexts(),
            std::vector<QString>{"You do not have permission to edit this blog. If you expect to have write access, "
                                 "check that your login information in Account Info is correct."});
  EXPECT_EQ(driver.Screens().size(), 0u);
}

}  // namespace
