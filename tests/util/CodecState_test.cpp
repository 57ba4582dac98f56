#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "support/TestEnv.h"
#include "testcodec/state_blob.h"
#include "util/VFW.h"
#include "util/utils.h"

namespace {

using testing_support::ReadAll;
using testing_support::ScopedEnv;
using testing_support::TempDir;

const char kNtKey[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Drivers32";
const char k9xKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Drivers32";

// A system folder with the test modules and a machine hive whose drivers table the test writes.
class CodecLayer : public ::testing::Test {
  protected:
    CodecLayer()
        : systemEnv_("MOVREX_SYSTEM_DIR", system_.Path()),
          hiveEnv_("MOVREX_MACHINE_HIVE", system_.File("machine.reg")) {
        unsetenv("MOVREX_TESTCODEC_STATE_SIZE");
        unsetenv("MOVREX_TESTCODEC_REFUSE");
        std::filesystem::copy_file(MOVREX_TEST_CODEC_MODULE, system_.File("testcodec.dll"));
        std::filesystem::copy_file(MOVREX_TEST_NOPROC_MODULE, system_.File("noproc.dll"));
    }
    ~CodecLayer() override {
        unsetenv("MOVREX_TESTCODEC_STATE_SIZE");
        unsetenv("MOVREX_TESTCODEC_REFUSE");
    }

    void WriteDrivers(const std::string& entries, const char* key = kNtKey) {
        system_.Write("machine.reg", "Windows Registry Editor Version 5.00\r\n\r\n[" +
                                         std::string(key) + "]\r\n" + entries);
    }

    std::string WhyNotOpened(const std::string& handler) {
        std::string why;
        HIC hic = ICOpen(ICTYPE_VIDEO, StringToFourCC(handler, true), 0, &why);
        EXPECT_FALSE(hic);
        return why;
    }

    TempDir system_;
    ScopedEnv systemEnv_;
    ScopedEnv hiveEnv_;
};

// The state's Base64 as coreutils writes it, so the encoder is not checked against itself.
std::string IndependentBase64(const TempDir& dir, size_t size) {
    std::string blob(size, '\0');
    for (size_t i = 0; i < size; ++i) blob[i] = char(TestCodecStateByte(i));
    const std::string in = dir.Write("blob.bin", blob);
    const std::string out = dir.File("blob.b64");
    const std::string command = "base64 -w 0 '" + in + "' > '" + out + "'";
    if (std::system(command.c_str()) != 0) return "base64 failed";
    return ReadAll(out);
}

TEST_F(CodecLayer, KnownCodecGivesSizeCommaAndQuotedBase64) {
    WriteDrivers("\"VIDC.TEST\"=\"testcodec.dll\"\r\n");
    for (size_t size : {3u, 10944u, 10945u, 30000u}) {
        ScopedEnv stateSize("MOVREX_TESTCODEC_STATE_SIZE", std::to_string(size));
        const std::string expected =
            std::to_string(size) + ",\"" + IndependentBase64(system_, size) + "\"";
        EXPECT_EQ(CodecStateText("TEST"), expected) << size << " bytes";
    }
    ScopedEnv stateSize("MOVREX_TESTCODEC_STATE_SIZE", "3");
    EXPECT_EQ(CodecStateText("TEST"), "3,\"B4oN\"");
}

TEST_F(CodecLayer, HandlerIsUpperCasedAndEitherDriversKeyServes) {
    WriteDrivers("\"vidc.test\"=\"testcodec.dll\"\r\n", k9xKey);
    EXPECT_EQ(CodecStateText("test"), "3,\"B4oN\"");
    EXPECT_EQ(CodecStateText("TeSt"), "3,\"B4oN\"");
}

TEST_F(CodecLayer, CodecWithoutStateGivesTheEmptyForm) {
    WriteDrivers("\"VIDC.TEST\"=\"testcodec.dll\"\r\n");
    {
        ScopedEnv empty("MOVREX_TESTCODEC_STATE_SIZE", "0");
        EXPECT_EQ(CodecStateText("TEST"), "0,\"\"");
    }
    {
        ScopedEnv refuse("MOVREX_TESTCODEC_REFUSE", "1");
        EXPECT_EQ(CodecStateText("TEST"), "0,\"\"");
    }
    ScopedEnv broken("MOVREX_TESTCODEC_STATE_SIZE", "-7");
    EXPECT_EQ(CodecStateText("TEST"), "0,\"\"");
}

TEST_F(CodecLayer, CodecsThatCannotBeOpenedGiveTheEmptyForm) {
    WriteDrivers(
        "\"VIDC.GONE\"=\"missing.dll\"\r\n"
        "\"VIDC.NOPR\"=\"noproc.dll\"\r\n"
        "\"VIDC.ABCD\"=\"testcodec.dll\"\r\n"
        "\"VIDC.UP\"=\"../testcodec.dll\"\r\n"
        "\"VIDC.ABS\"=\"" +
        system_.File("testcodec.dll") + "\"\r\n");
    for (const char* handler : {"NONE", "GONE", "NOPR", "ABCD", "UP", "ABS"}) {
        EXPECT_EQ(CodecStateText(handler), "0,\"\"") << handler;
    }
    EXPECT_NE(WhyNotOpened("NONE").find("No codec is installed for VIDC.NONE"), std::string::npos);
    EXPECT_NE(WhyNotOpened("GONE").find(system_.File("missing.dll")), std::string::npos);
    EXPECT_NE(WhyNotOpened("NOPR").find("has no MxDriverProc"), std::string::npos);
    EXPECT_NE(WhyNotOpened("ABCD").find("refused to open VIDC.ABCD"), std::string::npos);
    EXPECT_NE(WhyNotOpened("UP").find("not a file name"), std::string::npos);
    EXPECT_NE(WhyNotOpened("ABS").find("not a file name"), std::string::npos);
}

TEST_F(CodecLayer, NoHiveOrADamagedHiveFailsCleanly) {
    EXPECT_EQ(CodecStateText("TEST"), "0,\"\"");  // no hive file at all
    system_.Write("machine.reg", "Windows Registry Editor Version 5.00\r\n\r\n[Broken\r\n\"x\"=");
    EXPECT_EQ(CodecStateText("TEST"), "0,\"\"");
    EXPECT_NE(WhyNotOpened("TEST").find("cannot be read"), std::string::npos);
    WriteDrivers("\"VIDC.TEST\"=dword:00000001\r\n");  // a value of the wrong type
    EXPECT_EQ(CodecStateText("TEST"), "0,\"\"");
}

TEST_F(CodecLayer, EveryOpenedInstanceIsClosed) {
    WriteDrivers("\"VIDC.TEST\"=\"testcodec.dll\"\r\n");
    // Holding the module ourselves keeps its counter alive between the codec layer's loads.
    void* module = dlopen(system_.File("testcodec.dll").c_str(), RTLD_NOW | RTLD_LOCAL);
    ASSERT_TRUE(module) << dlerror();
    auto live = reinterpret_cast<int (*)()>(dlsym(module, "TestCodecLiveInstances"));
    ASSERT_TRUE(live);

    EXPECT_EQ(CodecStateText("TEST"), "3,\"B4oN\"");
    EXPECT_EQ(live(), 0);
    {
        ScopedEnv refuse("MOVREX_TESTCODEC_REFUSE", "1");
        EXPECT_EQ(CodecStateText("TEST"), "0,\"\"");
        EXPECT_EQ(live(), 0);
    }
    HIC hic = ICOpen(ICTYPE_VIDEO, StringToFourCC("TEST", false), 0);
    ASSERT_TRUE(hic);
    EXPECT_EQ(live(), 1);
    EXPECT_EQ(ICSendMessage(hic, ICM_GETSTATE, 0, 0), 3);
    ICClose(hic);
    EXPECT_FALSE(hic);
    EXPECT_EQ(live(), 0);
    EXPECT_EQ(ICSendMessage(hic, ICM_GETSTATE, 0, 0), ICERR_BADHANDLE);
    dlclose(module);
}

TEST(StringToFourCC, PadsCutsAndUpperCases) {
    EXPECT_EQ(StringToFourCC("xvid", true), MxFourCC('X', 'V', 'I', 'D'));
    EXPECT_EQ(StringToFourCC("xvid", false), MxFourCC('x', 'v', 'i', 'd'));
    EXPECT_EQ(StringToFourCC("dx5", true), MxFourCC('D', 'X', '5', ' '));
    EXPECT_EQ(StringToFourCC("", true), MxFourCC(' ', ' ', ' ', ' '));
    EXPECT_EQ(StringToFourCC("divx5", true), MxFourCC('D', 'I', 'V', 'X'));
    EXPECT_EQ(FourCCToString(ICTYPE_VIDEO), "vidc");
}

}  // namespace
