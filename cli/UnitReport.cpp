// SPDX-License-Identifier: MIT
#include "cli/UnitReport.h"

namespace cli {

std::optional<protocol::NetworkParameters> UnitReport::network() const {
    if (networkWritten)
        return networkWritten;
    if (written && written->network)
        return written->network;
    if (networkRead)
        return networkRead;
    if (read)
        return read->network;
    return std::nullopt;
}

} // namespace cli
