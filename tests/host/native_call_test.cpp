// The words the fake host and the stand-in host share for a native call, and
// the breaches they both report, through the fake host's own calls.
#include "fake_host/native_call.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "fake_host/fake_host.h"
#include "support/case_name.h"

namespace sashcaster::testing {
namespace {

using ::testing::ElementsAreArray;

constexpr char faceToFace[] = "GS_FACE_TO_FACE";

std::uint64_t addressOf(const char* text) {
  return reinterpret_cast<std::uintptr_t>(text);
}

struct CallCase {
  const char* name;
  std::uint64_t hash;
  std::vector<std::uint64_t> slots;
  std::string described;  // with its result
  std::vector<std::string> breaches;
  friend void PrintTo(const CallCase& c, std::ostream* out) { *out << c.name; }
};

class NativeCallWords : public ::testing::TestWithParam<CallCase> {};

TEST_P(NativeCallWords, CallIsDescribedAndItsBreachesReportedInTheHostsWords) {
  const CallCase& c = GetParam();
  fake::resetHost();
  nativeInit(c.hash);
  for (const std::uint64_t slot : c.slots) {
    nativePush64(slot);
  }
  nativeCall();
  const fake::NativeCallRecord& call = fake::host().natives.at(0);
  EXPECT_EQ(fake::describe(call) + model::describeResult(call.hash, call.resultSlot), c.described);
  EXPECT_THAT(fake::host().protocolErrors, ElementsAreArray(c.breaches));
}

const std::string faceToFaceHash = model::hex32(model::nameHash(faceToFace));

INSTANTIATE_TEST_SUITE_P(
    Calls, NativeCallWords,
    ::testing::Values(
        CallCase{"PedInDecimal", model::localPlayerPedHash, {}, "localPlayerPed() = 7436", {}},
        CallCase{"NameQuotedAndItsAddressMayUseAllBits",
                 model::hashOfNameHash,
                 {addressOf(faceToFace)},
                 "hashOfName(\"GS_FACE_TO_FACE\") = " + faceToFaceHash,
                 {}},
        CallCase{"SecondArgumentAHash",
                 model::controlPressedHash,
                 {0, 0x1ECA87D4},
                 "controlPressed(0, 0x1ECA87D4) = 0x00000000",
                 {}},
        CallCase{"FlagCallAllDecimalWithoutResult",
                 model::setPedGrappleFlagHash,
                 {7436, 32768, 0},
                 "setPedGrappleFlag(7436, 32768, 0)",
                 {}},
        CallCase{"HighHalfOnA32BitArgument",
                 model::pedGrappleStyleHash,
                 {0xA5A5A5A500001D0C},
                 "pedGrappleStyle(7436) = 0x00000000",
                 {"pedGrappleStyle argument 1 is 0xA5A5A5A500001D0C: a 32-bit value with a high "
                  "half"}},
        CallCase{"ArgumentShort",
                 model::controlPressedHash,
                 {0},
                 "controlPressed(0) = 0x00000000",
                 {"controlPressed called with 1 arguments, not 2"}},
        CallCase{"UnknownNativeByItsHash",
                 0x1234,
                 {5},
                 "unknown native 0x0000000000001234 with 1 arguments",
                 {"unknown native 0x0000000000001234"}}),
    CaseName());

TEST(FakeGame, SoundCallsAreAnsweredByTheModelAndActionsRecorded) {
  fake::resetHost();
  fake::host().game.playerPed = 99;
  fake::host().game.pressed = model::controlSet({0x1ECA87D4});
  const std::uint64_t calls[][3] = {{model::localPlayerPedHash, 0, 0},
                                    {model::controlPressedHash, 0, 0x1ECA87D4},
                                    {model::controlPressedHash, 1, 0x1ECA87D4},
                                    {model::setPedGrappleActionHash, 99, 0xABCD}};
  const std::size_t counts[] = {0, 2, 2, 2};
  for (std::size_t i = 0; i < 4; ++i) {
    nativeInit(calls[i][0]);
    for (std::size_t slot = 1; slot <= counts[i]; ++slot) {
      nativePush64(calls[i][slot]);
    }
    nativeCall();
  }
  std::vector<std::uint32_t> answers;
  for (const fake::NativeCallRecord& call : fake::host().natives) {
    answers.push_back(static_cast<std::uint32_t>(call.resultSlot));
  }
  EXPECT_EQ(answers, (std::vector<std::uint32_t>{99, 1, 0, 0}));  // group 1 reports nothing
  ASSERT_EQ(fake::host().grappleActions.size(), 1U);
  EXPECT_EQ(fake::host().grappleActions[0].ped, 99);
  EXPECT_EQ(fake::host().grappleActions[0].action, 0xABCDU);
}

}  // namespace
}  // namespace sashcaster::testing
