#pragma once

#include <QIcon>
#include <QPixmap>
#include <QString>

// A picture of the windows together with its "@2x" version, the same design drawn at twice the
// size, where one lies beside it. On a screen with more pixels than points (a desktop scaled to
// 200 %) the double version is drawn, so that no picture is blurred; elsewhere the picture itself.
class Picture {
public:
    Picture() = default;
    // "face_a.jpg" and, where it exists, "face_a@2x.jpg" in the same folder.
    explicit Picture(const QString& path);
    // A picture that has no double version.
    explicit Picture(QPixmap single);

    bool isNull() const { return m_single.isNull(); }
    // In points, the size of the picture itself.
    QSize size() const { return m_single.size(); }
    // The version for a device with this many pixels per point; its device pixel ratio says how
    // many pixels it has per point. The double version is read when it is first asked for.
    const QPixmap& forRatio(qreal devicePixelRatio) const;
    // An icon of both versions, which chooses by the device as the picture does.
    QIcon icon() const;

private:
    QPixmap m_single;
    QString m_doublePath; // empty where there is no double version
    mutable QPixmap m_double;
};
