#include "soak/turn_checks.h"

#include <cstdio>
#include <cstring>

#include "standin_host/standin_breaches.h"
#include "standin_host/standin_control.h"

namespace sashcaster::soak {
namespace {

namespace model = sashcaster::model;

constexpr std::uint64_t printedFaults = 20;

// The names the plug-in may hash: the game's style and throws.
bool isHashedName(const char* name) {
  if (std::strcmp(name, model::faceToFaceStyleName) == 0) {
    return true;
  }
  for (const model::GameThrow& known : model::gameThrows) {
    if (std::strcmp(name, known.action) == 0) {
      return true;
    }
  }
  return false;
}

bool isFlagAfterAction(const StandInNative& call) {
  return call.hash == model::setPedGrappleFlagHash && call.slotCount == 3 &&
         call.slots[0] == static_cast<std::uint32_t>(model::defaultPlayerPed) &&
         call.slots[1] == 32768 && call.slots[2] == 0;
}

// The natives of the turn; the actions it set.
std::vector<std::uint32_t> checkNatives(std::uint64_t turn, Faults& faults) {
  std::vector<std::uint32_t> actions;
  StandInNative call{};
  bool flagDue = false;
  for (std::uint32_t i = 0; standInNative(i, &call); ++i) {
    if (flagDue && !isFlagAfterAction(call)) {
      fault(faults, turn, "setPedGrappleAction not followed by setPedGrappleFlag(ped, 32768, 0)");
    }
    flagDue = call.hash == model::setPedGrappleActionHash;
    if (flagDue) {
      actions.push_back(static_cast<std::uint32_t>(call.slots[1]));
    }
    if (call.hash == model::hashOfNameHash && !isHashedName(call.name)) {
      fault(faults, turn, std::string("hashOfName given \"") + call.name + "\"");
    }
  }
  if (flagDue) {
    fault(faults, turn, "the turn ended on setPedGrappleAction, without its flag");
  }
  return actions;
}

}  // namespace

void fault(Faults& faults, std::uint64_t turn, const std::string& what) {
  if (faults.count < printedFaults) {
    std::fprintf(stderr, "soak: fault at turn %llu: %s\n", static_cast<unsigned long long>(turn),
                 what.c_str());
  }
  ++faults.count;
}

void takeBreaches(std::uint64_t turn, const char* when, Faults& faults) {
  for (const std::string& breach : takeStandInBreaches()) {
    fault(faults, turn, std::string(when) + ": " + breach);
  }
}

std::vector<std::uint32_t> checkedTurn(std::uint64_t turn, Faults& faults) {
  standInClearNatives();
  standInClearBreaches();
  if (!standInRunTurn()) {
    fault(faults, turn, "the turn did not end with scriptWait(0)");
  }
  takeBreaches(turn, "breach", faults);
  std::vector<std::uint32_t> actions = checkNatives(turn, faults);
  standInClearNatives();
  return actions;
}

}  // namespace sashcaster::soak
