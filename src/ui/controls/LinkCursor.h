#pragma once

#include <QCursor>

// The pointing hand of the page buttons (cursor 363), built from its embedded masks.
// Above ratio 1 the hand is the picture with twice the pixels, shown at the same size.
QCursor LinkCursor(qreal ratio = 1);
