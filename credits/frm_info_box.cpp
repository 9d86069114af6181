#include "credits/frm_info_box.h"

#include "credits/window_placement.h"
#include "widgets/accessibility.h"
#include "widgets/graphical_button.h"

#include <QCloseEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QShortcut>

namespace {

const QString CreditsFileName = QStringLiteral("/Tiska.dpi");
const QString LogoFileName = QStringLiteral("/1_logo_1.jpg");

} // namespace

frmInfoBox::frmInfoBox(CreditsState& state, MessageBoxes& messages, const QString& programFolder)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint)
    , m_state(state)
    , m_messages(messages)
    , m_programFolder(programFolder) {
    setObjectName(QStringLiteral("frmInfoBox"));
    setAttribute(Qt::WA_DeleteOnClose);
    ExposeWindow(*this, QAccessible::Dialog, QStringLiteral("Zifferon – Info"));
    setFixedSize(FromTwips(10095, 9105));
    CentreOnScreen(*this);

    Picture1 = new CreditsPicture(this);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setGeometry(FromTwips(0, -120, 10140, 9225));
    QPalette white = Picture1->palette();
    white.setColor(QPalette::Window, Qt::white);
    white.setColor(QPalette::WindowText, Qt::white);
    Picture1->setPalette(white);
    Picture1->setFont(CreditsFont());
    Picture1->setToolTip(QStringLiteral("Stopp"));
    connect(Picture1, &CreditsPicture::clicked, this, &frmInfoBox::Picture1_Click);

    lblMinimieren = createGlyphLabel("lblMinimieren", QStringLiteral("–"),
                                     QStringLiteral("Minimieren"), FromTwips(9120, 240, 240, 240));
    lblSchliessen = createGlyphLabel("lblSchliessen", QStringLiteral("✕"),
                                     QStringLiteral("Beenden"), FromTwips(9480, 240, 240, 240));
    // Esc closes the window as its close label does.
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this,
            &frmInfoBox::lblSchliessen_Click);
    Form_Load();
}

QLabel* frmInfoBox::createGlyphLabel(const char* name, const QString& glyph, const QString& tooltip,
                                     const QRect& place) {
    auto* label = new QLabel(glyph, Picture1);
    label->setObjectName(QString::fromLatin1(name));
    label->setFont(fonts::Symbols(12));
    QPalette black = label->palette();
    black.setColor(QPalette::WindowText, Qt::black);
    label->setPalette(black);
    label->setAlignment(Qt::AlignCenter);
    label->setToolTip(tooltip);
    label->setGeometry(place);
    label->installEventFilter(this);
    return label;
}

void frmInfoBox::Form_Load() {
    m_state.ScrollStep = 3;
    m_state.TextAlign = 0;
    m_state.WidthFactor = 0.9f;
    m_state.StretchLogo = false;
    m_state.CreditsFile = m_programFolder + CreditsFileName;
    m_state.LogoFile = m_programFolder + LogoFileName;
    startCredits();
}

void frmInfoBox::Form_Unload() {
    StopCredits(m_state);
}

void frmInfoBox::startCredits() {
    if (const std::optional<Failure> notice = StartCredits(m_state, *Picture1))
        m_messages.information(notice->reason);
}

void frmInfoBox::Picture1_Click() {
    if (m_state.IsScrolling) {
        StopCredits(m_state);
        Picture1->setToolTip(QStringLiteral("Start"));
    } else {
        startCredits();
        Picture1->setToolTip(QStringLiteral("Stopp"));
    }
}

void frmInfoBox::lblMinimieren_Click() {
    showMinimized();
}

void frmInfoBox::lblSchliessen_Click() {
    close();
}

void frmInfoBox::closeEvent(QCloseEvent* event) {
    Form_Unload();
    event->accept();
}

// The glyph labels take their clicks, so that they never reach Picture1 below them.
bool frmInfoBox::eventFilter(QObject* watched, QEvent* event) {
    const bool glyph = watched == lblMinimieren || watched == lblSchliessen;
    if (!glyph)
        return QWidget::eventFilter(watched, event);
    if (event->type() == QEvent::MouseButtonPress)
        return true;
    if (event->type() != QEvent::MouseButtonRelease)
        return QWidget::eventFilter(watched, event);
    const auto* release = static_cast<QMouseEvent*>(event);
    if (!static_cast<QWidget*>(watched)->rect().contains(release->position().toPoint()))
        return true;
    if (watched == lblMinimieren)
        lblMinimieren_Click();
    else
        lblSchliessen_Click();
    return true;
}

InfoBoxHost::InfoBoxHost(MessageBoxes& messages, QString programFolder,
                         std::unique_ptr<ScrollTimer> timer)
    : m_state(std::move(timer))
    , m_messages(messages)
    , m_programFolder(std::move(programFolder)) {}

InfoBoxHost::~InfoBoxHost() {
    delete m_window;
}

void InfoBoxHost::Show() {
    if (!m_window)
        m_window = new frmInfoBox(m_state, m_messages, m_programFolder);
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
}
