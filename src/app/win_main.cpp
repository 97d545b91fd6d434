#include "app/win_main.h"

#include <cstdio>

#include "app/frame_timer.h"
#include "app/harness.h"
#include "app/pause.h"
#include "app/process.h"
#include "app/singletons.h"
#include "app/window_proc.h"
#include "autopilot/autopilot.h"

using namespace platform;

namespace {

bool minimisedOrHidden(unsigned showCmd) {
    return showCmd == SW_HIDE || showCmd == SW_MINIMIZE || showCmd == SW_SHOWMINIMIZED ||
           showCmd == SW_SHOWMINNOACTIVE;
}

// The codes of the device the run is played with.
std::int32_t activeDirection() { return controlMode == 0 ? keyboard.direction() : joystick.direction(); }
std::int32_t activeAction() { return controlMode == 0 ? keyboard.action() : joystick.action(); }

// Drawn frames, counted like the frame timer's passes and handed over with them.
std::int32_t g_framesDrawn = 0;
std::int32_t g_drawnRate = 0;

}  // namespace

std::int32_t drawnRate() { return g_drawnRate; }

void runFrame() {
    // The autopilot, when on, holds its keys before they are read.
    autopilot::beforeInput();
    // 1. Input, except while the first boss makes its entrance: then the
    //    codes of the last read are passed on.
    if (world.boss.entranceTimer == 0) {
        if (controlMode == 0) keyboard.read();
        if (controlMode == 1) joystick.poll(hasFocus);
    }
    const std::int32_t direction = activeDirection();
    const std::int32_t action = activeAction();

    // 2. Game logic.
    if (display.inGame == 1) {
        if (display.screenDelay == 0) {
            playerSide.ship.steer(direction, action, world);
            world.setInput(action);
            playerSide.handleAction(action, world.boss.entranceTimer,
                                    playerSide.missile.placements[0].active,
                                    playerSide.missile.stock, display.gameOver, display.stageClear);
        }
        world.checkShots(playerSide.shots.placements.data(), playerSide.ship.placements[0].active);
        world.checkMissile(&playerSide.missile.placements[0], &playerSide.missile.inFlight);
        world.setPlayer(playerSide.ship.placements[0]);
        playerSide.testEnemyShots(world.enemyShots.placements.data());
        playerSide.testBossShots(world.bossBeams.placements.data(), world.boss.placements[0].active);
        playerSide.testBossShots(world.spiralBeams.placements.data(), world.boss2.placements[0].active);
        playerSide.testEnemyBodies(world);
        if (playerSide.hitFlag == 1) world.scoreBoard.hits = 0;
    }

    // 3. Render and screen flow, every frame. A window running behind its
    //    schedule discards the frame's draws; everything else runs the same.
    if (platform::beginFrameDrawing()) ++g_framesDrawn;
    display.renderFrame(world, playerSide, musicPlayer, action, direction);
}

int WinMain(HINSTANCE instance, HINSTANCE, const std::string&, int showCmd) {
    FrameTimer frameTimer;
    MSG msg;

    // 1. Window class and window.
    WNDCLASSEX wc;
    wc.cbSize = 48;
    wc.style = 3;
    wc.lpfnWndProc = windowProc;
    wc.className = "test";
    wc.largeIconPath = nativePath("t\\icon.png");  // the program icon
    RegisterClassEx(wc);
    windowHandle = CreateWindowEx("test", "TERVO", 1024, 768);
    if (!windowHandle) {
        // The game cannot go on without its window (the original did not
        // check, and would crash); end in order instead.
        std::fprintf(stderr, "tervo: the game window could not be created\n");
        return 1;
    }
    ShowWindow(windowHandle, showCmd);

    // 2. Single-instance lock.
    HANDLE mutex = CreateMutexA("test");
    if (WaitForSingleObject(mutex, 0) != WAIT_OBJECT_0) {
        MessageBoxA(windowHandle, "プログラムを２重起動しないでください。", "error", MB_OK | MB_ICONERROR);
        CloseHandle(mutex);
        return 0;
    }

    // 3 to 11. The long-lived objects, in order.
    frameTimer.clearPasses();
    display.init(windowHandle);
    if (!display.device()) return 1;  // the box has been shown; nothing can be drawn
    keyboard.init(instance, windowHandle);
    world.attachAll(display.device(), windowHandle, display.sprite());
    world.loadAll();
    playerSide.attach(display.device(), windowHandle, display.sprite());
    playerSide.load();
    playerSide.reset();
    controlMode = joystick.init(instance, windowHandle);
    musicPlayer.init(windowHandle, instance);
    frameTimer.start();
    ShowCursor(false);

    // 12. The main loop.
    for (;;) {
        frameTimer.countPass();
        harness.notePass();
        bool fetched;
        if (hasFocus == 1 && !gamePaused()) {
            fetched = PeekMessage(&msg);
        } else {
            GetMessage(&msg);  // no frame runs until a message arrives
            fetched = true;
        }
        if (fetched) {
            if (msg.message == WM_QUIT) break;
            TranslateMessage(&msg);
            DispatchMessage(&msg);
        } else {
            WINDOWPLACEMENT placement;
            if (GetWindowPlacement(windowHandle, &placement) && !minimisedOrHidden(placement.showCmd)) {
                runFrame();
                harness.afterFrame();
            }
        }
        if (frameTimer.endPass(windowHandle, playerSide.rateReadout)) {
            g_drawnRate = g_framesDrawn;
            g_framesDrawn = 0;
        }
        Sleep(1);
    }
    return static_cast<int>(msg.wParam);
}
