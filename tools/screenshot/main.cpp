// tessaroc-screenshot FILE: writes the whole primary screen of the display
// the program runs on ($DISPLAY) to FILE as a PNG. Exit status 0 when the
// file was written, 1 when the screen could not be read or the file not
// written, 2 for a wrong command line.

#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>

#include <cstdio>

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: tessaroc-screenshot FILE.png\n");
        return 2;
    }
    QGuiApplication app(argc, argv);
    QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen) {
        std::fprintf(stderr, "tessaroc-screenshot: no screen\n");
        return 1;
    }
    const QPixmap shot = screen->grabWindow(0);
    if (shot.isNull() || !shot.save(QString::fromLocal8Bit(argv[1]), "PNG")) {
        std::fprintf(stderr, "tessaroc-screenshot: could not write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
