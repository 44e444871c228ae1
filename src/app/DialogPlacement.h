// Keeps every dialog and message box of the panel wholly on the screen that
// holds most of the window it belongs to: the main window, or the reply view
// for that view's own. A box keeps the place it was given (centred on its
// window, or at a grid button) and is moved only as far as it takes to lie on
// that screen; its frame, not its client area, is what stands there, which
// under a window manager is known only once the box is framed, so the place is
// corrected then. User-interface thread only.
#pragma once

#include <QHash>
#include <QObject>
#include <QPoint>
#include <QPointer>

class QWidget;
class QWindow;

class TDialogPlacement : public QObject {
 public:
  // Watches the application's windows for as long as it lives.
  explicit TDialogPlacement(QWidget& mainWindow);
  ~TDialogPlacement() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // The panel's dialog that window shows, or nullptr.
  QWidget* DialogOf(const QWindow* window) const;
  // The window of the panel a dialog belongs to, or nullptr for another's.
  const QWidget* OwnerOf(const QWidget& dialog) const;
  void PlaceBeforeMapping(QWidget& dialog);
  void CorrectOnceFramed(QWindow& window, QWidget& dialog);

  QWidget& mainWindow_;
  // Where the frame of a shown dialog must stand until its window manager has
  // framed it there.
  QHash<const QWindow*, QPoint> placing_;
};
