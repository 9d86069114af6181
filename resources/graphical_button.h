#pragma once

#include <QPixmap>
#include <QPushButton>

// A button that shows its back colour, its picture and its caption together.
class GraphicalButton : public QPushButton {
    Q_OBJECT

public:
    GraphicalButton(const QString& caption, const QPixmap& picture, QColor backColour,
                    QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void drawPicture(QPainter& painter, const QRect& area) const;

    QPixmap m_picture;
    QColor m_backColour;
};

// Converts a rectangle from twips to pixels (15 twips per pixel).
QRect FromTwips(int left, int top, int width, int height);
QSize FromTwips(int width, int height);
