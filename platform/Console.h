// SPDX-License-Identifier: MIT
#pragma once

// The console a command-line program writes to.
namespace platform {

// Makes the console show the program's UTF-8 output as text: on Windows the console otherwise
// reads every byte in its OEM code page (Chinese comes out as garbage); elsewhere nothing to do.
void useUtf8Console();

} // namespace platform
