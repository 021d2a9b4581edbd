#pragma once

#include <QString>

// The per-user runtime folder shared by the program and the device simulator.
namespace platform {

// $XDG_RUNTIME_DIR when set, otherwise a private folder under the temporary directory.
// Created (mode 0700) if missing.
QString runtimeDir();

} // namespace platform
