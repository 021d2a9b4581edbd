// SPDX-License-Identifier: MIT
#include "sim/Options.h"

#include "config/Tables.h"
#include "protocol/Frame.h"

#include <QCommandLineParser>

#include <climits>
#include <cstdio>
#include <cstdlib>

namespace sim {

namespace {

const char kDescription[] =
    R"(Plays the serial-port expander on pseudo-terminals, for the configuration program's
demo and its end-to-end tests. The main port answers the program's requests; each of the
eight extension ports is a pseudo-terminal of its own, out of which the data of forward
frames comes.

Standard output, one line each, flushed as it is written:
  <device path of the main port>
  registered: <registration link that puts the main port into the program's port list>
  port 1: <device path>   ... one line for each port 1 to 8
  ready
With --count N above 1, for each device K from 1 to N:
  device K: <device path of its main port>
  registered K: <its registration link>
  device K port 1: <device path>   ... one line for each port 1 to 8
and then one line: ready
The registration links are removed when the simulator ends, also on SIGINT and SIGTERM.
Device K (from 1) has MAC 00:08:DC:01:02:(03 + K - 1) and IP 192.168.1.(100 + K - 1).

Requests and replies:
  40 02 F1 23               connect          -> 40 02 E1 23
  40 1C CD <26 bytes> 23    set ports        -> 40 02 E2 23 (values stored unchecked)
  40 02 FB 23               port sync        -> 40 1C FB <26 stored bytes> 23
  40 03 ED EE 23            restore          -> 40 02 E4 23 (ports and network to defaults)
  40 02 CA 23               network read     -> 40 14 CA <18 octets> 23
  40 14 CE <18 bytes> 23    network write    -> 40 02 E5 23
  40 L DD <port> <data> 23  forward, port 1-8: the data comes out of that port; no reply
Frames are cut by their length byte; bytes before a 40 are skipped (a long run of them is
logged once, with its length). A malformed frame (end byte not 23, length byte wrong for its
command, unknown command, forward port outside 1-8, restore key not EE) and a frame still
incomplete 200 ms after its last byte get no reply, only a log line saying why.

Main-port speed: with --main-baud B the device understands the main port only while the
program has set it to B baud; bytes that come at another speed get no reply, only a log
line ("... at 9600 baud, listening at 19200: not understood"). The stored main-port baud code
(what a port sync reports) starts as B / 1200. A set-ports frame stores a new code and a
restore stores 08 (9600); either takes effect at the next power cycle, SIGUSR1, which also
drops anything half received and any reply not yet written. Without --main-baud the device
answers at any speed, also after a power cycle.

Pacing: with --pace every byte takes 10 bits of time at the speed the program set. A request
of q bytes is acted on 10 q / B seconds after its first byte arrived (after the previous
request, when they come back to back), and byte i (from 1) of an r-byte reply is written
10 i / B seconds after the reply began, so an exchange takes at least 10 (q + r) / B seconds,
e.g. connect (4 + 4 bytes) 8.3 ms at 9600 baud, 0.69 ms at 115200. What --delay and
--split-gap add comes on top.

Factory defaults, at start and after restore:
  ports 1-8  9600 baud, 8 data bits, no parity, 1 stop bit, RS232 (08 03 02)
  main port  9600 baud (08), output allowed (01)
  network    MAC 00:08:DC:01:02:03, IP 192.168.1.100, mask 255.255.255.0,
             gateway 192.168.1.1

Log on standard error, one line per frame:
  HH:mm:ss.zzz rx <hex> <what it asks, or why it is rejected>
  HH:mm:ss.zzz tx <hex> <what it means>[ fault=<tag>[,<tag>...]]
  HH:mm:ss.zzz -- <anything else>
With --count above 1 every line carries "device K" after the time.
A tx line shows the bytes written, garbage and second copy included; a dropped reply shows
the reply that was withheld. Tags, in the order the faults are applied: delay:MS,
corrupt-end, double, garbage:N, split:MS; a dropped reply has the tag drop alone.
A split reply goes out as its first half (rounded down), then the rest after the gap.)";

void fail(const QString& message) {
    std::fputs((QStringLiteral("expander-sim: ") + message + QLatin1Char('\n')).toLocal8Bit().constData(),
               stderr);
    std::exit(2);
}

// A whole number from `minimum` to `maximum`; 0 when the option is not given.
int number(const QCommandLineParser& parser, const QString& name, int minimum, int maximum = INT_MAX) {
    if (!parser.isSet(name))
        return 0;
    bool ok = false;
    const int value = parser.value(name).toInt(&ok);
    if (!ok || value < minimum || value > maximum)
        fail(maximum == INT_MAX
                 ? QStringLiteral("--%1 needs a whole number of at least %2").arg(name).arg(minimum)
                 : QStringLiteral("--%1 needs a whole number from %2 to %3")
                       .arg(name)
                       .arg(minimum)
                       .arg(maximum));
    return value;
}

} // namespace

Options Options::parse(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QString::fromUtf8(kDescription));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addOptions({
        {QStringLiteral("main-baud"),
         QStringLiteral("Understand the main port only at B baud, one of the main-port list's rates; "
                        "a new stored rate takes effect at a power cycle (SIGUSR1)."),
         QStringLiteral("B")},
        {QStringLiteral("count"),
         QStringLiteral("Run N devices, 1 to %1, each with its own ports, registration, MAC and IP.")
             .arg(MaxCount),
         QStringLiteral("N")},
        {QStringLiteral("pace"),
         QStringLiteral("Take 10 bits of time per byte at the set speed, for requests and replies.")},
        {QStringLiteral("stuck-port"),
         QStringLiteral("Be a faulty device: confirm a set-ports frame but keep port N's old record."),
         QStringLiteral("N")},
        {QStringLiteral("delay"), QStringLiteral("Write every reply MS milliseconds after its request."),
         QStringLiteral("MS")},
        {QStringLiteral("split-gap"),
         QStringLiteral(
             "Write every reply in two writes, MS milliseconds apart, split after its first half."),
         QStringLiteral("MS")},
        {QStringLiteral("drop-every"), QStringLiteral("Do not send the N-th, 2N-th, ... reply."),
         QStringLiteral("N")},
        {QStringLiteral("corrupt-end-every"),
         QStringLiteral("End the N-th, 2N-th, ... reply with 24 instead of 23."), QStringLiteral("N")},
        {QStringLiteral("garbage"),
         QStringLiteral("Write N random bytes, none of them 40, in front of every reply (once in front of "
                        "a doubled one)."),
         QStringLiteral("N")},
        {QStringLiteral("double"), QStringLiteral("Write every reply twice back to back, in one write.")},
        {QStringLiteral("hangup-after"),
         QStringLiteral("After N well-formed requests (forward frames included) and their replies, close "
                        "the ports and exit, removing the registration; with --count, each device "
                        "hangs up after its own N, and the simulator exits after the last."),
         QStringLiteral("N")},
        {QStringLiteral("random-faults"),
         QStringLiteral(
             "Give every reply one of clean, delay, split, drop, corrupt-end, garbage, double, "
             "drawn with equal chances from a generator seeded with SEED (logged at start), on top "
             "of the faults set above. A drawn fault uses its option's value, else delay 150 ms, "
             "split gap 60 ms, 3 garbage bytes. The garbage bytes come from the same generator, "
             "seeded with 1 without this option."),
         QStringLiteral("SEED")},
        {QStringLiteral("quiet"), QStringLiteral("Write no log.")},
    });
    parser.process(arguments);

    Options options;
    options.faults.delayMs = number(parser, QStringLiteral("delay"), 0);
    options.faults.splitGapMs = number(parser, QStringLiteral("split-gap"), 0);
    options.faults.dropEvery = number(parser, QStringLiteral("drop-every"), 1);
    options.faults.corruptEndEvery = number(parser, QStringLiteral("corrupt-end-every"), 1);
    options.faults.garbage = number(parser, QStringLiteral("garbage"), 0);
    options.faults.doubled = parser.isSet(QStringLiteral("double"));
    options.hangupAfter = number(parser, QStringLiteral("hangup-after"), 1);
    options.quiet = parser.isSet(QStringLiteral("quiet"));
    options.pace = parser.isSet(QStringLiteral("pace"));
    options.stuckPort = number(parser, QStringLiteral("stuck-port"), 1, protocol::frame::PortCount);
    if (parser.isSet(QStringLiteral("count")))
        options.count = number(parser, QStringLiteral("count"), 1, MaxCount);
    if (parser.isSet(QStringLiteral("main-baud"))) {
        const auto& rates = config::tables::baudRates();
        if (!rates.codeOfText(parser.value(QStringLiteral("main-baud"))))
            fail(QStringLiteral("--main-baud needs one of ") + rates.texts().join(QStringLiteral(", ")));
        options.mainBaud = parser.value(QStringLiteral("main-baud")).toInt();
    }
    if (parser.isSet(QStringLiteral("random-faults"))) {
        bool ok = false;
        const uint seed = parser.value(QStringLiteral("random-faults")).toUInt(&ok);
        if (!ok)
            fail(QStringLiteral("--random-faults needs a whole number from 0 to 4294967295"));
        options.faults.randomSeed = quint32(seed);
    }
    return options;
}

} // namespace sim
