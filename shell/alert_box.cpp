#include "shell/alert_box.h"

#include "platform/message_box.h"

namespace {

platform::MessageBoxIcon BoxIcon(AlertIcon icon) {
  switch (icon) {
    case AlertIcon::Information: return platform::MessageBoxIcon::Information;
    case AlertIcon::Warning: return platform::MessageBoxIcon::Warning;
    case AlertIcon::Error: return platform::MessageBoxIcon::Error;
  }
  return platform::MessageBoxIcon::Error;
}

}  // namespace

void ShowAlertBox(const Alert& alert) {
  platform::ShowMessageBox(alert.caption.c_str(), alert.text.c_str(), BoxIcon(alert.icon));
}
