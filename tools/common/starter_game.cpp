#include "starter_game.h"

#include <fstream>
#include <string>

#include "assets/image.h"
#include "assets/wave_list.h"
#include "core/error.h"
#include "media_files.h"

namespace zk::tools {
namespace {

namespace fs = std::filesystem;

constexpr const char* kGame =
    R"(# A first game: pack it with "zelkin-pack mygame" (writes mygame.tgp) or play the
# folder directly with "zelkin mygame" ("--watch" reloads it when a file changes).
title = "My first game"
mainCharacterName = "hero"
startCursor = "arrow"
language = 1
dialogImages = "false"          # the dialogue box is black ("true": interface/dlg.png)
wrongSubjectTexts = ["That does not work."]
)";

constexpr const char* kCursors = R"([[cursor]]
name = "arrow"
frameDelay = 100

[[cursor]]
name = "exit"
hotX = 8
hotY = 8
frameDelay = 100
)";

constexpr const char* kInventory = R"(barX = 0
barY = 540
showRoomTitle = true
titlePosition = [600, 560]

[[slot]]
rect = [10, 545, 60, 595]

[[slot]]
rect = [70, 545, 120, 595]
)";

// Every text the game shows, in language 1 (the game starts in it).
constexpr const char* kLanguages =
    "text=\"Hall\" lang1=\"The hall\"\n"
    "text=\"Garden\" lang1=\"The garden\"\n"
    "text=\"To the garden\" lang1=\"To the garden\"\n"
    "text=\"To the hall\" lang1=\"To the hall\"\n"
    "text=\"key\" lang1=\"a small key\"\n"
    "text=\"gardener\" lang1=\"the gardener\"\n"
    "text=\"gardener.question\" lang1=\"Nice day, isn't it?\"\n"
    "text=\"Yes\" lang1=\"Yes, lovely.\"\n"
    "text=\"No\" lang1=\"Not really.\"\n"
    "text=\"gardener.yes\" lang1=\"I found a key in the hall earlier.\"\n"
    "text=\"gardener.no\" lang1=\"Cheer up!\"\n"
    "text=\"That does not work.\" lang1=\"That does not work.\"\n";

constexpr const char* kHero =
    R"(# The main character. Its standing and walking pictures are in objects/hero/.
kind = "character"
spriteFile = "stand.dxg"
standLeftSprite = "stand.dxg"
standRightSprite = "stand.dxg"
standUpSprite = "stand.dxg"
standDownSprite = "stand.dxg"
walkLeftSprite = "stand.dxg"
walkRightSprite = "stand.dxg"
walkUpSprite = "stand.dxg"
walkDownSprite = "stand.dxg"
anchorX = 12                    # the feet: the point placed on x, y
anchorY = 60
textAnchorX = 12
walkStep = 4
depth = 50
)";

constexpr const char* kKey = R"(# An item: a click picks it up, the inventory bar holds it.
kind = "subject"
displayNameKey = "key"
spriteFile = "key.dxg"
iconFile = "key.dxg"
anchorX = 10
anchorY = 10
)";

constexpr const char* kGardener = R"(displayNameKey = "gardener"
spriteFile = "gardener.dxg"
anchorX = 15
anchorY = 70
textAnchorX = 15

[[event]]
name = "onclick"
# Choices end with "#"; "ifdlgresult" counts them from 0.
script = '''
walkto hero <right> 500 420 1
startdialog <self> head.dxg "gardener.question" "Yes#No#" 0 0
ifdlgresult 0
showhint <self> true "gardener.yes"
ifdlgresult 1
showhint <self> true "gardener.no"
'''
)";

constexpr const char* kHall = R"(titleKey = "Hall"
background = "background.dxg"
maskFile = "mask.dxg"
minScaleRow = 300
maxScaleRow = 540
minScale = 80
maxScale = 100

[[placement]]
name = "hero"
x = 200
y = 440

[[placement]]
name = "key"
x = 400
y = 460

[[zone]]
rect = [760, 300, 799, 539]
walkX = 760
walkY = 440
fade = true
cursor = "exit"
hintKey = "To the garden"
targetRoom = "garden"
targetEntrance = "fromhall"

[[entrance]]
name = "fromgarden"
facing = "<left>"
x = 740
y = 440
walkX = 680
walkY = 440
)";

constexpr const char* kGarden = R"(titleKey = "Garden"
background = "background.dxg"
maskFile = "mask.dxg"

[[placement]]
name = "gardener"
x = 560
y = 420

[[zone]]
rect = [0, 300, 39, 539]
walkX = 40
walkY = 440
fade = true
cursor = "exit"
hintKey = "To the hall"
targetRoom = "hall"
targetEntrance = "fromgarden"

[[entrance]]
name = "fromhall"
facing = "<right>"
x = 60
y = 440
walkX = 120
walkY = 440
)";

// Sounds 0, 1 and 2 in this order: an item taken, laid into a slot, two combined.
constexpr const char* kSounds = R"([[sound]]
file = "take.wav"

[[sound]]
file = "drop.wav"

[[sound]]
file = "combine.wav"
)";

// The test script of a headless run: zelkin mygame --headless --input mygame/tests/play.txt
constexpr const char* kPlay = R"(# Take the key, walk to the garden and talk to the gardener.
# "move" first, then "wait 1" so that the hover sees the object, then "click".
move 400 459
wait 1
click
wait 80
state key-taken
# A right click lays the held item into the inventory bar.
rclick
wait 2
move 780 420
wait 1
click
wait 200
state garden
move 560 390
wait 1
click
wait 120
state dialogue
)";

Image filled(int w, int h, uint32_t color) {
    Image i;
    i.width = w;
    i.height = h;
    i.pixels.assign(size_t(w) * size_t(h), color);
    return i;
}

void box(Image& i, int l, int t, int r, int b, uint32_t color) {
    for (int y = std::max(t, 0); y < std::min(b, i.height); ++y)
        for (int x = std::max(l, 0); x < std::min(r, i.width); ++x)
            i.pixels[size_t(y) * size_t(i.width) + size_t(x)] = color;
}

// A room: wall above row 300, floor below; the mask lets characters walk on the floor.
void room(const fs::path& dir, uint32_t wall, uint32_t floor) {
    Image bg = filled(800, 600, wall);
    box(bg, 0, 300, 800, 600, floor);
    writePngFile(dir / "background.png", bg);
    Image mask = filled(800, 600, 0);
    box(mask, 10, 330, 790, 530, 0xFFFFFF);
    writePngFile(dir / "mask.png", mask);
}

// A short square-wave beep, 8-bit mono PCM.
std::vector<uint8_t> beep(int period) {
    Wave w;
    const uint32_t rate = 11025;
    w.format = {1, 0, 1, 0};  // PCM, mono
    for (uint32_t v : {rate, rate}) {
        for (int b = 0; b < 4; ++b) w.format.push_back(uint8_t(v >> (8 * b)));
    }
    w.format.insert(w.format.end(), {1, 0, 8, 0});  // block align 1, 8 bits
    for (int i = 0; i < 1500; ++i) w.samples.push_back((i / period) % 2 ? 0xB0 : 0x50);
    return wavFile(w);
}

void text(const fs::path& path, const char* content) {
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary);
    out << content;
    if (!out) throw DataError("Cannot write '" + path.string() + "'");
}

}  // namespace

void writeStarterGame(const fs::path& folder) {
    std::error_code ec;
    if (fs::exists(folder, ec) && !fs::is_empty(folder, ec))
        throw DataError("'" + folder.string() + "' already exists and is not empty");
    text(folder / "game.toml", kGame);
    text(folder / "cursors.toml", kCursors);
    text(folder / "inventory.toml", kInventory);
    text(folder / "languages.txt", kLanguages);
    text(folder / "objects/hero.toml", kHero);
    text(folder / "objects/key.toml", kKey);
    text(folder / "objects/gardener.toml", kGardener);
    text(folder / "rooms/hall.toml", kHall);
    text(folder / "rooms/garden.toml", kGarden);
    text(folder / "interface/sounds.toml", kSounds);
    text(folder / "tests/play.txt", kPlay);

    fs::create_directories(folder / "cursors/arrow");
    Image arrow = filled(12, 12, 0xFFFFFF);
    box(arrow, 2, 2, 10, 10, 0x202020);
    writePngFile(folder / "cursors/arrow/sprite.png", arrow);
    fs::create_directories(folder / "cursors/exit");
    writePngFile(folder / "cursors/exit/sprite.png", filled(16, 16, 0x40C040));

    fs::create_directories(folder / "interface");
    writePngFile(folder / "interface/inv.png", filled(800, 60, 0x303040));
    writePngFile(folder / "interface/saving.png", filled(200, 50, 0x202080));
    writeFileBytes(folder / "interface/take.wav", beep(8));
    writeFileBytes(folder / "interface/drop.wav", beep(12));
    writeFileBytes(folder / "interface/combine.wav", beep(5));

    fs::create_directories(folder / "objects/hero");
    Image hero = filled(24, 60, 0x3050C0);
    box(hero, 4, 0, 20, 16, 0xE0B090);  // the head
    writePngFile(folder / "objects/hero/stand.png", hero);
    fs::create_directories(folder / "objects/key");
    Image key = filled(20, 20, 0x000000);  // black is transparent
    box(key, 2, 6, 18, 12, 0xE0C020);
    writePngFile(folder / "objects/key/key.png", key);
    fs::create_directories(folder / "objects/gardener");
    Image gardener = filled(30, 70, 0x308030);
    box(gardener, 6, 0, 24, 18, 0xD0A080);
    writePngFile(folder / "objects/gardener/gardener.png", gardener);
    writePngFile(folder / "objects/gardener/head.png", filled(48, 48, 0xD0A080));

    fs::create_directories(folder / "rooms/hall");
    room(folder / "rooms/hall", 0x806040, 0x604830);
    fs::create_directories(folder / "rooms/garden");
    room(folder / "rooms/garden", 0x6090D0, 0x407030);
}

}  // namespace zk::tools
