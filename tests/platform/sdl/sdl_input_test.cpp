// Bound keys and game controllers through the SDL backend, on SDL's dummy
// video driver: SDL's virtual joysticks are plugged in, pressed and pulled
// out, and what the game reads is still the keyboard's key codes (and the
// joystick's, for a device SDL does not know as a game controller).
#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <deque>
#include <filesystem>
#include <fstream>
#include <memory>
#include <vector>

#include "platform/audio/player_volume.h"
#include "platform/backend.h"
#include "platform/input.h"
#include "platform/sdl/bindings.h"
#include "platform/sdl/sdl_backend.h"
#include "platform/sdl/sdl_input.h"
#include "support/run_game.h"

using namespace platform;
namespace st = platform::settings;

namespace {

class SdlInput : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER), 0) << SDL_GetError();
    }
    void TearDown() override {
        backend_.reset();
        SDL_Quit();
    }

    void start(const st::Settings& settings = {}, const std::string& mappings = "") {
        SdlInputOptions options;
        options.mappingsFile = mappings;
        options.mappingsWhere = "test.conf:1";
        std::vector<st::Problem> problems;
        options.bindings = resolveBindings(settings, problems);
        setSdlInputOptions(options);
        std::string why;
        backend_ = createSdlBackend(why);
        ASSERT_TRUE(backend_) << why;
        pump();
    }

    std::deque<MSG> pump() {
        std::deque<MSG> queue;
        backend_->pumpEvents(queue);
        return queue;
    }

    static bool has(const std::deque<MSG>& queue, WPARAM key) {
        for (const MSG& m : queue)
            if (m.message == WM_KEYDOWN && m.wParam == key) return true;
        return false;
    }

    // The key codes held now, after the events are taken in.
    std::vector<int> held() {
        pump();
        std::uint8_t keys[256] = {};
        backend_->keyboardState(keys);
        std::vector<int> out;
        for (int i = 0; i < 256; ++i)
            if (keys[i] == 0x80) out.push_back(i);
            else EXPECT_EQ(keys[i], 0) << i;
        return out;
    }

    std::unique_ptr<Backend> backend_;
};

// A virtual pad SDL takes for a game controller; its device index.
int plugPad() {
    return SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, SDL_CONTROLLER_AXIS_MAX,
                                     SDL_CONTROLLER_BUTTON_MAX, 0);
}

// Presses or releases a pad's button, found through its mapping.
void press(int device, SDL_GameControllerButton button, bool down) {
    const SDL_JoystickID id = SDL_JoystickGetDeviceInstanceID(device);
    SDL_GameController* pad = SDL_GameControllerFromInstanceID(id);
    ASSERT_NE(pad, nullptr);
    const SDL_GameControllerButtonBind bind = SDL_GameControllerGetBindForButton(pad, button);
    ASSERT_EQ(bind.bindType, SDL_CONTROLLER_BINDTYPE_BUTTON);
    ASSERT_EQ(SDL_JoystickSetVirtualButton(SDL_JoystickFromInstanceID(id), bind.value.button, down), 0);
}

void tilt(int device, SDL_GameControllerAxis axis, Sint16 value) {
    const SDL_JoystickID id = SDL_JoystickGetDeviceInstanceID(device);
    const SDL_GameControllerButtonBind bind =
        SDL_GameControllerGetBindForAxis(SDL_GameControllerFromInstanceID(id), axis);
    ASSERT_EQ(bind.bindType, SDL_CONTROLLER_BINDTYPE_AXIS);
    ASSERT_EQ(SDL_JoystickSetVirtualAxis(SDL_JoystickFromInstanceID(id), bind.value.axis, value), 0);
}

using Keys = std::vector<int>;

}  // namespace

TEST_F(SdlInput, APadAtStartUpSteersFiresAndPausesThroughTheKeyCodes) {
    const int pad = plugPad();
    ASSERT_GE(pad, 0) << SDL_GetError();
    start();
    EXPECT_EQ(backend_->joystickCount(), 0);  // not the game's joystick: it plays as the keyboard
    EXPECT_EQ(held(), Keys{});

    tilt(pad, SDL_CONTROLLER_AXIS_LEFTX, -32768);
    EXPECT_EQ(held(), Keys{DIK_LEFT});
    tilt(pad, SDL_CONTROLLER_AXIS_LEFTY, 20000);  // a diagonal: both directions
    EXPECT_EQ(held(), (Keys{DIK_LEFT, DIK_DOWN}));
    tilt(pad, SDL_CONTROLLER_AXIS_LEFTX, 0);
    tilt(pad, SDL_CONTROLLER_AXIS_LEFTY, 16000);  // under half its travel: nothing
    EXPECT_EQ(held(), Keys{});
    tilt(pad, SDL_CONTROLLER_AXIS_LEFTY, 0);

    press(pad, SDL_CONTROLLER_BUTTON_DPAD_UP, true);
    press(pad, SDL_CONTROLLER_BUTTON_A, true);
    EXPECT_EQ(held(), (Keys{DIK_Z, DIK_UP}));
    press(pad, SDL_CONTROLLER_BUTTON_DPAD_UP, false);
    press(pad, SDL_CONTROLLER_BUTTON_A, false);
    press(pad, SDL_CONTROLLER_BUTTON_B, true);
    EXPECT_EQ(held(), Keys{DIK_X});
    press(pad, SDL_CONTROLLER_BUTTON_B, false);

    // Start pauses, as a message; the game never sees it held.
    press(pad, SDL_CONTROLLER_BUTTON_START, true);
    EXPECT_TRUE(has(pump(), VK_GAMEPAD_MENU));
    EXPECT_EQ(held(), Keys{});
}

TEST_F(SdlInput, APadPluggedInLaterIsTakenUpAndOnePulledOutPauses) {
    start();
    const int pad = plugPad();
    ASSERT_GE(pad, 0) << SDL_GetError();
    EXPECT_FALSE(has(pump(), VK_PAUSE));
    press(pad, SDL_CONTROLLER_BUTTON_A, true);
    EXPECT_EQ(held(), Keys{DIK_Z});

    // Pulled out with its button held: the game pauses and the key is let go.
    ASSERT_EQ(SDL_JoystickDetachVirtual(pad), 0);
    EXPECT_TRUE(has(pump(), VK_PAUSE));
    EXPECT_EQ(held(), Keys{});
    EXPECT_EQ(backend_->joystickCount(), 0);

    // And plugged in again, it plays again.
    const int again = plugPad();
    ASSERT_GE(again, 0);
    pump();
    press(again, SDL_CONTROLLER_BUTTON_B, true);
    EXPECT_EQ(held(), Keys{DIK_X});
}

TEST_F(SdlInput, AJoystickSdlDoesNotKnowIsTheGamesJoystickForTheRun) {
    const int stick = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_UNKNOWN, 2, 4, 1);
    ASSERT_GE(stick, 0) << SDL_GetError();
    ASSERT_FALSE(SDL_IsGameController(stick));
    ASSERT_GE(plugPad(), 0);
    start();
    ASSERT_EQ(backend_->joystickCount(), 1);  // the pad beside it is no joystick of the game

    SDL_Joystick* j = SDL_JoystickFromInstanceID(SDL_JoystickGetDeviceInstanceID(stick));
    ASSERT_NE(j, nullptr);
    SDL_JoystickSetVirtualButton(j, 3, 1);
    SDL_JoystickSetVirtualButton(j, 2, 1);
    SDL_JoystickSetVirtualAxis(j, 0, 32767);
    SDL_JoystickSetVirtualHat(j, 0, SDL_HAT_UP);
    pump();
    JoystickReading r;
    ASSERT_TRUE(backend_->joystickState(0, r));
    EXPECT_EQ(r.buttons[3], 0x80);
    EXPECT_EQ(r.buttons[2], 0x80);
    EXPECT_EQ(r.buttons[0], 0);
    EXPECT_DOUBLE_EQ(r.x, 1.0);
    EXPECT_DOUBLE_EQ(r.y, -1.0);  // the hat, as the stick's end
    EXPECT_EQ(held(), Keys{});    // and nothing of it on the keyboard

    // Pulled out, it reads as lost, and a pad plugged in later does not take its place.
    ASSERT_EQ(SDL_JoystickDetachVirtual(stick), 0);
    pump();
    EXPECT_FALSE(backend_->joystickState(0, r));
    EXPECT_EQ(backend_->joystickCount(), 1);
}

TEST_F(SdlInput, AMappingFileMakesAJoystickAPad) {
    const int stick = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_UNKNOWN, 2, 4, 0);
    ASSERT_GE(stick, 0) << SDL_GetError();
    ASSERT_FALSE(SDL_IsGameController(stick));
    char guid[33];
    SDL_JoystickGetGUIDString(SDL_JoystickGetDeviceGUID(stick), guid, sizeof guid);
    for (int i = 4; i < 8; ++i) guid[i] = '0';  // mapping files leave out the name's CRC
    const std::string dir = makeTempDir("mappings");
    std::ofstream(dir + "/pads.txt") << "# a pad of my own\n"
                                     << guid << ",My stick,a:b3,b:b2,start:b0,leftx:a0,lefty:a1,platform:Linux,\n";
    start({}, dir + "/pads.txt");
    EXPECT_EQ(backend_->joystickCount(), 0);  // a pad now, no longer the game's joystick
    press(stick, SDL_CONTROLLER_BUTTON_A, true);
    EXPECT_EQ(held(), Keys{DIK_Z});
    std::filesystem::remove_all(dir);
}

TEST_F(SdlInput, AMissingMappingFileLeavesThePadsAsSdlKnowsThem) {
    const int pad = plugPad();
    ASSERT_GE(pad, 0);
    start({}, "/nonexistent/pads.txt");
    press(pad, SDL_CONTROLLER_BUTTON_B, true);
    EXPECT_EQ(held(), Keys{DIK_X});
}

TEST_F(SdlInput, BindingsFromTheSettingsMoveTheKeysAndButtons) {
    st::Settings s;
    s.keys[int(st::Action::fire)] = {{"Space", "Z"}, 3};
    s.keys[int(st::Action::missile)] = {{"space", "Left Shift"}, 4};  // Space is fire's already
    s.keys[int(st::Action::up)] = {{"NoSuchKey"}, 5};                 // nothing usable: the default stays
    s.keys[int(st::Action::pause)] = {{"Escape", "C"}, 6};
    s.pad[int(st::Action::fire)] = {{"x"}, 8};
    s.pad[int(st::Action::pause)] = {{"back"}, 9};
    std::vector<st::Problem> problems;
    const InputBindings b = resolveBindings(s, problems);
    ASSERT_EQ(problems.size(), 3u);
    EXPECT_EQ(problems[0].line, 4);
    EXPECT_NE(problems[0].what.find("'space' is already bound to fire; ignored for missile"), std::string::npos);
    EXPECT_EQ(problems[1].line, 5);
    EXPECT_NE(problems[1].what.find("'NoSuchKey' is not an SDL key name"), std::string::npos);
    EXPECT_EQ(problems[2].line, 6);
    EXPECT_NE(problems[2].what.find("Escape always quits"), std::string::npos);
    EXPECT_NE(describeBindings(b).find("  fire        Space, Z\n  missile     Left Shift\n"), std::string::npos)
        << describeBindings(b);
    EXPECT_NE(describeBindings(b).find("  up          Up\n"), std::string::npos);

    const int pad = plugPad();
    ASSERT_GE(pad, 0);
    start(s);
    // The keyboard, from a state by scancode (SDL's own state cannot be
    // pressed from here): Space fires, Left Shift launches, C is the pause key
    // and so no longer gives its own code; X launches no more.
    InputBindings placed = b;
    placeKeys(placed);
    auto keysFor = [&](std::initializer_list<SDL_Scancode> down) {
        Uint8 state[SDL_NUM_SCANCODES] = {};
        for (SDL_Scancode sc : down) state[sc] = 1;
        std::uint8_t keys[256] = {};
        keysFromKeyboard(placed, state, SDL_NUM_SCANCODES, keys);
        Keys out;
        for (int i = 0; i < 256; ++i)
            if (keys[i]) out.push_back(i);
        return out;
    };
    EXPECT_EQ(keysFor({SDL_SCANCODE_SPACE}), Keys{DIK_Z});
    EXPECT_EQ(keysFor({SDL_SCANCODE_Z, SDL_SCANCODE_LSHIFT}), (Keys{DIK_Z, DIK_X}));
    EXPECT_EQ(keysFor({SDL_SCANCODE_X, SDL_SCANCODE_C}), Keys{});
    EXPECT_EQ(keysFor({SDL_SCANCODE_UP}), Keys{DIK_UP});
    EXPECT_EQ(keyAction(placed, SDL_SCANCODE_C), int(st::Action::pause));
    EXPECT_EQ(keyAction(placed, SDL_SCANCODE_P), -1);
    EXPECT_EQ(keyAction(placed, SDL_SCANCODE_F6), int(st::Action::musicUp));
    // Without a binding of its own, C gives its code as it always did.
    InputBindings plain = resolveBindings(st::Settings{}, problems);
    placeKeys(plain);
    std::uint8_t keys[256] = {};
    Uint8 cDown[SDL_NUM_SCANCODES] = {};
    cDown[SDL_SCANCODE_C] = 1;
    keysFromKeyboard(plain, cDown, SDL_NUM_SCANCODES, keys);
    EXPECT_EQ(keys[DIK_C], 0x80);

    // The pad: X fires, A does nothing, back pauses and start does not.
    press(pad, SDL_CONTROLLER_BUTTON_A, true);
    EXPECT_EQ(held(), Keys{});
    press(pad, SDL_CONTROLLER_BUTTON_X, true);
    EXPECT_EQ(held(), Keys{DIK_Z});
    press(pad, SDL_CONTROLLER_BUTTON_START, true);
    EXPECT_FALSE(has(pump(), VK_GAMEPAD_MENU));
    press(pad, SDL_CONTROLLER_BUTTON_BACK, true);
    EXPECT_TRUE(has(pump(), VK_GAMEPAD_MENU));
}

TEST_F(SdlInput, PauseAndVolumeKeysActOncePerPress) {
    st::Settings s;
    s.keys[int(st::Action::pause)] = {{"Space"}, 1};
    start(s);
    auto key = [&](SDL_Scancode scancode, bool repeat) {
        SDL_Event e{};
        e.type = SDL_KEYDOWN;
        e.key.keysym.scancode = scancode;
        e.key.keysym.sym = SDL_GetKeyFromScancode(scancode);
        e.key.repeat = repeat;
        SDL_PushEvent(&e);
        return pump();
    };
    EXPECT_TRUE(has(key(SDL_SCANCODE_SPACE, false), VK_P));
    EXPECT_FALSE(has(key(SDL_SCANCODE_SPACE, true), VK_P));  // held down: no second toggle
    EXPECT_FALSE(has(key(SDL_SCANCODE_P, false), VK_P));     // P is no pause key now

    using audio::VolumeKind;
    audio::setPlayerVolumes(20, 95);
    key(SDL_SCANCODE_F5, false);
    key(SDL_SCANCODE_F5, true);  // a repeat steps nothing
    key(SDL_SCANCODE_F8, false);
    EXPECT_EQ(audio::playerVolume(VolumeKind::music), 10);
    EXPECT_EQ(audio::playerVolume(VolumeKind::sound), 100);  // kept within 100
    for (int i = 0; i < 3; ++i) key(SDL_SCANCODE_F5, false);
    EXPECT_EQ(audio::playerVolume(VolumeKind::music), 0);
}
