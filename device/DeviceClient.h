// SPDX-License-Identifier: MIT
#pragma once

#include "device/DeviceFault.h"
#include "device/FrameReader.h"
#include "device/Request.h"
#include "device/Timing.h"
#include "platform/SerialControl.h"
#include "protocol/Reply.h"
#include "protocol/Result.h"

#include <QObject>
#include <QPointer>
#include <QTimer>

#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <variant>

// A request/response session with one device over one serial port: each request waits for the
// reply it draws, with a time-out and bounded retries, and its result comes back as a value.
namespace device {

// Everything runs on the event loop with timers; nothing blocks, so many clients can work side by
// side on one thread. One request is in flight at a time; the others wait in the order they were
// sent. A reply counts the moment its last byte arrives (the length byte says when), wherever it
// starts in what arrived; only a frame that stops short waits out Timing::gapMs before it is called
// malformed. Each attempt ends at its deadline (Timing::answerMs after the write) whatever bytes
// that are no frame keep coming; a reply under way then gets the time to finish, once. Before each
// write the input is drained, and a frame that answers an earlier attempt (one that timed out) is
// told from an answer, so a late reply is never taken for the reply to the next request.
class DeviceClient : public QObject {
    Q_OBJECT
public:
    // What the trace reports, with the bytes.
    enum class Traffic {
        Sent,      // a request written (again for each retry)
        Received,  // a frame that answered the request in flight
        Malformed, // bytes in answer to the request in flight that are no frame
        Stray,     // bytes that came with no request waiting for them, or a late answer; dropped
        Skipped,   // bytes before a start byte: line noise, dropped
        NoAnswer,  // the request in flight drew nothing within Timing::answerMs
    };
    Q_ENUM(Traffic)

    using Outcome = protocol::Result<protocol::Reply, DeviceFault>;
    using Callback = std::function<void(const Outcome&)>;
    // A request that nothing answers (a forward) is done once its bytes are on the line.
    using Sent = protocol::Result<protocol::Done, DeviceFault>;
    using SentCallback = std::function<void(const Sent&)>;

    // The client uses `serial` for its whole life and closes it when destroyed.
    explicit DeviceClient(platform::SerialControl& serial, QObject* parent = nullptr);
    ~DeviceClient() override;

    // Opens the port, first closing it if it was open (requests still waiting then fail with
    // PortNotOpen). Unless setTiming() pinned them, the timings become Timing::forBaud(baud).
    platform::OpenResult open(const QString& portName, const platform::LineSettings& settings);
    // Closes the port; every request not yet answered fails with PortNotOpen.
    void close();
    bool isOpen() const { return m_serial.isOpen(); }

    // Pins the timings, whatever baud is opened later.
    void setTiming(const Timing& timing);
    const Timing& timing() const { return m_timing; }

    // Queues `request`, which expects a reply. `callback` gets the decoded reply, or the fault,
    // once; never from inside send() or close(), and not at all once `context` is destroyed (a null
    // context is never destroyed). A request sent while the port is closed fails with PortNotOpen.
    void send(const Request& request, QObject* context, Callback callback);
    // The same for a request that expects no reply (a forward).
    void send(const Request& request, QObject* context, SentCallback callback);
    // Requests not yet answered, the one in flight included.
    int pendingCount() const { return int(m_queue.size()); }

Q_SIGNALS:
    void traffic(device::DeviceClient::Traffic kind, const QByteArray& bytes);
    // The port failed under the client and is now closed; the requests waiting have failed.
    void portLost();

private:
    struct Pending {
        Request request;
        QPointer<QObject> context;
        bool hasContext = false;
        std::variant<Callback, SentCallback> callback;
        int attempts = 0;
        std::optional<DeviceFault> worst{}; // the worst answer an attempt drew so far
    };

private Q_SLOTS:
    // What the timers call; tests call them to let time pass.
    void onAnswerTimeout();
    void onGapTimeout();

private:
    void enqueue(Pending pending);
    void sendNext();
    void attempt();
    void drain();
    void onReadyRead();
    void onError(platform::SerialFault error);
    void process(const std::vector<FrameReader::Chunk>& chunks);
    void stray(const FrameReader::Chunk& chunk);
    bool late(const QByteArray& frame);
    std::optional<Outcome> judge(const QByteArray& frame);
    void note(const DeviceFault& fault);
    void conclude(const DeviceFault& fault);
    void finish(const Outcome& outcome);
    void failAll(DeviceFault::Kind kind);
    void lose();
    static void deliver(const Pending& pending, const Outcome& outcome);

    platform::SerialControl& m_serial;
    FrameReader m_reader;
    QTimer m_answerTimer;
    QTimer m_gapTimer;
    Timing m_timing;
    std::optional<Timing> m_pinned;
    qint32 m_baud = platform::LineSettings{}.baud; // of the open port
    std::deque<Pending> m_queue;                   // the front is in flight while m_inFlight
    bool m_inFlight = false;
    bool m_extended = false;      // the attempt in flight got time for a reply under way
    std::map<quint8, int> m_owed; // per reply code: attempts written that no frame answered yet
};

} // namespace device
