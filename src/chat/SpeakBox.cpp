#include "chat/SpeakBox.h"

#include <QVariant>
#include <QWidget>

namespace tessaroc::chat {

QString SpeakBoxTag(int displayPos)
{
    return QStringLiteral("speak") + QString::number(displayPos);
}

QString windowTag(const QWidget &window)
{
    return window.property(kTagProperty).toString();
}

void setWindowTag(QWidget &window, const QString &tag)
{
    window.setProperty(kTagProperty, tag);
}

bool SetFormAlpha(QWidget &window, int alpha)
{
    if (alpha < 0 || alpha > 255)
        return false;
    window.setWindowOpacity(alpha / 255.0);
    return true;
}

void SetFormTopmost(QWidget &window, bool topmost)
{
    // Changing a window flag hides the window; it keeps its visibility.
    const bool wasVisible = window.isVisible();
    window.setWindowFlag(Qt::WindowStaysOnTopHint, topmost);
    if (wasVisible)
        window.show();
}

} // namespace tessaroc::chat
