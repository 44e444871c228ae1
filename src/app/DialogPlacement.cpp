#include "app/DialogPlacement.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>
#include <QWindow>

#include "app/WindowManager.h"
#include "app/WindowPlacement.h"

TDialogPlacement::TDialogPlacement(QWidget& mainWindow) : mainWindow_(mainWindow) {
  qApp->installEventFilter(this);
}

TDialogPlacement::~TDialogPlacement() { qApp->removeEventFilter(this); }

QWidget* TDialogPlacement::DialogOf(const QWindow* window) const {
  if (window == nullptr) return nullptr;
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (widget->windowHandle() != window) continue;
    const Qt::WindowType type = widget->windowType();
    const bool dialog = type == Qt::Dialog || type == Qt::Sheet || type == Qt::Tool;
    return dialog && OwnerOf(*widget) != nullptr ? widget : nullptr;
  }
  return nullptr;
}

const QWidget* TDialogPlacement::OwnerOf(const QWidget& dialog) const {
  // The main window's own dialogs, and those of its windows (the reply view's
  // file dialog and boxes).
  const QWidget* owner = dialog.parentWidget() != nullptr ? dialog.parentWidget()->window() : nullptr;
  for (const QWidget* window = owner; window != nullptr;
       window = window->parentWidget() != nullptr ? window->parentWidget()->window() : nullptr) {
    if (window == &mainWindow_) return owner;
  }
  return nullptr;
}

bool TDialogPlacement::eventFilter(QObject* watched, QEvent* event) {
  // A window's own show comes after its widget has taken its final size and
  // just before it is mapped; its first exposure comes once it is framed.
  const QEvent::Type type = event->type();
  if (type != QEvent::Show && type != QEvent::Expose && type != QEvent::Hide) return false;
  auto* window = qobject_cast<QWindow*>(watched);
  if (window == nullptr) return false;
  if (type == QEvent::Hide) {
    placing_.remove(window);
    return false;
  }
  QWidget* dialog = DialogOf(window);
  if (dialog == nullptr) return false;
  if (type == QEvent::Show) {
    PlaceBeforeMapping(*dialog);
  } else if (placing_.contains(window) && window->isExposed()) {
    CorrectOnceFramed(*window, *dialog);
  }
  return false;
}

void TDialogPlacement::PlaceBeforeMapping(QWidget& dialog) {
  // The dialog is framed as the main window is; before it is mapped its
  // position is its frame's. It goes on the screen of the window it belongs to.
  const QSize frame = dialog.size() + (mainWindow_.frameGeometry().size() - mainWindow_.size());
  const QRect placed = FitOnScreen(QRect(dialog.pos(), frame), MainWindowScreen(*OwnerOf(dialog)));
  if (placed.size() != frame) dialog.resize(dialog.size() - (frame - placed.size()));
  dialog.move(placed.topLeft());
  // Shown again later, a reused dialog is centred on the panel afresh.
  dialog.setAttribute(Qt::WA_Moved, false);
  placing_.insert(dialog.windowHandle(), placed.topLeft());
}

void TDialogPlacement::CorrectOnceFramed(QWindow& window, QWidget& dialog) {
  const std::optional<QMargins> extents = WindowManagerFrameExtents(dialog);
  if (!extents) return;
  const QPoint wanted = placing_.take(&window);
  // Window managers differ in whether a requested position is the frame's or
  // the client's: the client is put where the frame's extents say it belongs.
  const QPoint client = wanted + QPoint(extents->left(), extents->top());
  if (dialog.geometry().topLeft() != client) dialog.setGeometry(QRect(client, dialog.size()));
}
