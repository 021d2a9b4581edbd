#pragma once

#include "platform/QtSerialControl.h"

// The real serial control, counting what the program takes out of it, so a test knows when
// everything the device sent has been read and handled.
namespace testing {

class CountingSerial final : public platform::SerialControl {
    Q_OBJECT
public:
    CountingSerial();
    platform::OpenResult open(const QString& name, const platform::LineSettings& settings) override {
        return m_real.open(name, settings);
    }
    void close() override { m_real.close(); }
    bool isOpen() const override { return m_real.isOpen(); }
    qint64 write(const QByteArray& bytes) override { return m_real.write(bytes); }
    qint64 bytesAvailable() const override { return m_real.bytesAvailable(); }
    QByteArray readAll() override;
    QString errorString() const override { return m_real.errorString(); }

    qsizetype taken = 0;   // bytes read by the program so far
    qsizetype largest = 0; // the largest single reading

private:
    platform::QtSerialControl m_real;
};

} // namespace testing
