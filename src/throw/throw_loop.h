// The script body: every turn loads the settings, refreshes the player's ped,
// runs the eight throw checks and yields to the game.
#pragma once

#include <cstdint>

namespace sashcaster {

inline constexpr char faceToFaceStyle[] = "GS_FACE_TO_FACE";
inline constexpr char throwFrontAction[] = "ACT_GRAPPLE_THROW_CUSTOM_FRONT";
inline constexpr char throwLeftAction[] = "ACT_GRAPPLE_THROW_CUSTOM_LEFT";
inline constexpr char throwRightAction[] = "ACT_GRAPPLE_THROW_CUSTOM_RIGHT";
inline constexpr char throwBackAction[] = "ACT_GRAPPLE_THROW_CUSTOM_BACK_LEFT";

inline constexpr std::int32_t controlGroup = 0;
// Front throws on the trigger's release while this control is pressed.
inline constexpr std::uint32_t controlFrontHold = 0x8CFFE0A1;
// Released for the front throw, held down for the other three.
inline constexpr std::uint32_t controlThrowTrigger = 0x1ECA87D4;
inline constexpr std::uint32_t controlThrowLeft = 0x877F1027;
inline constexpr std::uint32_t controlThrowRight = 0x08BD758C;
inline constexpr std::uint32_t controlThrowBack = 0x78114AB3;

inline constexpr std::int32_t grappleFlag = 0x8000;

extern std::int32_t playerPed;

// One turn, ending with the yield to the game.
void throwTurn();

// Turns for ever.
[[noreturn]] void throwLoop();

}  // namespace sashcaster
