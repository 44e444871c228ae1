#include "editing/ContextMenu.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QScreen>
#include <algorithm>

#include "app/MainWindow.h"
#include "dialogs/AboutBox.h"
#include "dialogs/Configuration.h"
#include "editing/Properties.h"
#include "widgets/ImageButton.h"

namespace {

// The dialog opens at the button's corner, moved up or left only as far as it
// takes to show it whole, so that OK and Cancel are never off the screen.
QPoint PlaceOnScreen(QPoint topLeft, QSize size) {
  const QScreen* screen = QGuiApplication::screenAt(topLeft);
  if (screen == nullptr) screen = QGuiApplication::primaryScreen();
  if (screen == nullptr) return topLeft;
  const QRect available = screen->availableGeometry();
  const int left =
      std::max(available.left(), std::min(topLeft.x(), available.right() + 1 - size.width()));
  const int top =
      std::max(available.top(), std::min(topLeft.y(), available.bottom() + 1 - size.height()));
  return {left, top};
}

}  // namespace

TContextMenu::TContextMenu(TfmMain& fmMain)
    : QObject(&fmMain), fmMain_(fmMain), PopupMenu_(new QMenu(&fmMain)) {
  setObjectName("ContextMenu");
  PopupMenu_->setObjectName("PopupMenu");

  actButtonCut_ =
      WindowAction("actButtonCut", tr("Button Cut"), QKeySequence(Qt::CTRL | Qt::Key_X));
  actButtonCopy_ =
      WindowAction("actButtonCopy", tr("Button Copy"), QKeySequence(Qt::CTRL | Qt::Key_C));
  actButtonPaste_ =
      WindowAction("actButtonPaste", tr("Button Paste"), QKeySequence(Qt::CTRL | Qt::Key_V));
  actButtonProperties_ = WindowAction("actButtonProperties", tr("Button Properties"), {});
  // The keyboard's menu request, Shift+F10 or the Menu key, on the focused grid
  // button; the window system turns neither into a request on every platform.
  QAction* menuKey = WindowAction("actContextMenuKey", tr("Button Menu"), {});
  menuKey->setShortcuts({QKeySequence(Qt::SHIFT | Qt::Key_F10), QKeySequence(Qt::Key_Menu)});
  connect(menuKey, &QAction::triggered, this, &TContextMenu::KeyboardContextPopup);
  connect(actButtonCut_, &QAction::triggered, this,
          [this] { RunCommand(TEditCommand::CutButton); });
  connect(actButtonCopy_, &QAction::triggered, this,
          [this] { RunCommand(TEditCommand::CopyButton); });
  connect(actButtonPaste_, &QAction::triggered, this,
          [this] { RunCommand(TEditCommand::PasteButton); });
  connect(actButtonProperties_, &QAction::triggered, this,
          &TContextMenu::actButtonPropertiesExecute);
  // The reply view changes nothing, so a locked panel offers it too.
  actReplies_ = WindowAction("actReplies", tr("Replies"), QKeySequence(Qt::CTRL | Qt::Key_R));
  connect(actReplies_, &QAction::triggered, this, &TContextMenu::actRepliesExecute);
  UpdateButtonPaste();

  MnPuButton_ = MenuItem(PopupMenu_, "MnPuButton", tr("Button"));
  MnPuButton_->setEnabled(false);
  QAction* buttonProperties = MenuItem(PopupMenu_, "ButtonProperties1", tr("Button Properties"));
  connect(buttonProperties, &QAction::triggered, actButtonProperties_, &QAction::trigger);
  PopupMenu_->addSeparator()->setObjectName("N3");

  QMenu* buttonMenu = PopupMenu_->addMenu(tr("Button"));
  buttonMenu->menuAction()->setObjectName("mnButton");
  // The items show the shortcuts that the window's actions carry.
  struct TButtonItem {
    const char* name;
    QString caption;
    QAction* action;
  };
  for (const TButtonItem& item :
       {TButtonItem{"ButtonCut1", tr("Cut\tCtrl+X"), actButtonCut_},
        TButtonItem{"ButtonCopy1", tr("Copy\tCtrl+C"), actButtonCopy_},
        TButtonItem{"ButtonPaste1", tr("Paste\tCtrl+V"), actButtonPaste_}}) {
    QAction* menuItem = MenuItem(buttonMenu, item.name, item.caption);
    menuItem->setEnabled(item.action->isEnabled());
    connect(item.action, &QAction::enabledChanged, menuItem, &QAction::setEnabled);
    connect(menuItem, &QAction::triggered, item.action, &QAction::trigger);
  }

  QMenu* dataMenu = PopupMenu_->addMenu(tr("Data"));
  dataMenu->menuAction()->setObjectName("Data1");
  MnCutData_ = MenuItem(dataMenu, "MnCutData", tr("Cut"));
  MnCopyData_ = MenuItem(dataMenu, "MnCopyData", tr("Copy"));
  MnPasteData_ = MenuItem(dataMenu, "MnPasteData", tr("Paste"));
  QMenu* captionMenu = PopupMenu_->addMenu(tr("Caption"));
  captionMenu->menuAction()->setObjectName("Caption1");
  MnCutCaption_ = MenuItem(captionMenu, "MnCutCaption", tr("Cut"));
  MnCopyCaption_ = MenuItem(captionMenu, "MnCopyCaption", tr("Copy"));
  MnPasteCaption_ = MenuItem(captionMenu, "MnPasteCaption", tr("Paste"));
  struct TCommandItem {
    QAction* item;
    TEditCommand command;
  };
  for (const TCommandItem& entry : {TCommandItem{MnCutData_, TEditCommand::CutData},
                                    TCommandItem{MnCopyData_, TEditCommand::CopyData},
                                    TCommandItem{MnPasteData_, TEditCommand::PasteData},
                                    TCommandItem{MnCutCaption_, TEditCommand::CutCaption},
                                    TCommandItem{MnCopyCaption_, TEditCommand::CopyCaption},
                                    TCommandItem{MnPasteCaption_, TEditCommand::PasteCaption}}) {
    const TEditCommand command = entry.command;
    connect(entry.item, &QAction::triggered, this, [this, command] { RunCommand(command); });
  }

  PopupMenu_->addSeparator()->setObjectName("N1");
  QAction* mnConfiguration = MenuItem(PopupMenu_, "mnConfiguration", tr("Configuration..."));
  connect(mnConfiguration, &QAction::triggered, this, &TContextMenu::mnConfigurationClick);
  mnReplies_ = MenuItem(PopupMenu_, "mnReplies", tr("Replies...\tCtrl+R"));
  connect(mnReplies_, &QAction::triggered, actReplies_, &QAction::trigger);
  mnAbout_ = MenuItem(PopupMenu_, "mnAbout", tr("About..."));
  connect(mnAbout_, &QAction::triggered, this, &TContextMenu::mnAboutClick);

  connect(PopupMenu_, &QMenu::aboutToShow, this, &TContextMenu::PopupMenuPopup);
}

QAction* TContextMenu::MenuItem(QMenu* menu, const QString& name, const QString& caption) {
  QAction* item = menu->addAction(caption);
  item->setObjectName(name);
  return item;
}

QAction* TContextMenu::WindowAction(const QString& name, const QString& caption,
                                    const QKeySequence& shortcut) {
  auto* action = new QAction(caption, &fmMain_);
  action->setObjectName(name);
  action->setShortcut(shortcut);
  action->setShortcutContext(Qt::WindowShortcut);
  fmMain_.addAction(action);
  return action;
}

void TContextMenu::BtTxContextPopup(const TImageButton* sender) {
  fmMain_.State().CurrentButton = static_cast<uint8_t>(sender->Tag());
  menuPosition_ = sender->mapToGlobal(QPoint(0, 0));
  PopupMenu_->popup(menuPosition_);
}

void TContextMenu::KeyboardContextPopup() {
  auto* button = qobject_cast<const TImageButton*>(QApplication::focusWidget());
  if (button != nullptr && button->parentWidget() == &fmMain_) BtTxContextPopup(button);
}

void TContextMenu::PopupMenuPopup() {
  const TPopupMenuState menu = PreparePopupMenu(fmMain_.Commands(), fmMain_.State().CurrentButton,
                                                fmMain_.State().AllowEditing);
  if (!menu.ShowEditItems) {
    for (QAction* item : PopupMenu_->actions()) {
      if (item != mnAbout_ && item != mnReplies_) item->setVisible(false);
    }
  }
  MnPuButton_->setText(QString::fromStdString(menu.Title));
  actButtonPaste_->setEnabled(menu.ButtonPaste);
  MnCutCaption_->setEnabled(menu.CaptionCutCopy);
  MnCopyCaption_->setEnabled(menu.CaptionCutCopy);
  MnCutData_->setEnabled(menu.DataCutCopy);
  MnCopyData_->setEnabled(menu.DataCutCopy);
  MnPasteCaption_->setEnabled(menu.CaptionPaste);
  MnPasteData_->setEnabled(menu.DataPaste);
}

void TContextMenu::RunCommand(TEditCommand command) {
  const bool refresh = RunEditCommand(fmMain_.Commands(), fmMain_.State().CurrentButton, command);
  UpdateButtonPaste();
  if (refresh) fmMain_.RefreshGrid();
}

void TContextMenu::UpdateButtonPaste() {
  // Ctrl+V is offered exactly while the button clipboard holds a button.
  actButtonPaste_->setEnabled(!fmMain_.Commands().ClipboardEmpty());
}

void TContextMenu::actButtonPropertiesExecute() {
  TfmProperties* properties = fmMain_.fmProperties();
  const int edited = fmMain_.State().CurrentButton;
  if (properties == nullptr || edited == 0 || edited > fmMain_.Commands().Count()) return;
  properties->LoadRecord(fmMain_.Commands().Get(edited - 1), edited, fmMain_.ImageList(),
                         fmMain_.State().TextIsUtf8);
  properties->adjustSize();
  // The window manager frames the dialog as it frames the main window.
  const QSize frame = fmMain_.frameGeometry().size() - fmMain_.size();
  properties->move(PlaceOnScreen(menuPosition_, properties->size() + frame));
  if (properties->exec() != QDialog::Accepted) return;
  if (edited > fmMain_.Commands().Count()) return;
  fmMain_.Commands().Get(edited - 1).Assign(properties->WorkingRecord());
  fmMain_.RefreshGrid();
}

void TContextMenu::mnConfigurationClick() {
  if (TfmConfiguration* configuration = fmMain_.fmConfiguration()) configuration->exec();
}

void TContextMenu::mnAboutClick() {
  if (TAboutBox* aboutBox = fmMain_.AboutBox()) aboutBox->exec();
}

void TContextMenu::actRepliesExecute() { fmMain_.ShowReplies(); }
