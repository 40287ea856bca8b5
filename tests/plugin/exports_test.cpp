#include "plugin/exports.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

constexpr std::int32_t kNameLength = 52;

// A buffer with guard bytes after the part that the call may write.
struct TGuarded {
  explicit TGuarded(std::size_t writable) : bytes(writable + 16, '#'), writable(writable) {}
  std::vector<char> bytes;
  std::size_t writable;
  bool GuardsIntact() const {
    for (std::size_t i = writable; i < bytes.size(); ++i)
      if (bytes[i] != '#') return false;
    return true;
  }
};

TEST(CopyResultString, NullBufferOrNoRoomOnlyGivesTheLength) {
  TGuarded buffer(0);
  EXPECT_EQ(BAV_GetName(nullptr, 100), kNameLength);
  EXPECT_EQ(BAV_GetName(buffer.bytes.data(), 0), kNameLength);
  EXPECT_EQ(BAV_GetName(buffer.bytes.data(), -5), kNameLength);
  EXPECT_EQ(BAV_GetVersion(buffer.bytes.data(), -1), 4);
  EXPECT_TRUE(buffer.GuardsIntact());
}

TEST(CopyResultString, WholeTextWhenItFits) {
  for (std::int32_t size : {52, 100}) {
    TGuarded buffer(53);
    EXPECT_EQ(BAV_GetName(buffer.bytes.data(), size), kNameLength);
    EXPECT_STREQ(buffer.bytes.data(), "tevrinVexal (McAfee Viruscan Interface for The Bat!)");
    EXPECT_TRUE(buffer.GuardsIntact());
  }
  TGuarded version(5);
  EXPECT_EQ(BAV_GetVersion(version.bytes.data(), 4), 4);
  EXPECT_STREQ(version.bytes.data(), "1.00");
  EXPECT_TRUE(version.GuardsIntact());
}

TEST(CopyResultString, CutTextGetsItsNulAtBufSize) {
  TGuarded name(12);
  EXPECT_EQ(BAV_GetName(name.bytes.data(), 11), 11);
  EXPECT_EQ(std::string(name.bytes.data(), 12), std::string("tevrinVexal\0", 12));
  EXPECT_TRUE(name.GuardsIntact());
  TGuarded version(3);
  EXPECT_EQ(BAV_GetVersion(version.bytes.data(), 2), 2);
  EXPECT_EQ(std::string(version.bytes.data(), 3), std::string("1.\0", 3));
  EXPECT_TRUE(version.GuardsIntact());
  TGuarded one(2);
  EXPECT_EQ(tv::CopyResultString(one.bytes.data(), 1, ""), 0);
  EXPECT_EQ(one.bytes[0], '\0');
  EXPECT_EQ(one.bytes[1], '#');
}

TEST(Exports, FixedAnswersAgreeWithWhatIsSupported) {
  EXPECT_EQ(BAV_Initialize(), 0);
  EXPECT_EQ(BAV_Uninitialize(), 0);
  EXPECT_EQ(BAV_Uninitialize(), 0);
  EXPECT_EQ(BAV_Initialize(), 0);
  EXPECT_EQ(BAV_GetStatus(), 0);
  EXPECT_EQ(BAV_ConfigNeeded(), 0);
  EXPECT_EQ(BAV_FileChecking(), 0);
  EXPECT_EQ(BAV_MemoryChecking(), -1);
  EXPECT_EQ(BAV_StreamChecking(), -1);
  EXPECT_EQ(BAV_SetCfgData(1, 2), -1);
  EXPECT_EQ(BAV_GetCfgData(0, 0), -1);
  EXPECT_EQ(BAV_CheckMemory(1, 2, 3), -1);
  EXPECT_EQ(BAV_CureMemory(1, 2, 3), -1);
  EXPECT_EQ(BAV_CureFile(0, 0), -3);
}

TEST(Exports, CheckFileWithoutAFileIsNotCarriedOut) {
  char virusName[16] = "untouched";
  EXPECT_EQ(BAV_CheckFile(nullptr, virusName), -3);
  EXPECT_EQ(BAV_CheckFile("", virusName), -3);
  EXPECT_STREQ(virusName, "untouched");
}

struct TCountingStream {
  const TUnknownVtbl* Vtbl;
  int References = 1;
  int AddRefs = 0;
  int Releases = 0;
};
std::uint32_t BAV_CALL CountAddRef(void* self) {
  auto* s = static_cast<TCountingStream*>(self);
  ++s->AddRefs;
  return static_cast<std::uint32_t>(++s->References);
}
std::uint32_t BAV_CALL CountRelease(void* self) {
  auto* s = static_cast<TCountingStream*>(self);
  ++s->Releases;
  return static_cast<std::uint32_t>(--s->References);
}
std::int32_t BAV_CALL NoInterface(void*, const void*, void**) {
  ADD_FAILURE() << "the plug-in must not ask the stream for interfaces";
  return -1;
}
const TUnknownVtbl kCountingVtbl{NoInterface, CountAddRef, CountRelease};

TEST(Exports, StreamsAreReferencedOnceAndReleased) {
  TCountingStream stream{&kCountingVtbl}, cured{&kCountingVtbl};
  EXPECT_EQ(BAV_CheckStream(reinterpret_cast<TUnknown*>(&stream), 0), -1);
  EXPECT_EQ(stream.References, 1);
  EXPECT_EQ(stream.AddRefs, 1);
  EXPECT_EQ(stream.Releases, 1);
  EXPECT_EQ(BAV_CureStream(reinterpret_cast<TUnknown*>(&stream), reinterpret_cast<TUnknown*>(&cured), 0), -1);
  EXPECT_EQ(stream.References, 1);
  EXPECT_EQ(cured.References, 1);
  EXPECT_EQ(cured.AddRefs, 1);
  EXPECT_EQ(BAV_CheckStream(nullptr, 0), -1);
  EXPECT_EQ(BAV_CureStream(nullptr, nullptr, 0), -1);
}

}  // namespace
