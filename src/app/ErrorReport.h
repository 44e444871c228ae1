// The general error report: an error that ends a user action is shown in a
// message box with the error's text, and the program goes on running with what
// the action had already changed. User-interface thread only.
#pragma once

#include <exception>

class QWidget;

// Modal; returns when the user has dismissed the box.
void ShowErrorReport(QWidget* parent, const std::exception& error);
