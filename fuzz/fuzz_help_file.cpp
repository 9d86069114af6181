// Any bytes as the help file: it is refused with a German reason or opens on a page, and every
// entry of its contents and index can be read without a crash or a hang.
//
// chmlib trusts the file it reads: it faults on many damaged ones (divisions by zero in chm_open
// and in decompression) and loops for good on others. The program runs it in the help viewer's own
// process, where that ends only the viewer, after a few seconds at most. Here a fault, or a second
// of processor time, with chmlib on the stack ends the input, not the run: the harness jumps back
// and goes on (what chmlib held for that input is lost, so leaks are not checked for this target).
// A fault or a hang anywhere else still ends the run.
#include "formats/chm_file.h"

#include <QFile>
#include <QTemporaryDir>

#include <chm_lib.h>

#include <csetjmp>
#include <csignal>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <dlfcn.h>
#include <execinfo.h>
#include <sys/time.h>
#include <ucontext.h>
#include <unistd.h>

namespace {

sigjmp_buf g_beforeInput;
bool g_reading = false;

bool insideChmlib(const void* address) {
    Dl_info fault{};
    Dl_info chmlib{};
    return dladdr(address, &fault) != 0 &&
           dladdr(reinterpret_cast<const void*>(&chm_open), &chmlib) != 0 &&
           fault.dli_fbase == chmlib.dli_fbase;
}

bool chmlibOnStack(const ucontext_t& context) {
    if (insideChmlib(reinterpret_cast<const void*>(context.uc_mcontext.gregs[REG_RIP])))
        return true;
    void* frames[64];
    const int count = backtrace(frames, 64);
    for (int i = 0; i < count; ++i) {
        if (insideChmlib(frames[i]))
            return true;
    }
    return false;
}

void onSignal(int signal, siginfo_t*, void* context) {
    if (g_reading && chmlibOnStack(*static_cast<ucontext_t*>(context)))
        siglongjmp(g_beforeInput, 1);
    if (signal == SIGPROF)
        return; // a slow input of our own code: libFuzzer's timeout tells
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

void catchChmlibFaultsAndHangs() {
    struct sigaction action {};
    action.sa_sigaction = onSignal;
    action.sa_flags = SA_SIGINFO | SA_NODEFER;
    for (const int signal : {SIGFPE, SIGSEGV, SIGBUS, SIGPROF})
        sigaction(signal, &action, nullptr);
}

// A second of processor time, then every tenth of a second.
void armHangTimer(bool armed) {
    const timeval first{armed ? 1 : 0, 0};
    const timeval then{0, armed ? 100'000 : 0};
    const itimerval timer{then, first};
    setitimer(ITIMER_PROF, &timer, nullptr);
}

QString writtenFile(const uint8_t* data, size_t size) {
    static const QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("Hilfe.chm"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size)) !=
            static_cast<qint64>(size))
        std::abort();
    return path;
}

void readPages(const ChmFile& file, const std::vector<ContentsEntry>& entries) {
    for (const ContentsEntry& entry : entries) {
        if (!entry.local.isEmpty())
            file.read(entry.local.left(entry.local.indexOf(u'#')));
        readPages(file, entry.children);
    }
}

void readHelpFile(const QString& path) {
    const std::variant<std::unique_ptr<ChmFile>, Failure> loaded = ChmFile::load(path);
    if (const auto* failure = std::get_if<Failure>(&loaded)) {
        if (!failure->reason.startsWith(QStringLiteral("Die Hilfedatei „")))
            std::abort();
        return;
    }
    const ChmFile& file = *std::get<std::unique_ptr<ChmFile>>(loaded);
    if (file.defaultTopic().isEmpty())
        std::abort();
    readPages(file, file.contents());
    readPages(file, file.index());
}

// The descriptors that chmlib left open when a fault ended its input.
void closeDescriptorsFrom(int first) {
    for (int fd = first; fd < first + 64; ++fd)
        ::close(fd);
}

} // namespace

// The viewer's address space is bounded, so chmlib's allocations from sizes it read in the file
// fail there rather than succeed; here they fail the same way instead of ending the run.
extern "C" const char* __asan_default_options() {
    return "detect_leaks=0:allocator_may_return_null=1:max_allocation_size_mb=1024";
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool caught = (catchChmlibFaultsAndHangs(), true);
    (void)caught;
    const QString path = writtenFile(data, size);
    const int firstFree = ::dup(STDERR_FILENO);
    ::close(firstFree);
    if (sigsetjmp(g_beforeInput, 1) == 0) {
        g_reading = true;
        armHangTimer(true);
        readHelpFile(path);
    } else {
        closeDescriptorsFrom(firstFree);
    }
    armHangTimer(false);
    g_reading = false;
    return 0;
}
