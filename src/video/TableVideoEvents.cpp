#include "video/TableVideoEvents.h"

#include "table/MainForm.h"
#include "video/VideoLink.h"

namespace tessaroc::video {

void ConnectTableVideoEvents(table::MainForm &form, VideoLink &link)
{
    table::SeatPanels &seats = form.seats;
    for (int k = 0; k <= 3; ++k) {
        if (forms::Image *button = seats.ImgShow.find(k))
            QObject::connect(button, &forms::Element::Click, &form,
                             [&link, k] { link.ImgShow_Click(k); });
    }
    for (int i = 0; i < 16; ++i) {
        forms::Image *image = seats.ImCmd.find(i);
        if (!image)
            continue;
        QObject::connect(image, &forms::Element::Click, &form, [&link, i] { link.ImCmd_Click(i); });
        QObject::connect(image, &forms::Element::MouseMove, &form,
                         [&link, i](int, int, double, double) { link.ImCmd_MouseMove(i); });
    }
    for (int k = seats.PicLocal.LBound(); k <= seats.PicLocal.UBound(); ++k)
        QObject::connect(&seats.PicLocal(k).widget(), &forms::Surface::MouseMove, &form,
                         [&link](int, int, double, double) { link.PicLocal_MouseMove(); });
    for (int k = seats.vshow.LBound(); k <= seats.vshow.UBound(); ++k)
        QObject::connect(&seats.vshow(k).widget(), &platform::VideoView::PointerMove, &form,
                         [&link, k](int a, int b, float x, float y) {
                             link.vshow_PointerMove(k, a, b, x, y);
                         });
}

} // namespace tessaroc::video
