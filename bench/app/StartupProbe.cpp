// Started by the start-up benchmark: runs the panel's normal start-up with the
// settings file it is given, prints the monotonic clock (nanoseconds) when the
// first grid button has been painted, and closes the panel.
#include <QEvent>
#include <QTimer>

#include <ctime>
#include <iostream>

#include "app/Application.h"
#include "app/MainWindow.h"
#include "app/StartUp.h"

namespace {

class TFirstPaint : public QObject {
 public:
  explicit TFirstPaint(TfmMain& panel) : panel_(panel) {}

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint && !seen_ && watched->objectName() == "BtTx1") {
      seen_ = true;
      // Runs once this paint has been flushed to the window.
      QTimer::singleShot(0, &panel_, [this] {
        timespec now{};
        clock_gettime(CLOCK_MONOTONIC, &now);
        std::cout << now.tv_sec * 1000000000LL + now.tv_nsec << std::endl;
        panel_.close();
      });
    }
    return false;
  }

 private:
  TfmMain& panel_;
  bool seen_ = false;
};

}  // namespace

int main(int argc, char* argv[]) {
  if (argc != 2) {
    std::cerr << "usage: tovrana_startup_probe <settings file>\n";
    return 2;
  }
  TApplication application(argc, argv);
  std::unique_ptr<TFirstPaint> firstPaint;
  return RunTovrana(argv[1], [&](TfmMain& panel) {
    firstPaint = std::make_unique<TFirstPaint>(panel);
    application.installEventFilter(firstPaint.get());
  });
}
