#pragma once

#include "formats/chm_file.h"
#include "toolbar/desktop_opener.h"

#include <QImage>
#include <QTextBrowser>
#include <QWidget>

#include <memory>
#include <optional>
#include <unordered_map>

class QAction;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QTabWidget;
class QTreeWidget;
class QTreeWidgetItem;

// Shows the pages of a compiled help file: links, stylesheets and pictures come from the file,
// and nothing from anywhere else; a web link opens in the desktop's browser. A page decodes each
// picture once however many addresses name it, and its decoded pictures together stay bounded.
class ChmBrowser : public QTextBrowser {
    Q_OBJECT
public:
    // Web links open through the opener, which must outlive the browser.
    ChmBrowser(const ChmFile& file, FileOpener& webOpener, QWidget* parent);

    // The address under which a page of the file is shown: "chm:/index.html".
    static QUrl urlOf(const QString& local);

    QVariant loadResource(int type, const QUrl& name) override;

private:
    void follow(const QUrl& link);
    QImage picture(const QString& objectPath);

    const ChmFile& m_file;
    // The pictures of the page shown, by stored object.
    QString m_picturesPage;
    std::unordered_map<quint64, QImage> m_pictures;
    qsizetype m_pictureBytes = 0;
    FileOpener& m_webOpener;
};

// The help window: beside the page shown, the tabs "Inhalt" with the file's table of contents,
// which follows the page shown, and "Index" with its keywords (only when the file has an index);
// "Zurück" and "Vor" above the page (Alt+Left, Alt+Right) go through the pages seen.
class HelpWindow : public QWidget {
    Q_OBJECT
public:
    HelpWindow(QString helpFile, std::unique_ptr<ChmFile> file, FileOpener& webOpener);

    const QString& helpFile() const { return m_helpFile; }

    // Shows a page of the file ("formeln.html#operatoren").
    void showTopic(const QString& local);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* createPagePane();
    QWidget* createIndexPane();
    void fillContents();
    void fillIndex();
    // Shows the page an entry or keyword names, if it names one.
    void showPageOf(const QVariant& local);
    void showEntry(QTreeWidgetItem* item);
    void showKeyword(QListWidgetItem* item);
    void showChosenKeyword();
    void filterIndex(const QString& text);
    // Makes the contents entry of the page shown the current one, or none when there is none.
    void followPage(const QUrl& shown);
    void revealCurrentEntry();

    QString m_helpFile;
    std::unique_ptr<ChmFile> m_file;
    QTabWidget* m_tabs;
    QTreeWidget* m_contents;
    QLineEdit* m_search = nullptr;
    QListWidget* m_index = nullptr;
    ChmBrowser* m_browser;
    QAction* m_back;
    QAction* m_forward;
};

// The help viewer's one window: opens a compiled help file in it and brings it to the front.
class HelpWindowHost {
public:
    explicit HelpWindowHost(std::shared_ptr<FileOpener> webOpener);

    // Opens the file on its default topic, or brings its open window to the front (where the
    // desktop refuses that, the window asks for attention); says why the file cannot be shown.
    std::optional<Failure> ShowHelp(const QString& helpFile);

    HelpWindow* window() const { return m_window.get(); }

private:
    std::shared_ptr<FileOpener> m_webOpener;
    std::unique_ptr<HelpWindow> m_window;
};
