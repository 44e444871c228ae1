// The main window's button context menu and its action list: the whole-button
// commands with their window-wide shortcuts, the caption and data commands and
// the three dialogs. A child of the main window, which it edits through the
// command list and the grid refresh; the commands themselves are decided in
// core/EditCommands. User-interface thread only.
#pragma once

#include <QObject>
#include <QPoint>

#include "core/EditCommands.h"

class QAction;
class QMenu;
class TImageButton;
class TfmMain;

class TContextMenu : public QObject {
  Q_OBJECT

 public:
  explicit TContextMenu(TfmMain& fmMain);

  // A context-menu request on a grid button, from the mouse or the keyboard:
  // the menu opens at the button's top-left corner, never at the pointer.
  void BtTxContextPopup(const TImageButton* sender);

  QMenu* PopupMenu() const { return PopupMenu_; }
  // The screen position of the current button's top-left corner, stored by the
  // last menu request; the properties dialog opens there.
  QPoint MenuPosition() const { return menuPosition_; }

 private:
  void PopupMenuPopup();
  void RunCommand(TEditCommand command);
  void UpdateButtonPaste();
  void actButtonPropertiesExecute();
  void mnConfigurationClick();
  void mnAboutClick();
  void actRepliesExecute();
  // The keyboard's menu request on the grid button that has the focus.
  void KeyboardContextPopup();
  QAction* MenuItem(QMenu* menu, const QString& name, const QString& caption);
  QAction* WindowAction(const QString& name, const QString& caption, const QKeySequence& shortcut);

  TfmMain& fmMain_;
  QMenu* PopupMenu_;
  QPoint menuPosition_;

  QAction* actButtonCut_;
  QAction* actButtonCopy_;
  QAction* actButtonPaste_;
  QAction* actButtonProperties_;
  QAction* MnPuButton_;
  QAction* MnCutData_;
  QAction* MnCopyData_;
  QAction* MnPasteData_;
  QAction* MnCutCaption_;
  QAction* MnCopyCaption_;
  QAction* MnPasteCaption_;
  QAction* mnAbout_;
  QAction* actReplies_;
  QAction* mnReplies_;
};
