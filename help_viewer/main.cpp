// The help viewer: shows the compiled help file named by its one argument in the help window, for
// the program that starts it (toolbar/help_process.h), and talks with it over its standard input
// and output. chmlib trusts the file it reads, so a damaged one may crash or hang this process,
// never the program's; its address space is bounded for the same reason.
#include "resources/picture.h"
#include "toolbar/help_process.h"
#include "toolbar/help_window.h"
#include "widgets/message_boxes.h"

#include <QApplication>
#include <QSocketNotifier>
#include <QTimer>

#include <cerrno>
#include <cstdio>
#include <functional>
#include <sys/resource.h>
#include <unistd.h>

namespace {

// Ample for Qt, its fonts and the pages and pictures of a help file; a file that asks for more
// ends the viewer.
constexpr rlim_t AddressSpaceLimit = rlim_t{2} << 30;
// Longer lines come from no program of this project.
constexpr qsizetype MaxRequestLength = 256;

void limitAddressSpace() {
#ifndef ZIFFERON_UNLIMITED_ADDRESS_SPACE
    const rlimit limit{AddressSpaceLimit, AddressSpaceLimit};
    ::setrlimit(RLIMIT_AS, &limit);
#endif
}

void reply(const QByteArray& line) {
    const QByteArray ended = line + '\n';
    std::fwrite(ended.constData(), 1, static_cast<size_t>(ended.size()), stdout);
    std::fflush(stdout);
}

// The program's requests, a line each, on standard input. Its end, when the program ends or is
// killed, ends the viewer.
class ProgramRequests {
public:
    explicit ProgramRequests(std::function<void()> bringToFront)
        : m_bringToFront(std::move(bringToFront)) {
        QObject::connect(&m_notifier, &QSocketNotifier::activated, [this] { readAvailable(); });
    }

private:
    void readAvailable() {
        char buffer[MaxRequestLength];
        const ssize_t got = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            return;
        if (got <= 0) {
            m_notifier.setEnabled(false);
            QCoreApplication::quit();
            return;
        }
        m_pending.append(buffer, got);
        for (qsizetype end = m_pending.indexOf('\n'); end >= 0; end = m_pending.indexOf('\n')) {
            if (m_pending.first(end) == HelpChannel::Front)
                m_bringToFront();
            m_pending.remove(0, end + 1);
        }
        if (m_pending.size() > MaxRequestLength)
            m_pending.clear();
    }

    std::function<void()> m_bringToFront;
    QSocketNotifier m_notifier{STDIN_FILENO, QSocketNotifier::Read};
    QByteArray m_pending;
};

} // namespace

int main(int argc, char** argv) {
    limitAddressSpace();
    QApplication application(argc, argv);
    application.setApplicationName(QStringLiteral("Zifferon"));
    // The help window belongs to the program's menu entry and shows its icon.
    QApplication::setDesktopFileName(QStringLiteral(ZIFFERON_APP_ID));
    QApplication::setWindowIcon(Picture(QStringLiteral(":/images/zifferon.ico")).icon());
    // A closed window comes back on the program's next request.
    QApplication::setQuitOnLastWindowClosed(false);
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() != 2) {
        std::fputs("Aufruf: zifferon-hilfe HILFEDATEI\n", stderr);
        return 2;
    }
    const QString helpFile = arguments.at(1);
    // A web link of a page opens in the desktop's browser; one that fails is said here.
    HelpWindowHost host(CreateDesktopOpener([](const QString& address, const QString& cause) {
        QtMessageBoxes().warning(QStringLiteral("Die Adresse „%1“ konnte nicht geöffnet werden: %2")
                                     .arg(address, cause));
    }));
    if (const std::optional<Failure> failure = host.ShowHelp(helpFile)) {
        reply(HelpChannel::Refused + failure->reason.toUtf8().toPercentEncoding());
        return 1;
    }
    const ProgramRequests requests([&host, &helpFile] {
        host.ShowHelp(helpFile);
        reply(HelpChannel::Shown);
    });
    // Once the event loop runs, the first page is laid out and shown.
    QTimer::singleShot(0, [] { reply(HelpChannel::Shown); });
    return QApplication::exec();
}
