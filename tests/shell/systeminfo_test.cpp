#include <gtest/gtest.h>

#include "shell/systeminfo.h"

namespace fw {
namespace {

TEST(SystemInfo, ProcessorComesFromTheModelNameAndTheEntryCount) {
    const QByteArray x86 =
        "processor\t: 0\nvendor_id\t: GenuineIntel\nmodel name\t: Intel(R) Xeon(R)  CPU @ 2.20GHz\n\n"
        "processor\t: 1\nvendor_id\t: GenuineIntel\nmodel name\t: Intel(R) Xeon(R)  CPU @ 2.20GHz\n";
    EXPECT_EQ(ProcessorFromCpuinfo(x86, QStringLiteral("x86_64"), 8),
              QStringLiteral("Intel(R) Xeon(R) CPU @ 2.20GHz, 2 logical processors"));

    // Some ARM kernels name no model per processor, only the board.
    const QByteArray arm = "processor\t: 0\nBogoMIPS\t: 38.40\n\nHardware\t: BCM2835\n";
    EXPECT_EQ(ProcessorFromCpuinfo(arm, QStringLiteral("arm64"), 4),
              QStringLiteral("BCM2835, 1 logical processor"));

    // Nothing readable: the fallbacks.
    EXPECT_EQ(ProcessorFromCpuinfo({}, QStringLiteral("x86_64"), 4),
              QStringLiteral("x86_64, 4 logical processors"));
}

TEST(SystemInfo, MemoryComesFromMemTotal) {
    EXPECT_EQ(MemTotalFromMeminfo("MemFree:  100 kB\nMemTotal:       16318480 kB\n"), 16318480LL * 1024);
    EXPECT_EQ(MemTotalFromMeminfo("MemFree:  100 kB\n"), -1);
    EXPECT_EQ(MemTotalFromMeminfo("MemTotal: lots\n"), -1);
    EXPECT_EQ(FormatMemorySize(16318480LL * 1024), QStringLiteral("15.6 GiB"));
    EXPECT_EQ(FormatMemorySize(512LL * 1024 * 1024), QStringLiteral("512.0 MiB"));
    EXPECT_EQ(FormatMemorySize(-1), QStringLiteral("unknown"));
}

TEST(SystemInfo, TheRunningSystemIsDescribed) {
    const SystemInfo info = ReadSystemInfo();
    EXPECT_FALSE(info.operatingSystem.isEmpty());
    EXPECT_FALSE(info.processor.isEmpty());
    EXPECT_NE(info.memory, QStringLiteral("unknown"));
}

}  // namespace
}  // namespace fw
