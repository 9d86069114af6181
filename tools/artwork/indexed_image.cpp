#include "tools/artwork/indexed_image.h"

#include <algorithm>
#include <array>
#include <limits>

namespace {

constexpr int PaletteSize = 16;
constexpr int OpaqueEntries = PaletteSize - 1;
constexpr int ClusterRounds = 12;

int distance(QRgb a, QRgb b) {
    const int red = qRed(a) - qRed(b);
    const int green = qGreen(a) - qGreen(b);
    const int blue = qBlue(a) - qBlue(b);
    return 3 * red * red + 4 * green * green + 2 * blue * blue;
}

int nearest(const QList<QRgb>& centres, QRgb colour) {
    int best = 0;
    int bestDistance = std::numeric_limits<int>::max();
    for (int i = 0; i < centres.size(); ++i) {
        const int d = distance(centres[i], colour);
        if (d < bestDistance) {
            bestDistance = d;
            best = i;
        }
    }
    return best;
}

// Farthest-point seeding: every next centre is the colour worst served by those chosen so far.
QList<QRgb> seedCentres(const QList<QRgb>& colours) {
    QList<QRgb> centres{colours.front()};
    while (centres.size() < OpaqueEntries) {
        const auto worst = std::max_element(colours.begin(), colours.end(), [&](QRgb a, QRgb b) {
            return distance(centres[nearest(centres, a)], a) <
                   distance(centres[nearest(centres, b)], b);
        });
        if (distance(centres[nearest(centres, *worst)], *worst) == 0)
            break;
        centres.append(*worst);
    }
    return centres;
}

QList<QRgb> refineCentres(QList<QRgb> centres, const QList<QRgb>& colours) {
    for (int round = 0; round < ClusterRounds; ++round) {
        QList<std::array<long, 4>> sums(centres.size(), {0, 0, 0, 0});
        for (QRgb colour : colours) {
            auto& sum = sums[nearest(centres, colour)];
            sum[0] += qRed(colour);
            sum[1] += qGreen(colour);
            sum[2] += qBlue(colour);
            ++sum[3];
        }
        for (int i = 0; i < centres.size(); ++i) {
            const long count = sums[i][3];
            if (count > 0)
                centres[i] =
                    qRgb(static_cast<int>(sums[i][0] / count), static_cast<int>(sums[i][1] / count),
                         static_cast<int>(sums[i][2] / count));
        }
    }
    return centres;
}

bool isTransparent(QRgb pixel) {
    return qAlpha(pixel) < 128;
}

// Half-covered edge pixels take their share of the background colour.
QRgb overBackground(QRgb pixel, QRgb background) {
    const int alpha = qAlpha(pixel);
    const auto mix = [alpha](int front, int back) {
        return (front * alpha + back * (255 - alpha) + 127) / 255;
    };
    return qRgb(mix(qRed(pixel), qRed(background)), mix(qGreen(pixel), qGreen(background)),
                mix(qBlue(pixel), qBlue(background)));
}

} // namespace

IndexedImage ToSixteenColours(const QImage& picture, QRgb transparentColour) {
    const QImage argb = picture.convertToFormat(QImage::Format_ARGB32);
    QList<QRgb> opaque;
    for (int y = 0; y < argb.height(); ++y)
        for (int x = 0; x < argb.width(); ++x)
            if (!isTransparent(argb.pixel(x, y)))
                opaque.append(overBackground(argb.pixel(x, y), transparentColour));

    const QList<QRgb> centres =
        opaque.isEmpty() ? QList<QRgb>{} : refineCentres(seedCentres(opaque), opaque);
    IndexedImage result;
    result.width = argb.width();
    result.height = argb.height();
    result.transparentIndex = 0;
    result.palette = QList<QRgb>{transparentColour} + centres;
    result.palette.resize(PaletteSize, qRgb(0, 0, 0));
    result.indices.reserve(result.width * result.height);
    for (int y = 0; y < argb.height(); ++y)
        for (int x = 0; x < argb.width(); ++x) {
            const QRgb pixel = argb.pixel(x, y);
            const int index = isTransparent(pixel)
                                  ? 0
                                  : 1 + nearest(centres, overBackground(pixel, transparentColour));
            result.indices.append(static_cast<char>(index));
        }
    return result;
}
