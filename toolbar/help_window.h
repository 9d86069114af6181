#pragma once

#include "formats/chm_file.h"
#include "toolbar/desktop_opener.h"
#include "toolbar/help_viewer.h"

#include <QTextBrowser>
#include <QWidget>

#include <memory>

class QAction;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QTabWidget;
class QTreeWidget;
class QTreeWidgetItem;

// Shows the pages of a compiled help file: links, stylesheets and pictures come from the file,
// and nothing from anywhere else; a web link opens in the desktop's browser.
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

    const ChmFile& m_file;
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

// Opens compiled help files in one help window of the program's own.
class ChmHelpViewer : public HelpViewer {
public:
    explicit ChmHelpViewer(std::shared_ptr<FileOpener> webOpener);
    ~ChmHelpViewer() override;
    ChmHelpViewer(const ChmHelpViewer&) = delete;
    ChmHelpViewer& operator=(const ChmHelpViewer&) = delete;

    // Opens the file on its default topic, or brings its open window to the front; says so
    // when the file is missing or not a compiled help file.
    std::optional<Failure> ShowHelp(const QString& helpFile) override;

    HelpWindow* window() const { return m_window.get(); }

private:
    std::shared_ptr<FileOpener> m_webOpener;
    std::unique_ptr<HelpWindow> m_window;
};
