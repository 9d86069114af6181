#include "toolbar/help_window.h"

#include <QDir>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QMessageBox>
#include <QSplitter>
#include <QTextDocument>
#include <QTreeWidget>

#include <functional>

namespace {

const QString PageScheme = QStringLiteral("chm");
constexpr int LocalRole = Qt::UserRole;

void addEntries(const std::vector<ContentsEntry>& entries,
                const std::function<QTreeWidgetItem*()>& createItem) {
    for (const ContentsEntry& entry : entries) {
        QTreeWidgetItem* item = createItem();
        item->setText(0, entry.name);
        item->setData(0, LocalRole, entry.local);
        addEntries(entry.children, [item] { return new QTreeWidgetItem(item); });
    }
}

void warnUnreadable(const QString& helpFile) {
    QMessageBox::warning(nullptr, QStringLiteral("Zifferon"),
                         QStringLiteral("Die Hilfedatei „%1“ fehlt oder ist keine gültige "
                                        "Hilfedatei.")
                             .arg(QDir::toNativeSeparators(helpFile)));
}

} // namespace

ChmBrowser::ChmBrowser(const ChmFile& file, QWidget* parent)
    : QTextBrowser(parent)
    , m_file(file) {
    setObjectName(QStringLiteral("Browser"));
}

QUrl ChmBrowser::urlOf(const QString& local) {
    return QUrl(PageScheme + QStringLiteral(":/") + local);
}

QVariant ChmBrowser::loadResource(int type, const QUrl& name) {
    const QUrl url = name.isRelative() ? source().resolved(name) : name;
    if (url.scheme() != PageScheme)
        return QTextBrowser::loadResource(type, name);
    const std::optional<QByteArray> object = m_file.read(url.path());
    return object ? QVariant(*object) : QVariant();
}

HelpWindow::HelpWindow(QString helpFile, std::unique_ptr<ChmFile> file)
    : m_helpFile(std::move(helpFile))
    , m_file(std::move(file))
    , m_contents(new QTreeWidget(this))
    , m_browser(new ChmBrowser(*m_file, this)) {
    setWindowTitle(QStringLiteral("Zifferon – Hilfe"));
    m_contents->setObjectName(QStringLiteral("Contents"));
    m_contents->header()->hide();
    auto* splitter = new QSplitter(this);
    splitter->addWidget(m_contents);
    splitter->addWidget(m_browser);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({220, 620});
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(splitter);
    resize(860, 620);
    fillContents();
    connect(m_contents, &QTreeWidget::itemClicked, this, &HelpWindow::showEntry);
    connect(m_contents, &QTreeWidget::itemActivated, this, &HelpWindow::showEntry);
    showTopic(m_file->defaultTopic());
}

void HelpWindow::showTopic(const QString& local) {
    m_browser->setSource(ChmBrowser::urlOf(local), QTextDocument::HtmlResource);
}

void HelpWindow::fillContents() {
    addEntries(m_file->contents(), [this] { return new QTreeWidgetItem(m_contents); });
    m_contents->expandAll();
}

void HelpWindow::showEntry(QTreeWidgetItem* item) {
    const QString local = item->data(0, LocalRole).toString();
    if (!local.isEmpty())
        showTopic(local);
}

ChmHelpViewer::~ChmHelpViewer() = default;

void ChmHelpViewer::ShowHelp(const QString& helpFile) {
    if (!m_window || m_window->helpFile() != helpFile) {
        std::unique_ptr<ChmFile> file = ChmFile::open(helpFile);
        if (!file) {
            warnUnreadable(helpFile);
            return;
        }
        m_window = std::make_unique<HelpWindow>(helpFile, std::move(file));
    }
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
}
