#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "core/error.h"
#include "platform/error_report.h"
#include "platform/headless/headless_platform.h"
#include "support/temp_dir.h"

namespace zk {
namespace {

TEST(VirtualClock, MovesOnlyWhenTold) {
    VirtualClock clock;
    EXPECT_EQ(clock.ticks(), 0u);
    clock.advance(25);
    clock.wait(12);
    EXPECT_EQ(clock.ticks(), 37u);
    VirtualClock late(0xFFFFFFF0u);
    const uint32_t before = late.ticks();
    late.advance(0x20);
    EXPECT_EQ(late.ticks(), 0x10u);
    EXPECT_EQ(late.ticks() - before, 0x20u);
}

TEST(HeadlessDisplay, FlipKeepsTheFrameAndCountsIt) {
    HeadlessDisplay d;
    EXPECT_FALSE(d.canDraw());
    d.flip();
    EXPECT_EQ(d.flips(), 0u);
    int seen = 0;
    uint32_t seenPixel = 0;
    d.onFlip = [&](const Surface& s) {
        ++seen;
        seenPixel = s.pixel(3, 4);
    };
    d.initialize(800, 600, false);
    ASSERT_TRUE(d.canDraw());
    EXPECT_EQ(d.back().width, 800);
    EXPECT_EQ(d.back().height, 600);
    EXPECT_FALSE(d.isFullScreen());
    d.back().setPixel(3, 4, 0x123456);
    d.flip();
    d.back().setPixel(3, 4, 0);  // drawing the next frame leaves the flipped one alone
    EXPECT_EQ(d.lastFrame().pixel(3, 4), 0x123456u);
    EXPECT_EQ(d.flips(), 1u);
    EXPECT_EQ(seen, 1);
    EXPECT_EQ(seenPixel, 0x123456u);

    Surface* back = &d.back();
    d.initialize(640, 480, true);
    EXPECT_EQ(&d.back(), back);  // a canvas on it stays valid
    EXPECT_EQ(d.back().width, 640);
    EXPECT_TRUE(d.isFullScreen());
    d.finalize();
    EXPECT_FALSE(d.canDraw());
    d.flip();
    EXPECT_EQ(d.flips(), 1u);

    EXPECT_THROW(d.initialize(0, 600, false), PlatformError);
    EXPECT_THROW(d.initialize(800, -1, false), PlatformError);
    EXPECT_THROW(d.initialize(100000, 100000, false), PlatformError);

    d.setCaption("Zelkin engine v 0.9");
    EXPECT_EQ(d.caption(), "Zelkin engine v 0.9");
    EXPECT_TRUE(d.systemCursorVisible());
    d.showSystemCursor(false);
    EXPECT_FALSE(d.systemCursorVisible());
}

TEST(Reports, RecordersKeepEverythingInOrder) {
    RecordingMessageBox box;
    box.show("No game startroom found", "");
    box.show("Zelkin", "Event queue overflow");
    ASSERT_EQ(box.shown.size(), 2u);
    EXPECT_EQ(box.shown[0], (RecordingMessageBox::Shown{"No game startroom found", ""}));
    EXPECT_EQ(box.shown[1].text, "Event queue overflow");

    std::ostringstream log;
    RecordingErrorReport errors(log);
    errors.report("Cannot read objects.dat");
    errors.report("two\nlines");
    EXPECT_EQ(errors.messages, (std::vector<std::string>{"Cannot read objects.dat", "two\nlines"}));
    EXPECT_EQ(log.str(), "Error: Cannot read objects.dat\nError: two lines\n");
}

TEST(Reports, OnceReportPassesEachMessageOnce) {
    std::ostringstream log;
    RecordingErrorReport errors(log);
    OnceErrorReport once(errors);
    once.report("a");
    once.report("b");
    once.report("a");
    EXPECT_EQ(errors.messages, (std::vector<std::string>{"a", "b"}));
    once.reset();
    once.report("a");
    EXPECT_EQ(errors.messages.size(), 3u);
}

TEST(Reports, WindowReportLogsThenShowsABox) {
    RecordingMessageBox box;
    std::ostringstream log;
    MessageBoxErrorReport report(box, "Tolvan", log);
    report.report("Wave 'door' not found");
    EXPECT_EQ(log.str(), "Error: Wave 'door' not found\n");
    ASSERT_EQ(box.shown.size(), 1u);
    EXPECT_EQ(box.shown[0], (RecordingMessageBox::Shown{"Tolvan", "Wave 'door' not found"}));
}

TEST(Reports, AWarningIsALogLineAndNeverABox) {
    RecordingMessageBox box;
    std::ostringstream log;
    MessageBoxErrorReport report(box, "Tolvan", log);
    OnceErrorReport once(report);
    once.warn("Wave 'door' not found");
    once.warn("Wave 'door' not found");
    EXPECT_EQ(log.str(), "Warning: Wave 'door' not found\n");
    EXPECT_TRUE(box.shown.empty());
}

// A PCM format block: 22050 Hz, mono, 8 bits, so 22050 bytes a second.
std::vector<uint8_t> pcmFormat() {
    return {1, 0, 1, 0, 0x22, 0x56, 0, 0, 0x22, 0x56, 0, 0, 1, 0, 8, 0};
}

TEST(RecordingSoundMixer, OnceBuffersPlayForTheWaveLength) {
    VirtualClock clock;
    RecordingSoundMixer mixer(clock);
    const std::vector<uint8_t> samples(11025);  // half a second
    const SoundId master = mixer.create(pcmFormat(), samples);
    ASSERT_NE(master, 0u);
    EXPECT_EQ(mixer.buffer(master)->lengthMs, 500u);
    EXPECT_FALSE(mixer.isPlaying(master));
    mixer.play(master, false);
    clock.advance(499);
    EXPECT_TRUE(mixer.isPlaying(master));
    clock.advance(1);
    EXPECT_FALSE(mixer.isPlaying(master));
    // An ended buffer plays again from the start.
    mixer.play(master, false);
    clock.advance(300);
    EXPECT_TRUE(mixer.isPlaying(master));

    // Copies are independent buffers of the same wave.
    const SoundId copy = mixer.duplicate(master);
    ASSERT_NE(copy, 0u);
    EXPECT_NE(copy, master);
    EXPECT_FALSE(mixer.isPlaying(copy));
    mixer.play(copy, false);
    clock.advance(250);
    EXPECT_FALSE(mixer.isPlaying(master));
    EXPECT_TRUE(mixer.isPlaying(copy));
    ASSERT_EQ(mixer.started.size(), 3u);
    EXPECT_EQ(mixer.started[2].id, copy);
    EXPECT_EQ(mixer.started[2].master, master);
    EXPECT_EQ(mixer.started[2].tick, 800u);
}

TEST(RecordingSoundMixer, StopKeepsThePositionAndRewindRestarts) {
    VirtualClock clock;
    RecordingSoundMixer mixer(clock);
    const SoundId id = mixer.create(pcmFormat(), std::vector<uint8_t>(22050));  // 1 s
    mixer.play(id, false);
    clock.advance(400);
    mixer.stop(id);
    EXPECT_FALSE(mixer.isPlaying(id));
    clock.advance(5000);
    mixer.play(id, false);  // goes on at 400 ms
    clock.advance(599);
    EXPECT_TRUE(mixer.isPlaying(id));
    clock.advance(1);
    EXPECT_FALSE(mixer.isPlaying(id));

    mixer.play(id, false);
    clock.advance(900);
    mixer.rewind(id);  // while playing: from the start again
    clock.advance(900);
    EXPECT_TRUE(mixer.isPlaying(id));

    mixer.stop(id);
    mixer.rewind(id);
    mixer.play(id, true);
    clock.advance(10000);
    EXPECT_TRUE(mixer.isPlaying(id));  // looped until stopped
    mixer.stop(id);
    EXPECT_FALSE(mixer.isPlaying(id));
    EXPECT_TRUE(mixer.started.back().looped);
}

TEST(RecordingSoundMixer, RefusesBadFormatsAndUnknownHandles) {
    VirtualClock clock;
    RecordingSoundMixer mixer(clock);
    const std::vector<uint8_t> samples(100);
    EXPECT_EQ(mixer.create(std::vector<uint8_t>(10), samples), 0u);
    std::vector<uint8_t> silent = pcmFormat();
    silent[8] = silent[9] = 0;  // no bytes per second
    EXPECT_EQ(mixer.create(silent, samples), 0u);
    const SoundId id = mixer.create(pcmFormat(), samples);
    EXPECT_EQ(mixer.buffer(id)->lengthMs, 5u);  // 4.5 ms, rounded up
    mixer.release(id);
    EXPECT_EQ(mixer.buffer(id), nullptr);
    mixer.play(id, true);
    EXPECT_FALSE(mixer.isPlaying(id));
    EXPECT_EQ(mixer.duplicate(id), 0u);
    EXPECT_TRUE(mixer.started.empty());
    mixer.deviceReady = false;
    EXPECT_FALSE(mixer.ready());
    EXPECT_EQ(mixer.create(pcmFormat(), samples), 0u);
}

TEST(RecordingMediaPlayer, RecordsWhatTheGameAsks) {
    test::TempDir dir;
    const std::string track = dir.file("theme.mid");
    std::ofstream(track) << "MThd";
    RecordingMediaPlayer player;
    EXPECT_EQ(player.mode(), MediaMode::NotOpen);
    player.play();
    EXPECT_EQ(player.mode(), MediaMode::NotOpen);

    EXPECT_THROW(player.open(dir.file("missing.mid")), DataError);
    EXPECT_EQ(player.mode(), MediaMode::NotOpen);
    EXPECT_EQ(player.fileName(), "");
    EXPECT_EQ(player.opens, 0);

    player.open(track);
    EXPECT_EQ(player.mode(), MediaMode::Stopped);
    EXPECT_EQ(player.fileName(), track);
    player.play();
    player.setVolume(700);
    EXPECT_EQ(player.mode(), MediaMode::Playing);
    player.finish();
    EXPECT_EQ(player.mode(), MediaMode::Stopped);
    player.seekToStart();
    player.play();
    player.stop();
    EXPECT_EQ(player.mode(), MediaMode::Stopped);
    player.close();
    EXPECT_EQ(player.mode(), MediaMode::NotOpen);
    EXPECT_EQ(player.opens, 1);
    EXPECT_EQ(player.volume, 700);
    const std::vector<std::string> calls = {"play",          "open " + dir.file("missing.mid"),
                                            "open " + track, "play",
                                            "volume 700",    "seek",
                                            "play",          "stop",
                                            "close"};
    EXPECT_EQ(player.calls, calls);

    player.requireFiles = false;
    player.open("/nowhere/song.mp3");
    EXPECT_EQ(player.opens, 2);
    EXPECT_EQ(player.mode(), MediaMode::Stopped);
}

TEST(HeadlessPlatform, BundlesOneOfEachService) {
    HeadlessPlatform hp;
    Platform p = hp.platform();
    p.display.initialize(320, 200, false);
    p.canvas.setBrushColor(0xFFFFFF);
    p.canvas.fillRect({0, 0, 10, 10});
    p.display.flip();
    EXPECT_EQ(hp.display.lastFrame().pixel(9, 9), 0xFFFFFFu);
    p.clock.wait(12);
    EXPECT_EQ(hp.clock.ticks(), 12u);
    p.messageBox.show("a", "b");
    EXPECT_EQ(hp.messageBox.shown.size(), 1u);
    EXPECT_TRUE(p.mixer.ready());
}

}  // namespace
}  // namespace zk
