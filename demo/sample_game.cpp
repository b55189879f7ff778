// Writes a small sample game package: one play room with the main character, used
// as the default game until the full demo adventure is built from demo/ sources.
#include <iostream>

#include "support/game_builder.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: zelkin-sample-game OUTPUT.tgp\n";
        return 2;
    }
    zk::test::GameBuilder game = zk::test::GameBuilder::minimal();
    game.prefs.setTitle("Tolvan");
    game.languages = "text=\"hall\" lang1=\"The hall\"\r\n";
    game.prefs.setLanguage(1);
    game.findRoom("hall")->setTitleKey("hall");
    game.write(argv[1]);
    return 0;
}
