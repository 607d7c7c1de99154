#pragma once

#include <QCursor>

// The pointing hand of the page buttons (cursor 363), built from its embedded masks.
QCursor LinkCursor();
