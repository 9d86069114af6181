#include "credits/frm_start.h"

#include "calc/twips.h"
#include "credits/window_placement.h"
#include "resources/fonts.h"
#include "widgets/accessibility.h"
#include "widgets/graphical_button.h"

#include <QCloseEvent>
#include <QFrame>
#include <QLabel>
#include <QPainter>
#include <QTimer>

#include <algorithm>

namespace {

struct LabelText {
    int index;
    QRect place;
    const char* text;
};

const std::array<LabelText, 7> CompanyLines = {{
    {0, FromTwips(2400, 4440, 1575, 255), "Morvantis"},
    {1, FromTwips(5880, 4080, 2175, 255), "Morvantis – Jörg Brückner"},
    {2, FromTwips(2400, 4800, 1575, 255), "Mühlengasse 7"},
    {3, FromTwips(2400, 5160, 1575, 255), "34567 Talstadt"},
    {4, FromTwips(5880, 4440, 1815, 255), "Tel. 05678 / 555 01 73"},
    {5, FromTwips(5880, 4800, 2175, 255), "Mobil 0170 / 555 48 21"},
    {6, FromTwips(5880, 5160, 2175, 255), "post@morvantis.example"},
}};

struct CreditLine {
    QRect place;
    const char* role;
    const char* names;
};

// Label1 index 1 to 5.
const std::array<CreditLine, 5> CreditLines = {{
    {FromTwips(2280, 6240, 7335, 255), "Graphik und Design:", "Malte Sörensen, Ines Überall"},
    {FromTwips(2280, 6480, 6375, 255), "Programmierung:", "Jörg Brückner, Tobias Weißgerber"},
    {FromTwips(2280, 6720, 6375, 255),
     "Qualitätssicherung und Softwaretest:", "Anneliese Größler, Kemal Yildiz-Haßmann"},
    {FromTwips(2280, 6960, 4575, 255), "Handbuch und Onlinehilfe:", "Friederike Maaß"},
    {FromTwips(2280, 7200, 6495, 255),
     "Korrekturlesen des Handbuches und Hilfe:", "Dr. Ottilie Spießbürger"},
}};

const char* const Thanks = "Speziellen Dank für die Hilfe und Erstellung dieser Software gilt für:";
const char* const Copyright = "© 2026 Morvantis, Inhaber Jörg Brückner";
const char* const TrademarkNotice =
    "Zifferon und Morvantis sind eingetragene Marken von Morvantis, Talstadt. Diese Software ist "
    "durch das Urheberrecht und internationale Verträge rechtlich geschützt.";
const char* const CopyingNotice =
    "Das unerlaubte Kopieren und Weitergeben dieser Software oder von Teilen davon ist "
    "verboten und wird straf- und zivilrechtlich verfolgt.";

const QColor Red(255, 0, 0);

QString text(const char* utf8) {
    return QString::fromUtf8(utf8);
}

QString controlName(const char* name, int index) {
    return QStringLiteral("%1_%2").arg(QLatin1String(name)).arg(index);
}

// Blanks after each role label bring the names into one column behind the longest role.
QStringList creditTexts(const TextMeasurer& measurer) {
    double column = 0;
    for (const CreditLine& line : CreditLines)
        column = std::max(column, measurer.textWidth(text(line.role) + ' '));
    QStringList texts;
    for (const CreditLine& line : CreditLines) {
        QString role = text(line.role) + ' ';
        while (measurer.textWidth(role) < column)
            role += ' ';
        texts.append(role + text(line.names));
    }
    return texts;
}

} // namespace

frmStart::frmStart(std::function<void()> showMainWindow, std::chrono::milliseconds interval)
    : QWidget(nullptr, Qt::Dialog | Qt::FramelessWindowHint)
    , m_showMainWindow(std::move(showMainWindow))
    , m_picture(QStringLiteral(":/images/title.jpg")) {
    setObjectName(QStringLiteral("frmStart"));
    setAttribute(Qt::WA_DeleteOnClose);
    ExposeWindow(*this, QAccessible::Window, QStringLiteral("Zifferon – Startfenster"));
    setFont(fonts::WindowDefault());
    setFixedSize(FromTwips(10125, 9150));
    CentreOnScreen(*this);

    Line1_2 = createRule(2, 0, 10080, 3720);
    Line1_0 = createRule(0, 0, 10200, 5640);
    lblCopyright = createLabel(QStringLiteral("lblCopyright"), text(Copyright), fonts::Arial(8.25),
                               FromTwips(2400, 4080, 1935, 255));
    createCompanyLabels();
    createCreditLabels();
    createNotices();
    widenSingleLineLabels();

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setSingleShot(true);
    // A coarse timer may fire up to 5 % early; the hand-over must not come before its time.
    Timer1->setTimerType(Qt::PreciseTimer);
    connect(Timer1, &QTimer::timeout, this, &frmStart::Timer1_Timer);
    Timer1->start(interval);
}

QFrame* frmStart::createRule(int index, int fromX, int toX, int y) {
    auto* rule = new QFrame(this);
    rule->setObjectName(controlName("Line1", index));
    rule->setGeometry(FromTwips(fromX, y, toX - fromX + TwipsPerPixel, TwipsPerPixel));
    QPalette red = rule->palette();
    red.setColor(QPalette::Window, Red);
    rule->setPalette(red);
    rule->setAutoFillBackground(true);
    return rule;
}

QLabel* frmStart::createLabel(const QString& name, const QString& caption, const QFont& font,
                              const QRect& place) {
    auto* label = new QLabel(caption, this);
    label->setObjectName(name);
    label->setFont(font);
    QPalette white = label->palette();
    white.setColor(QPalette::WindowText, Qt::white);
    label->setPalette(white);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setGeometry(place);
    return label;
}

void frmStart::createCompanyLabels() {
    for (const LabelText& line : CompanyLines)
        lblCompany[line.index] = createLabel(controlName("lblCompany", line.index), text(line.text),
                                             fonts::Arial(8.25), line.place);
}

void frmStart::createCreditLabels() {
    Label1[0] = createLabel(controlName("Label1", 0), text(Thanks), fonts::SansSerif(12),
                            FromTwips(2280, 5760, 7095, 375));
    const QStringList texts = creditTexts(FontMeasurer(fonts::WindowDefault()));
    for (std::size_t line = 0; line < CreditLines.size(); ++line) {
        const int index = static_cast<int>(line) + 1;
        Label1[line + 1] = createLabel(controlName("Label1", index), texts[index - 1],
                                       fonts::WindowDefault(), CreditLines[line].place);
    }
}

void frmStart::createNotices() {
    Label2 = createLabel(QStringLiteral("Label2"), text(TrademarkNotice), fonts::WindowDefault(),
                         FromTwips(2280, 7680, 6855, 615));
    Label2->setWordWrap(true);
    Label3 = createLabel(QStringLiteral("Label3"), text(CopyingNotice), fonts::WindowDefault(),
                         FromTwips(2280, 8520, 6495, 495));
    Label3->setWordWrap(true);
}

// The stand-in fonts run a little wider than the original ones: a one-line label whose text
// does not fit its place grows to the right, up to the window edge, instead of cutting it.
void frmStart::widenSingleLineLabels() {
    for (QLabel* label : findChildren<QLabel*>()) {
        const int needed = label->sizeHint().width();
        if (!label->wordWrap() && needed > label->width())
            label->resize(std::min(needed, width() - label->x()), label->height());
    }
}

void frmStart::Timer1_Timer() {
    if (m_handedOver)
        return;
    m_handedOver = true;
    m_showMainWindow(); // first, so that the program is never without a window
    close();
}

void frmStart::paintEvent(QPaintEvent*) {
    if (m_picture.isNull())
        return;
    QPainter painter(this);
    painter.drawPixmap(0, 0, m_picture.forRatio(devicePixelRatioF()));
}

// Only the hand-over closes the splash window.
void frmStart::closeEvent(QCloseEvent* event) {
    if (m_handedOver)
        event->accept();
    else
        event->ignore();
}
