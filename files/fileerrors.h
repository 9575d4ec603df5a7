#pragma once
// Why a file could not be read or written, in words a user can act on. The file boxes show the
// cause as a second paragraph under their catalogue text.

#include <QString>

// The German cause for an errno value from a file operation; a plain fallback naming the error
// for values without a text of their own; empty for 0 (no cause known).
QString FileErrorCause(int error);

// text, followed by an empty line and the cause when there is one.
QString WithCause(const QString& text, const QString& cause);
