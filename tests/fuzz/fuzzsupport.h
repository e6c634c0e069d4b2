#pragma once

// What every reader harness needs before its first input: Qt's messages and
// the user notices silenced (a fuzzer prints nothing per input), and the
// bytes of an input as a read-only Qt device.

#include <QBuffer>
#include <QByteArray>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>


namespace fuzz {

inline void quietQt()
{
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString&) {
        if (type == QtFatalMsg)
            std::abort();
    });
    // What the readers tell the user goes nowhere: the silent user of the
    // seam, installed when nothing else is, writes to the message handler,
    // which drops it.
}

// The input as a buffer; the bytes are not copied, so data must outlive it.
class Input
{
public:
    Input(const uint8_t* data, size_t size)
        : bytes(QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size))), buffer(&bytes)
    {
        buffer.open(QIODevice::ReadOnly);
    }
    QBuffer* device() { return &buffer; }
    const QByteArray& data() const { return bytes; }

private:
    QByteArray bytes;
    QBuffer buffer;
};

// Stops the run the way a sanitizer would, so that both the replay and the
// fuzzer count a broken promise of a reader as a finding.
#define FUZZ_REQUIRE(condition)                                                                   \
    do {                                                                                          \
        if (!(condition)) {                                                                       \
            std::fprintf(stderr, "%s:%d: broken promise: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                         \
        }                                                                                         \
    } while (0)

} // namespace fuzz
