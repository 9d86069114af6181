// What the tape-file tests need a process of their own for:
//   tape_file_helper save-forever PATH        saves the two killed-save tapes by turns until
//                                             killed; prints "ready" before the first save
//   tape_file_helper open-unprivileged PATH   opens the tape file as the user "nobody" and
//                                             prints the warning; exit status 1 if it opened
#include "formats/tape_file.h"
#include "killed_save_tapes.h"
#include "tests/support/fixed_width_measurer.h"

#include <cstdio>
#include <cstring>
#include <grp.h>
#include <unistd.h>

namespace {

constexpr uid_t Nobody = 65534;

int saveForever(const QString& path) {
    NumberTape tapes[2];
    FillKilledSaveTapes(tapes);
    std::puts("ready");
    std::fflush(stdout);
    for (int turn = 1;; turn ^= 1) {
        if (const std::optional<Failure> warning = SaveTapeFile(tapes[turn], path)) {
            std::fprintf(stderr, "%s\n", qPrintable(warning->reason));
            return 2;
        }
    }
}

int openUnprivileged(const QString& path) {
    if (::geteuid() == 0 &&
        (::setgroups(0, nullptr) != 0 || ::setgid(Nobody) != 0 || ::setuid(Nobody) != 0)) {
        std::perror("dropping privileges");
        return 2;
    }
    NumberTape tapes;
    const FixedWidthMeasurer measurer;
    const std::optional<Failure> warning = OpenTapeFile(tapes, LineFormat{measurer, 1, 0}, path);
    if (!warning)
        return 1;
    std::puts(warning->reason.toUtf8().constData());
    return tapes.List1.count() == 0 ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3)
        return 2;
    const QString path = QString::fromLocal8Bit(argv[2]);
    if (std::strcmp(argv[1], "save-forever") == 0)
        return saveForever(path);
    if (std::strcmp(argv[1], "open-unprivileged") == 0)
        return openUnprivileged(path);
    return 2;
}
