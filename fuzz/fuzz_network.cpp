// SPDX-License-Identifier: MIT
// The network write frame and the octet boxes' own rules on arbitrary box texts. Input: 18 lines
// (UTF-16 after a leading FF FE), one per box; the last keeps any further lines. A built frame is
// always whole and carries each box's value; a refusal names the first box that cannot be sent.
#include "config/NetworkFrame.h"
#include "fuzz/FuzzSupport.h"

using namespace config;
namespace frame = protocol::frame;

namespace {

// What a box may send: one to five decimal digits between spaces, of a value up to 65535.
std::optional<int> sendable(const QString& box) {
    const QString field = fuzz::withoutOuterSpaces(box);
    if (field.isEmpty() || field.size() > 5 || !fuzz::isDecimal(field))
        return std::nullopt;
    const int value = field.toInt();
    if (value > 0xFFFF)
        return std::nullopt;
    return value;
}

// The range check on what the key filter lets through, judged as a decimal number.
void checkRange(const QString& kept) {
    const bool exceeds = NetworkFrame::exceedsOctet(kept);
    const qsizetype point = kept.indexOf(QLatin1Char('.'));
    QString whole = point < 0 ? kept : kept.left(point);
    while (whole.size() > 1 && whole.at(0) == QLatin1Char('0'))
        whole.remove(0, 1);
    const bool wholeAbove = whole.size() > 3 || (!whole.isEmpty() && whole.toInt() > 255);
    if (wholeAbove) {
        FUZZ_CHECK(exceeds);
        return;
    }
    if (kept.count(QLatin1Char('.')) > 1)
        return; // "1.2.3" is no number; what the box does with it is its own choice
    const QString fraction = point < 0 ? QString() : kept.mid(point + 1);
    const bool fractionAboveZero = fraction.count(QLatin1Char('0')) != fraction.size();
    FUZZ_CHECK(exceeds == (!whole.isEmpty() && whole.toInt() == 255 && fractionAboveZero));
}

void checkFilter(const QString& box) {
    const QString kept = NetworkFrame::filterBoxText(box);
    qsizetype expected = 0;
    for (QChar c : box)
        expected += fuzz::isDecimalDigit(c) || c == QLatin1Char('.');
    FUZZ_CHECK(kept.size() == expected);
    for (QChar c : kept)
        FUZZ_CHECK(fuzz::isDecimalDigit(c) || c == QLatin1Char('.'));
    FUZZ_CHECK(NetworkFrame::filterBoxText(kept) == kept);
    checkRange(kept);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QStringList lines = fuzz::fields(fuzz::text(data, size), frame::NetworkOctets);
    OctetTexts boxes;
    for (int i = 0; i < frame::NetworkOctets; ++i) {
        boxes[i] = lines.at(i);
        checkFilter(boxes[i]);
        (void)NetworkFrame::exceedsOctet(boxes[i]); // whatever was pasted, it must not fail
    }

    int firstBad = -1;
    for (int i = 0; i < frame::NetworkOctets && firstBad < 0; ++i)
        if (!sendable(boxes[i]))
            firstBad = i;

    const auto result = NetworkFrame::build(boxes);
    if (const BoxFault* fault = result.faultIf()) {
        FUZZ_CHECK(fault->index >= 0 && fault->index < frame::NetworkOctets);
        FUZZ_CHECK(fault->index == firstBad);
        FUZZ_CHECK((fault->fault == protocol::PadFault::Empty) ==
                   fuzz::withoutOuterSpaces(boxes[fault->index]).isEmpty());
        return 0;
    }

    const QString& text = result.value();
    FUZZ_CHECK(firstBad < 0);
    FUZZ_CHECK(text.size() == 2 * frame::NetworkParametersSize);
    FUZZ_CHECK(fuzz::isUpperHex(text));
    FUZZ_CHECK(text.startsWith(QStringLiteral("4014CE")));
    FUZZ_CHECK(text.endsWith(QStringLiteral("23")));
    for (int i = 0; i < frame::NetworkOctets; ++i)
        FUZZ_CHECK(text.mid(6 + 2 * i, 2) == fuzz::hexByte(unsigned(*sendable(boxes[i]))));
    return 0;
}
