#include "platform/sdl/sdl_input.h"

#include <SDL.h>

#include <algorithm>

#include "platform/sdl/sdl_display.h"

namespace zk {
namespace {

int keyOf(SDL_Scancode code) {
    switch (code) {
        case SDL_SCANCODE_SPACE:
            return KeySpace;
        case SDL_SCANCODE_RETURN:
        case SDL_SCANCODE_KP_ENTER:
            return KeyEnter;
        case SDL_SCANCODE_ESCAPE:
            return KeyEscape;
        case SDL_SCANCODE_F4:
            return KeyF4;
        case SDL_SCANCODE_F10:
            return KeyF10;
        default:
            return -1;
    }
}

int buttonOf(uint8_t sdlButton) {
    if (sdlButton == SDL_BUTTON_LEFT) return 0;
    if (sdlButton == SDL_BUTTON_RIGHT) return 1;
    return -1;
}

}  // namespace

SdlInput::SdlInput() : events_(SDL_INIT_EVENTS) {}

void SdlInput::pumpEvents() {
    SDL_Event event;
    while (SDL_PollEvent(&event)) handle(event);
}

void SdlInput::handle(const SDL_Event& event) {
    switch (event.type) {
        case SDL_QUIT:
            quit_ = true;
            break;
        case SDL_WINDOWEVENT:
            switch (event.window.event) {
                case SDL_WINDOWEVENT_FOCUS_GAINED:
                    focused_ = true;
                    break;
                case SDL_WINDOWEVENT_FOCUS_LOST:
                    focused_ = false;
                    buttonsDown_ = {};
                    keysDown_ = {};
                    break;
                case SDL_WINDOWEVENT_MINIMIZED:
                    minimised_ = true;
                    break;
                case SDL_WINDOWEVENT_RESTORED:
                case SDL_WINDOWEVENT_MAXIMIZED:
                    minimised_ = false;
                    break;
                default:
                    break;
            }
            break;
        case SDL_MOUSEMOTION: {
            if (!windowActive()) break;
            if (!display_) {
                dx_ = saturatingAdd(dx_, event.motion.xrel);
                dy_ = saturatingAdd(dy_, event.motion.yrel);
                break;
            }
            const Point p = display_->windowToGame(event.motion.x, event.motion.y);
            const Surface& game = display_->back();
            const bool over = p.x >= 0 && p.y >= 0 && p.x < game.width && p.y < game.height;
            display_->setPointerOverGame(over);
            // Outside the picture the cursor waits at the nearest edge, so it is back
            // under the pointer as soon as the pointer returns.
            const Point clamped{std::clamp(p.x, 0, std::max(0, game.width - 1)),
                                std::clamp(p.y, 0, std::max(0, game.height - 1))};
            dx_ = saturatingAdd(dx_, clamped.x - pointer_.x);
            dy_ = saturatingAdd(dy_, clamped.y - pointer_.y);
            pointer_ = clamped;
            break;
        }
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP: {
            const int b = buttonOf(event.button.button);
            if (b < 0) break;
            const bool down = event.type == SDL_MOUSEBUTTONDOWN;
            buttonsDown_[b] = down;
            if (down) buttonPresses_[b] = true;
            break;
        }
        case SDL_KEYDOWN:
        case SDL_KEYUP: {
            if (event.type == SDL_KEYDOWN && !event.key.repeat) {
                const SDL_Scancode code = event.key.keysym.scancode;
                if ((code == SDL_SCANCODE_RETURN || code == SDL_SCANCODE_KP_ENTER) &&
                    (event.key.keysym.mod & KMOD_ALT)) {
                    toggleFullScreen_ = true;
                    break;
                }
                if (code == SDL_SCANCODE_F12) screenshot_ = true;
                if (code >= SDL_SCANCODE_F5 && code <= SDL_SCANCODE_F8)
                    debugKeys_ |= 1u << (code - SDL_SCANCODE_F5);
                const int engine = code == SDL_SCANCODE_F1      ? EngineMenuKey
                                   : code == SDL_SCANCODE_UP    ? EngineUp
                                   : code == SDL_SCANCODE_DOWN  ? EngineDown
                                   : code == SDL_SCANCODE_LEFT  ? EngineLeft
                                   : code == SDL_SCANCODE_RIGHT ? EngineRight
                                   : code == speechKey_         ? EngineSpeech
                                                                : -1;
                if (engine >= 0) enginePresses_[static_cast<size_t>(engine)] = true;
            }
            const int k = keyOf(event.key.keysym.scancode);
            if (k < 0 || event.key.repeat) break;
            const bool down = event.type == SDL_KEYDOWN;
            keysDown_[k] = down;
            if (down) keyPresses_[k] = true;
            break;
        }
        default:
            break;
    }
}

void SdlInput::setSpeechKey(const std::string& name) {
    const SDL_Scancode code = SDL_GetScancodeFromName(name.c_str());
    speechKey_ = code == SDL_SCANCODE_UNKNOWN ? -1 : static_cast<int>(code);
}

void SdlInput::refresh() {
    pumpEvents();
    DeviceReading r;
    r.dx = dx_;
    r.dy = dy_;
    for (int b = 0; b < 2; ++b) r.buttons[b] = buttonsDown_[b] || buttonPresses_[b];
    for (int k = 0; k < kLogicalKeys; ++k) r.keys[k] = keysDown_[k] || keyPresses_[k];
    r.keyPresses = keyPresses_;
    r.enginePresses = enginePresses_;
    apply(r);
    dx_ = 0;
    dy_ = 0;
    buttonPresses_ = {};
    keyPresses_ = {};
    enginePresses_ = {};
}

}  // namespace zk
