#include "core/alert.h"

#include <atomic>

#include "core/log.h"

namespace {

std::atomic<AlertPresenter> gPresenter = nullptr;

LogLevel LevelOf(AlertIcon icon) {
  switch (icon) {
    case AlertIcon::Information: return LogLevel::Info;
    case AlertIcon::Warning: return LogLevel::Warning;
    case AlertIcon::Error: return LogLevel::Error;
  }
  return LogLevel::Error;
}

}  // namespace

void SetAlertPresenter(AlertPresenter presenter) { gPresenter = presenter; }

void RaiseAlert(const char* subsystem, const Alert& alert) {
  std::string text = alert.caption.empty() ? alert.text : alert.caption + ": " + alert.text;
  LogText(LevelOf(alert.icon), subsystem, text);
  if (AlertPresenter presenter = gPresenter) presenter(alert);
}
