#include "widgets/graphical_button.h"

#include <QPainter>
#include <QStyleOptionButton>

GraphicalButton::GraphicalButton(const QString& caption, Picture picture, QColor backColour,
                                 QWidget* parent)
    : QPushButton(caption, parent)
    , m_picture(std::move(picture))
    , m_backColour(backColour) {
    setAttribute(Qt::WA_Hover);
}

void GraphicalButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect area = rect();
    painter.fillRect(area, m_backColour);
    if (!m_picture.isNull())
        drawPicture(painter, area);
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

// Pixels of the picture's version for the device, which may have several for each point.
void GraphicalButton::drawPicture(QPainter& painter, const QRect& area) const {
    const QPixmap& pixels = m_picture.forRatio(devicePixelRatioF());
    const qreal ratio = pixels.devicePixelRatio();
    const QSize size = m_picture.size();
    if (size.height() > area.height()) {
        // A key face: its upper part at rest, its lower part pressed, tinted by the back colour.
        const int top = isDown() ? size.height() - area.height() : 0;
        painter.setCompositionMode(QPainter::CompositionMode_Multiply);
        painter.drawPixmap(QRectF(area), pixels,
                           QRectF(0, top * ratio, pixels.width(), area.height() * ratio));
        painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
        return;
    }
    // Any other picture stands centred at its own size.
    QRect place(QPoint(), size);
    place.moveCenter(area.center() + (isDown() ? QPoint(1, 1) : QPoint()));
    painter.drawPixmap(place, pixels);
}

QPushButton* CreateCommand1(QWidget& window, const QRect& place, const QString& tooltip) {
    auto* button =
        Placed(new GraphicalButton(QString(), Picture(QStringLiteral(":/images/command1.jpg")),
                                   window.palette().color(QPalette::Button), &window),
               "Command1", place, tooltip);
    button->setFocusPolicy(Qt::TabFocus);
    return button;
}
