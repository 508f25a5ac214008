#pragma once
// Facts about the running computer for the About box, read from the system itself.

#include <QByteArray>
#include <QString>
#include <cstdint>

namespace fw {

struct SystemInfo {
    QString operatingSystem;  // e.g. "Debian GNU/Linux 12 (bookworm), kernel 6.1.0-13-amd64"
    QString processor;        // e.g. "Intel(R) Core(TM) i5-8250U CPU @ 1.60GHz, 8 logical processors"
    QString memory;           // e.g. "15.5 GiB"
};

// The processor line from the text of /proc/cpuinfo: the first "model name" (or, on
// machines that lack it, "Processor" or "Hardware"), followed by the number of
// "processor" entries. `fallbackName` stands in for a missing model, `fallbackCount`
// for a text without entries.
QString ProcessorFromCpuinfo(const QByteArray& cpuinfo, const QString& fallbackName, int fallbackCount);

// The "MemTotal" of the text of /proc/meminfo in bytes, or -1 when it is missing or
// unreadable.
std::int64_t MemTotalFromMeminfo(const QByteArray& meminfo);

// Bytes in binary units with one decimal: "512.0 MiB", "15.5 GiB".
QString FormatMemorySize(std::int64_t bytes);

// Reads everything from the running system; parts it cannot find read "unknown".
SystemInfo ReadSystemInfo();

}  // namespace fw
