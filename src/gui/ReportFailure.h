#pragma once
// The one way a window turns a failed step into the system's message.
#include <QString>
#include <exception>
#include <new>
#include <stdexcept>

#include "frmMain.h"
#include "shell/errors.h"
#include "shell/session.h"

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

// The same for reading a report or data file, where a TavrinError is the
// read's own failure: the session says so until the next load (readFailed).
template <typename Work>
bool reportReadFailure(frmMain& main, Work&& work) {
  return reportFailure(main, [&] {
    try {
      work();
    } catch (const tavrin::TavrinError& e) {
      throw std::runtime_error(tavrin::readFailed(main.session(), e));
    }
  });
}
