// SPDX-License-Identifier: MIT
#include "sim/Describe.h"

#include "config/Describe.h"

// The program's own describer, in English: the simulator's log and the command line's trace use
// the same words.
namespace sim::describe {

namespace {
constexpr config::Language kEnglish = config::Language::English;
} // namespace

QString portRecord(const protocol::PortRecord& record) {
    return config::describe::portRecord(record, kEnglish);
}

QString portConfiguration(const protocol::PortConfiguration& configuration) {
    return config::describe::portConfiguration(configuration, kEnglish);
}

QString network(const protocol::NetworkParameters& network) {
    return config::describe::network(network, kEnglish);
}

QString reply(const QByteArray& bytes) {
    return config::describe::reply(bytes, kEnglish);
}

} // namespace sim::describe
