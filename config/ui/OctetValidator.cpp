// SPDX-License-Identifier: MIT
#include "config/ui/OctetValidator.h"

#include "config/NetworkFrame.h"

namespace config {

QValidator::State OctetValidator::validate(QString& input, int& pos) const {
    const QString kept = NetworkFrame::filterBoxText(input);
    if (kept.size() != input.size()) {
        // The caret stays after the last character that was kept before it.
        pos = int(NetworkFrame::filterBoxText(input.left(pos)).size());
        input = kept;
    }
    return Acceptable;
}

} // namespace config
