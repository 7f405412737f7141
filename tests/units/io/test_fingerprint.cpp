// The SHA-256 of the inputs, of bytes in memory and of a file read in pieces.
#include <cstdio>
#include <string>

#include <gtest/gtest.h>

#include "io/fingerprint.h"

using namespace pq;

namespace {

TEST(Fingerprint, Sha256OfBytesAndOfAFileReadInPieces)
{
    EXPECT_EQ(Sha256Hex(""), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
    EXPECT_EQ(Sha256Hex("abc"), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    // Larger than one read, with NUL bytes.
    std::string bytes(3 * (1 << 20) + 17, '\0');
    for (size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<char>(i * 7 % 251);
    const std::string path = ::testing::TempDir() + "fingerprint.bin";
    FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_TRUE(f);
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
    FileFingerprint fp;
    std::string why;
    ASSERT_TRUE(Fingerprint(path, fp, why)) << why;
    EXPECT_EQ(fp.bytes, static_cast<long long>(bytes.size()));
    EXPECT_EQ(fp.sha256, Sha256Hex(bytes));
    EXPECT_EQ(fp.path, path);
    std::remove(path.c_str());
    EXPECT_FALSE(Fingerprint(path, fp, why));
    EXPECT_EQ(why, "No such file or directory");
    EXPECT_FALSE(Fingerprint("/", fp, why));
    EXPECT_EQ(why, "it is not a regular file");
}

}  // namespace
