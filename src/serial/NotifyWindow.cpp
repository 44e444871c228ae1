// The process-wide table of notify windows, the stand-in for the one window
// class that every port component's hidden window belongs to.
#include "serial/NotifyWindow.h"

#include <map>
#include <memory>
#include <mutex>
#include <utility>

namespace {

struct TNotifyWindowTable {
  std::mutex lock;
  TNotifyWindow lastHandle = 0;  // guarded by lock
  std::map<TNotifyWindow, std::shared_ptr<const TWindowProcedure>> procedures;  // guarded by lock
};

TNotifyWindowTable& Table() {
  static TNotifyWindowTable table;
  return table;
}

}  // namespace

TNotifyWindow CreateNotifyWindow(TWindowProcedure procedure) {
  TNotifyWindowTable& table = Table();
  std::lock_guard guard(table.lock);
  const TNotifyWindow window = ++table.lastHandle;
  table.procedures.emplace(window, std::make_shared<const TWindowProcedure>(std::move(procedure)));
  return window;
}

void DestroyNotifyWindow(TNotifyWindow window) {
  TNotifyWindowTable& table = Table();
  std::lock_guard guard(table.lock);
  table.procedures.erase(window);
}

bool DeliverToNotifyWindow(TNotifyWindow window, uint32_t message, uintptr_t wParam,
                           intptr_t lParam) {
  std::shared_ptr<const TWindowProcedure> procedure;
  {
    TNotifyWindowTable& table = Table();
    std::lock_guard guard(table.lock);
    const auto found = table.procedures.find(window);
    if (found == table.procedures.end()) return false;
    procedure = found->second;
  }
  // Called without the table's lock: the procedure may destroy its window or
  // create another one.
  (*procedure)(message, wParam, lParam);
  return true;
}
