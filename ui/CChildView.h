#pragma once

#include <QFont>
#include <QPointer>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "ui/CGridCtrl.h"
#include "ui/CIconList.h"
#include "platform/LogFont.h"
#include "ui/CommandContext.h"
#include "ui/SoftKeyBar.h"

class QMenu;

namespace model {
class BlogEntry;
class CWinBlogEntry;
class CWinBlogStorage;
class CWinBlogUser;
class ProgressReporter;
}  // namespace model

namespace ui {

class CImageWnd;
class ViewHost;

// The main view: the home view lists the account's blogs one per row; the blog
// view shows the current blog's entries as a grid of thumbnails, narrowed by
// the blog's Show and Category filters; the image viewer opens over it. Back
// and OK step out again: viewer -> blog view -> home view.
class CChildView : public CGridCtrl {
  Q_OBJECT

 public:
  static constexpr uint32_t kChildId = 0xE900;
  static constexpr int kShowMenuPosition = 5;
  static constexpr int kCategoryMenuPosition = 6;
  static constexpr int kMaxMenuCategories = 257;

  // The welcome flow of the account screens, run at start-up without a login.
  using WelcomeFlowHook = std::function<void()>;

  CChildView(QWidget* frame, ViewHost& host, model::CWinBlogUser& user);
  ~CChildView() override;

  void SetWelcomeFlow(WelcomeFlowHook flow) { welcomeFlow_ = std::move(flow); }
  // The start-up sequence: account, sample blog, viewer, bars, fonts, icons,
  // sync after new credentials, and the blog that was on screen last time.
  bool Initialise();

  void EnterBlog(int row);
  void GoHome();
  void SetShowFilter(uint16_t value);
  void SetCategoryFilter(uint32_t value, int menuPosition);
  void RebuildShowMenu();
  void RebuildCategoryMenu();
  // Re-reads the item count, clears the selection and repaints.
  void RefreshView();
  void SelectEntry(const model::BlogEntry& entry);

  // After a sync of the current blog that showed `shownBefore` entries: no
  // selection, the Category sub-menu rebuilt, and the list from its top when the
  // number of entries shown changed.
  void BlogSynced(size_t shownBefore);
  void CloseViewer();
  // Previous (-1) or next (1) entry in the viewer.
  void MoveInViewer(int delta);
  // What the commands of the bars see now.
  CommandContext Context();
  // The urlName of the blog shown, or "" in the home view.
  std::string CurrentBlogName() const;
  // After another program's changes were read again: the viewer closes (its
  // entry is gone), the blog named `shownBlog` is shown again (or the home view
  // when it went) and the list is re-read.
  void Reloaded(const std::string& shownBlog);

  void DrawItem(QPainter& painter, const QRect& cell, int index, bool selected) override;
  void ItemActivated(int index) override;

  model::CWinBlogStorage* CurrentBlog() const { return blog_; }
  bool InHomeView() const { return blog_ == nullptr; }
  // The account has an e-mail address and a password.
  bool HasLogin() const;
  CImageWnd* Viewer() const { return viewer_; }
  bool ViewerOpen() const;
  SoftKeyBar* BlogBar() const { return blogBar_; }
  QMenu* ShowMenu() const;
  QMenu* CategoryMenu() const;
  const QFont& RegularFont() const { return regular_; }
  const QFont& BoldFont() const { return bold_; }

  // Switches to `blog` of the account's list (the blog view of a blog just
  // added to it).
  void ShowBlog(const model::CWinBlogStorage* blog);
  // The regular font as a font record: the stored "Main View Font", or the
  // record of the screen's font that the view uses without one.
  platform::LogFont RegularFontRecord() const;
  // Builds the fonts again from "Main View Font" and redraws.
  void FontChanged();

  // Phone keys: key down and key up.
  bool OnViewKeyDown(uint32_t key);
  void OnViewKeyUp(uint32_t key);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;

 private:
  void LayoutForMode();
  void BuildFonts();
  void OpenViewerAt(int position);
  void SetCaption(const QString& caption);
  // The line that tells what to do in an empty view.
  uint32_t EmptyHint() const;
  // The home view's rows in the UI trace, for the tests that drive the program.
  void TraceRows() const;
  void DrawHomeRow(QPainter& painter, const QRect& cell, int index, bool selected);
  void DrawEntryCell(QPainter& painter, const QRect& cell, int index, bool selected);
  ViewHost& host_;
  model::CWinBlogUser& user_;
  model::CWinBlogStorage* blog_ = nullptr;
  int homeSelection_ = -1;
  int homeTopRow_ = 0;
  QFont regular_;
  QFont bold_;
  CIconList stateIcons_;
  QPointer<SoftKeyBar> blogBar_;
  CImageWnd* viewer_ = nullptr;
  WelcomeFlowHook welcomeFlow_;
};

}  // namespace ui
