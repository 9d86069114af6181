#include "credits/bas_credit_und_info_box.h"

#include "calc/text_measurer.h"
#include "calc/twips.h"
#include "credits/device_pixels.h"
#include "files/file_access.h"
#include "files/windows1252.h"
#include "resources/picture.h"
#include "resources/picture_file.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>

#include <algorithm>
#include <cmath>
#include <variant>

using namespace std::chrono_literals;

namespace {

const QString LineEnd = QStringLiteral("\r\n");
constexpr auto NominalTick = 10ms;
constexpr int MaxTickSteps = 100;
constexpr float NarrowestWidthFactor = 0.6f;
constexpr float WidestWidthFactor = 1.0f;

bool isBreakCharacter(QChar character) {
    return BreakCharacters.contains(character);
}

bool isBlanksOnly(QStringView text) {
    return std::all_of(text.cbegin(), text.cend(),
                       [](QChar character) { return character == ' '; });
}

// Length of the text up to and including its last break character; 0 when it has none.
qsizetype lengthThroughLastBreak(QStringView text) {
    qsizetype length = text.size();
    while (length > 0 && !isBreakCharacter(text[length - 1]))
        --length;
    return length;
}

// Lays out the lines of one text for one box and column. Widths add up character by character
// (the box measures without kerning), so each character is measured once and a line's prefix
// widths are summed up front: a break is found by binary search instead of taking characters
// off the end of the line one at a time, and the indent is counted instead of tried.
class CreditLayout {
public:
    CreditLayout(const LayoutBox& box, qint32 widthLimit, quint8 alignment)
        : m_box(box)
        , m_limit(widthLimit)
        , m_alignment(alignment)
        , m_blankWidth(box.measurer.textWidth(QStringLiteral(" "))) {}

    QStringList layOut(const QString& text) {
        if (text.isEmpty())
            return {};
        for (QStringView line : QStringView(text).tokenize(LineEnd)) {
            if (m_lines.size() >= MaxCreditLines)
                break;
            layOutLine(line.toString());
        }
        return std::move(m_lines);
    }

private:
    double characterWidth(QChar character) {
        auto known = m_characterWidths.constFind(character);
        if (known == m_characterWidths.cend())
            known = m_characterWidths.insert(character, m_box.measurer.textWidth(character));
        return *known;
    }

    // m_prefixWidths[i] is the width of the line's first i characters.
    void measurePrefixes(const QString& line) {
        m_prefixWidths.resize(line.size() + 1);
        m_prefixWidths[0] = 0;
        for (qsizetype index = 0; index < line.size(); ++index)
            m_prefixWidths[index + 1] = m_prefixWidths[index] + characterWidth(line[index]);
    }

    double width(qsizetype start, qsizetype length) const {
        return m_prefixWidths[start + length] - m_prefixWidths[start];
    }

    // How many characters from start on fit into the column.
    qsizetype fittingLength(qsizetype start) const {
        const auto begin = m_prefixWidths.cbegin() + start;
        const auto past = std::upper_bound(begin, m_prefixWidths.cend(), *begin + m_limit);
        return std::max<qsizetype>(past - begin - 1, 0);
    }

    void layOutLine(const QString& line) {
        measurePrefixes(line);
        if (width(0, line.size()) <= m_limit) {
            append(line, 0, line.size());
            return;
        }
        qsizetype start = 0;
        do {
            const qsizetype length = pieceLength(line, start);
            append(line, start, length);
            start += length;
        } while (!isBlanksOnly(QStringView(line).mid(start)) && m_lines.size() < MaxCreditLines);
    }

    // What of the line from start on goes into the next piece: what fits, shortened to the
    // last break character unless the character after it is one. A run
    // without a break character that is wider than the column is cut after what fits of it,
    // at least one character, so that the layout always moves on.
    qsizetype pieceLength(const QString& line, qsizetype start) const {
        const qsizetype fitting = fittingLength(start);
        const qsizetype cut = start + fitting;
        const bool wordTorn = cut < line.size() && !isBreakCharacter(line[cut]);
        const qsizetype length =
            wordTorn ? lengthThroughLastBreak(QStringView(line).mid(start, fitting)) : fitting;
        return length > 0 ? length : std::max<qsizetype>(fitting, 1);
    }

    double targetWidth(double lineWidth) const {
        const double box = m_box.scaleWidth;
        const double column = m_limit;
        switch (m_alignment) {
        case 1:
            return (box - column) / 2 + column;
        case 2:
            return (box - lineWidth) / 2 + lineWidth;
        default:
            return (box - column) / 2 + lineWidth;
        }
    }

    // The fewest leading blanks that bring a line of this width to its target width.
    qsizetype indentBlanks(double lineWidth) const {
        const double target = targetWidth(lineWidth);
        if (!(lineWidth < target) || !(m_blankWidth > 0))
            return 0;
        auto blanks = static_cast<qsizetype>(std::ceil((target - lineWidth) / m_blankWidth));
        while (lineWidth + static_cast<double>(blanks) * m_blankWidth < target)
            ++blanks;
        while (blanks > 0 && lineWidth + static_cast<double>(blanks - 1) * m_blankWidth >= target)
            --blanks;
        return blanks;
    }

    void append(const QString& line, qsizetype start, qsizetype length) {
        QString piece(indentBlanks(width(start, length)), ' ');
        piece += QStringView(line).mid(start, length);
        m_lines.append(piece);
    }

    const LayoutBox& m_box;
    qint32 m_limit;
    quint8 m_alignment;
    double m_blankWidth;
    QHash<QChar, double> m_characterWidths;
    QList<double> m_prefixWidths;
    QStringList m_lines;
};

QString unreadableNotice(const QString& file) {
    return QStringLiteral("Die Datei mit den Mitwirkenden konnte nicht gelesen werden:\r\n%1")
        .arg(file);
}

// A logo that cannot be loaded leaves the box white.
// The picture in the file; a null one when it cannot be loaded.
QImage loadedPicture(const QString& file) {
    std::variant<QImage, Failure> picture = LoadPictureFile(file);
    auto* loaded = std::get_if<QImage>(&picture);
    return loaded ? std::move(*loaded) : QImage();
}

// The logo for the box's screen: where a point has two pixels, its "@2x" version beside it, if
// one can be loaded. Either way its size in twips is the logo's own.
void loadLogo(CreditsState& state, qreal devicePixelRatio) {
    state.LogoPicture = QImage();
    if (!state.LogoFile.isEmpty() && devicePixelRatio > 1) {
        state.LogoPicture = loadedPicture(DoubleSizePath(state.LogoFile));
        state.LogoPicture.setDevicePixelRatio(2);
    }
    if (!state.LogoFile.isEmpty() && state.LogoPicture.isNull())
        state.LogoPicture = loadedPicture(state.LogoFile);
    const QSizeF size = state.LogoPicture.deviceIndependentSize();
    state.LogoWidth = static_cast<qint32>(std::lround(size.width())) * TwipsPerPixel;
    state.LogoHeight = static_cast<qint32>(std::lround(size.height())) * TwipsPerPixel;
}

// Draws the logo and makes it the background that every clearing restores.
void drawLogoAsBackground(const CreditsState& state, CreditsPicture& box) {
    if (state.LogoFile.isEmpty())
        return;
    const double width = box.ScaleWidth();
    const double height = box.ScaleHeight();
    if (state.StretchLogo)
        box.PaintPicture(state.LogoPicture, QRectF(0, 0, width, height));
    else
        box.PaintPicture(state.LogoPicture,
                         QRectF((width - state.LogoWidth) / 2, (height - state.LogoHeight) / 2,
                                state.LogoWidth, state.LogoHeight));
    box.keepImageAsPicture();
}

// The top position one nominal step after scrollY: ScrollStep higher, or just below the box
// once the text has left it at the top.
qint32 NextScrollY(qint32 scrollY, const CreditsState& state, int scaleHeight) {
    return scrollY > -state.CreditsHeight ? scrollY - state.ScrollStep : scaleHeight;
}

// Nominal steps from ScrollY on until the text stands on another row of the box's device
// pixels; at most a second's worth when it does not move.
int StepsToNextRow(const CreditsState& state, const CreditsPicture& box) {
    const qreal ratio = box.devicePixelRatioF();
    const int row = DeviceRow(state.ScrollY, ratio);
    qint32 ahead = state.ScrollY;
    for (int steps = 1; steps < MaxTickSteps; ++steps) {
        ahead = NextScrollY(ahead, state, box.ScaleHeight());
        if (DeviceRow(ahead, ratio) != row)
            return steps;
    }
    return MaxTickSteps;
}

} // namespace

CreditsState::CreditsState(std::unique_ptr<ScrollTimer> timer)
    : Timer(std::move(timer)) {}

QString CreditsState::CreditsText() const {
    QString text;
    for (const QString& line : CreditsLines)
        text += line + LineEnd;
    return text;
}

QString ReadCreditsText(const QString& file, const QString& textWithoutFile) {
    const QFileInfo info(file);
    if (!info.isFile() || info.isHidden())
        return textWithoutFile;
    const std::variant<QByteArray, Failure> read =
        ReadRegularFile(file, MaxCreditsFileBytes, Oversize::KeepPrefix);
    if (const auto* failure = std::get_if<Failure>(&read))
        return failure->kind == Failure::Kind::Unreadable ? unreadableNotice(file)
                                                          : textWithoutFile;
    return DecodeWindows1252(std::get<QByteArray>(read));
}

QStringList LayOutCreditLines(const QString& text, const LayoutBox& box, qint32 widthLimit,
                              quint8 alignment) {
    return CreditLayout(box, widthLimit, alignment).layOut(text);
}

void WrapCreditText(CreditsState& state, const LayoutBox& box, const QString& text,
                    qint32 widthLimit, quint8 alignment) {
    state.CreditsLines =
        LayOutCreditLines(ReadCreditsText(state.CreditsFile, text), box, widthLimit, alignment);
}

qint32 TextAreaWidthFor(double scaleWidth, float widthFactor) {
    const float factor = std::clamp(widthFactor, NarrowestWidthFactor, WidestWidthFactor);
    // nearbyint rounds in the default mode: to nearest, a half to even.
    return static_cast<qint32>(std::nearbyint(scaleWidth * static_cast<double>(factor)));
}

std::optional<Failure> StartCredits(CreditsState& state, CreditsPicture& box) {
    if (state.CreditsFile.isEmpty())
        return QStringLiteral("Zuerst Textdatei auswählen.");
    box.removePicture();
    box.Cls();
    state.TextAreaWidth = TextAreaWidthFor(box.ScaleWidth(), state.WidthFactor);
    loadLogo(state, box.devicePixelRatioF());
    drawLogoAsBackground(state, box);
    if (state.ScrollY == 0)
        state.ScrollY = box.ScaleHeight();
    WrapCreditText(state, LayoutBox{box.measurer(), static_cast<double>(box.ScaleWidth())},
                   state.CreditsFile, state.TextAreaWidth, state.TextAlign);
    state.CreditsHeight = static_cast<qint32>(
        std::lround(box.lineHeight() * static_cast<double>(state.CreditsLines.size())));
    state.CreditsBox = &box;
    state.TickSteps = 1;
    state.Timer->start(NominalTick, [&state] { ScrollCredits(state); });
    return std::nullopt;
}

void ScrollCredits(CreditsState& state) {
    CreditsPicture* box = state.CreditsBox;
    if (!box) {
        state.Timer->stop(); // the box went away without stopping its timer
        return;
    }
    state.IsScrolling = true;
    for (int step = 0; step < state.TickSteps; ++step)
        state.ScrollY = NextScrollY(state.ScrollY, state, box->ScaleHeight());
    box->ShowLinesAt(state.ScrollY, state.CreditsLines);
    state.TickSteps = StepsToNextRow(state, *box);
    state.Timer->setPeriod(state.TickSteps * NominalTick);
}

void StopCredits(CreditsState& state) {
    state.IsScrolling = false;
    state.Timer->stop();
}
