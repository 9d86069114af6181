#include "toolbar/help_window.h"

#include <QAction>
#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QImageReader>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSplitter>
#include <QStyle>
#include <QTabWidget>
#include <QTextDocument>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <QVBoxLayout>

#include <functional>

namespace {

const QString PageScheme = QStringLiteral("chm");
constexpr int LocalRole = Qt::UserRole;
// An index keyword is cut to this length, so that long names nested deep stay small.
constexpr qsizetype MaxKeywordLength = 200;
// What the decoded pictures of one page may take together; a picture beyond it stays out.
constexpr qsizetype MaxPictureBytesPerPage = qsizetype{64} << 20;
// How long a window brought to the front may take to become active before it asks for attention.
constexpr int ActivationTimeMs = 500;

void addEntries(const std::vector<ContentsEntry>& entries,
                const std::function<QTreeWidgetItem*()>& createItem) {
    for (const ContentsEntry& entry : entries) {
        QTreeWidgetItem* item = createItem();
        item->setText(0, entry.name);
        item->setData(0, LocalRole, entry.local);
        addEntries(entry.children, [item] { return new QTreeWidgetItem(item); });
    }
}

// A keyword below another is shown after its parent's name, "Drucken, Vorschau", cut to a bound.
QString keywordLabel(const QString& parent, const QString& name) {
    const QString own = name.left(MaxKeywordLength + 1);
    const QString label = parent.isEmpty() ? own : parent + QStringLiteral(", ") + own;
    if (label.size() <= MaxKeywordLength)
        return label;
    qsizetype cut = MaxKeywordLength - 1;
    if (label.at(cut - 1).isHighSurrogate())
        --cut;
    return label.left(cut) + u'…';
}

// The index's keywords in the file's order.
void addKeywords(const std::vector<ContentsEntry>& entries, const QString& parent,
                 QListWidget& list) {
    for (const ContentsEntry& entry : entries) {
        const QString name = keywordLabel(parent, entry.name);
        auto* item = new QListWidgetItem(name, &list);
        item->setData(LocalRole, entry.local);
        addKeywords(entry.children, name, list);
    }
}

// How well a contents entry names the place shown: not at all, another place on the same page,
// the page as a whole (the entry has no anchor), or the very place.
enum class Match { None, OtherPlace, WholePage, Exactly };

Match matchOf(const QTreeWidgetItem& entry, const QUrl& shown) {
    const QString local = entry.data(0, LocalRole).toString();
    if (local.isEmpty())
        return Match::None;
    const QUrl url = ChmBrowser::urlOf(local);
    if (url.scheme() != shown.scheme() ||
        url.path().compare(shown.path(), Qt::CaseInsensitive) != 0)
        return Match::None;
    if (url.fragment() == shown.fragment())
        return Match::Exactly;
    return url.fragment().isEmpty() ? Match::WholePage : Match::OtherPlace;
}

// The picture, or none when it is no picture or would take more than the bytes left.
QImage decodedWithin(QByteArray bytes, qsizetype bytesLeft) {
    QBuffer buffer(&bytes);
    QImageReader reader(&buffer);
    if (const QSize size = reader.size();
        size.isValid() && qsizetype{4} * size.width() * size.height() > bytesLeft)
        return {};
    const QImage image = reader.read();
    return image.sizeInBytes() <= bytesLeft ? image : QImage();
}

} // namespace

ChmBrowser::ChmBrowser(const ChmFile& file, FileOpener& webOpener, QWidget* parent)
    : QTextBrowser(parent)
    , m_file(file)
    , m_webOpener(webOpener) {
    setObjectName(QStringLiteral("Browser"));
    setOpenLinks(false);
    connect(this, &QTextBrowser::anchorClicked, this, &ChmBrowser::follow);
}

QUrl ChmBrowser::urlOf(const QString& local) {
    return QUrl(PageScheme + QStringLiteral(":/") +
                (local.startsWith(u'/') ? local.mid(1) : local));
}

// Every resource comes from the file, each bounded by its object size. What is not there is an
// empty resource rather than none, which the document would look for on the disk itself.
QVariant ChmBrowser::loadResource(int type, const QUrl& name) {
    const QUrl url = name.isRelative() ? source().resolved(name) : name;
    if (url.scheme() != PageScheme)
        return QByteArray();
    if (type == QTextDocument::ImageResource)
        return picture(url.path());
    return m_file.read(url.path()).value_or(QByteArray());
}

QImage ChmBrowser::picture(const QString& objectPath) {
    if (source().path() != m_picturesPage) {
        m_picturesPage = source().path();
        m_pictures.clear();
        m_pictureBytes = 0;
    }
    const std::optional<quint64> object = m_file.objectAt(objectPath);
    if (!object)
        return {};
    if (const auto decoded = m_pictures.find(*object); decoded != m_pictures.end())
        return decoded->second;
    const QImage image = decodedWithin(m_file.read(objectPath).value_or(QByteArray()),
                                       MaxPictureBytesPerPage - m_pictureBytes);
    m_pictureBytes += image.sizeInBytes();
    m_pictures.emplace(*object, image);
    return image;
}

// A page of the file is shown here, a web address in the desktop's browser; any other link
// leads nowhere.
void ChmBrowser::follow(const QUrl& link) {
    const QUrl url = source().resolved(link);
    if (url.scheme() == PageScheme)
        setSource(url, QTextDocument::HtmlResource);
    else if (url.scheme() == QLatin1String("http") || url.scheme() == QLatin1String("https"))
        m_webOpener.open(url.toString());
}

HelpWindow::HelpWindow(QString helpFile, std::unique_ptr<ChmFile> file, FileOpener& webOpener)
    : m_helpFile(std::move(helpFile))
    , m_file(std::move(file))
    , m_tabs(new QTabWidget(this))
    , m_contents(new QTreeWidget(m_tabs))
    , m_browser(new ChmBrowser(*m_file, webOpener, this))
    , m_back(
          new QAction(style()->standardIcon(QStyle::SP_ArrowBack), QStringLiteral("Zurück"), this))
    , m_forward(new QAction(style()->standardIcon(QStyle::SP_ArrowForward), QStringLiteral("Vor"),
                            this)) {
    setWindowTitle(QStringLiteral("Zifferon – Hilfe"));
    m_tabs->setObjectName(QStringLiteral("Tabs"));
    m_contents->setObjectName(QStringLiteral("Contents"));
    m_contents->header()->hide();
    m_tabs->addTab(m_contents, QStringLiteral("Inhalt"));
    if (!m_file->index().empty())
        m_tabs->addTab(createIndexPane(), QStringLiteral("Index"));

    m_back->setShortcuts(QKeySequence::Back);
    m_back->setToolTip(QStringLiteral("Zurück zur vorigen Seite"));
    m_back->setEnabled(false);
    m_forward->setShortcuts(QKeySequence::Forward);
    m_forward->setToolTip(QStringLiteral("Vor zur Seite, von der Sie zurückgegangen sind"));
    m_forward->setEnabled(false);
    addAction(m_back);
    addAction(m_forward);

    auto* splitter = new QSplitter(this);
    splitter->addWidget(m_tabs);
    splitter->addWidget(createPagePane());
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({220, 620});
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(splitter);
    resize(860, 620);
    fillContents();
    fillIndex();

    connect(m_contents, &QTreeWidget::itemClicked, this, &HelpWindow::showEntry);
    connect(m_contents, &QTreeWidget::itemActivated, this, &HelpWindow::showEntry);
    connect(m_tabs, &QTabWidget::currentChanged, this, [this] {
        if (m_tabs->currentWidget() == m_contents)
            revealCurrentEntry();
        else if (m_search)
            m_search->setFocus();
    });
    connect(m_back, &QAction::triggered, m_browser, &QTextBrowser::backward);
    connect(m_forward, &QAction::triggered, m_browser, &QTextBrowser::forward);
    connect(m_browser, &QTextBrowser::backwardAvailable, m_back, &QAction::setEnabled);
    connect(m_browser, &QTextBrowser::forwardAvailable, m_forward, &QAction::setEnabled);
    // Emitted before source() changes, with the new address.
    connect(m_browser, &QTextBrowser::sourceChanged, this,
            [this](const QUrl& shown) { followPage(m_browser->source().resolved(shown)); });
    showTopic(m_file->defaultTopic());
}

QWidget* HelpWindow::createPagePane() {
    auto* pane = new QWidget(this);
    auto* buttons = new QHBoxLayout;
    buttons->setContentsMargins(4, 2, 4, 0);
    buttons->setSpacing(2);
    for (QAction* action : {m_back, m_forward}) {
        auto* button = new QToolButton(pane);
        button->setObjectName(action == m_back ? QStringLiteral("Back")
                                               : QStringLiteral("Forward"));
        button->setDefaultAction(action);
        button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        button->setAutoRaise(true);
        buttons->addWidget(button);
    }
    buttons->addStretch();
    auto* layout = new QVBoxLayout(pane);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addLayout(buttons);
    layout->addWidget(m_browser);
    return pane;
}

QWidget* HelpWindow::createIndexPane() {
    auto* pane = new QWidget(m_tabs);
    m_search = new QLineEdit(pane);
    m_search->setObjectName(QStringLiteral("Search"));
    m_search->setPlaceholderText(QStringLiteral("Suchbegriff"));
    m_search->setClearButtonEnabled(true);
    m_search->installEventFilter(this);
    auto* label = new QLabel(QStringLiteral("&Suchbegriff:"), pane);
    label->setBuddy(m_search);
    m_index = new QListWidget(pane);
    m_index->setObjectName(QStringLiteral("Index"));
    auto* layout = new QVBoxLayout(pane);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(label);
    layout->addWidget(m_search);
    layout->addWidget(m_index);
    connect(m_search, &QLineEdit::textChanged, this, &HelpWindow::filterIndex);
    connect(m_search, &QLineEdit::returnPressed, this, &HelpWindow::showChosenKeyword);
    connect(m_index, &QListWidget::itemClicked, this, &HelpWindow::showKeyword);
    connect(m_index, &QListWidget::itemActivated, this, &HelpWindow::showKeyword);
    return pane;
}

void HelpWindow::showTopic(const QString& local) {
    m_browser->setSource(ChmBrowser::urlOf(local), QTextDocument::HtmlResource);
}

bool HelpWindow::eventFilter(QObject* watched, QEvent* event) {
    // The arrow and page keys in the search field move through the keywords.
    if (watched == m_search && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        switch (key->key()) {
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
            if (key->modifiers() == Qt::NoModifier) {
                QCoreApplication::sendEvent(m_index, event);
                return true;
            }
            break;
        default:
            break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void HelpWindow::fillContents() {
    addEntries(m_file->contents(), [this] { return new QTreeWidgetItem(m_contents); });
    m_contents->expandAll();
}

void HelpWindow::fillIndex() {
    if (m_index)
        addKeywords(m_file->index(), {}, *m_index);
}

void HelpWindow::showPageOf(const QVariant& local) {
    if (const QString page = local.toString(); !page.isEmpty())
        showTopic(page);
}

void HelpWindow::showEntry(QTreeWidgetItem* item) {
    showPageOf(item->data(0, LocalRole));
}

void HelpWindow::showKeyword(QListWidgetItem* item) {
    showPageOf(item->data(LocalRole));
}

void HelpWindow::showChosenKeyword() {
    QListWidgetItem* item = m_index->currentItem();
    if (item && !item->isHidden())
        showKeyword(item);
}

// Keeps the keywords that contain the text, in any case, and chooses the first that begins with
// it, else the first kept.
void HelpWindow::filterIndex(const QString& typed) {
    const QString text = typed.trimmed();
    QListWidgetItem* firstKept = nullptr;
    QListWidgetItem* firstBeginning = nullptr;
    for (int row = 0; row < m_index->count(); ++row) {
        QListWidgetItem* item = m_index->item(row);
        const bool kept = item->text().contains(text, Qt::CaseInsensitive);
        item->setHidden(!kept);
        if (kept && !firstKept)
            firstKept = item;
        if (kept && !firstBeginning && item->text().startsWith(text, Qt::CaseInsensitive))
            firstBeginning = item;
    }
    QListWidgetItem* chosen = firstBeginning ? firstBeginning : firstKept;
    m_index->setCurrentItem(chosen);
    if (chosen)
        m_index->scrollToItem(chosen);
    else
        m_index->clearSelection();
}

void HelpWindow::followPage(const QUrl& shown) {
    QTreeWidgetItem* best = nullptr;
    Match bestMatch = Match::None;
    for (QTreeWidgetItemIterator it(m_contents); *it; ++it) {
        const Match match = matchOf(**it, shown);
        if (match > bestMatch) {
            best = *it;
            bestMatch = match;
        }
    }
    // Of entries naming the same place, the one the user chose stays chosen.
    QTreeWidgetItem* current = m_contents->currentItem();
    if (best && current && matchOf(*current, shown) == bestMatch)
        best = current;
    m_contents->setCurrentItem(best);
    if (best)
        revealCurrentEntry();
    else
        m_contents->clearSelection();
}

void HelpWindow::revealCurrentEntry() {
    if (QTreeWidgetItem* current = m_contents->currentItem())
        m_contents->scrollToItem(current);
}

HelpWindowHost::HelpWindowHost(std::shared_ptr<FileOpener> webOpener)
    : m_webOpener(std::move(webOpener)) {}

std::optional<Failure> HelpWindowHost::ShowHelp(const QString& helpFile) {
    if (!m_window || m_window->helpFile() != helpFile) {
        std::variant<std::unique_ptr<ChmFile>, Failure> loaded = ChmFile::load(helpFile);
        if (auto* failure = std::get_if<Failure>(&loaded))
            return *failure;
        m_window = std::make_unique<HelpWindow>(
            helpFile, std::move(std::get<std::unique_ptr<ChmFile>>(loaded)), *m_webOpener);
    }
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
    QTimer::singleShot(ActivationTimeMs, m_window.get(), [window = m_window.get()] {
        if (!window->isActiveWindow())
            QApplication::alert(window);
    });
    return std::nullopt;
}
