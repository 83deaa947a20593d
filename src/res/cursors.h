// The plan view's own cursors: "CIRC", a pick box, and "APROX", a pick box
// with a cross for object snap.
#pragma once

#include <QCursor>

QCursor PickCursor();
QCursor SnapCursor();
