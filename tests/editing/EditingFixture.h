// A shown panel with its three dialogs, as start-up makes them, from a settings
// file in a folder of its own; shared by the editing tests.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "app/MainWindow.h"
#include "dialogs/AboutBox.h"
#include "dialogs/Configuration.h"
#include "editing/ContextMenu.h"
#include "editing/Properties.h"
#include "widgets/ImageButton.h"

class EditingTest : public testing::Test {
 protected:
  static constexpr int kDeadlineMs = 10000;

  void TearDown() override {
    if (panel_) Menu()->hide();
  }

  void ShowPanel(const std::string& settings = {}) {
    const auto file = std::filesystem::path(folder_.path().toStdString()) / "tovrana.ini";
    std::ofstream(file, std::ios::binary) << settings;
    panel_ = std::make_unique<TfmMain>(file);
    panel_->SetDialogs(new TAboutBox(panel_.get()), new TfmProperties(panel_.get()),
                       new TfmConfiguration(panel_.get()));
    panel_->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(panel_.get(), kDeadlineMs));
    panel_->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(panel_.get(), kDeadlineMs));
  }

  TImageButton* Button(int number) const {
    return panel_->findChild<TImageButton*>(QStringLiteral("BtTx%1").arg(number),
                                            Qt::FindDirectChildrenOnly);
  }
  TCommand& Record(int number) const { return panel_->Commands().Get(number - 1); }
  QMenu* Menu() const { return panel_->ContextMenu().PopupMenu(); }
  QAction* Item(const char* name) const { return Menu()->findChild<QAction*>(name); }

  // A right-click away from the button's corner, through the window as the
  // window system delivers it: the button takes the focus, then the menu opens.
  void RightClick(int number) const {
    TImageButton* button = Button(number);
    const QPoint inside(button->width() / 2, button->height() / 2);
    QTest::mouseClick(panel_->windowHandle(), Qt::RightButton, Qt::NoModifier,
                      button->mapTo(panel_.get(), inside));
    ASSERT_TRUE(QTest::qWaitFor([this] { return Menu()->isVisible(); }, kDeadlineMs));
  }

  // Opens the menu on a button and runs one of its items.
  void RunItem(int number, const char* name) const {
    RightClick(number);
    QAction* item = Item(name);
    ASSERT_NE(item, nullptr) << name;
    ASSERT_TRUE(item->isEnabled()) << name;
    Menu()->hide();
    item->trigger();
  }

  void PressOn(int number, int key) const {
    Button(number)->setFocus();
    ASSERT_TRUE(QTest::qWaitFor([&] { return Button(number)->hasFocus(); }, kDeadlineMs));
    QTest::keyClick(Button(number), static_cast<Qt::Key>(key), Qt::ControlModifier);
  }

  QTemporaryDir folder_;
  std::unique_ptr<TfmMain> panel_;
};
