#include "platform/registry.h"

#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <filesystem>

#include "support/TestEnv.h"

extern char** environ;

namespace {

using platform::Hive;
using platform::KeyAccess;
using platform::Registry;
using platform::RegistryError;
using platform::RegistryValue;
using testing_support::ReadAll;
using testing_support::TempDir;

RegistryValue Dword(uint32_t v) {
    RegistryValue value;
    value.dword = v;
    return value;
}

RegistryValue Text(const std::string& s) {
    RegistryValue value;
    value.type = RegistryValue::Type::String;
    value.text = s;
    return value;
}

RegistryValue Bytes(std::vector<uint8_t> b) {
    RegistryValue value;
    value.type = RegistryValue::Type::Binary;
    value.binary = std::move(b);
    return value;
}

std::vector<uint8_t> Matrix() {
    std::vector<uint8_t> bytes;
    for (int i = 0; i < 64; ++i) bytes.push_back(static_cast<uint8_t>(i * 37 + 8));
    return bytes;
}

// The message of the RegistryError that `f` raises; empty when it raises none.
template <class F>
std::string ErrorOf(F&& f) {
    try {
        f();
    } catch (const RegistryError& e) {
        return e.what();
    }
    return "";
}

TEST(Hive, EveryValueTypeSurvivesSerialisingAndParsing) {
    Hive hive;
    hive.CreateKey("Software\\GNU\\XviD");
    hive.SetValue("Software\\GNU\\XviD", "mode", Dword(1));
    hive.SetValue("Software\\GNU\\XviD", "max", Dword(0xffffffffu));
    hive.SetValue("Software\\GNU\\XviD", "stats", Text("C:\\out\\\"movie\"_codec.log"));
    hive.SetValue("Software\\GNU\\XviD", "lines", Text(std::string("a\nb\r\\n\0c", 8)));
    hive.SetValue("Software\\GNU\\XviD", "empty", Text(""));
    hive.SetValue("Software\\GNU\\XviD", "qmatrix_intra", Bytes(Matrix()));
    hive.SetValue("Software\\GNU\\XviD", "none", Bytes({}));
    hive.SetValue("Software\\GNU\\XviD", "@", Text("default"));
    hive.SetValue("Software\\GNU\\XviD", "we\"ird\\ name", Dword(7));

    std::string text = hive.Serialize();
    Hive back = Hive::Parse(text, "user.reg");
    EXPECT_EQ(back.Serialize(), text);
    for (const std::string& name : hive.ValueNames("Software\\GNU\\XviD"))
        EXPECT_EQ(back.GetValue("software\\gnu\\xvid", name),
                  hive.GetValue("Software\\GNU\\XviD", name))
            << name;
    EXPECT_EQ(back.GetValue("Software\\GNU\\XviD", "")->text, "default");
    EXPECT_NE(text.find("@=\"default\"\n"), std::string::npos);
    // A 64-byte matrix wraps over lines that end in "\".
    EXPECT_NE(text.find("\"qmatrix_intra\"=hex:08,2d,"), std::string::npos);
    EXPECT_NE(text.find(",\\\n  "), std::string::npos);
}

TEST(Hive, SerialisesInOneOrderWhateverTheOrderOfChanges) {
    Hive a, b;
    a.CreateKey("B\\Sub");
    a.CreateKey("B-other");
    a.SetValue("B\\Sub", "z", Dword(10));
    a.SetValue("B\\Sub", "A", Text("x"));
    b.CreateKey("b-other");
    b.CreateKey("B\\Sub");
    b.SetValue("B\\Sub", "A", Text("x"));
    b.SetValue("B\\Sub", "z", Dword(10));
    b.CreateKey("B-other");  // the first spelling stays: "b-other"
    EXPECT_EQ(a.Serialize(),
              "Windows Registry Editor Version 5.00\n\n[B]\n\n[B\\Sub]\n\"A\"=\"x\"\n"
              "\"z\"=dword:0000000a\n\n[B-other]\n\n");
    EXPECT_EQ(b.Serialize().find("[b-other]") != std::string::npos, true);
}

TEST(Hive, KeysAndNamesIgnoreCaseAndKeepTheirFirstSpelling) {
    Hive hive;
    hive.CreateKey("Software\\GNU\\XviD");
    hive.CreateKey("SOFTWARE\\gnu\\xvid\\Extra");
    hive.SetValue("software\\GNU\\xvid", "Mode", Dword(1));
    hive.SetValue("SOFTWARE\\GNU\\XVID", "MODE", Dword(2));
    EXPECT_TRUE(hive.KeyExists("\\software\\gnu\\"));
    EXPECT_EQ(hive.GetValue("Software\\GNU\\XviD", "mode")->dword, 2u);
    EXPECT_EQ(hive.ValueNames("software\\gnu\\xvid"), std::vector<std::string>{"Mode"});
    EXPECT_EQ(hive.SubKeyNames("software\\gnu"), std::vector<std::string>{"XviD"});
    EXPECT_EQ(hive.SubKeyNames("Software\\GNU\\XviD"), std::vector<std::string>{"Extra"});
}

TEST(Hive, DeletingAKeyTakesItsSubkeysButNoSiblingWithTheSamePrefix) {
    Hive hive;
    hive.CreateKey("a\\b\\c");
    hive.CreateKey("a\\bc");
    EXPECT_TRUE(hive.DeleteKey("A\\B"));
    EXPECT_FALSE(hive.KeyExists("a\\b\\c"));
    EXPECT_TRUE(hive.KeyExists("a\\bc"));
    EXPECT_FALSE(hive.DeleteKey("a\\b"));
    EXPECT_THROW(hive.CreateKey("a\\\\b"), RegistryError);
    EXPECT_THROW(hive.SetValue("missing", "x", Dword(1)), RegistryError);
}

TEST(Hive, ReadsWhatOtherWritersProduce) {
    std::string text =
        "\xEF\xBB\xBFWindows Registry Editor Version 5.00\r\n\r\n"
        "; written by hand\r\n"
        "[Software\\Test]\r\n"
        "\"n\" = DWORD:0000FFFF\r\n"
        "\"bin\"=HEX:01,02,\\\r\n"
        "  03,04,\\\r\n"
        "  05\r\n"
        "[software\\test]\r\n"
        "@=\"again\"\r\n";
    Hive hive = Hive::Parse(text, "x.reg");
    EXPECT_EQ(hive.GetValue("Software\\Test", "N")->dword, 0xffffu);
    EXPECT_EQ(hive.GetValue("Software\\Test", "bin")->binary,
              (std::vector<uint8_t>{1, 2, 3, 4, 5}));
    EXPECT_EQ(hive.GetValue("Software\\Test", "@")->text, "again");
    EXPECT_TRUE(Hive::Parse("", "empty.reg").SubKeyNames("").empty());
}

TEST(Hive, DamageIsReportedWithFileAndLine) {
    const std::string head = "Windows Registry Editor Version 5.00\n\n[K]\n";
    struct Case {
        std::string text;
        std::string where;
        std::string what;
    } cases[] = {
        {"REGEDIT4\n\n[K]\n", "h.reg:1: ", "first line"},
        {head + "\"a\"=\"unterminated\n", "h.reg:4: ", "unterminated"},
        {head + "\"a\"=hex:01,02,\\\n  03,zz\n", "h.reg:5: ", "invalid byte 'zz'"},
        {head + "\"a\"=hex:01,\n", "h.reg:4: ", "ends in ','"},
        {head + "\"a\"=hex:01,\\\n", "h.reg:4: ", "end of the file"},
        {"Windows Registry Editor Version 5.00\n\n\"a\"=dword:1\n", "h.reg:3: ", "before any key"},
        {head + "\"a\"=dword:123456789\n", "h.reg:4: ", "invalid dword"},
        {head + "\"a\"=hex(2):41,00\n", "h.reg:4: ", "unsupported value type 'hex(2)'"},
        {head + "\"a\"=\"C:\\path\"\n", "h.reg:4: ", "unknown escape"},
        {head + "\"a\"=dword:1\n\"A\"=dword:2\n", "h.reg:5: ", "twice"},
        {head + "[K\n", "h.reg:4: ", "']'"},
        {head + "garbage\n", "h.reg:4: ", "neither"},
    };
    for (const Case& c : cases) {
        std::string message = ErrorOf([&] { Hive::Parse(c.text, "h.reg"); });
        EXPECT_EQ(message.rfind(c.where, 0), 0u) << message;
        EXPECT_NE(message.find(c.what), std::string::npos) << message;
    }
}

TEST(HiveFile, ADamagedHiveIsNeverOverwritten) {
    TempDir dir;
    const std::string damaged = "Windows Registry Editor Version 5.00\n\n[K]\n\"a\"=\"open\n";
    std::string path = dir.Write("user.reg", damaged);
    std::string message =
        ErrorOf([&] { platform::UpdateHive(path, [](Hive& h) { h.CreateKey("X"); }); });
    EXPECT_EQ(message.rfind(path + ":4: ", 0), 0u) << message;
    EXPECT_THROW(platform::LoadHive(path), RegistryError);

    Registry reg;
    reg.SetHiveFile(path);
    EXPECT_THROW(reg.OpenKey("K", true), RegistryError);
    EXPECT_EQ(ReadAll(path), damaged);
}

TEST(HiveFile, UpdatesCreateTheFolderAndLeaveNoTemporaryFile) {
    TempDir dir;
    std::string path = dir.File("deep/er/user.reg");
    platform::UpdateHive(path, [](Hive& h) {
        h.CreateKey("K");
        h.SetValue("K", "v", Dword(5));
    });
    EXPECT_EQ(platform::LoadHive(path).GetValue("k", "V")->dword, 5u);
    EXPECT_FALSE(std::filesystem::exists(path + ".tmp"));
    // A change that throws saves nothing.
    EXPECT_THROW(platform::UpdateHive(path, [](Hive& h) { h.SetValue("nope", "v", Dword(1)); }),
                 RegistryError);
    EXPECT_EQ(platform::LoadHive(path).ValueNames("K").size(), 1u);
}

pid_t Spawn(const std::vector<std::string>& args) {
    std::vector<char*> argv;
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    pid_t pid = -1;
    EXPECT_EQ(posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ), 0);
    return pid;
}

TEST(HiveFile, TwoProcessesWritingAtOnceLoseNoValue) {
    TempDir dir;
    std::string path = dir.File("user.reg");
    std::string writer = std::string(MOVREX_TEST_HELPER_DIR) + "/reg_writer";
    pid_t first = Spawn({writer, path, "first", "200"});
    pid_t second = Spawn({writer, path, "second", "200"});
    for (pid_t pid : {first, second}) {
        int status = -1;
        ASSERT_EQ(waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    Hive hive = platform::LoadHive(path);
    ASSERT_EQ(hive.ValueNames("Software\\Movrex\\Concurrent").size(), 400u);
    for (int i = 0; i < 200; ++i) {
        EXPECT_EQ(hive.GetValue("Software\\Movrex\\Concurrent", "first" + std::to_string(i))->dword,
                  unsigned(i));
        EXPECT_EQ(
            hive.GetValue("Software\\Movrex\\Concurrent", "second" + std::to_string(i))->dword,
            unsigned(i));
    }
}

class RegistryTest : public ::testing::Test {
  protected:
    RegistryTest() { reg.SetHiveFile(hive); }
    TempDir dir;
    std::string hive = dir.File("cfg/user.reg");
    Registry reg;
};

TEST_F(RegistryTest, KeyPathsAreAbsoluteWithALeadingBackslashElseRelative) {
    EXPECT_FALSE(reg.OpenKey("Software\\GNU", false));
    EXPECT_FALSE(std::filesystem::exists(hive));  // opening without creation writes nothing
    ASSERT_TRUE(reg.OpenKey("\\Software\\GNU\\", true));
    EXPECT_EQ(reg.CurrentPath(), "Software\\GNU");
    EXPECT_EQ(reg.CurrentAccess(), KeyAccess::AllAccess);
    ASSERT_TRUE(reg.OpenKey("XviD", true));
    EXPECT_EQ(reg.CurrentPath(), "Software\\GNU\\XviD");
    EXPECT_TRUE(reg.KeyExists("\\software\\gnu\\xvid"));
    EXPECT_FALSE(reg.KeyExists("XviD"));  // relative to the open key: ...\XviD\XviD
    EXPECT_FALSE(reg.OpenKey("\\Nowhere", false));
    EXPECT_EQ(reg.CurrentPath(), "Software\\GNU\\XviD");  // a failed opening keeps the key
    ASSERT_TRUE(reg.OpenKey("\\Software", false));
    EXPECT_EQ(reg.CurrentPath(), "Software");
    EXPECT_FALSE(reg.OpenKey("a\\\\b", true));
    reg.CloseKey();
    EXPECT_TRUE(reg.OpenKey("Software\\GNU", false));  // relative to the root when none is open
}

TEST_F(RegistryTest, WritesReachTheFileAtOnceAndReadBack) {
    ASSERT_TRUE(reg.OpenKey("\\Software\\GNU\\XviD", true));
    reg.WriteInteger("max_bframes", -1);
    reg.WriteString("stats1", "C:\\out\\movie_codec.log");
    std::vector<uint8_t> matrix = Matrix();
    reg.WriteBinaryData("qmatrix_inter", matrix.data(), matrix.size());

    Registry other;  // a second accessor sees every value without any refresh
    other.SetHiveFile(hive);
    ASSERT_TRUE(other.OpenKeyReadOnly("\\SOFTWARE\\gnu\\xvid"));
    EXPECT_EQ(other.ReadInteger("MAX_BFRAMES"), -1);
    EXPECT_EQ(other.ReadString("stats1"), "C:\\out\\movie_codec.log");
    EXPECT_EQ(other.ReadBinaryData("qmatrix_inter"), matrix);
    EXPECT_TRUE(other.ValueExists("Stats1"));
    EXPECT_FALSE(other.ValueExists("stats2"));
    EXPECT_NE(ReadAll(hive).find("\"max_bframes\"=dword:ffffffff"), std::string::npos);

    EXPECT_NE(ErrorOf([&] { other.ReadInteger("stats1"); }).find("is a string, not a DWORD"),
              std::string::npos);
    EXPECT_NE(ErrorOf([&] { other.ReadString("stats2"); }).find("'stats2' does not exist"),
              std::string::npos);
}

TEST_F(RegistryTest, WritesThatCannotBeMadeFailWithTheFixedMessage) {
    EXPECT_EQ(ErrorOf([&] { reg.WriteInteger("x", 1); }), "Failed to set data for 'x'");
    ASSERT_TRUE(reg.OpenKey("\\K", true));
    reg.WriteInteger("kept", 1);
    const std::string before = ReadAll(hive);
    ASSERT_TRUE(reg.OpenKeyReadOnly("\\K"));
    EXPECT_EQ(ErrorOf([&] { reg.WriteString("x", "v"); }), "Failed to set data for 'x'");

    // A save that cannot be made (here: the temporary file's name is taken by a folder).
    ASSERT_TRUE(reg.OpenKey("\\K", false));
    std::filesystem::create_directory(hive + ".tmp");
    EXPECT_EQ(ErrorOf([&] { reg.WriteInteger("x", 2); }), "Failed to set data for 'x'");
    EXPECT_EQ(ReadAll(hive), before);
}

TEST_F(RegistryTest, AReadOnlyHiveRefusesAllAccessAndGrantsRead) {
    ASSERT_TRUE(reg.OpenKey("\\Software\\Microsoft\\Windows\\CurrentVersion", true));
    reg.WriteString("ProgramFilesDir", "C:\\Program Files");
    reg.CloseKey();
    Registry early;  // opened while the hive was still writable
    early.SetHiveFile(hive);
    ASSERT_TRUE(early.OpenKey("\\Software", false));
    ASSERT_EQ(chmod(hive.c_str(), 0444), 0);
    EXPECT_EQ(ErrorOf([&] { early.WriteInteger("y", 1); }), "Failed to set data for 'y'");

    EXPECT_FALSE(reg.OpenKey("\\Software\\Microsoft\\Windows\\CurrentVersion", false));
    EXPECT_FALSE(reg.OpenKey("\\Software\\New", true));
    EXPECT_FALSE(reg.HasCurrentKey());
    ASSERT_TRUE(reg.OpenKeyReadOnly("\\Software\\Microsoft\\Windows\\CurrentVersion"));
    EXPECT_EQ(reg.CurrentAccess(), KeyAccess::Read);
    EXPECT_EQ(reg.ReadString("ProgramFilesDir"), "C:\\Program Files");
    EXPECT_EQ(ErrorOf([&] { reg.WriteString("x", "v"); }), "Failed to set data for 'x'");
}

TEST_F(RegistryTest, AHiveWhoseFolderCannotBeMadeIsRefused) {
    dir.Write("file", "not a folder");
    reg.SetHiveFile(dir.File("file/user.reg"));
    EXPECT_FALSE(reg.OpenKey("\\K", true));
    EXPECT_FALSE(reg.OpenKeyReadOnly("\\K"));
    EXPECT_FALSE(reg.KeyExists("\\K"));
}

TEST(RegistryRoots, EachRootHasItsOwnHive) {
    TempDir dir;
    testing_support::ScopedEnv config("MOVREX_CONFIG_DIR", dir.File("config"));
    testing_support::ScopedEnv machine("MOVREX_MACHINE_HIVE", dir.File("system/machine.reg"));
    Registry reg(platform::RootKey::LocalMachine);
    EXPECT_EQ(reg.HiveFile(), dir.File("system/machine.reg"));
    ASSERT_TRUE(reg.OpenKey("\\K", true));
    reg.SetRoot(platform::RootKey::CurrentUser);
    EXPECT_FALSE(reg.HasCurrentKey());
    EXPECT_EQ(reg.HiveFile(), dir.File("config/user.reg"));
    EXPECT_FALSE(reg.KeyExists("\\K"));
}

}  // namespace
