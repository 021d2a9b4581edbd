// SPDX-License-Identifier: MIT
#pragma once

#include <QValidator>

// Lets only digits and full stops into an octet box, whether typed or pasted.
namespace config {

class OctetValidator final : public QValidator {
    Q_OBJECT
public:
    using QValidator::QValidator;
    State validate(QString& input, int& pos) const override;
};

} // namespace config
