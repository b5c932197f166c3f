// Each lane tests the program it names: the whole suite the 64-bit build,
// running natively, and the WOW64 lane the shipped 32-bit Tamrik.exe,
// running as 64-bit Windows runs a 32-bit program. A lane that quietly ran
// the other build, or a 32-bit build that could not start, would pass for
// it; this test fails it instead, and says which.
#include "E2eSupport.h"

#include <cstdint>

namespace {

constexpr uint16_t kMachineI386 = 0x14c;
constexpr uint16_t kMachineAmd64 = 0x8664;

// The machine field of a Windows program's file header: after "PE\0\0", at
// the offset the DOS header names at 0x3c.
std::optional<uint16_t> Machine(const std::string& path)
{
    const std::string file = ReadFile(path);
    const auto byte = [&](size_t at) { return static_cast<uint32_t>(static_cast<unsigned char>(file[at])); };
    if (file.size() < 0x40 || file.compare(0, 2, "MZ") != 0)
        return std::nullopt;
    const size_t pe = byte(0x3c) | byte(0x3d) << 8 | byte(0x3e) << 16 | byte(0x3f) << 24;
    if (file.size() < pe + 6 || file.compare(pe, 4, std::string("PE\0\0", 4)) != 0)
        return std::nullopt;
    return static_cast<uint16_t>(byte(pe + 4) | byte(pe + 5) << 8);
}

}  // namespace

TEST_F(TamrikRun, LaneRunsTheProgramItNames)
{
    const std::string lane = kWow64Lane ? "the WOW64 lane" : "the 64-bit lane";
    EXPECT_EQ(Machine(kDir + "/Tamrik.exe"), kWow64Lane ? kMachineI386 : kMachineAmd64)
        << lane << " is given the wrong build of Tamrik.exe";

    Seed({{"ShowOnStartup", "0"}});
    const pid_t tamrik = StartTamrik({});
    ASSERT_TRUE(Eventually([] { return !Poke({"windows", "TApplication"}).empty(); }))
        << "Tamrik.exe did not start in " << lane
        << (kWow64Lane ? ": is Wine's 32-bit loader able to run here, natively or through qemu-i386?" : "");
    // IsWow64Process of the running Tamrik, asked by poke.exe:
    // true exactly for a 32-bit program on a 64-bit system.
    EXPECT_EQ(Poke({"bitness", "TApplication"}), kWow64Lane ? "wow64\n" : "native\n")
        << "Tamrik.exe in " << lane << " does not run as " << (kWow64Lane ? "a 32-bit program under WOW64" : "a 64-bit program");

    // Where 32-bit code runs emulated, the emulator is what the kernel runs.
    if (kWow64Lane && !Env("TAMRIK_IN_EMULATION").empty()) {
        char exe[4096] = {};
        const ssize_t length = readlink(("/proc/" + std::to_string(tamrik) + "/exe").c_str(), exe, sizeof(exe) - 1);
        EXPECT_EQ(std::string(exe, length > 0 ? static_cast<size_t>(length) : 0), Env("TAMRIK_QEMU"))
            << "the lane says 32-bit code runs emulated, but Tamrik.exe does not run in qemu-i386";
    }
}
