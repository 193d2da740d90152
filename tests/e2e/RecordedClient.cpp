// The table client exactly as the program runs it, but over scripted devices
// behind the item library and the video link: a plug-in folder that holds a
// willing item library, a peer link and a camera that would work. Every call
// any of them receives is written at once as a line to the file named by
// TESSAROC_DEVICE_LOG ("items ...", "peers ...", "camera ..."), so a run
// shows what the switched-off configuration asks of them.

#include "ScriptedItemLibrary.h"
#include "ScriptedVideo.h"
#include "app/RunClient.h"

#include <QFile>

int main(int argc, char **argv)
{
    using namespace tessaroc;
    QFile log(qEnvironmentVariable("TESSAROC_DEVICE_LOG"));
    if (!log.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered))
        return 125;
    const auto echoTo = [&log](const char *device) {
        return [&log, device](const std::string &call) {
            log.write(QByteArray(device) + ' ' + QByteArray::fromStdString(call) + '\n');
        };
    };

    auto library = std::make_shared<test::ScriptedPropLibrary>();
    library->echo = echoTo("items");
    test::ScriptedPropPlugin plugin;
    plugin.echo = echoTo("items");
    plugin.object = library;
    test::ScriptedP2PSocket peers;
    peers.echo = echoTo("peers");
    test::SyntheticCamera camera;
    camera.echo = echoTo("camera");

    return app::RunClient(argc, argv, app::ClientDevices{&plugin, &peers, &camera});
}
