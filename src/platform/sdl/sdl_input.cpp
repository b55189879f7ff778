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

int padButtonOf(uint8_t button) {
    switch (button) {
        case SDL_CONTROLLER_BUTTON_A:
            return PadA;
        case SDL_CONTROLLER_BUTTON_B:
            return PadB;
        case SDL_CONTROLLER_BUTTON_X:
            return PadX;
        case SDL_CONTROLLER_BUTTON_Y:
            return PadY;
        case SDL_CONTROLLER_BUTTON_START:
            return PadStart;
        case SDL_CONTROLLER_BUTTON_BACK:
            return PadBack;
        case SDL_CONTROLLER_BUTTON_DPAD_UP:
            return PadUp;
        case SDL_CONTROLLER_BUTTON_DPAD_DOWN:
            return PadDown;
        case SDL_CONTROLLER_BUTTON_DPAD_LEFT:
            return PadLeft;
        case SDL_CONTROLLER_BUTTON_DPAD_RIGHT:
            return PadRight;
        case SDL_CONTROLLER_BUTTON_LEFTSHOULDER:
            return PadLeftShoulder;
        case SDL_CONTROLLER_BUTTON_RIGHTSHOULDER:
            return PadRightShoulder;
        case SDL_CONTROLLER_BUTTON_LEFTSTICK:
            return PadLeftStick;
        case SDL_CONTROLLER_BUTTON_RIGHTSTICK:
            return PadRightStick;
        default:
            return -1;
    }
}

bool isModifier(int code) {
    return code >= SDL_SCANCODE_LCTRL && code <= SDL_SCANCODE_RGUI;
}

// A trigger counts as a button when pulled past half way.
constexpr int kTriggerPulled = 16384;

}  // namespace

struct SdlInput::OpenPads {
    std::vector<SDL_GameController*> list;
};

int SdlInput::padCount() const {
    return static_cast<int>(pads_->list.size());
}

SdlInput::SdlInput() : events_(SDL_INIT_EVENTS), pads_(std::make_unique<OpenPads>()) {
    // Touches come as finger events only; SDL's mouse events made of them would click
    // a second time.
    SDL_SetHint(SDL_HINT_TOUCH_MOUSE_EVENTS, "0");
    try {
        controllers_ = std::make_unique<SdlSubsystem>(SDL_INIT_GAMECONTROLLER);
    } catch (const std::exception&) {
        // No gamepads here; the keyboard and the mouse still work.
    }
}

SdlInput::~SdlInput() {
    for (SDL_GameController* pad : pads_->list) SDL_GameControllerClose(pad);
}

void SdlInput::bindKeys(const DeviceKeyNames& names) {
    for (size_t k = 0; k < names.size(); ++k) {
        deviceScancodes_[k] = names[k].empty() ? 0 : SDL_GetScancodeFromName(names[k].c_str());
        deviceKeysDown_[k] = false;
        armed_[k] = false;
    }
}

void SdlInput::padEvent(const SDL_Event& event) {
    switch (event.type) {
        case SDL_CONTROLLERDEVICEADDED:
            if (SDL_GameController* pad = SDL_GameControllerOpen(event.cdevice.which))
                pads_->list.push_back(pad);
            break;
        case SDL_CONTROLLERDEVICEREMOVED:
            for (size_t i = 0; i < pads_->list.size(); ++i) {
                SDL_Joystick* stick = SDL_GameControllerGetJoystick(pads_->list[i]);
                if (SDL_JoystickInstanceID(stick) != event.cdevice.which) continue;
                SDL_GameControllerClose(pads_->list[i]);
                pads_->list.erase(pads_->list.begin() + static_cast<std::ptrdiff_t>(i));
                break;
            }
            if (pads_->list.empty()) {
                padHeld_ = {};
                stickX_ = stickY_ = 0;
            }
            break;
        case SDL_CONTROLLERBUTTONDOWN:
        case SDL_CONTROLLERBUTTONUP: {
            const int b = padButtonOf(event.cbutton.button);
            if (b < 0 || !windowActive()) break;
            const bool down = event.type == SDL_CONTROLLERBUTTONDOWN;
            padHeld_[static_cast<size_t>(b)] = down;
            if (down) padPresses_[static_cast<size_t>(b)] = true;
            break;
        }
        case SDL_CONTROLLERAXISMOTION: {
            if (!windowActive()) break;
            // -32768..32767 to -kStickRange..kStickRange.
            const int v =
                std::clamp(event.caxis.value * kStickRange / 32767, -kStickRange, kStickRange);
            auto trigger = [&](int button) {
                const bool pulled = event.caxis.value > kTriggerPulled;
                if (pulled && !padHeld_[static_cast<size_t>(button)])
                    padPresses_[static_cast<size_t>(button)] = true;
                padHeld_[static_cast<size_t>(button)] = pulled;
            };
            switch (event.caxis.axis) {
                case SDL_CONTROLLER_AXIS_LEFTX:
                    stickX_ = v;
                    break;
                case SDL_CONTROLLER_AXIS_LEFTY:
                    stickY_ = v;
                    break;
                case SDL_CONTROLLER_AXIS_TRIGGERLEFT:
                    trigger(PadLeftTrigger);
                    break;
                case SDL_CONTROLLER_AXIS_TRIGGERRIGHT:
                    trigger(PadRightTrigger);
                    break;
                default:
                    break;
            }
            break;
        }
        default:
            break;
    }
}

void SdlInput::touchEvent(const SDL_Event& event) {
    if (!display_ || !windowActive()) return;
    SDL_Window* window = SDL_GetWindowFromID(event.tfinger.windowID);
    if (!window) window = SDL_GetMouseFocus();
    if (!window) return;
    int w = 0, h = 0;
    SDL_GetWindowSize(window, &w, &h);
    const Point p =
        display_->windowToGame(static_cast<int>(event.tfinger.x * static_cast<float>(w)),
                               static_cast<int>(event.tfinger.y * static_cast<float>(h)));
    TouchEvent t;
    t.kind = event.type == SDL_FINGERDOWN ? TouchEvent::Kind::Down
             : event.type == SDL_FINGERUP ? TouchEvent::Kind::Up
                                          : TouchEvent::Kind::Move;
    t.finger = static_cast<long long>(event.tfinger.fingerId);
    t.x = p.x;
    t.y = p.y;
    touches_.push_back(t);
}

void SdlInput::deviceKeyEvent(const SDL_Event& event) {
    if (event.key.repeat) return;
    const int code = event.key.keysym.scancode;
    const bool down = event.type == SDL_KEYDOWN;
    for (size_t k = 0; k < deviceScancodes_.size(); ++k) {
        const int bound = deviceScancodes_[k];
        // The slow key is either Shift.
        const bool match =
            bound != 0 && (code == bound || (k == DeviceSlow && bound == SDL_SCANCODE_LSHIFT &&
                                             code == SDL_SCANCODE_RSHIFT));
        const bool clickKey = k == DeviceClick || k == DeviceRightClick;
        if (!match) {
            if (down) armed_[k] = false;  // another key: a held modifier is a shortcut
            continue;
        }
        if (clickKey && isModifier(bound)) {
            if (down)
                armed_[k] = true;
            else if (armed_[k])
                deviceKeyPresses_[k] = true;
            if (!down) armed_[k] = false;
            continue;
        }
        deviceKeysDown_[k] = down;
        if (down) deviceKeyPresses_[k] = true;
    }
}

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
                    padHeld_ = {};
                    stickX_ = stickY_ = 0;
                    deviceKeysDown_ = {};
                    armed_ = {};
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
            if (!windowActive() || event.motion.which == SDL_TOUCH_MOUSEID) break;
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
            if (b < 0 || event.button.which == SDL_TOUCH_MOUSEID) break;
            const bool down = event.type == SDL_MOUSEBUTTONDOWN;
            buttonsDown_[b] = down;
            if (down) buttonPresses_[b] = true;
            break;
        }
        case SDL_CONTROLLERDEVICEADDED:
        case SDL_CONTROLLERDEVICEREMOVED:
        case SDL_CONTROLLERBUTTONDOWN:
        case SDL_CONTROLLERBUTTONUP:
        case SDL_CONTROLLERAXISMOTION:
            padEvent(event);
            break;
        case SDL_FINGERDOWN:
        case SDL_FINGERUP:
        case SDL_FINGERMOTION:
            touchEvent(event);
            break;
        case SDL_KEYDOWN:
        case SDL_KEYUP: {
            deviceKeyEvent(event);
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
    r.pad.connected = !pads_->list.empty();
    for (size_t b = 0; b < padHeld_.size(); ++b) r.pad.held[b] = padHeld_[b] || padPresses_[b];
    r.pad.presses = padPresses_;
    r.pad.stickX = stickX_;
    r.pad.stickY = stickY_;
    for (size_t k = 0; k < deviceKeysDown_.size(); ++k)
        r.deviceKeys[k] = deviceKeysDown_[k] || deviceKeyPresses_[k];
    r.deviceKeyPresses = deviceKeyPresses_;
    r.touches = std::move(touches_);
    touches_.clear();
    apply(std::move(r));
    dx_ = 0;
    dy_ = 0;
    buttonPresses_ = {};
    keyPresses_ = {};
    enginePresses_ = {};
    padPresses_ = {};
    deviceKeyPresses_ = {};
}

}  // namespace zk
