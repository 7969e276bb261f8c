#pragma once
// The one way to reach a window that exists once per main window: made on
// first use as the owner's child, then only hidden, so what it holds persists.
#include <QObject>
#include <QString>
#include <QWidget>
#include <type_traits>

// The owner's window of type W, or nullptr when none was made yet.
template <typename W>
W* existingWindow(QObject& owner) {
  return owner.findChild<W*>(QString(), Qt::FindDirectChildrenOnly);
}

// The owner's window of type W, made now if there is none.
template <typename W, typename Owner>
W& singleWindow(Owner& owner) {
  if (W* w = existingWindow<W>(owner)) return *w;
  if constexpr (std::is_constructible_v<W, Owner&>)
    return *new W(owner);
  else
    return *new W(static_cast<QWidget*>(&owner));
}
