#include "shell/systeminfo.h"

#include <sys/sysinfo.h>

#include <QFile>
#include <QList>
#include <QSysInfo>
#include <thread>

namespace fw {

namespace {

// Splits a "key<tabs/blanks>: value" line of the /proc files.
bool SplitProcLine(const QByteArray& line, QByteArray& key, QByteArray& value) {
    const qsizetype colon = line.indexOf(':');
    if (colon < 0) return false;
    key = line.left(colon).trimmed();
    value = line.mid(colon + 1).trimmed();
    return true;
}

QByteArray ReadProcFile(const char* path) {
    QFile file(QString::fromLatin1(path));
    // /proc files report a size of 0, so read until the end rather than by size.
    if (!file.open(QIODevice::ReadOnly)) return {};
    return file.readAll();
}

}  // namespace

QString ProcessorFromCpuinfo(const QByteArray& cpuinfo, const QString& fallbackName, int fallbackCount) {
    QByteArray modelName;
    QByteArray otherName;  // "Processor" or "Hardware" on machines without a model name
    int count = 0;
    for (const QByteArray& line : cpuinfo.split('\n')) {
        QByteArray key;
        QByteArray value;
        if (!SplitProcLine(line, key, value)) continue;
        if (key == "processor") {
            ++count;
        } else if (key == "model name") {
            if (modelName.isEmpty()) modelName = value;
        } else if ((key == "Processor" || key == "Hardware") && otherName.isEmpty()) {
            otherName = value;
        }
    }
    QString name = QString::fromUtf8(!modelName.isEmpty() ? modelName : otherName).simplified();
    if (name.isEmpty()) name = fallbackName;
    if (count == 0) count = fallbackCount;
    if (count <= 0) return name;
    return QStringLiteral("%1, %2 logical processor%3").arg(name).arg(count).arg(count == 1 ? "" : "s");
}

std::int64_t MemTotalFromMeminfo(const QByteArray& meminfo) {
    for (const QByteArray& line : meminfo.split('\n')) {
        QByteArray key;
        QByteArray value;
        if (!SplitProcLine(line, key, value) || key != "MemTotal") continue;
        // The value reads "16318480 kB".
        const QList<QByteArray> parts = value.simplified().split(' ');
        bool ok = false;
        const qlonglong amount = parts.value(0).toLongLong(&ok);
        if (!ok || amount < 0) return -1;
        const QByteArray unit = parts.value(1).toLower();
        if (unit.isEmpty() || unit == "b") return amount;
        if (unit == "kb") return amount * 1024;
        return -1;
    }
    return -1;
}

QString FormatMemorySize(std::int64_t bytes) {
    if (bytes < 0) return QStringLiteral("unknown");
    static const char* const units[] = {"bytes", "KiB", "MiB", "GiB", "TiB"};
    double value = static_cast<double>(bytes);
    int unit = 0;
    while (value >= 1024.0 && unit < 4) {
        value /= 1024.0;
        ++unit;
    }
    if (unit == 0) return QStringLiteral("%1 bytes").arg(bytes);
    return QStringLiteral("%1 %2").arg(value, 0, 'f', 1).arg(QLatin1String(units[unit]));
}

SystemInfo ReadSystemInfo() {
    SystemInfo info;
    info.operatingSystem = QSysInfo::prettyProductName();
    const QString kernel = QSysInfo::kernelVersion();
    if (!kernel.isEmpty()) {
        info.operatingSystem += QStringLiteral(", kernel %1").arg(kernel);
    }

    info.processor = ProcessorFromCpuinfo(ReadProcFile("/proc/cpuinfo"), QSysInfo::currentCpuArchitecture(),
                                          static_cast<int>(std::thread::hardware_concurrency()));

    std::int64_t memory = MemTotalFromMeminfo(ReadProcFile("/proc/meminfo"));
    if (memory < 0) {
        struct sysinfo si {};
        if (sysinfo(&si) == 0) {
            memory = static_cast<std::int64_t>(si.totalram) * static_cast<std::int64_t>(si.mem_unit);
        }
    }
    info.memory = FormatMemorySize(memory);
    return info;
}

}  // namespace fw
