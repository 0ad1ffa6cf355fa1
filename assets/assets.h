#pragma once
// The pictures the programs show, compiled into the static library `assets`.
//
// Resource paths (prefix "/"):
//   :/corvix/state1.png   monitoring off ("deaktiviert"): grey globe, red mark
//   :/corvix/state2.png   monitoring on ("aktiviert"): blue globe, green tick
//   :/corvix/corvix.png   the program's own icon: blue globe with a small house
//   :/common/logo.png     the maker's logo (128 x 128, shown at 64 x 64 logical pixels)
//   :/common/badge.png    the maker badge (668 x 261)
// The three icons are 256 px; beside each lie drawings for 16, 22, 32 and 48 px named with the
// size as a suffix (":/corvix/state1-16.png" ...), which multiSizeIcon() collects.

#include <QIcon>
#include <QString>

// Registers the library's resources. Resources in a static library are not registered by
// themselves; call this once at program start (further calls do nothing). multiSizeIcon() and
// the about dialog call it themselves.
void initAssets();

// An icon holding every drawn size of a picture, for example multiSizeIcon(":/corvix/state1").
QIcon multiSizeIcon(const QString &resourceBase);
