#pragma once
// The one way a window turns a failed step into the system's message.
#include <QString>
#include <exception>
#include <new>

#include "frmMain.h"
#include "shell/errors.h"

// Runs work(); whatever it throws is said through show (running out of
// memory in its own words) and the step reports false.
template <typename Show, typename Work>
bool reportFailureTo(Show&& show, Work&& work) {
  try {
    work();
    return true;
  } catch (const std::bad_alloc&) {
    show(QString::fromStdString(tavrin::errorMessage(tavrin::kErrOutOfMemory)));
  } catch (const std::exception& e) {
    show(QString::fromUtf8(e.what()));
  }
  return false;
}

template <typename Work>
bool reportFailure(frmMain& main, Work&& work) {
  return reportFailureTo([&main](const QString& text) { main.showMessage(text); }, work);
}
