#pragma once

// The credits of the info box. WrapCreditText lays the credits file out once per start: it
// breaks every line wider than the text column after a break character and moves each line to
// its horizontal place with leading blanks, so that printing only has to start every line at
// the left edge. StartCredits puts the logo into the box as its background and starts the
// timer; ScrollCredits moves the text up ScrollStep twips per nominal 10 ms step, entering again
// from below once the text has left at the top. A step of 3 twips is a fifth of a pixel, so
// the timer ticks only when the text reaches another row of device pixels: each tick takes all
// the steps due since the last one, and the box moves the pixels it has drawn instead of
// drawing them anew. The text passes the same positions at the same speed as with a tick every
// 10 ms.

#include "credits/credits_picture.h"
#include "credits/scroll_timer.h"
#include "files/failure.h"

#include <QImage>
#include <QPointer>
#include <QStringList>

#include <memory>
#include <optional>

class TextMeasurer;

// The module's state: one set for the whole run, kept across closing and reopening the box.
struct CreditsState {
    explicit CreditsState(std::unique_ptr<ScrollTimer> timer = std::make_unique<QtScrollTimer>());

    // The laid-out text, every line followed by CR LF.
    QString CreditsText() const;

    qint32 ScrollStep = 0;    // twips per tick
    quint8 TextAlign = 0;     // 1 right, 2 centred, any other value left (in the text column)
    float WidthFactor = 0;    // share of the box width for text, clamped to 0.6 .. 1
    bool StretchLogo = false; // logo over the whole box instead of centred at its own size
    QString CreditsFile;
    QString LogoFile;

    bool IsScrolling = false; // set by every tick, cleared by StopCredits
    int TickSteps = 1;        // nominal steps the next tick takes
    qint32 ScrollY = 0;       // top of the text in the box, twips
    QPointer<CreditsPicture> CreditsBox;
    QStringList CreditsLines;
    qint32 TextAreaWidth = 0;
    qint32 CreditsHeight = 0;
    QImage LogoPicture;
    qint32 LogoWidth = 0;
    qint32 LogoHeight = 0;

    std::unique_ptr<ScrollTimer> Timer;
};

// What the layout measures of the box it lays out for.
struct LayoutBox {
    const TextMeasurer& measurer; // TextWidth in the box's font, twips
    double scaleWidth;            // inner width, twips
};

// Characters after which a line may be broken.
inline constexpr QStringView BreakCharacters = u" .,;:-_!?(/+=*~";

// The credits file is read up to this many bytes, and at most as many lines as a 16-bit counter
// holds are laid out: the info box scrolls what it holds of a longer file.
inline constexpr qint64 MaxCreditsFileBytes = 256 * 1024;
inline constexpr qsizetype MaxCreditLines = 32767;

// Reads the credits file (Windows-1252), at most its first MaxCreditsFileBytes: the text passed in
// when there is no such ordinary, unhidden file, a German notice naming the file when it cannot
// be read.
QString ReadCreditsText(const QString& file, const QString& textWithoutFile);

// Splits the text at CR LF and lays every line out (see the note at the top).
QStringList LayOutCreditLines(const QString& text, const LayoutBox& box, qint32 widthLimit,
                              quint8 alignment);

// Lays out the credits file, or the text when the file does not exist, into CreditsLines.
void WrapCreditText(CreditsState& state, const LayoutBox& box, const QString& text,
                    qint32 widthLimit, quint8 alignment);

// Width of the text column: the box width times the clamped factor, a half to even.
qint32 TextAreaWidthFor(double scaleWidth, float widthFactor);

// Nothing when the credits run; the notice for the user when there is no credits file to run.
std::optional<Failure> StartCredits(CreditsState& state, CreditsPicture& box);
void ScrollCredits(CreditsState& state);
void StopCredits(CreditsState& state);
