#pragma once

#include "platform/WebView.h"

#include <QString>

namespace tessaroc::platform {

// The engine module's file, which the build puts beside the program.
inline constexpr char kWebEngineModuleFile[] = "libtessaroc_webengine.so";

// The web engine module as loaded: its entry point, or why there is none.
struct WebEngine
{
    TessarocCreateWebView create = nullptr;
    QString error;
};

// Loads the engine module from `folder`, the program's own folder: the
// module runs as the player, so it is looked for nowhere else, and it is
// loaded only when the player (or the superuser, who can change anything
// anyway) owns both the module and its folder and no one else can write
// either. The module must be a regular file there, not a link. It is loaded
// from the file just checked, so it cannot be swapped between the check and
// the load.
WebEngine LoadWebEngine(const QString &folder);

} // namespace tessaroc::platform
