#include "ui/CChildView.h"

#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QStringList>

#include "model/CWinBlogStorage.h"
#include "model/CWinBlogUser.h"
#include "platform/Preferences.h"
#include "platform/StringTable.h"
#include "platform/TextConversion.h"
#include "ui/BitmapResource.h"
#include "ui/CImageWnd.h"
#include "ui/CommandIds.h"
#include "ui/DisplayScale.h"
#include "ui/JpegPainter.h"
#include "ui/KeyCodes.h"
#include "ui/MenuBuilder.h"
#include "ui/NetworkStep.h"
#include "ui/PhoneScreen.h"
#include "ui/QtText.h"
#include "ui/SoftKeyBar.h"
#include "platform/StringIds.h"
#include "ui/UiTrace.h"
#include "ui/ViewHost.h"

namespace ui {
namespace {

QFont FontFromRecord(const platform::LogFont& record, const QFont& base) {
  QFont font = base;
  if (!record.faceName.empty()) font.setFamily(QString::fromStdU16String(record.faceName));
  if (record.height != 0) font.setPixelSize(std::abs(record.height));
  if (record.weight > 0) font.setWeight(static_cast<QFont::Weight>(std::clamp(record.weight, 100, 900)));
  font.setItalic(record.italic != 0);
  font.setUnderline(record.underline != 0);
  return font;
}

}  // namespace

CChildView::CChildView(QWidget* frame, ViewHost& host, model::CWinBlogUser& user)
    : CGridCtrl(frame), host_(host), user_(user) {
  setObjectName(QStringLiteral("view%1").arg(kChildId));
  setFocusPolicy(Qt::StrongFocus);
}

CChildView::~CChildView() { delete blogBar_; }

bool CChildView::Initialise() {
  user_.LoadUser();
  if (!HasLogin() && welcomeFlow_) welcomeFlow_();
  if (!HasLogin() && user_.Blogs().Count() == 0) user_.CreateSampleBlog();

  viewer_ = new CImageWnd(this, host_.Screen());
  viewer_->setGeometry(rect());
  viewer_->SetOnClosed([this] {
    blogBar_->show();
    UiTrace::Write(QStringLiteral("view"), QStringLiteral("blog ") + Text(blog_->Info().urlName));
  });
  connect(viewer_->Bar(), &SoftKeyBar::CommandChosen, this, [this](uint32_t command) { host_.OnCommand(command); });
  viewer_->Bar()->SetCommandFilter([this](uint32_t command) { return host_.CanAct(command); });

  blogBar_ = new SoftKeyBar(host_.Screen(), 129);
  blogBar_->hide();
  connect(blogBar_, &SoftKeyBar::CommandChosen, this, [this](uint32_t command) { host_.OnCommand(command); });
  blogBar_->SetCommandFilter([this](uint32_t command) { return host_.CanAct(command); });

  BuildFonts();
  stateIcons_.Create(159, 1, 4, 16, 16);
  if (HasLogin() && user_.credentialsChanged) NetworkStep::SyncAll(host_.Screen(), this, user_);
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
    TraceRows();
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

void CChildView::FontChanged() {
  BuildFonts();
  update();
}

platform::LogFont CChildView::RegularFontRecord() const {
  platform::LogFont record;
  if (platform::ReadMainViewFont(record)) return record;
  record.faceName = regular_.family().toStdU16String();
  record.height = -regular_.pixelSize();
  record.weight = regular_.weight() >= QFont::Bold ? 700 : 400;
  record.italic = regular_.italic() ? 1 : 0;
  record.underline = regular_.underline() ? 1 : 0;
  return record;
}

void CChildView::ShowBlog(const model::CWinBlogStorage* blog) {
  for (size_t i = 0; i < user_.Blogs().Count(); ++i) {
    if (user_.Blogs().At(i) == blog) {
      EnterBlog(static_cast<int>(i));
      return;
    }
  }
  RefreshView();
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
  UiTrace::Write(QStringLiteral("view"), QStringLiteral("blog ") + Text(blog_->Info().urlName));
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
  UiTrace::Write(QStringLiteral("view"), QStringLiteral("home"));
  TraceRows();
}

void CChildView::RebuildShowMenu() {
  QMenu* menu = ShowMenu();
  if (!menu || !blog_) return;
  const bool group = blog_->Info().groupType == 1;
  if (group && menu->actions().size() < 4) {
    MenuBuilder::InsertAction(*menu, 3, commands::kShowPublishedByMe, Label(platform::strings::kPublishedByMe));
  } else if (!group && menu->actions().size() > 3) {
    delete MenuBuilder::FindCommand(*menu, commands::kShowPublishedByMe);
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
    MenuBuilder::NewAction(*menu, commands::kCategoryFirst + static_cast<uint32_t>(k), Text(blog_->GetCategoryAt(k)->GetName()));
  }
  MenuBuilder::NewAction(*menu, commands::kCategoryUnfiled, Label(platform::strings::kUnfiled));
  if (!blog_->IsEntryReadOnly(nullptr)) {
    MenuBuilder::NewAction(*menu, commands::kEditCategories, Label(platform::strings::kEditCategoriesEllipsis));
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
  TraceRows();
}

void CChildView::TraceRows() const {
  if (blog_ || !UiTrace::Enabled()) return;
  QStringList rows;
  for (size_t i = 0; i < user_.Blogs().Count(); ++i) rows << Text(user_.Blogs().At(i)->Info().urlName);
  UiTrace::Write(QStringLiteral("rows"), rows.join(QLatin1Char(',')));
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
  // Opening an entry saves its blog when it clears the entry's new mark. After
  // another program's changes the list shown is new: the user chooses again.
  host_.RunLocked([this, index](bool reloaded) {
    if (reloaded) return;
    if (!blog_) {
      EnterBlog(index);
    } else if (index < GetItemCount()) {
      OpenViewerAt(index);
    }
  });
}

std::string CChildView::CurrentBlogName() const { return blog_ ? blog_->Info().urlName : std::string(); }

void CChildView::Reloaded(const std::string& shownBlog) {
  if (ViewerOpen()) {
    viewer_->Close();
    blogBar_->show();
  }
  if (blog_) {
    blog_ = user_.FindBlog(platform::Utf8ToUtf16(shownBlog));
    if (!blog_) {
      GoHome();
      return;
    }
    RebuildShowMenu();
    RebuildCategoryMenu();
  }
  RefreshView();
}

void CChildView::OpenViewerAt(int position) {
  model::CWinBlogEntry* entry = blog_ ? blog_->GetShownEntryAt(static_cast<size_t>(position)) : nullptr;
  if (!entry) return;
  if (ViewerOpen()) {
    viewer_->ShowEntry(*entry);
  } else {
    blogBar_->hide();
    viewer_->setGeometry(rect());
    viewer_->Open(*blog_, *entry);
  }
  UiTrace::Write(QStringLiteral("view"), QStringLiteral("viewer ") + Text(entry->GetTitle()));
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
  if (blog_) UiTrace::Write(QStringLiteral("view"), QStringLiteral("blog ") + Text(blog_->Info().urlName));
}

bool CChildView::OnViewKeyDown(uint32_t key) {
  if (ViewerOpen()) {
    switch (key) {
      case kKeyReturn: CloseViewer(); break;
      case kKeyLeft: MoveInViewer(-1); break;
      case kKeyRight: MoveInViewer(1); break;
      case kKeyUp: viewer_->ScrollUp(); break;
      case kKeyDown: viewer_->ScrollDown(); break;
      case kKeyF6: host_.OnCommand(commands::kCaption); break;
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

uint32_t CChildView::EmptyHint() const {
  if (!blog_) return platform::strings::kHintNoBlogs;
  if (!blog_->Entries().Empty() && blog_->GetShownCount() == 0) return platform::strings::kHintFilterEmpty;
  return blog_->IsEntryReadOnly(nullptr) ? platform::strings::kHintNoEntriesReadOnly : platform::strings::kHintNoEntries;
}

void CChildView::paintEvent(QPaintEvent* event) {
  if (ViewerOpen()) return;
  CGridCtrl::paintEvent(event);
  if (GetItemCount() > 0) return;
  // An empty view says in one line what the user can do.
  QPainter painter(this);
  painter.setFont(regular_);
  painter.setPen(QColor(96, 96, 96));
  const int pad = DisplayScale::Across(8);
  painter.drawText(rect().adjusted(pad, DisplayScale::Down(24), -pad, 0), Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap,
                   Label(EmptyHint()));
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
  QString photos = Label(total == 1 ? platform::strings::kPhotoCountOne : platform::strings::kPhotoCountMany);
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

void CChildView::BlogSynced(size_t shownBefore) {
  if (!blog_) return;
  ClearSelection(false);
  RebuildCategoryMenu();
  if (blog_->GetShownCount() != shownBefore) {
    SetTopRow(0);
    SetItemCount(static_cast<int>(blog_->GetShownCount()));
  }
  update();
}

CommandContext CChildView::Context() {
  CommandContext context{*this, user_, host_.Screen(), this};
  context.blog = blog_;
  context.entry = ViewerOpen() ? viewer_->Entry() : nullptr;
  return context;
}

}  // namespace ui
