// Loading shared objects: a real module and its entry point, and the two failures a caller
// reports (a missing file, a file that is no shared object), each naming the file.
#include "platform/shared_library.h"

#include <gtest/gtest.h>

#include "platform/vfw_abi.h"
#include "support/TestEnv.h"

TEST(SharedLibrary, LoadsAModuleAndFindsItsEntryPoint) {
    std::string whyNot;
    const auto module = platform::SharedLibrary::Load(MOVREX_TEST_CODEC_MODULE, whyNot);
    ASSERT_TRUE(module) << whyNot;
    EXPECT_NE(module->Symbol(MX_DRIVER_PROC_NAME), nullptr);
    EXPECT_EQ(module->Symbol("NoSuchEntryPoint"), nullptr);
    EXPECT_EQ(module->Path(), MOVREX_TEST_CODEC_MODULE);
}

TEST(SharedLibrary, MissingAndForeignFilesSayWhatIsWrong) {
    testing_support::TempDir dir;
    std::string whyNot;
    EXPECT_FALSE(platform::SharedLibrary::Load(dir.File("none.dll"), whyNot));
    EXPECT_EQ(whyNot, "The file " + dir.File("none.dll") + " is missing");
    const std::string text = dir.Write("text.dll", "plain text");
    EXPECT_FALSE(platform::SharedLibrary::Load(text, whyNot));
    EXPECT_EQ(whyNot.rfind("The file " + text + " cannot be loaded: ", 0), 0u) << whyNot;
}
