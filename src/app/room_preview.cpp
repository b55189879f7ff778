#include "app/room_preview.h"

#include "app/main_window.h"
#include "logic/scene.h"
#include "platform/headless/headless_platform.h"
#include "render/compose.h"
#include "render/geometry.h"

namespace zk {

Surface roomPreview(const std::filesystem::path& package, const std::string& room) {
    HeadlessPlatform headless;
    Platform platform = headless.platform();
    WindowOptions options;
    options.packagePath = package;
    options.startRoom = room;
    MainWindow window(platform, options);
    window.FormCreate();
    window.Timer2Timer();  // the waiting message
    window.Timer2Timer();  // the loader, and the room
    GameState& g = window.game();
    prepareScene(g);
    composeScene(g);
    Surface shown = platform.display.back();
    drawRoomGeometry(g, shown, kGeometryAll);
    window.FormClose();
    return shown;
}

}  // namespace zk
