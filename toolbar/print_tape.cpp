#include "toolbar/print_tape.h"

#include "calc/tape.h"
#include "resources/picture_file.h"

#include <QDir>
#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QWidget>

#include <optional>
#include <variant>

namespace {

constexpr int BlankLineCount = 11;
const QString CrLf = QStringLiteral("\r\n");
// Window images are drawn at this multiple of their screen size, so the paper shows no
// screen pixels.
constexpr int PrintScale = 3;

const QString NotPrinted = QStringLiteral(" Das Band wurde nicht gedruckt.");

QString noPrinterMessage() {
    return QStringLiteral("Es ist kein Standarddrucker eingerichtet.") + NotPrinted;
}

QString refusedMessage(const QString& printerName) {
    return QStringLiteral("Der Drucker \u201E%1\u201C hat den Druckauftrag abgelehnt.")
               .arg(printerName) +
           NotPrinted;
}

QString unwritableMessage(const QString& fileName) {
    return QStringLiteral("Die Datei \u201E%1\u201C konnte nicht geschrieben werden.")
               .arg(fileName) +
           NotPrinted;
}

QString withoutLineBreaks(QString text) {
    return text.remove(u'\r').remove(u'\n');
}

QImage windowImage(QWidget& window) {
    QImage image(window.size() * PrintScale, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(PrintScale);
    image.fill(Qt::white);
    window.render(&image);
    return image;
}

// Paints the job's lines and images down the pages of a QPrinter.
class PagePrinter : public TapePrinter {
public:
    PagePrinter(std::unique_ptr<QPrinter> printer, QString refusal)
        : m_printer(std::move(printer))
        , m_refusal(std::move(refusal)) {}

    void printLine(const QString& text) override {
        if (!started())
            return;
        const int lineHeight = m_painter.fontMetrics().lineSpacing();
        makeRoom(lineHeight);
        m_painter.drawText(QRect(0, m_top, m_printer->width(), lineHeight), Qt::AlignLeft,
                           withoutLineBreaks(text));
        m_top += lineHeight;
    }

    void printWindow(QWidget& window) override {
        if (!started())
            return;
        const QImage image = windowImage(window);
        const QSize onPage =
            image.size().scaled(m_printer->width(), m_printer->height(), Qt::KeepAspectRatio);
        makeRoom(onPage.height());
        m_painter.drawImage(QRect(QPoint(0, m_top), onPage), image);
        m_top += onPage.height();
    }

    PrintResult finish() override {
        const bool ended = started() && m_painter.end();
        if (!ended || m_printer->printerState() == QPrinter::Error)
            return PrintResult::notPrinted(m_refusal);
        return {};
    }

private:
    bool started() {
        if (!m_begun) {
            m_begun = true;
            if (m_painter.begin(m_printer.get()))
                m_painter.setFont(QFont(QStringLiteral("Liberation Sans"), 10));
        }
        return m_painter.isActive();
    }

    // Continues on a new page when the next height no longer fits on this one.
    void makeRoom(int height) {
        if (m_top == 0 || m_top + height <= m_printer->height())
            return;
        m_printer->newPage();
        m_top = 0;
    }

    std::unique_ptr<QPrinter> m_printer;
    QString m_refusal;
    QPainter m_painter;
    bool m_begun = false;
    int m_top = 0;
};

class MissingPrinter : public TapePrinter {
public:
    void printLine(const QString&) override {}
    void printWindow(QWidget&) override {}
    PrintResult finish() override { return PrintResult::notPrinted(noPrinterMessage()); }
};

void enterPrintState(const PrintableWindow& window) {
    window.setBackColour(window.window.palette().color(QPalette::Base));
    for (QWidget* control : window.controls)
        control->hide();
    window.setPicture(QPixmap());
    Tape& totals = window.totals;
    if (totals.count() > 0 && totals.selected() == totals.count() - 1)
        totals.setSelected(-1);
}

QString layoutNotice(const QString& layoutPicture, const PictureFailure& failure) {
    return QStringLiteral("Das Bild „%1“ konnte nicht geladen werden: %2 Das Fenster behält sein "
                          "bisheriges Hintergrundbild.")
        .arg(QDir::toNativeSeparators(layoutPicture), failure.reason);
}

// Puts the window back; the notice when the layout picture is there but could not be loaded.
// Without one the window keeps its picture silently: no user was ever given that file.
std::optional<QString> leavePrintState(const PrintableWindow& window,
                                       const QString& layoutPicture) {
    window.setBackColour(window.window.palette().color(QPalette::Button));
    for (QWidget* control : window.controls)
        control->setVisible(!window.workingFields.contains(control));
    const std::variant<QImage, PictureFailure> layout = LoadPictureFile(layoutPicture);
    if (const auto* failure = std::get_if<PictureFailure>(&layout)) {
        window.setPicture(window.picture);
        if (failure->missing)
            return std::nullopt;
        return layoutNotice(layoutPicture, *failure);
    }
    window.setPicture(QPixmap::fromImage(std::get<QImage>(layout)));
    return std::nullopt;
}

} // namespace

std::unique_ptr<TapePrinter> CreateDefaultPrinter() {
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull())
        return std::make_unique<MissingPrinter>();
    return std::make_unique<PagePrinter>(std::make_unique<QPrinter>(info, QPrinter::HighResolution),
                                         refusedMessage(info.printerName()));
}

std::unique_ptr<TapePrinter> CreatePdfPrinter(const QString& fileName) {
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(fileName);
    return std::make_unique<PagePrinter>(std::move(printer), unwritableMessage(fileName));
}

PrintResult PrintTape(const PrintableWindow& window, TapePrinter& printer,
                      const QString& layoutPicture) {
    for (int line = 0; line < BlankLineCount; ++line)
        printer.printLine(CrLf);
    enterPrintState(window);
    printer.printWindow(window.window);
    PrintResult result = printer.finish();
    if (const std::optional<QString> notice = leavePrintState(window, layoutPicture))
        result.notices << *notice;
    return result;
}
