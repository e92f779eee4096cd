#include "ui/CChildView.h"

#include <QKeyEvent>
#include <QMenu>
#include <QPainter>

#include "dialogs/CAccountInfoDlg.h"
#include "dialogs/WelcomeFlow.h"
#include "model/CWinBlogStorage.h"
#include "model/CWinBlogUser.h"
#include "platform/Preferences.h"
#include "platform/StringTable.h"
#include "platform/TextConversion.h"
#include "service/AccountNetwork.h"
#include "service/BlogNetwork.h"
#include "service/SyncRunner.h"
#include "ui/BitmapResource.h"
#include "ui/CImageWnd.h"
#include "ui/CProgressWnd.h"
#include "ui/CommandIds.h"
#include "ui/DisplayScale.h"
#include "ui/JpegPainter.h"
#include "ui/KeyCodes.h"
#include "ui/MenuBuilder.h"
#include "ui/MessageBox.h"
#include "ui/NetworkStep.h"
#include "ui/PhoneScreen.h"
#include "ui/SoftKeyBar.h"
#include "ui/StringIds.h"
#include "ui/ViewHost.h"

namespace ui {
namespace {

namespace c = commands;

QString Text(const std::string& utf8) { return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())); }

QString Label(uint32_t id) { return QString::fromStdString(platform::LoadString(id)); }

// A category made on the device has a temporary id until a sync.
bool IsLocalCategoryId(uint32_t id) { return id >= 0xFFFFFF00u && id != model::kAllCategories; }

QFont FontFromRecord(const platform::LogFont& record, const QFont& base) {
  QFont font = base;
  if (!record.faceName.empty()) font.setFamily(QString::fromStdU16String(record.faceName));
  if (record.height != 0) font.setPixelSize(std::abs(record.height));
  if (record.weight > 0) font.setWeight(static_cast<QFont::Weight>(std::clamp(record.weight, 100, 900)));
  font.setItalic(record.italic != 0);
  return font;
}

}  // namespace

CChildView::CChildView(QWidget* frame, ViewHost& host, model::CWinBlogUser& user)
    : CGridCtrl(frame), host_(host), user_(user) {
  setObjectName(QStringLiteral("view%1").arg(kChildId));
  welcomeFlow_ = [this](bool startupMode) { return WelcomeFlow::Run(host_.Screen(), this, user_, startupMode); };
}

CChildView::~CChildView() { delete blogBar_; }

bool CChildView::Initialise() {
  user_.LoadUser();
  if (!HasLogin() && welcomeFlow_) welcomeFlow_(true);
  if (!HasLogin() && user_.Blogs().Count() == 0) user_.CreateSampleBlog();

  viewer_ = new CImageWnd(this, host_.Screen());
  viewer_->setGeometry(rect());
  viewer_->SetOnClosed([this] { blogBar_->show(); });
  connect(viewer_->Bar(), &SoftKeyBar::CommandChosen, this, [this](uint32_t command) { host_.OnCommand(command); });
  viewer_->Bar()->SetCommandFilter([this](uint32_t command) { return host_.CanAct(command); });

  blogBar_ = new SoftKeyBar(host_.Screen(), 129);
  blogBar_->hide();
  connect(blogBar_, &SoftKeyBar::CommandChosen, this, [this](uint32_t command) { host_.OnCommand(command); });
  blogBar_->SetCommandFilter([this](uint32_t command) { return host_.CanAct(command); });

  BuildFonts();
  stateIcons_.Create(159, 1, 4, 16, 16);
  if (HasLogin() && user_.credentialsChanged) {
    SyncAllBlogs();
  }
  SetHighlightColour(QColor(0, 0, 255));
  blog_ = nullptr;

  const std::string current = platform::ReadCurrentlyViewedBlog();
  model::CWinBlogStorage* found = current.empty() ? nullptr : user_.FindBlog(platform::Utf8ToUtf16(current));
  int foundRow = -1;
  for (size_t i = 0; found && i < user_.Blogs().Count(); ++i) {
    if (user_.Blogs().At(i) == found) foundRow = static_cast<int>(i);
  }
  if (foundRow >= 0) {
    EnterBlog(foundRow);
  } else {
    LayoutForMode();
    SetItemCount(static_cast<int>(user_.Blogs().Count()));
  }
  Refresh();
  return true;
}

void CChildView::BuildFonts() {
  QFont base = host_.Screen().font();
  platform::LogFont record;
  regular_ = platform::ReadMainViewFont(record) ? FontFromRecord(record, base) : base;
  bold_ = regular_;
  bold_.setWeight(regular_.weight() >= QFont::Bold ? QFont::Black : QFont::Bold);
}

void CChildView::LayoutForMode() {
  const int s3 = DisplayScale::Across(3);
  if (!blog_) {
    const PhoneScreen& screen = host_.Screen();
    const int rows = screen.height() > screen.width() ? 3 : 2;
    LayoutByShape(QRect(), rows, 1, s3, DisplayScale::Down(3), s3, DisplayScale::Down(3));
    return;
  }
  int width = DisplayScale::Across(45);
  int height = DisplayScale::Down(45);
  if (width > 96) width = height = 96;
  LayoutByCellSize(QRect(), width, height, s3, DisplayScale::Down(5), s3, DisplayScale::Down(4));
}

QMenu* CChildView::ShowMenu() const {
  return blogBar_ ? MenuBuilder::SubMenuAt(*blogBar_->RightMenu(), kShowMenuPosition) : nullptr;
}

QMenu* CChildView::CategoryMenu() const {
  return blogBar_ ? MenuBuilder::SubMenuAt(*blogBar_->RightMenu(), kCategoryMenuPosition) : nullptr;
}

bool CChildView::HasLogin() const { return !user_.GetEmail().empty() && !user_.GetPassword().empty(); }

bool CChildView::ViewerOpen() const { return viewer_ && viewer_->isVisible(); }

void CChildView::SetCaption(const QString& caption) { host_.SetCaption(caption); }

void CChildView::EnterBlog(int row) {
  if (row < 0 || row >= static_cast<int>(user_.Blogs().Count())) return;
  homeSelection_ = row;
  homeTopRow_ = TopRow();
  blog_ = user_.Blogs().At(static_cast<size_t>(row));
  SetItemCount(static_cast<int>(blog_->GetShownCount()));
  LayoutForMode();
  host_.ShowHomeBar(false);
  blogBar_->show();
  RebuildShowMenu();
  RebuildCategoryMenu();
  SetCaption(Text(blog_->Info().DisplayName()));
  SetTopRow(0);
  ClearSelection(false);
  platform::WriteCurrentlyViewedBlog(blog_->Info().urlName);
  update();
}

void CChildView::GoHome() {
  CloseViewer();
  blog_ = nullptr;
  SetItemCount(static_cast<int>(user_.Blogs().Count()));
  LayoutForMode();
  SetCaption(QStringLiteral("Tessary"));
  ClearSelection(false);
  if (homeSelection_ >= 0 && homeSelection_ < GetItemCount()) Select(homeSelection_, false);
  SetTopRow(homeTopRow_);
  host_.ShowHomeBar(true);
  blogBar_->hide();
  platform::WriteCurrentlyViewedBlog("");
  UpdateScrollBar();
  update();
}

void CChildView::RebuildShowMenu() {
  QMenu* menu = ShowMenu();
  if (!menu || !blog_) return;
  const bool group = blog_->Info().groupType == 1;
  if (group && menu->actions().size() < 4) {
    MenuBuilder::InsertAction(*menu, 3, c::kShowPublishedByMe, Label(strings::kPublishedByMe));
  } else if (!group && menu->actions().size() > 3) {
    delete MenuBuilder::FindCommand(*menu, c::kShowPublishedByMe);
  }
  MenuBuilder::CheckPosition(*menu, blog_->GetShowFilter());
}

void CChildView::RebuildCategoryMenu() {
  QMenu* menu = CategoryMenu();
  if (!menu || !blog_) return;
  const QList<QAction*> actions = menu->actions();
  for (qsizetype i = 1; i < actions.size(); ++i) delete actions[i];
  // Commands 5000 + k stop below Edit Categories (5257): later categories cannot
  // be offered without taking its number.
  const size_t count = std::min<size_t>(blog_->GetCategoryCount(), kMaxMenuCategories);
  for (size_t k = 0; k < count; ++k) {
    MenuBuilder::NewAction(*menu, c::kCategoryFirst + static_cast<uint32_t>(k), Text(blog_->GetCategoryAt(k)->GetName()));
  }
  MenuBuilder::NewAction(*menu, c::kCategoryUnfiled, Label(strings::kUnfiled));
  if (!blog_->IsEntryReadOnly(nullptr)) {
    MenuBuilder::NewAction(*menu, c::kEditCategories, Label(strings::kEditCategoriesEllipsis));
  }
  const uint32_t filter = blog_->GetCategoryFilter();
  int position = -1;
  if (filter == model::kAllCategories) {
    position = 0;
  } else if (filter == 0) {
    position = static_cast<int>(count) + 1;
  } else if (long index = blog_->IndexOfCategory(filter); index >= 0 && index < static_cast<long>(count)) {
    position = static_cast<int>(index) + 1;
  }
  MenuBuilder::CheckPosition(*menu, position);
}

void CChildView::SetShowFilter(uint16_t value) {
  if (!blog_) return;
  blog_->SetFilters(blog_->GetCategoryFilter(), value);
  blog_->Save();
  if (QMenu* menu = ShowMenu()) MenuBuilder::CheckPosition(*menu, value);
  SetItemCount(static_cast<int>(blog_->GetShownCount()));
  ClearSelection(false);
  update();
}

void CChildView::SetCategoryFilter(uint32_t value, int menuPosition) {
  if (!blog_) return;
  blog_->SetFilters(value, blog_->GetShowFilter());
  blog_->Save();
  if (QMenu* menu = CategoryMenu()) MenuBuilder::CheckPosition(*menu, menuPosition);
  SetItemCount(static_cast<int>(blog_->GetShownCount()));
  ClearSelection(false);
  update();
}

void CChildView::RefreshView() {
  SetItemCount(static_cast<int>(blog_ ? blog_->GetShownCount() : user_.Blogs().Count()));
  ClearSelection(false);
  InvalidateGrid();
}

void CChildView::SelectEntry(const model::BlogEntry& entry) {
  if (!blog_) return;
  const auto* local = dynamic_cast<const model::CWinBlogEntry*>(&entry);
  if (!local || !blog_->IsShown(*local)) {
    SetItemCount(static_cast<int>(blog_->GetShownCount()));
    return;
  }
  Select(blog_->GetShownPosition(&entry), true);
}

void CChildView::ItemActivated(int index) {
  if (!blog_) {
    EnterBlog(index);
    return;
  }
  OpenViewerAt(index);
}

void CChildView::OpenViewerAt(int position) {
  model::CWinBlogEntry* entry = blog_ ? blog_->GetShownEntryAt(static_cast<size_t>(position)) : nullptr;
  if (!entry) return;
  if (ViewerOpen()) {
    viewer_->ShowEntry(*entry);
    return;
  }
  blogBar_->hide();
  viewer_->setGeometry(rect());
  viewer_->Open(*blog_, *entry);
}

void CChildView::MoveInViewer(int delta) {
  const int p = Selected();
  const int target = p + delta;
  if (p < 0 || target < 0 || target >= GetItemCount()) return;
  OpenViewerAt(target);
  Select(target, true, delta > 0);
}

void CChildView::CloseViewer() {
  if (!ViewerOpen()) return;
  viewer_->Close();
  if (blog_) blogBar_->show();
  update();
}

bool CChildView::OnViewKeyDown(uint32_t key) {
  if (ViewerOpen()) {
    switch (key) {
      case kKeyReturn: CloseViewer(); break;
      case kKeyLeft: MoveInViewer(-1); break;
      case kKeyRight: MoveInViewer(1); break;
      case kKeyUp: viewer_->ScrollUp(); break;
      case kKeyDown: viewer_->ScrollDown(); break;
      default: return key == kKeyBack;
    }
    return true;
  }
  if (key == kKeyBack) return true;
  return OnKeyDown(key);
}

void CChildView::OnViewKeyUp(uint32_t key) {
  if (key != kKeyBack) return;
  if (ViewerOpen()) {
    CloseViewer();
  } else if (blog_) {
    GoHome();
  }
}

void CChildView::keyPressEvent(QKeyEvent* event) {
  if (!OnViewKeyDown(PhoneKeyFromQt(event->key()))) QWidget::keyPressEvent(event);
}

void CChildView::keyReleaseEvent(QKeyEvent* event) {
  if (event->isAutoRepeat()) return;
  OnViewKeyUp(PhoneKeyFromQt(event->key()));
}

void CChildView::paintEvent(QPaintEvent* event) {
  if (ViewerOpen()) return;
  CGridCtrl::paintEvent(event);
}

void CChildView::resizeEvent(QResizeEvent* event) {
  CGridCtrl::resizeEvent(event);
  LayoutForMode();
  if (viewer_) viewer_->setGeometry(rect());
}

void CChildView::DrawItem(QPainter& painter, const QRect& cell, int index, bool selected) {
  if (blog_) {
    DrawEntryCell(painter, cell, index, selected);
  } else {
    DrawHomeRow(painter, cell, index, selected);
  }
}

void CChildView::DrawHomeRow(QPainter& painter, const QRect& cell, int index, bool selected) {
  if (index < 0 || index >= static_cast<int>(user_.Blogs().Count())) return;
  const model::CWinBlogStorage& blog = *user_.Blogs().At(static_cast<size_t>(index));
  int total = 0;
  int fresh = 0;
  int comments = 0;
  const model::CWinBlogEntry* newest = nullptr;
  for (const auto& entry : blog.Entries()) {
    if (entry->IsRemoved()) continue;
    if (!newest) newest = entry.get();
    ++total;
    fresh += entry->IsNew();
    comments += entry->HasNewComments();
  }

  const int s = std::max(1, DisplayScale::Across(1));
  const int t = std::max(1, DisplayScale::Down(1));
  const QColor background = selected ? QColor(147, 146, 255) : QColor(Qt::white);
  painter.fillRect(cell, Qt::black);
  painter.fillRect(cell.adjusted(s, s, -s, -s), background);

  const int side = cell.height() - 8 * s;
  const QRect square(cell.left() + 4 * s, cell.top() + 4 * s, side, side);
  painter.fillRect(square, selected ? Qt::white : Qt::black);
  const QRect inside = square.adjusted(s, t, -s, -t);
  painter.fillRect(inside, Qt::white);
  QRect covered;
  if (total == 0) {
    const QImage placeholder = BitmapResource::Load(138);
    const QSize fitted = placeholder.size().scaled(inside.size(), Qt::KeepAspectRatio);
    painter.drawImage(QRect(inside.left() + (inside.width() - fitted.width()) / 2,
                            inside.top() + (inside.height() - fitted.height()) / 2, fitted.width(), fitted.height()),
                      placeholder);
  } else if (newest) {
    JpegPainter::DrawBytes(painter, newest->GetThumbnail(), inside, 0, covered);
  }
  if (fresh > 0) {
    stateIcons_.Draw(painter, 0, square.left() + s, square.top() + t);
  } else if (comments > 0) {
    stateIcons_.Draw(painter, 1, square.left() + s, square.top() + t);
  }

  const int left = square.right() + 1 + 4 * s;
  const int right = cell.right() + 1 - DisplayScale::Across(3);
  int y = cell.top() + DisplayScale::Down(3);
  painter.setPen(selected ? Qt::white : Qt::black);
  auto line = [&](const QFont& font, const QString& text) {
    painter.setFont(font);
    const QFontMetrics metrics(font);
    const QRect box(left, y, std::max(0, right - left), metrics.height());
    painter.drawText(box, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                     metrics.elidedText(text, Qt::ElideRight, box.width()));
    y += metrics.height();
  };
  line(bold_, Text(blog.Info().DisplayName()));
  line(regular_, Text(blog.Info().subtitle));
  QString photos = Label(total == 1 ? strings::kPhotoCountOne : strings::kPhotoCountMany);
  line(regular_, photos.replace(QLatin1String("%d"), QString::number(total)));

  if (blog.Info().groupType == 1) {
    CIconList badge;
    if (badge.Create(152, 1, 1, 21, 21)) badge.Draw(painter, 0, cell.right() + 1 - 21, cell.bottom() + 1 - 21);
  }
}

void CChildView::DrawEntryCell(QPainter& painter, const QRect& cell, int index, bool selected) {
  const model::CWinBlogEntry* entry = blog_->GetShownEntryAt(static_cast<size_t>(index));
  if (!entry) return;
  QRect covered;
  JpegPainter::DrawBytes(painter, entry->GetThumbnail(), cell, 0, covered);
  const int x = cell.left() + DisplayScale::Across(1);
  const int y = cell.top() + DisplayScale::Down(2);
  if (entry->IsNew()) {
    stateIcons_.Draw(painter, 0, x, y);
  } else if (entry->HasNewComments()) {
    stateIcons_.Draw(painter, 1, x, y);
  }
  if (selected) DrawSelectionFrame(painter, cell.left(), cell.top(), cell.right() + 1, cell.bottom() + 1);
}

void CChildView::WithProgress(const std::function<void(CProgressWnd&)>& work) {
  CProgressWnd progress(host_.Screen());
  if (!progress.Create(this, 3, false)) return;
  work(progress);
  progress.Destroy();
}

void CChildView::SyncAllBlogs() {
  NetworkStep::Run(host_.Screen(), this, strings::kSynchronizing,
                   [this](CProgressWnd& progress) { service::AccountNetwork::SyncAll(user_, &progress); });
}

void CChildView::SyncHome() {
  SyncAllBlogs();
  RefreshView();
}

void CChildView::SyncBlog() {
  const size_t before = blog_->GetShownCount();
  WithProgress([this](CProgressWnd& progress) {
    progress.SetLine(0, QString::fromStdString(platform::LoadString(145)));
    progress.show();
    service::SyncRunner::RunSync(user_, *blog_, &progress);
  });
  ClearSelection(false);
  RebuildCategoryMenu();
  if (blog_->GetShownCount() != before) {
    SetTopRow(0);
    SetItemCount(static_cast<int>(blog_->GetShownCount()));
  }
  update();
}

void CChildView::CheckForUpdates() {
  bool newer = false;
  bool download = false;
  uint32_t code = 0;
  const bool connected = NetworkStep::Run(host_.Screen(), this, strings::kCheckingVersion, [&](CProgressWnd& progress) {
    // The check needs a database only for its preference hooks.
    model::CWinBlogStorage scratch;
    model::CWinBlogStorage& blog = blog_ ? *blog_ : scratch;
    download = service::BlogNetwork::CheckForUpdates(blog, &progress, newer, code);
  });
  if (download) {
    host_.OnCommand(c::kExit);
  } else if (connected && code == 0 && !newer) {
    MessageBox::Show(platform::LoadString(strings::kLatestVersion), MessageBox::Icon::Information);
  }
}

void CChildView::PurgePhoto() {
  model::CWinBlogEntry* entry = viewer_->Entry();
  if (!entry) return;
  if (MessageBox::Ask(platform::LoadString(strings::kPurgePhotoQuestion), true) != MessageBox::kYes) return;
  entry->DeletePhoto();
  blog_->Save();
  viewer_->Redisplay();
}

uint32_t CChildView::SendRefusal() const {
  if (!blog_) return 0;
  if (ViewerOpen()) return viewer_->Entry() && !viewer_->Entry()->HasId() ? strings::kSyncBeforeSend : 0;
  return IsLocalCategoryId(blog_->GetCategoryFilter()) ? strings::kSyncBeforeSend : 0;
}

uint32_t CChildView::PostRefusal() const {
  if (!blog_) return 0;
  if (user_.RemoteBlogs().empty()) return strings::kNoRemoteBlogs;
  return SendRefusal();
}

bool CChildView::CanAct(uint32_t command) const {
  const bool viewer = ViewerOpen();
  switch (command) {
    case c::kOk:
    case c::kCloseViewer:
    case c::kSyncHome:
    case c::kAccountInfo:
    case c::kCheckForUpdates: return true;
    // With a login these open screens the program does not have yet.
    case c::kSubscribe:
    case c::kCreateBlog: return !HasLogin();
    case c::kHome: return blog_ && !viewer;
    case c::kSyncBlog:
    case c::kShowAll:
    case c::kShowPending:
    case c::kShowPublished:
    case c::kShowPublishedByMe:
    case c::kCategoryAll:
    case c::kCategoryUnfiled: return blog_ != nullptr;
    case c::kPreviousEntry:
    case c::kNextEntry:
    case c::kPurgePhoto: return viewer;
    // Their screens are not part of the program yet: only the refusals act.
    case c::kSendEmail: return SendRefusal() != 0;
    case c::kPostRemote: return PostRefusal() != 0;
    case c::kViewComments: return viewer && viewer_->Entry() && !viewer_->Entry()->HasId();
    default: break;
  }
  if (command >= c::kCategoryFirst && command <= c::kCategoryLast) {
    return blog_ && command - c::kCategoryFirst < blog_->GetCategoryCount();
  }
  return false;
}

bool CChildView::OnCommand(uint32_t command) {
  if (!CanAct(command)) return false;
  switch (command) {
    case c::kOk:
      if (ViewerOpen()) {
        CloseViewer();
      } else if (blog_) {
        GoHome();
      }
      return true;
    case c::kCloseViewer: CloseViewer(); return true;
    case c::kHome: GoHome(); return true;
    case c::kSyncHome: SyncHome(); return true;
    case c::kSubscribe:
    case c::kCreateBlog:
      if (welcomeFlow_ && welcomeFlow_(false)) RefreshView();
      return true;
    case c::kAccountInfo: {
      CAccountInfoDlg dialog(host_.Screen(), this, user_);
      dialog.DoModal();
      return true;
    }
    case c::kCheckForUpdates: CheckForUpdates(); return true;
    case c::kSyncBlog: SyncBlog(); return true;
    case c::kShowAll: SetShowFilter(model::kShowAll); return true;
    case c::kShowPending: SetShowFilter(model::kShowPending); return true;
    case c::kShowPublished: SetShowFilter(model::kShowPublished); return true;
    case c::kShowPublishedByMe: SetShowFilter(model::kShowPublishedByMe); return true;
    case c::kCategoryAll: SetCategoryFilter(model::kAllCategories, 0); return true;
    case c::kCategoryUnfiled:
      SetCategoryFilter(0, static_cast<int>(std::min<size_t>(blog_->GetCategoryCount(), kMaxMenuCategories)) + 1);
      return true;
    case c::kPreviousEntry: MoveInViewer(-1); return true;
    case c::kNextEntry: MoveInViewer(1); return true;
    case c::kPurgePhoto: PurgePhoto(); return true;
    case c::kSendEmail:
      MessageBox::Show(platform::LoadString(SendRefusal()), MessageBox::Icon::Exclamation);
      return true;
    case c::kPostRemote:
      MessageBox::Show(platform::LoadString(PostRefusal()), MessageBox::Icon::Exclamation);
      return true;
    case c::kViewComments:
      MessageBox::Show(platform::LoadString(strings::kSyncBeforeComment), MessageBox::Icon::Exclamation);
      return true;
    default: break;
  }
  const uint32_t k = command - c::kCategoryFirst;
  SetCategoryFilter(blog_->GetCategoryAt(k)->GetId(), static_cast<int>(k) + 1);
  return true;
}

}  // namespace ui
