// SPDX-License-Identifier: MIT
#pragma once

#include "protocol/Reply.h"

#include <QByteArray>
#include <QString>

// Readable words for the simulator's log: field codes turned back into what the program's lists
// show, in plain ASCII so that a log stays greppable.
namespace sim::describe {

// "9600,N,8,1 RS232"; a code that matches no list entry is shown as "?" and its hex value.
QString portRecord(const protocol::PortRecord& record);
// "1=9600,N,8,1 RS232 2=... main=115200 output=allowed"
QString portConfiguration(const protocol::PortConfiguration& configuration);
// "mac=00:08:DC:01:02:03 ip=192.168.1.100 mask=255.255.255.0 gateway=192.168.1.1"
QString network(const protocol::NetworkParameters& network);
// What a reply frame the simulator sends means, e.g. "port set done".
QString reply(const QByteArray& bytes);

} // namespace sim::describe
