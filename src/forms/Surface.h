#pragma once

#include "forms/MousePointer.h"
#include "support/PictureTarget.h"

#include <QPixmap>
#include <QPointer>
#include <QWidget>

#include <functional>
#include <vector>

namespace tessaroc::forms {

class Element;

// A container of windowless elements: a form, a picture box, a pop-up window.
// It paints its background picture and then its visible elements from the
// back to the front, and hands mouse input to the topmost visible element
// under the pointer. Its windowed children are ordinary widgets and always lie
// above every element. Units inside are pixels.
class Surface : public QWidget, public support::PictureTarget
{
    Q_OBJECT

public:
    explicit Surface(QWidget *parent = nullptr);
    ~Surface() override;

    // The background picture, drawn unscaled at the top-left corner.
    void setPicture(const QPixmap &picture, int id) override;
    // A background picture made when it is first painted or read: a holder
    // that keeps a picture hidden, or a picture the layout may still replace
    // before the window shows, costs nothing until then. Setting another
    // picture first means this one is never made.
    void setPictureOnFirstUse(std::function<QPixmap()> make, int id);
    int Picture() const override { return pictureId_; }
    const QPixmap &picture() const;

    // The surface's own pointer, shown where no element lies.
    MousePointer mousePointer() const { return pointer_; }
    void setMousePointer(MousePointer pointer);
    void setMouseIcon(const QCursor &icon);

    // The elements from the back to the front.
    const std::vector<Element *> &elements() const { return elements_; }
    // The element that receives input at a point: the topmost visible one
    // whose rectangle holds it, or none.
    Element *elementAt(QPointF point) const;

Q_SIGNALS:
    // Input that reaches the surface itself, in its pixels.
    void Click();
    void DblClick();
    void MouseDown(int button, int shift, double x, double y);
    void MouseUp(int button, int shift, double x, double y);
    void MouseMove(int button, int shift, double x, double y);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    bool event(QEvent *event) override;

private:
    friend class Element;
    void attach(Element *element);
    void detach(Element *element);
    void restack(Element *element, bool toFront);
    int zSequenceOf(const Element *element) const;

    void press(QMouseEvent *event, bool doubleClick);
    void updatePointer(Element *under);
    static int buttonCode(Qt::MouseButton button);
    static int buttonsCode(Qt::MouseButtons buttons);
    static int shiftCode(Qt::KeyboardModifiers modifiers);

    std::vector<Element *> elements_;
    mutable QPixmap picture_;
    mutable std::function<QPixmap()> makePicture_;
    mutable int pictureId_ = 0;
    MousePointer pointer_ = MousePointer::Default;
    QCursor mouseIcon_;
    // The element that took the press keeps the input until the last button
    // is released, as a captured control does; null when the surface has it.
    QPointer<Element> captured_;
    bool pressOnSurface_ = false;
};

} // namespace tessaroc::forms
