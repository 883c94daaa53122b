#include "frontends/qt/qt_font_warm_up.h"

#include <fontconfig/fontconfig.h>

#include <system_error>

namespace pelmora {

QtFontWarmUp::QtFontWarmUp() {
    try {
        // FcInit loads the configuration and the font cache files once per process;
        // later callers, Qt among them, get the loaded configuration.
        thread_ = std::thread([] { FcInit(); });
    } catch (const std::system_error&) {
        // No thread to spare: Qt loads the configuration itself, as it always can.
    }
}

void QtFontWarmUp::wait() {
    if (thread_.joinable()) thread_.join();
}

} // namespace pelmora
