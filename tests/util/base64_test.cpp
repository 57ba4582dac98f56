#include "util/base64.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::string Encode(const std::string& text) {
    return Base64Encode(reinterpret_cast<const uint8_t*>(text.data()), text.size());
}

TEST(Base64, Rfc4648TestVectors) {
    EXPECT_EQ(Encode(""), "");
    EXPECT_EQ(Encode("f"), "Zg==");
    EXPECT_EQ(Encode("fo"), "Zm8=");
    EXPECT_EQ(Encode("foo"), "Zm9v");
    EXPECT_EQ(Encode("foob"), "Zm9vYg==");
    EXPECT_EQ(Encode("fooba"), "Zm9vYmE=");
    EXPECT_EQ(Encode("foobar"), "Zm9vYmFy");
    EXPECT_EQ(Encode("\xFB\xFF\xBF"), "+/+/");
    EXPECT_EQ(Encode(std::string("\0\0\0", 3)), "AAAA");
}

TEST(Base64, BlockWiseEqualsOnePiece) {
    for (size_t size : {size_t(1), kBase64BlockBytes - 1, kBase64BlockBytes, kBase64BlockBytes + 1,
                        kBase64BlockBytes + 2, 2 * kBase64BlockBytes, size_t(30000)}) {
        std::vector<uint8_t> data(size);
        for (size_t i = 0; i < size; ++i) data[i] = uint8_t(i * 251 + (i >> 7));
        std::string onePiece;
        AppendBase64(onePiece, data.data(), size);
        const std::string blockWise = Base64Encode(data.data(), size);
        EXPECT_EQ(blockWise, onePiece) << size << " bytes";
        EXPECT_EQ(blockWise.size(), (size + 2) / 3 * 4);
        EXPECT_EQ(blockWise.find('\n'), std::string::npos);
    }
    std::string block;
    std::vector<uint8_t> full(kBase64BlockBytes, 0x5A);
    AppendBase64(block, full.data(), full.size());
    EXPECT_EQ(block.size(), 14592u);
}

}  // namespace
