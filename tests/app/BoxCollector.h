// Records and dismisses the modal message boxes of a window test, so that a
// handler's box never blocks it. Test thread only.
#pragma once

#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <vector>

struct TBoxSeen {
  QString title;
  QString text;
  QMessageBox::Icon icon;
  QPoint topLeft;
  QString cause;  // the detailed text
};

// Dismisses every modal message box while it lives, noting what it showed.
class TBoxCollector {
 public:
  TBoxCollector() {
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (box == nullptr || !box->isVisible()) return;
      boxes_.push_back({box->windowTitle(), box->text(), box->icon(),
                        box->frameGeometry().topLeft(), box->detailedText()});
      box->done(QMessageBox::Ok);
    });
    timer_.start(5);
  }
  const std::vector<TBoxSeen>& Boxes() const { return boxes_; }
  void Clear() { boxes_.clear(); }
  // For a test that answers a box itself.
  void Pause() { timer_.stop(); }

 private:
  QTimer timer_;
  std::vector<TBoxSeen> boxes_;
};
