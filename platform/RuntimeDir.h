// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

// The per-user runtime folder shared by the program and the device simulator.
namespace platform {

// Qt's runtime location: $XDG_RUNTIME_DIR, or a folder under the temporary directory, created
// with mode 0700; Qt refuses, with a warning, one that another user owns, others may write to, or
// that is a symbolic link. Then a private folder in the user's cache is used instead, made and
// checked the same way. Empty when neither can be had. On Windows: the user's local application
// data folder's expander-config/runtime.
QString runtimeDir();

} // namespace platform
