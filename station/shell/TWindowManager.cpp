#include "TWindowManager.h"

#include <QDataStream>
#include <QIODevice>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScrollBar>
#include <QStyle>
#include <QToolButton>
#include <algorithm>

#include "DocumentPlacement.h"
#include "TMDIChildForm.h"
#include "TStationSettings.h"
#include "TTarvixPlusModel.h"
#include "TToolWindow.h"
#include "TWindowFactory.h"

namespace {

QMdiArea& NewArea(QMainWindow& owner) {
  auto* mdi = new QMdiArea(&owner);
  mdi->setObjectName(QStringLiteral("MDIArea"));
  mdi->setAccessibleName(QStringLiteral("Dokumentfenster"));
  mdi->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  mdi->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  owner.setCentralWidget(mdi);
  return *mdi;
}

}  // namespace

TWindowManager::TWindowManager(QMainWindow& owner, std::function<TTarvixPlusModel*()> project,
                               std::function<void()> changed)
    : QObject(&owner), owner_(owner), mdi_(NewArea(owner)), project_(std::move(project)), changed_(std::move(changed)) {
  connect(&mdi_, &QMdiArea::subWindowActivated, this, [this] { changed_(); });
}

void TWindowManager::CloseAll() {
  for (TToolWindow* tool : ToolWindows()) delete tool;
  for (QMdiSubWindow* sub : mdi_.subWindowList()) disconnect(sub, nullptr, this, nullptr);
  delete &mdi_;
}

void TWindowManager::NameQtParts(QWidget* window) {
  for (QScrollBar* bar : window->findChildren<QScrollBar*>())
    if (bar->accessibleName().isEmpty())
      bar->setAccessibleName(bar->orientation() == Qt::Horizontal ? QStringLiteral("Waagerechte Bildlaufleiste")
                                                                  : QStringLiteral("Senkrechte Bildlaufleiste"));
  for (QToolButton* more : window->findChildren<QToolButton*>(QStringLiteral("qt_toolbar_ext_button")))
    if (more->accessibleName().isEmpty()) more->setAccessibleName(QStringLiteral("Weitere Schaltflächen"));
}

TMDIChildForm* TWindowManager::ActiveDocument() const {
  QMdiSubWindow* sub = mdi_.activeSubWindow();
  if (!sub) sub = mdi_.currentSubWindow();
  return sub ? qobject_cast<TMDIChildForm*>(sub->widget()) : nullptr;
}

std::vector<TMDIChildForm*> TWindowManager::Documents() const {
  std::vector<TMDIChildForm*> docs;
  for (QMdiSubWindow* sub : mdi_.subWindowList())
    if (auto* doc = qobject_cast<TMDIChildForm*>(sub->widget())) docs.push_back(doc);
  return docs;
}

std::vector<TToolWindow*> TWindowManager::ToolWindows() const {
  std::vector<TToolWindow*> tools;
  for (const auto& tool : toolWindows_)
    if (tool) tools.push_back(tool.data());
  return tools;
}

QMdiSubWindow* TWindowManager::AddDocument(TMDIChildForm* form) {
  const int before = static_cast<int>(mdi_.subWindowList().size());
  QMdiSubWindow* sub = mdi_.addSubWindow(form);
  // A new window takes a good part of the document area unless it asks
  // for less, one title bar below and right of the one before, wholly
  // inside the area; the desktop file and the windows' own placements
  // come after (and keep it inside too).
  const QSize area = mdi_.viewport()->size();
  const QSize wanted = form->sizeHint().isValid() ? form->sizeHint() : QSize(400, 300);
  const QSize size(std::max(std::min(area.width() * 3 / 4, 900), std::min(wanted.width() + 16, area.width())),
                   std::max(std::min(area.height() * 3 / 4, 650), std::min(wanted.height() + 32, area.height())));
  const int step = CascadeStep();
  const int room = std::max(1, std::min(area.width() - size.width(), area.height() - size.height()) / step + 1);
  const QPoint offset((before % room) * step, (before % room) * step);
  sub->setGeometry(documentplacement::Inside(QRect(offset, size), QRect(QPoint(), area)));
  sub->setAttribute(Qt::WA_DeleteOnClose);
  sub->setWindowTitle(form->windowTitle());
  sub->setAccessibleName(form->windowTitle());
  sub->setWindowIcon(form->windowIcon());
  connect(form, &QWidget::windowTitleChanged, sub, [sub](const QString& title) {
    sub->setWindowTitle(title);
    sub->setAccessibleName(title);
  });
  connect(sub, &QObject::destroyed, this, [this] { changed_(); });
  NameQtParts(sub);
  return sub;
}

int TWindowManager::CascadeStep() const {
  return std::max(16, owner_.style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &mdi_) + 4);
}

void TWindowManager::Cascade() {
  // Every window keeps a size worth working in (Qt's own cascade shrinks
  // them to their smallest), wholly inside the visible area.
  const QRect area(QPoint(), mdi_.viewport()->size());
  int index = 0;
  for (QMdiSubWindow* sub : mdi_.subWindowList(QMdiArea::StackingOrder)) {
    if (!sub->isVisible() && !sub->isMinimized()) continue;
    sub->showNormal();
    sub->setGeometry(
        documentplacement::Cascaded(index++, area, CascadeStep(), sub->minimumSize().expandedTo(QSize(300, 200))));
    sub->raise();
  }
}

void TWindowManager::Tile(Qt::Orientation stacking) {
  // One window per row, full width (or per column, full height).
  const auto subs = mdi_.subWindowList();
  if (subs.isEmpty()) return;
  const QSize area = mdi_.viewport()->size();
  const int n = static_cast<int>(subs.size());
  for (int i = 0; i < n; ++i) {
    subs[i]->showNormal();
    if (stacking == Qt::Vertical)
      subs[i]->setGeometry(0, i * (area.height() / n), area.width(), area.height() / n);
    else
      subs[i]->setGeometry(i * (area.width() / n), 0, area.width() / n, area.height());
  }
}

QWidget* TWindowManager::FindWindow(const QString& className) const {
  for (TMDIChildForm* doc : Documents())
    if (doc->ClassName() == className) return doc;
  for (TToolWindow* tool : ToolWindows())
    if (QString::fromLatin1(tool->metaObject()->className()) == className) return tool;
  return nullptr;
}

bool TWindowManager::CanShow(TWindowClass window) const {
  const QString name = windowclass::Name(window);
  return TWindowFactory::Has(name) && (project_() || TWindowFactory::KindOf(name) != TWindowFactory::Kind::Document);
}

QWidget* TWindowManager::ShowWindow(const QString& className, bool activate) {
  QWidget* window = FindWindow(className);
  if (!window) {
    if (!TWindowFactory::Has(className)) return nullptr;
    if (TWindowFactory::KindOf(className) == TWindowFactory::Kind::Document) {
      if (!project_()) return nullptr;
      auto* form = qobject_cast<TMDIChildForm*>(TWindowFactory::Create(className, project_(), nullptr));
      if (!form) return nullptr;
      AddDocument(form);
      window = form;
    } else {
      window = CreateToolWindow(className);
      if (!window) return nullptr;
    }
  }
  if (auto* doc = qobject_cast<TMDIChildForm*>(window)) {
    QMdiSubWindow* sub = doc->SubWindow();
    if (sub) {
      if (sub->isMinimized()) sub->showNormal();
      sub->show();
      if (activate) mdi_.setActiveSubWindow(sub);
    }
    doc->show();
  } else {
    window->show();
    if (activate) window->raise();
  }
  changed_();
  return window;
}

TToolWindow* TWindowManager::CreateToolWindow(const QString& className) {
  auto* tool = qobject_cast<TToolWindow*>(TWindowFactory::Create(className, project_(), &owner_));
  if (!tool) return nullptr;
  // A panel with a stored rectangle is where it was left (restored by the
  // panel, moved back onto the screen); the others line up at the right
  // edge of the document area.
  if (!tool->HasStoredPlacement()) {
    int below = 0;
    for (TToolWindow* other : ToolWindows()) below += other->frameGeometry().height() + 8;
    const QPoint corner = mdi_.mapToGlobal(QPoint(mdi_.width(), 0));
    tool->move(corner.x() - tool->width() - 24, corner.y() + 8 + below);
  }
  toolWindows_.emplace_back(tool);
  NameQtParts(tool);
  return tool;
}

void TWindowManager::CreateSavedPanels() {
  // Panels left open are created now and shown when the splash ends.
  const std::pair<int, TWindowClass> panels[] = {{TStationSettings::kDigitalPortWindow, TWindowClass::DigitalPorts},
                                                 {TStationSettings::kAnalogPortWindow, TWindowClass::AnalogPorts},
                                                 {TStationSettings::kKeyboardLEDWindow, TWindowClass::Keys}};
  for (const auto& [slot, window] : panels) {
    const QString className = windowclass::Name(window);
    if (TStationSettings::Current().windows[static_cast<size_t>(slot)].visible && TWindowFactory::Has(className) &&
        !FindWindow(className))
      CreateToolWindow(className);
  }
}

TMDIChildForm* TWindowManager::CreateDocument(TWindowClass window) {
  const QString className = windowclass::Name(window);
  if (!project_() || !TWindowFactory::Has(className)) return nullptr;
  return qobject_cast<TMDIChildForm*>(TWindowFactory::Create(className, project_(), nullptr));
}

void TWindowManager::OpenCell(int32_t cellId) {
  if (!project_() || !project_()->FindCell(cellId)) return;
  TMDIChildForm* target = nullptr;
  for (TMDIChildForm* doc : Documents())
    if (windowclass::Is(doc->ClassName(), TWindowClass::ProgramCell) && doc->ShownElement() == cellId) target = doc;
  if (!target)
    for (TMDIChildForm* doc : Documents())
      if (windowclass::Is(doc->ClassName(), TWindowClass::ProgramCell)) target = doc;
  if (!target) {
    target = CreateDocument(TWindowClass::ProgramCell);
    if (!target) return;
    AddDocument(target);
  }
  if (target->ShownElement() != cellId) target->ShowElement(cellId);
  if (QMdiSubWindow* sub = target->SubWindow()) {
    if (sub->isMinimized()) sub->showNormal();
    sub->show();
    mdi_.setActiveSubWindow(sub);
  }
  changed_();
}

bool TWindowManager::SynchronizeCell(int32_t cellId) {
  TMDIChildForm* target = nullptr;
  for (TMDIChildForm* doc : Documents())
    if (windowclass::Is(doc->ClassName(), TWindowClass::ProgramCell) && doc->ShownElement() == cellId) target = doc;
  TMDIChildForm* active = ActiveDocument();
  if (!target && active && windowclass::Is(active->ClassName(), TWindowClass::ProgramCell)) target = active;
  if (!target) return false;
  if (target->ShownElement() != cellId) target->ShowElement(cellId);
  if (QMdiSubWindow* sub = target->SubWindow()) sub->raise();
  return true;
}

void TWindowManager::OpenTable(int32_t number) {
  if (!project_() || !TWindowFactory::Has(windowclass::Name(TWindowClass::TableEditor))) return;
  for (TMDIChildForm* doc : Documents())
    if (windowclass::Is(doc->ClassName(), TWindowClass::TableEditor) && doc->ShownElement() == number) {
      mdi_.setActiveSubWindow(doc->SubWindow());
      return;
    }
  TMDIChildForm* form = CreateDocument(TWindowClass::TableEditor);
  if (!form) return;
  form->ShowElement(number);
  QMdiSubWindow* sub = AddDocument(form);
  sub->show();
  mdi_.setActiveSubWindow(sub);
}

void TWindowManager::NewCellEditor(int32_t cellId) {
  TMDIChildForm* form = CreateDocument(TWindowClass::ProgramCell);
  if (!form) return;
  form->ShowElement(cellId);
  QMdiSubWindow* sub = AddDocument(form);
  sub->show();
  mdi_.setActiveSubWindow(sub);
}

void TWindowManager::SetProject(TTarvixPlusModel* project) {
  // Documents closed with their model (ModelDestroyed); they go now rather
  // than later, so a window opened for the next project is a fresh one.
  if (!project)
    for (TMDIChildForm* doc : Documents())
      if (!doc->Model()) delete doc->SubWindow();
  // Panels keep going without a project.
  for (TToolWindow* tool : ToolWindows()) tool->SetModel(project);
}

std::vector<QString> TWindowManager::FollowingWindows() const {
  std::vector<QString> following;
  for (TWindowClass window : {TWindowClass::Terminal, TWindowClass::DataLog})
    if (FindWindow(windowclass::Name(window))) following.push_back(windowclass::Name(window));
  return following;
}

std::vector<TDesktop::Window> TWindowManager::DesktopWindows() {
  // A project without a file is not reopened, so neither are its editors.
  if (project_() && project_()->FileName().isEmpty())
    for (TMDIChildForm* doc : Documents())
      if (windowclass::Is(doc->ClassName(), TWindowClass::ProgramCell) ||
          windowclass::Is(doc->ClassName(), TWindowClass::TableEditor))
        delete doc->SubWindow();
  std::vector<TDesktop::Window> windows;
  // From the last to the first, so reading restores their order.
  for (QMdiSubWindow* sub : mdi_.subWindowList(QMdiArea::StackingOrder)) {
    auto* doc = qobject_cast<TMDIChildForm*>(sub->widget());
    if (!doc) continue;
    const QRect r = sub->isMaximized() || sub->isMinimized() ? sub->normalGeometry() : sub->geometry();
    TDesktop::Window w{doc->ClassName(),
                       r.left(),
                       r.top(),
                       r.width(),
                       r.height(),
                       sub->isMinimized() ? 1 : (sub->isMaximized() ? 2 : 0),
                       {}};
    // The window's own data framed by its length, so a reader can skip a
    // window it does not know.
    QDataStream own(&w.own, QIODevice::WriteOnly);
    own.setVersion(QDataStream::Qt_6_0);
    doc->WriteDesktop(own);
    windows.push_back(std::move(w));
  }
  return windows;
}

void TWindowManager::RestoreWindows(const std::vector<TDesktop::Window>& windows) {
  TTarvixPlusModel* project = project_();
  if (!project) return;
  for (const TDesktop::Window& w : windows) {
    if (!TWindowFactory::Has(w.className) || TWindowFactory::KindOf(w.className) != TWindowFactory::Kind::Document)
      continue;
    auto* form = qobject_cast<TMDIChildForm*>(TWindowFactory::Create(w.className, project, nullptr));
    if (!form) continue;
    QMdiSubWindow* sub = AddDocument(form);
    QDataStream own(w.own);
    own.setVersion(QDataStream::Qt_6_0);
    form->ReadDesktop(own);
    // A placement that would hide the window is replaced by a usable one;
    // a usable one is kept wholly inside the area.
    if (w.width >= 32 && w.height >= 32 && w.width <= 10000 && w.height <= 10000 && w.left > -w.width + 16 &&
        w.top >= -8 && w.left < 10000 && w.top < 10000) {
      sub->setGeometry(
          documentplacement::Inside(QRect(w.left, w.top, w.width, w.height), QRect(QPoint(), mdi_.viewport()->size())));
      sub->setProperty(documentplacement::kPlacedByDesktop, true);
    }
    sub->show();
    if (w.state == 2) sub->showMaximized();
    if (w.state == 1) sub->showMinimized();
  }
}
