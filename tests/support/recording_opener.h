#pragma once

#include "toolbar/desktop_opener.h"

#include <QStringList>

// Takes the files and addresses that the desktop would open; starts nothing.
class RecordingOpener : public FileOpener {
public:
    bool open(const QString& target) override {
        opened << target;
        return succeeds;
    }
    QStringList opened;
    bool succeeds = true;
};
