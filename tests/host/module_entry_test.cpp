#include "host/module_entry.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdint>

#include "fake_host/fake_host.h"
#include "host/key_state_table.h"

namespace sashcaster {
namespace {

using fake::CallKind;
using fake::host;

ModuleHandle moduleAt(std::uintptr_t address) {
  return reinterpret_cast<ModuleHandle>(address);
}

std::uint64_t addressOf(KeyboardCallback callback) {
  return reinterpret_cast<std::uintptr_t>(callback);
}

class ModuleEntryTest : public ::testing::Test {
 protected:
  void SetUp() override { fake::resetHost(); }
  const ModuleHandle module = moduleAt(0x180000000);
};

TEST_F(ModuleEntryTest, AttachRegistersScriptThenKeyboardCallback) {
  EXPECT_TRUE(moduleEntry(module, processAttach));
  ASSERT_EQ(host().calls.size(), 2u);
  EXPECT_EQ(host().calls[0].kind, CallKind::ScriptRegister);
  EXPECT_EQ(host().calls[0].pointer, module);
  EXPECT_EQ(host().calls[0].value, reinterpret_cast<std::uintptr_t>(&scriptEntry));
  EXPECT_EQ(host().calls[1].kind, CallKind::KeyboardHandlerRegister);
  EXPECT_EQ(host().calls[1].value, addressOf(&onKeyboardEvent));
}

TEST_F(ModuleEntryTest, DetachWithdrawsScriptThenTheVeryCallbackRegistered) {
  moduleEntry(module, processAttach);
  EXPECT_TRUE(moduleEntry(module, processDetach));
  ASSERT_EQ(host().calls.size(), 4u);
  EXPECT_EQ(host().calls[2].kind, CallKind::ScriptUnregister);
  EXPECT_EQ(host().calls[2].pointer, module);
  EXPECT_EQ(host().calls[3].kind, CallKind::KeyboardHandlerUnregister);
  EXPECT_EQ(host().calls[3].value, host().calls[1].value);
}

TEST_F(ModuleEntryTest, ThreadNotificationsAndUnknownReasonsRegisterNothing) {
  for (std::uint32_t reason : {threadAttach, threadDetach, 4u, 0xFFFFFFFFu}) {
    EXPECT_TRUE(moduleEntry(module, reason)) << reason;
  }
  EXPECT_TRUE(host().calls.empty());
}

TEST_F(ModuleEntryTest, RegisteredKeyboardCallbackStampsTheTable) {
  moduleEntry(module, processAttach);
  const auto callback = reinterpret_cast<KeyboardCallback>(host().calls[1].value);
  fake::clock().now = 4242;
  callback(88, 1, 0x2D, 0, 0, 1, 1);
  EXPECT_EQ(keyStateTable.entries[88].tick.load(), 4242u);
  EXPECT_TRUE(keyJustReleased(88));
}

}  // namespace
}  // namespace sashcaster
