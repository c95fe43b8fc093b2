// The game pad's buttons in the order of the engine's button bits, for reading and for making pads.
#pragma once

#include <SDL.h>

namespace engine_detail {

// A classic pad's order: face buttons, shoulders, back and start, sticks. Bit i is kPadButtons[i].
inline constexpr SDL_GameControllerButton kPadButtons[] = {SDL_CONTROLLER_BUTTON_A,
                                                           SDL_CONTROLLER_BUTTON_B,
                                                           SDL_CONTROLLER_BUTTON_X,
                                                           SDL_CONTROLLER_BUTTON_Y,
                                                           SDL_CONTROLLER_BUTTON_LEFTSHOULDER,
                                                           SDL_CONTROLLER_BUTTON_RIGHTSHOULDER,
                                                           SDL_CONTROLLER_BUTTON_BACK,
                                                           SDL_CONTROLLER_BUTTON_START,
                                                           SDL_CONTROLLER_BUTTON_LEFTSTICK,
                                                           SDL_CONTROLLER_BUTTON_RIGHTSTICK};

}  // namespace engine_detail
