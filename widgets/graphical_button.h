#pragma once

#include "calc/twips.h"
#include "resources/picture.h"

#include <QPushButton>

// A button that shows its back colour, its picture and its caption together.
class GraphicalButton : public QPushButton {
    Q_OBJECT

public:
    GraphicalButton(const QString& caption, Picture picture, QColor backColour,
                    QWidget* parent = nullptr);

    const Picture& picture() const { return m_picture; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void drawPicture(QPainter& painter, const QRect& area) const;

    Picture m_picture;
    QColor m_backColour;
};

// Gives a control its designer name, its place and its tooltip, which screen readers also read
// as its name.
template <typename Control>
Control* Placed(Control* control, const char* name, const QRect& place,
                const QString& tooltip = {}) {
    control->setObjectName(QLatin1String(name));
    control->setGeometry(place);
    control->setToolTip(tooltip);
    control->setAccessibleName(tooltip);
    return control;
}

// The picture button Command1 that calculates the window's formula. It is reached by Tab; a click
// leaves the keyboard in the formula field.
QPushButton* CreateCommand1(QWidget& window, const QRect& place, const QString& tooltip);
