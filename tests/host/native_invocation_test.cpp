#include "host/native_invocation.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

#include "fake_host/fake_host.h"
#include "throw/natives.h"

namespace sashcaster {
namespace {

using fake::CallKind;
using fake::host;
using ::testing::ElementsAre;

class NativeInvocationTest : public ::testing::Test {
 protected:
  void SetUp() override { fake::resetHost(); }

  static std::vector<CallKind> callKinds() {
    std::vector<CallKind> kinds;
    for (const fake::HostCall& call : host().calls) {
      kinds.push_back(call.kind);
    }
    return kinds;
  }
};

TEST_F(NativeInvocationTest, Bit31ArgumentReachesPushZeroExtended) {
  natives::controlPressed(0, 0x8CFFE0A1u);
  natives::pedGrappleStyle(-2);
  EXPECT_THAT(host().natives[0].slots, ElementsAre(0u, 0x000000008CFFE0A1u));
  EXPECT_THAT(host().natives[1].slots, ElementsAre(0x00000000FFFFFFFEu));
  EXPECT_TRUE(host().protocolErrors.empty());
}

TEST_F(NativeInvocationTest, StringArgumentIsTheLiteralsOwnAddress) {
  static constexpr char name[] = "GS_FACE_TO_FACE";
  natives::hashOfName(name);
  const std::uint64_t slot = host().natives[0].slots.at(0);
  EXPECT_EQ(slot, reinterpret_cast<std::uintptr_t>(name));
  EXPECT_EQ(std::strlen(reinterpret_cast<const char*>(slot)), sizeof name - 1);
}

TEST_F(NativeInvocationTest, NativeWithoutArgumentsGetsNoPush) {
  natives::localPlayerPed();
  EXPECT_THAT(callKinds(), ElementsAre(CallKind::NativeInit, CallKind::NativeCall));
  EXPECT_EQ(host().calls[0].value, natives::localPlayerPedHash);
}

TEST_F(NativeInvocationTest, ArgumentsArePushedInDeclaredOrderBetweenInitAndCall) {
  natives::setPedGrappleFlag(7, 0x8000, 0);
  EXPECT_THAT(callKinds(),
              ElementsAre(CallKind::NativeInit, CallKind::NativePush64, CallKind::NativePush64,
                          CallKind::NativePush64, CallKind::NativeCall));
  EXPECT_THAT(host().natives[0].slots, ElementsAre(7u, 0x8000u, 0u));
}

TEST_F(NativeInvocationTest, OnlyTheLow32BitsOfTheResultSlotCount) {
  host().rawResults[natives::controlPressedHash] = 0x100000000;
  host().rawResults[natives::localPlayerPedHash] = 0xFFFFFFFF00000005;
  host().rawResults[natives::hashOfNameHash] = 0x123456789ABCDEF0;
  EXPECT_FALSE(natives::controlPressed(0, 1));
  EXPECT_EQ(natives::localPlayerPed(), 5);
  EXPECT_EQ(natives::hashOfName("X"), 0x9ABCDEF0u);
}

TEST_F(NativeInvocationTest, TruthTestsAll32LowBitsNotOnlyTheLowestByte) {
  host().rawResults[natives::controlPressedHash] = 0x0000000080000000;
  EXPECT_TRUE(natives::controlPressed(0, 1));
}

TEST_F(NativeInvocationTest, InnerCallCompletesBeforeOuterInit) {
  natives::setPedGrappleAction(3, natives::hashOfName("ACT_GRAPPLE_THROW_CUSTOM_FRONT"));
  EXPECT_THAT(callKinds(),
              ElementsAre(CallKind::NativeInit, CallKind::NativePush64, CallKind::NativeCall,
                          CallKind::NativeInit, CallKind::NativePush64, CallKind::NativePush64,
                          CallKind::NativeCall));
  EXPECT_EQ(host().natives[1].slots[1], fake::nameHash("ACT_GRAPPLE_THROW_CUSTOM_FRONT"));
  EXPECT_TRUE(host().protocolErrors.empty());
}

}  // namespace
}  // namespace sashcaster
