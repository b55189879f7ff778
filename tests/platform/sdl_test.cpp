#include <SDL.h>
#include <SDL_image.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "platform/platform_error.h"
#include "platform/png.h"
#include "platform/sdl/sdl_clock.h"
#include "platform/sdl/sdl_display.h"
#include "platform/sdl/sdl_message_box.h"
#include "support/temp_dir.h"

namespace zk {
namespace {

TEST(Png, WritesAnRgbImageThatReadsBackTheSame) {
    test::TempDir dir;
    Surface s(7, 5);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 7; ++x) s.setPixel(x, y, rgb(x * 36, y * 60, (x * y * 13) & 0xFF));
    s.setPixel(6, 4, 0xFFFFFF);
    const std::string path = dir.file("shot.png");
    writePng(s, path);

    // Colour type 2 in the header: RGB without alpha.
    std::ifstream file(path, std::ios::binary);
    std::string header(26, '\0');
    file.read(header.data(), 26);
    EXPECT_EQ(header.substr(1, 3), "PNG");
    EXPECT_EQ(header[25], 2);

    SDL_Surface* loaded = IMG_Load(path.c_str());
    ASSERT_NE(loaded, nullptr) << IMG_GetError();
    SDL_Surface* conv = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_RGB888, 0);
    SDL_FreeSurface(loaded);
    ASSERT_NE(conv, nullptr);
    ASSERT_EQ(conv->w, 7);
    ASSERT_EQ(conv->h, 5);
    for (int y = 0; y < 5; ++y) {
        const auto* row = reinterpret_cast<const uint32_t*>(
            static_cast<const uint8_t*>(conv->pixels) + y * conv->pitch);
        for (int x = 0; x < 7; ++x) EXPECT_EQ(row[x] & 0xFFFFFF, s.pixel(x, y)) << x << "," << y;
    }
    SDL_FreeSurface(conv);

    EXPECT_THROW(writePng(Surface{}, dir.file("empty.png")), PlatformError);
    EXPECT_THROW(writePng(s, dir.file("no/such/folder/shot.png")), PlatformError);
}

TEST(SdlDisplay, OpensFlipsAndCaptionsUnderTheDummyDriver) {
    SdlDisplay d;
    EXPECT_FALSE(d.canDraw());
    EXPECT_EQ(d.window(), nullptr);
    d.setCaption("Zelkin engine v 0.9");
    d.initialize(320, 240, false);
    ASSERT_TRUE(d.canDraw());
    ASSERT_NE(d.window(), nullptr);
    EXPECT_STREQ(SDL_GetWindowTitle(d.window()), "Zelkin engine v 0.9");
    EXPECT_EQ(d.back().width, 320);
    EXPECT_EQ(d.back().height, 240);
    d.back().fill(0x808080);
    d.flip();
    d.setCaption("Tolvan \xC3\xA9");
    EXPECT_EQ(d.caption(), "Tolvan \xC3\xA9");
    EXPECT_STREQ(SDL_GetWindowTitle(d.window()), "Tolvan \xC3\xA9");

    SDL_Window* window = d.window();
    d.finalize();
    EXPECT_FALSE(d.canDraw());
    d.flip();  // nothing to show on
    d.initialize(640, 480, true);
    EXPECT_EQ(d.window(), window);  // the same window in the new mode
    EXPECT_TRUE(d.isFullScreen());
    EXPECT_EQ(d.back().width, 640);
    d.flip();
    d.showSystemCursor(false);
    d.setPointerOverGame(true);
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_DISABLE);
    // The hidden pointer shows again off the game picture (in the bars, outside).
    d.setPointerOverGame(false);
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_ENABLE);
    d.setPointerOverGame(true);
    d.showSystemCursor(true);
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_ENABLE);
    EXPECT_THROW(d.initialize(0, 0, false), PlatformError);
}

TEST(SdlClock, WaitLetsAtLeastThatMuchTimePass) {
    SdlClock clock;
    const uint32_t before = clock.ticks();
    clock.wait(5);
    EXPECT_GE(clock.ticks() - before, 5u);
}

TEST(SdlMessageBox, FallsBackToTheLogWithoutADisplay) {
    if (std::getenv("DISPLAY") || std::getenv("WAYLAND_DISPLAY")) {
        GTEST_SKIP() << "a real box would wait for a click";
    }
    std::ostringstream log;
    SdlMessageBox box(nullptr, log);
    box.show("No game startroom found", "");
    EXPECT_EQ(log.str(), "No game startroom found: \n");
}

}  // namespace
}  // namespace zk
