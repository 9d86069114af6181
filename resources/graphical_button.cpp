#include "resources/graphical_button.h"

#include "calc/module1.h"

#include <QPainter>
#include <QStyleOptionButton>

namespace {
constexpr qreal FaceOpacity = 0.55;
}

GraphicalButton::GraphicalButton(const QString& caption, const QPixmap& picture,
                                 QColor backColour, QWidget* parent)
    : QPushButton(caption, parent), m_picture(picture), m_backColour(backColour)
{
    setAttribute(Qt::WA_Hover);
}

void GraphicalButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QRect area = rect();
    painter.fillRect(area, m_backColour);
    if (!m_picture.isNull()) {
        // The face is taller than the key: its upper part shows, pressed keys show the lower.
        const int offset = isDown() ? m_picture.height() - area.height() : 0;
        // The face lies over the back colour, which shows through it.
        painter.setOpacity(FaceOpacity);
        painter.drawPixmap(area, m_picture,
                           QRect(0, std::max(offset, 0), m_picture.width(),
                                 std::min(area.height(), m_picture.height())));
        painter.setOpacity(1.0);
    }
    QStyleOptionButton option;
    initStyleOption(&option);
    option.rect = area;
    option.palette.setColor(QPalette::ButtonText, Qt::black);
    style()->drawControl(QStyle::CE_PushButtonLabel, &option, &painter, this);
    painter.setPen(isDown() ? palette().color(QPalette::Dark) : palette().color(QPalette::Light));
    painter.drawLine(area.topLeft(), area.topRight());
    painter.drawLine(area.topLeft(), area.bottomLeft());
    painter.setPen(isDown() ? palette().color(QPalette::Light) : palette().color(QPalette::Shadow));
    painter.drawLine(area.bottomLeft(), area.bottomRight());
    painter.drawLine(area.topRight(), area.bottomRight());
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = area.adjusted(3, 3, -3, -3);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
    }
}

QRect FromTwips(int left, int top, int width, int height)
{
    return {left / TwipsPerPixel, top / TwipsPerPixel, width / TwipsPerPixel,
            height / TwipsPerPixel};
}

QSize FromTwips(int width, int height)
{
    return {width / TwipsPerPixel, height / TwipsPerPixel};
}
