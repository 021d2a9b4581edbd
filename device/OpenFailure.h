// SPDX-License-Identifier: MIT
#pragma once

#include "config/Words.h"
#include "platform/SerialControl.h"

// Why a port could not be opened, as one of the program's words: the window says it in Chinese,
// expander-cli in English, from the same table.
namespace device {

config::Word openFailureWord(platform::SerialFault error);

} // namespace device
