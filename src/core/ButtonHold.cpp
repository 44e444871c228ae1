#include "core/ButtonHold.h"

bool HoldsWhilePressed(const TCommand& record) {
  return !record.PressData.empty() || record.RepeatInterval > 0;
}

const std::string& DownText(const TCommand& record) {
  return record.PressData.empty() ? record.Data : record.PressData;
}

const std::string* UpText(const TCommand& record) {
  return record.PressData.empty() ? nullptr : &record.Data;
}
