// The end of the stage, played through: from the practice start on easy a
// pilot reading the trace destroys Boss2, waits for Boss and its entrance,
// destroys Boss, and the run goes on through the clear sequence and the
// staff roll back to the title. Each step is checked at the frame that the
// counters of the stage clock, the boss and the screen flow give.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "support/boss_pilot.h"
#include "support/lockstep_game.h"
#include "support/trace_pick.h"

using testing_json::Value;
using trace_pick::from;
using trace_pick::pick;

namespace {

// What the checks need of one frame's trace.
struct Frame {
    long long tick = 0;
    int boss2Active = 0, boss2Hp = 0;
    int bossActive = 0, bossHp = 0, bossTimer = 0;
    double bossX = 0, bossY = 0;
    double shipX = 0, shipY = 0;
    int hp = 0;
    int stageClear = 0, staffRoll = 0, titleScreen = 0, inGame = 0, gameOver = 0;
    int clearTimer = 0, screenDelay = 0, difficulty = 0, bossMusicDelay = 0;
    double letterY[6] = {};
    double eye[3] = {}, lookAt[3] = {};
    int cameraMode = 0;
    double orbitAngle = 0, orbitHeight = 0;
    std::vector<std::string> music;  // "fadeOut 2", "stopAll", ...
};

const std::vector<std::string> worldKeys = {"tick", "boss", "boss2"};
const std::vector<std::string> beamKeys = {"bossBeams", "spiralBeams"};
const std::vector<std::string> playerKeys = {"ship", "shotCooldown", "missile", "hp", "invulnerableFrames"};
const std::vector<std::string> displayKeys = {"stageClear", "staffRoll", "titleScreen", "inGame", "gameOver",
                                              "clearTimer", "screenDelay", "difficulty", "bossMusicDelay",
                                              "letters", "camera"};

int flag(const Value& v, const char* name) { return static_cast<int>(v[name].integer()); }

Frame summarise(const Value& world, const Value& player, const Value& display, const Value& audio) {
    Frame f;
    f.tick = world["tick"].integer();
    const Value& boss2 = world["boss2"];
    f.boss2Active = flag(boss2, "active"), f.boss2Hp = flag(boss2, "hp");
    const Value& boss = world["boss"];
    f.bossActive = flag(boss, "active"), f.bossHp = flag(boss, "hp"), f.bossTimer = flag(boss, "entranceTimer");
    f.bossX = boss["x"].num(), f.bossY = boss["y"].num();
    f.shipX = player["ship"]["x"].num(), f.shipY = player["ship"]["y"].num();
    f.hp = flag(player, "hp");
    f.stageClear = flag(display, "stageClear"), f.staffRoll = flag(display, "staffRoll");
    f.titleScreen = flag(display, "titleScreen"), f.inGame = flag(display, "inGame");
    f.gameOver = flag(display, "gameOver"), f.clearTimer = flag(display, "clearTimer");
    f.screenDelay = flag(display, "screenDelay"), f.difficulty = flag(display, "difficulty");
    f.bossMusicDelay = flag(display, "bossMusicDelay");
    for (int i = 0; i < 6; ++i) f.letterY[i] = display["letters"][i][1].num();
    const Value& camera = display["camera"];
    for (int i = 0; i < 3; ++i) f.eye[i] = camera["eye"][i].num(), f.lookAt[i] = camera["lookAt"][i].num();
    f.cameraMode = flag(camera, "mode");
    f.orbitAngle = camera["orbitAngle"].num(), f.orbitHeight = camera["orbitHeight"].num();
    for (const Value& m : audio["music"].items)
        f.music.push_back(m.has("t") ? m["call"].str() + " " + std::to_string(m["t"].integer()) : m["call"].str());
    return f;
}

using Calls = std::vector<std::string>;

// The first frame from `from` on that `test` holds for, or -1.
template <typename Test>
long firstFrame(const std::vector<Frame>& frames, long from, Test test) {
    for (long f = from; f < static_cast<long>(frames.size()); ++f)
        if (test(frames[f])) return f;
    return -1;
}

void expectAt(const double (&v)[3], double x, double y, double z, long frame) {
    EXPECT_NEAR(v[0], x, 1e-5) << "frame " << frame;
    EXPECT_NEAR(v[1], y, 1e-5) << "frame " << frame;
    EXPECT_NEAR(v[2], z, 1e-5) << "frame " << frame;
}

}  // namespace

TEST(EndingEndToEnd, BothBossesFallAndTheClearAndStaffRollLeadBackToTheTitle) {
    LockstepGame game({"--start-tick", "4490", "--trace-groups", "display,world,player,audio"}, 60);
    BossPilot pilot;
    std::vector<Frame> frames;
    std::string keys = "z";  // the first title chooses easy: start at once
    long cleared = -1;
    for (int f = 0; f < 8000; ++f) {
        const auto line = game.step(keys);
        ASSERT_TRUE(line) << "no answer for frame " << f;
        // Each of these names occurs once in its group, or first there.
        Value world = pick(from(*line, "world"), worldKeys);
        // The beams matter only while their boss is in play.
        if (world["boss"]["active"].integer() == 1 || world["boss2"]["active"].integer() == 1)
            for (const auto& [name, beams] : pick(from(*line, "world"), beamKeys).members)
                world.members[name] = beams;
        const Value player = pick(from(*line, "player"), playerKeys);
        const Value display = pick(from(*line, "display"), displayKeys);
        const Value audio = pick(from(*line, "audio"), {"music"});
        frames.push_back(summarise(world, player, display, audio));
        const Frame& now = frames.back();
        ASSERT_EQ(now.gameOver, 0) << "the ship was lost in frame " << f;
        if (cleared < 0 && now.stageClear == 1) cleared = f;
        if (cleared >= 0 && now.titleScreen == 1 && now.inGame == 0) break;
        // Once Boss is down the ship is held to the right, so that its
        // parking shows.
        keys = cleared >= 0 ? "right" : pilot.next(world, player);
    }
    EXPECT_EQ(game.finish().exitCode, 0);
    ASSERT_GE(cleared, 0) << "Boss never fell";
    const auto at = [&](long f) -> const Frame& { return frames.at(static_cast<std::size_t>(f)); };

    // Boss2: after the 50-frame start hold the clock runs from frame 50, so
    // Boss2 comes at tick 4500 in frame 59 and the clock waits while it lives.
    EXPECT_EQ(at(0).difficulty, 0);
    const long boss2In = firstFrame(frames, 0, [](const Frame& x) { return x.boss2Active == 1; });
    EXPECT_EQ(boss2In, 59);
    EXPECT_EQ(at(boss2In).tick, 4500);
    const long boss2Down = firstFrame(frames, 0, [](const Frame& x) { return x.boss2Hp == 0; });
    ASSERT_GT(boss2Down, boss2In);
    EXPECT_EQ(at(boss2Down).boss2Active, 0);
    EXPECT_EQ(at(boss2Down).tick, 4500);
    EXPECT_EQ(at(boss2Down).music, Calls{"fadeOut 2"});
    EXPECT_EQ(at(boss2Down).bossMusicDelay, 299);

    // Boss: 500 ticks later, y 100 for 160 frames, then hanging at y 5 until
    // its 940-frame entrance is over.
    const long bossIn = firstFrame(frames, 0, [](const Frame& x) { return x.bossActive == 1; });
    ASSERT_EQ(bossIn, boss2Down + 500);
    EXPECT_EQ(at(bossIn).tick, 5000);
    EXPECT_EQ(at(bossIn).bossTimer, 940);
    EXPECT_EQ(at(bossIn + 159).bossY, 100);
    EXPECT_EQ(at(bossIn + 160).bossY, 5);
    EXPECT_EQ(at(bossIn + 939).bossTimer, 1);
    EXPECT_EQ(at(bossIn + 940).bossTimer, 0);
    for (long f = boss2Down + 1; f <= bossIn; ++f) EXPECT_TRUE(at(f).music.empty()) << "frame " << f;
    // The boss music: the fade's 300 frames are long over, so it starts in
    // the frame after Boss is there.
    EXPECT_EQ(at(bossIn + 1).music, Calls{"playTrack 3"});

    // The entrance camera: its cuts at countdown 620, 540, 460, 380, 350
    // and 320, the pull-back from 130, the normal view back at 0.
    const long cut = bossIn + 320;
    EXPECT_EQ(at(cut - 1).cameraMode, 0);
    expectAt(at(cut).eye, 9, 4, 48.5, cut);
    expectAt(at(cut).lookAt, 7.5, 4, 48.5, cut);
    EXPECT_EQ(at(cut).cameraMode, 1);
    expectAt(at(cut + 80).eye, -10, 6.5, 47, cut + 80);
    EXPECT_EQ(at(cut + 80).cameraMode, 0);
    expectAt(at(cut + 160).eye, 0, 6, 60, cut + 160);
    expectAt(at(cut + 160).lookAt, 0, 6, 55, cut + 160);
    expectAt(at(cut + 240).eye, 5, 9, 40, cut + 240);
    expectAt(at(cut + 270).eye, -5, 9, 40, cut + 270);
    expectAt(at(cut + 300).eye, 0, 9.9, 49, cut + 300);
    EXPECT_EQ(at(bossIn + 809).cameraMode, 0);
    EXPECT_EQ(at(bossIn + 810).cameraMode, 2);
    expectAt(at(bossIn + 940).eye, 0, 7, -30, bossIn + 940);

    // Boss moves once its sweep delay has counted 100 frames (the first game
    // of the run).
    EXPECT_EQ(firstFrame(frames, bossIn, [](const Frame& x) { return x.bossX != 0; }), bossIn + 1040);

    // Boss falls: the clear starts in the same frame, and the play music
    // comes back, Boss's slot being empty again.
    const long down = firstFrame(frames, 0, [](const Frame& x) { return x.bossHp == 0; });
    ASSERT_EQ(down, cleared);
    EXPECT_GE(at(down).hp, 1);
    EXPECT_EQ(at(down).bossActive, 0);
    EXPECT_EQ(at(down).clearTimer, 1199);
    EXPECT_EQ(at(down).music, (Calls{"stopAll", "playTrack 2"}));

    // Frame down + j draws the letters with the timer at 1200 - j: C from
    // j = 751, then L, E, A and R 20 frames apart; "!" never.
    for (int i = 0; i < 5; ++i) {
        const long first = down + 751 + 20 * i;
        EXPECT_EQ(at(first - 1).letterY[i], 10) << "letter " << i;
        EXPECT_NEAR(at(first).letterY[i], 9.9, 1e-5) << "letter " << i;
    }
    for (long f = down; f <= down + 1200; ++f) ASSERT_EQ(at(f).letterY[5], 10) << "frame " << f;

    // Below 900 the ship waits at (0, 3) and the camera orbits it: 399
    // frames of turning, the eye rising for 99 and sinking for 99.
    EXPECT_GT(at(down + 300).shipX, 1);
    for (long f = down + 301; f <= down + 1199; ++f) {
        const Frame& x = at(f);
        ASSERT_TRUE(x.shipX == 0 && x.shipY == 3) << "frame " << f;
        EXPECT_NEAR(x.eye[0] - x.lookAt[0], 8 * std::sin(x.orbitAngle), 1e-4) << "frame " << f;
        EXPECT_NEAR(x.eye[1] - x.lookAt[1], x.orbitHeight, 1e-4) << "frame " << f;
        EXPECT_NEAR(x.eye[2] - x.lookAt[2], 11 * std::cos(x.orbitAngle), 1e-4) << "frame " << f;
    }
    EXPECT_NEAR(at(down + 300).orbitAngle, 3.14159, 1e-6);
    EXPECT_NEAR(at(down + 699).orbitAngle, 3.14159 + 3.99, 1e-3);
    EXPECT_EQ(at(down + 1199).orbitAngle, at(down + 699).orbitAngle);
    EXPECT_EQ(at(down + 300).orbitHeight, 0);
    EXPECT_NEAR(at(down + 399).orbitHeight, 99 * 0.035, 1e-3);
    EXPECT_EQ(at(down + 700).orbitHeight, at(down + 399).orbitHeight);
    EXPECT_NEAR(at(down + 799).orbitHeight, 99 * 0.035 - 99 * 0.015, 1e-3);
    EXPECT_EQ(at(down + 1199).orbitHeight, at(down + 799).orbitHeight);
    for (long f = down + 1; f <= down + 1200; ++f) EXPECT_TRUE(at(f).music.empty()) << "frame " << f;

    // Timer 0: the staff roll for 300 frames, the music stopped as it shows;
    // the steering of that last clear frame is no longer undone.
    const long staff = down + 1200;
    EXPECT_TRUE(at(staff - 1).stageClear == 1 && at(staff - 1).staffRoll == 0);
    EXPECT_TRUE(at(staff).stageClear == 0 && at(staff).staffRoll == 1 && at(staff).screenDelay == 299);
    EXPECT_NEAR(at(staff).shipX, 0.2, 1e-6);
    expectAt(at(staff).eye, 0, 7, -30, staff);
    EXPECT_EQ(at(staff + 1).music, Calls{"stopAll"});
    for (long f = staff; f < staff + 300; ++f) {
        ASSERT_EQ(at(f).staffRoll, 1) << "frame " << f;
        EXPECT_EQ(at(f).inGame, 1) << "frame " << f;
        EXPECT_TRUE(f <= staff + 1 || at(f).music.empty()) << "frame " << f;
    }

    // Then the title, normal preselected, its music started afresh.
    const long title = staff + 300;
    ASSERT_EQ(static_cast<long>(frames.size()), title + 1);
    EXPECT_TRUE(at(title).titleScreen == 1 && at(title).inGame == 0 && at(title).staffRoll == 0);
    EXPECT_EQ(at(title).difficulty, 1);
    EXPECT_EQ(at(title).music, (Calls{"stopAll", "stopAll", "playTrack 0"}));
}
