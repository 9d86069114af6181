#include "toolbar/print_tape.h"

#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QWidget>

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

    std::optional<Failure> finish() override {
        const bool ended = started() && m_painter.end();
        if (!ended || m_printer->printerState() == QPrinter::Error)
            return m_refusal;
        return std::nullopt;
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
    std::optional<Failure> finish() override { return noPrinterMessage(); }
};

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

std::optional<Failure> PrintTape(QWidget& window, TapePrinter& printer) {
    for (int line = 0; line < BlankLineCount; ++line)
        printer.printLine(CrLf);
    printer.printWindow(window);
    return printer.finish();
}
