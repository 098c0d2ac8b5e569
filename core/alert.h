#pragma once
// Notices the user must see: the plain message boxes of window creation, XML parsing and sound.
// Code that finds the problem returns it as an Alert; the caller raises it here, where it is
// logged and handed to the presenter that the layer owning the screen installs (the shell shows a
// message box). Without a presenter, as in the tools, the log line on stderr is all there is.

#include <string>

enum class AlertIcon { Information, Warning, Error };

struct Alert {
  std::string caption;
  std::string text;
  AlertIcon icon = AlertIcon::Error;
};

using AlertPresenter = void (*)(const Alert& alert);

// The presenter alerts go to from now on; null for none.
void SetAlertPresenter(AlertPresenter presenter);

// Logs the alert under subsystem (warning or error by its icon, info for information) and presents it.
void RaiseAlert(const char* subsystem, const Alert& alert);
