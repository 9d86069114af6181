#pragma once

#include "credits/credits_screen.h"

#include <memory>

class QWidget;

// On X11 the box's pixels are kept in the X server too: the background and the ring of text rows
// in pixmaps, uploaded once and afterwards only the rows the text layer draws anew. A move
// composes the changed pixels there with the RENDER extension, text over background into a
// third pixmap and from it onto the window, so that it costs a few requests and no round trip
// instead of a repaint through Qt's shared-memory backing store, which waits for the X server
// before it paints over pixels it has just handed over. Qt still paints the box whenever the
// window is exposed; the parts under the box's child widgets are left to Qt as well.
// Without X11, or with an X server that lacks what this needs, there is no such screen.
std::unique_ptr<CreditsScreen> XRenderScreenFor(QWidget& box);
