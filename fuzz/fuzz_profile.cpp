// SPDX-License-Identifier: MIT
// Arbitrary bytes as a profile file. A file that is accepted holds only list entries: it writes
// back to JSON that reads as the same profile and writes the same bytes again, its codes give the
// port-set frame the panels give, and the codes read back as the same profile. A refused file's
// message names the file and says what is wrong.
#include "config/ProfileFile.h"
#include "fuzz/FuzzSupport.h"
#include "protocol/HexText.h"

using namespace config;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString name = QStringLiteral("fuzz.json");
    const auto read = ProfileFile::parse(fuzz::bytes(data, size), name);
    if (!read) {
        const ProfileFault& error = read.fault();
        FUZZ_CHECK(error.file == name && !error.problem.text(Language::English).isEmpty());
        FUZZ_CHECK(error.message().startsWith(name + QStringLiteral(": ")));
        return 0;
    }
    const Profile& profile = read.value();

    const QByteArray json = ProfileFile::toJson(profile);
    const auto again = ProfileFile::parse(json, name);
    FUZZ_CHECK(again.ok() && again.value() == profile);
    FUZZ_CHECK(ProfileFile::toJson(again.value()) == json);

    const auto codes = profile.toConfiguration();
    FUZZ_CHECK(codes.ok());
    const auto frame = PortSetFrame::build(profile.toPanels());
    FUZZ_CHECK(frame.ok() && protocol::parseHexFrame(frame.value()) == PortSetFrame::encode(codes.value()));
    FUZZ_CHECK(Profile::fromConfiguration(codes.value(), profile.network) == profile);
    return 0;
}
