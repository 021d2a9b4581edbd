// SPDX-License-Identifier: MIT
#pragma once

#include "cli/NetworkValues.h"
#include "device/Timing.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// What the command line asks for, once parsed and checked.
namespace cli {

struct Invocation {
    enum class Command { Ports, Scan, Read, Write, Restore, NetworkRead, NetworkWrite, Forward };

    Command command = Command::Ports;
    QStringList ports{};   // in the order given
    bool allPorts = false; // every port where a scan finds a device
    QList<qint32> bauds{}; // the main-port bauds to try, in order; empty: all, most likely first
    bool json = false;
    bool trace = false;
    bool verify = false;
    QString profilePath{}; // write
    QString unitsPath{};   // write, network write
    QString resultsPath{};
    NetworkValues network{};     // network write: the values every unit gets unless the units file says
    int forwardPort = 0;         // forward: extension port 1..8
    QByteArray forwardData{};    // forward
    bool noNetwork = false;      // write: the ports and the main port only
    bool dryRun = false;         // print what each unit would get, send nothing
    std::optional<int> expect{}; // scan, --all: the number of units there must be
    QStringList include{};       // scan, --all: only ports matching one of these patterns
    QStringList exclude{};       // scan, --all: no port matching one of these patterns
    QString ledgerPath{};        // the addresses the * row of the units file has handed out
    bool bom = false;            // a new results file starts with a byte-order mark

    device::TimingOverrides timing{}; // --timeout, --retries

    bool operator==(const Invocation&) const = default;
};

} // namespace cli
