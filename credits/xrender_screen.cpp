#include "credits/xrender_screen.h"

#include "credits/device_pixels.h"
#include "credits/scrolling_layer.h"

#include <QGuiApplication>
#include <QImage>
#include <QPlatformSurfaceEvent>
#include <QPointer>
#include <QWidget>
#include <QWindow>

#include <xcb/render.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <vector>

namespace {

constexpr uint8_t OpaqueDepth = 24;      // x8r8g8b8, as QImage::Format_RGB32
constexpr uint8_t TranslucentDepth = 32; // a8r8g8b8, as QImage::Format_ARGB32_Premultiplied

// The standard direct formats: 8 bits a channel, red above green above blue, alpha on top.
bool isStandardFormat(const xcb_render_pictforminfo_t& format, uint8_t depth) {
    const xcb_render_directformat_t& direct = format.direct;
    const bool alpha = depth == TranslucentDepth;
    return format.type == XCB_RENDER_PICT_TYPE_DIRECT && format.depth == depth &&
           direct.red_shift == 16 && direct.red_mask == 0xff && direct.green_shift == 8 &&
           direct.green_mask == 0xff && direct.blue_shift == 0 && direct.blue_mask == 0xff &&
           direct.alpha_mask == (alpha ? 0xff : 0) && (!alpha || direct.alpha_shift == 24);
}

xcb_render_pictformat_t standardFormat(const xcb_render_query_pict_formats_reply_t* formats,
                                       uint8_t depth) {
    for (auto format = xcb_render_query_pict_formats_formats_iterator(formats); format.rem;
         xcb_render_pictforminfo_next(&format)) {
        if (isStandardFormat(*format.data, depth))
            return format.data->id;
    }
    return XCB_NONE;
}

xcb_render_pictformat_t visualFormat(const xcb_render_query_pict_formats_reply_t* formats,
                                     xcb_visualid_t visual) {
    for (auto screen = xcb_render_query_pict_formats_screens_iterator(formats); screen.rem;
         xcb_render_pictscreen_next(&screen)) {
        for (auto depth = xcb_render_pictscreen_depths_iterator(screen.data); depth.rem;
             xcb_render_pictdepth_next(&depth)) {
            for (auto entry = xcb_render_pictdepth_visuals_iterator(depth.data); entry.rem;
                 xcb_render_pictvisual_next(&entry)) {
                if (entry.data->visual == visual)
                    return entry.data->format;
            }
        }
    }
    return XCB_NONE;
}

// QImage's 32-bit pixels go into ZPixmap images unchanged: 32 bits a pixel, rows padded to 32
// bits, in the byte order of this machine.
bool takesImagesAsTheyAre(xcb_connection_t* connection) {
    const xcb_setup_t* setup = xcb_get_setup(connection);
    const auto order = QSysInfo::ByteOrder == QSysInfo::LittleEndian ? XCB_IMAGE_ORDER_LSB_FIRST
                                                                     : XCB_IMAGE_ORDER_MSB_FIRST;
    if (setup->image_byte_order != order)
        return false;
    int suitable = 0;
    for (auto format = xcb_setup_pixmap_formats_iterator(setup); format.rem;
         xcb_format_next(&format)) {
        const bool depth =
            format.data->depth == OpaqueDepth || format.data->depth == TranslucentDepth;
        suitable += depth && format.data->bits_per_pixel == 32 && format.data->scanline_pad == 32;
    }
    return suitable == 2;
}

struct FreeReply {
    void operator()(void* reply) const { std::free(reply); }
};
template <typename Reply> using OwnedReply = std::unique_ptr<Reply, FreeReply>;

// Waits for the requests (one round trip); false when any of them failed.
bool succeeded(xcb_connection_t* connection, const std::vector<xcb_void_cookie_t>& requests) {
    bool all = true;
    for (const xcb_void_cookie_t request : requests) {
        if (xcb_generic_error_t* error = xcb_request_check(connection, request)) {
            std::free(error);
            all = false;
        }
    }
    return all;
}

void toXcbRectangles(const QRegion& region, std::vector<xcb_rectangle_t>& rectangles) {
    rectangles.clear();
    for (const QRect& rect : region) {
        rectangles.push_back({static_cast<int16_t>(rect.x()), static_cast<int16_t>(rect.y()),
                              static_cast<uint16_t>(rect.width()),
                              static_cast<uint16_t>(rect.height())});
    }
}

class XRenderScreen final : public QObject, public CreditsScreen {
public:
    XRenderScreen(QWidget& box, xcb_connection_t* connection)
        : m_box(box)
        , m_connection(connection) {}
    ~XRenderScreen() override {
        releaseSurfaces();
        releaseWindow();
        xcb_flush(m_connection);
    }
    XRenderScreen(const XRenderScreen&) = delete;
    XRenderScreen& operator=(const XRenderScreen&) = delete;

    QRegion show(const QImage& background, ScrollingLayer& text, const QRegion& region,
                 qreal ratio) override {
        const QRect box(QPoint(), text.size());
        QWindow* window = m_box.window()->windowHandle();
        const bool ready = window && window->isExposed() && background.size() == box.size() &&
                           background.format() == QImage::Format_RGB32 && attachWindow(*window) &&
                           prepareSurfaces(box.size());
        if (region.isEmpty() || !ready)
            return region;
        uploadBackground(background);
        uploadDrawnRows(text);
        const QRegion shown = (region & box) - deviceRegionOfChildren(ratio);
        const QPoint offset = (QPointF(m_box.mapTo(m_box.window(), QPoint())) * ratio).toPoint();
        compose(shown, text.ringTop(), offset);
        xcb_flush(m_connection);
        return region - shown;
    }

protected:
    // Qt shows an exposed window from its backing store, which the moves here have not kept up
    // to date: the box repaints first.
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Expose) {
            m_box.update();
        } else if (event->type() == QEvent::PlatformSurface &&
                   static_cast<QPlatformSurfaceEvent*>(event)->surfaceEventType() ==
                       QPlatformSurfaceEvent::SurfaceAboutToBeDestroyed) {
            releaseWindow();
        }
        return QObject::eventFilter(watched, event);
    }

private:
    struct Surface {
        xcb_pixmap_t pixmap = XCB_NONE;
        xcb_render_picture_t picture = XCB_NONE;
    };

    QRegion deviceRegionOfChildren(qreal ratio) const {
        QRegion covered;
        for (QObject* child : m_box.children()) {
            const auto* widget = qobject_cast<QWidget*>(child);
            if (widget && !widget->isWindow() && widget->isVisible())
                covered += DeviceRect(widget->geometry(), ratio);
        }
        return covered;
    }

    // The formats this needs, and a picture of the window the box is drawn in. False when the
    // X server cannot take the pixels as they are.
    bool attachWindow(QWindow& window) {
        if (m_unusable)
            return false;
        const auto id = static_cast<xcb_window_t>(window.winId());
        if (id == m_window && m_windowPicture != XCB_NONE)
            return true;
        releaseWindow();
        const xcb_query_extension_reply_t* render =
            xcb_get_extension_data(m_connection, &xcb_render_id);
        if (!render || !render->present || !takesImagesAsTheyAre(m_connection))
            return markUnusable();
        const auto formatsCookie = xcb_render_query_pict_formats(m_connection);
        const auto attributesCookie = xcb_get_window_attributes(m_connection, id);
        const OwnedReply<xcb_render_query_pict_formats_reply_t> formats(
            xcb_render_query_pict_formats_reply(m_connection, formatsCookie, nullptr));
        const OwnedReply<xcb_get_window_attributes_reply_t> attributes(
            xcb_get_window_attributes_reply(m_connection, attributesCookie, nullptr));
        if (!formats || !attributes)
            return markUnusable();
        m_opaqueFormat = standardFormat(formats.get(), OpaqueDepth);
        m_translucentFormat = standardFormat(formats.get(), TranslucentDepth);
        const xcb_render_pictformat_t windowFormat =
            visualFormat(formats.get(), attributes->visual);
        if (m_opaqueFormat == XCB_NONE || m_translucentFormat == XCB_NONE ||
            windowFormat != m_opaqueFormat)
            return markUnusable();
        m_windowPicture = xcb_generate_id(m_connection);
        if (!succeeded(m_connection,
                       {xcb_render_create_picture_checked(m_connection, m_windowPicture, id,
                                                          windowFormat, 0, nullptr)})) {
            m_windowPicture = XCB_NONE;
            return markUnusable();
        }
        m_maximumImageBytes = size_t{xcb_get_maximum_request_length(m_connection)} * 4 -
                              sizeof(xcb_put_image_request_t);
        m_window = id;
        m_watched = &window;
        window.installEventFilter(this);
        return true;
    }

    // The pixmaps of the background, the text ring and the composed pixels, of the box's size.
    bool prepareSurfaces(QSize size) {
        if (size == m_size)
            return true;
        releaseSurfaces();
        const auto width = static_cast<uint16_t>(size.width());
        const auto height = static_cast<uint16_t>(size.height());
        std::vector<xcb_void_cookie_t> requests;
        const auto create = [&](Surface& surface, uint8_t depth, xcb_render_pictformat_t format,
                                uint32_t repeat) {
            surface.pixmap = xcb_generate_id(m_connection);
            surface.picture = xcb_generate_id(m_connection);
            requests.push_back(xcb_create_pixmap_checked(m_connection, depth, surface.pixmap,
                                                         m_window, width, height));
            requests.push_back(xcb_render_create_picture_checked(m_connection, surface.picture,
                                                                 surface.pixmap, format,
                                                                 XCB_RENDER_CP_REPEAT, &repeat));
        };
        create(m_background, OpaqueDepth, m_opaqueFormat, XCB_RENDER_REPEAT_NONE);
        // Box rows below the ring's last row continue at its first.
        create(m_text, TranslucentDepth, m_translucentFormat, XCB_RENDER_REPEAT_NORMAL);
        create(m_composed, OpaqueDepth, m_opaqueFormat, XCB_RENDER_REPEAT_NONE);
        m_opaqueGc = xcb_generate_id(m_connection);
        m_translucentGc = xcb_generate_id(m_connection);
        requests.push_back(
            xcb_create_gc_checked(m_connection, m_opaqueGc, m_background.pixmap, 0, nullptr));
        requests.push_back(
            xcb_create_gc_checked(m_connection, m_translucentGc, m_text.pixmap, 0, nullptr));
        if (!succeeded(m_connection, requests)) {
            forgetSurfaces(); // what was created goes with the connection
            return markUnusable();
        }
        m_size = size;
        m_backgroundKey = 0;
        return true;
    }

    void uploadBackground(const QImage& background) {
        if (background.cacheKey() == m_backgroundKey)
            return;
        putRows(m_background.pixmap, m_opaqueGc, OpaqueDepth, background, 0, background.height());
        m_backgroundKey = background.cacheKey();
    }

    void uploadDrawnRows(ScrollingLayer& text) {
        text.takeDrawnRingRows([&](ScrollingLayer::Rows rows) {
            putRows(m_text.pixmap, m_translucentGc, TranslucentDepth, text.ring(), rows.first,
                    rows.past - rows.first);
        });
    }

    void putRows(xcb_pixmap_t pixmap, xcb_gcontext_t gc, uint8_t depth, const QImage& image,
                 int first, int count) {
        const auto stride = static_cast<size_t>(image.bytesPerLine());
        const int perRequest = static_cast<int>(std::max<size_t>(m_maximumImageBytes / stride, 1));
        for (int row = first; row < first + count; row += perRequest) {
            const int rows = std::min(perRequest, first + count - row);
            xcb_put_image(m_connection, XCB_IMAGE_FORMAT_Z_PIXMAP, pixmap, gc,
                          static_cast<uint16_t>(image.width()), static_cast<uint16_t>(rows), 0,
                          static_cast<int16_t>(row), 0, depth,
                          static_cast<uint32_t>(stride * static_cast<size_t>(rows)),
                          image.constScanLine(row));
        }
    }

    // Text over background into the composed pixmap, then onto the window (the box's top left
    // corner at the offset), within the region.
    void compose(const QRegion& region, int ringTop, QPoint offset) {
        if (region.isEmpty())
            return;
        toXcbRectangles(region, m_clip);
        const auto count = static_cast<uint32_t>(m_clip.size());
        const QRect bounds = region.boundingRect();
        const auto x = static_cast<int16_t>(bounds.x());
        const auto y = static_cast<int16_t>(bounds.y());
        const auto width = static_cast<uint16_t>(bounds.width());
        const auto height = static_cast<uint16_t>(bounds.height());
        const auto windowX = static_cast<int16_t>(bounds.x() + offset.x());
        const auto windowY = static_cast<int16_t>(bounds.y() + offset.y());
        xcb_render_set_picture_clip_rectangles(m_connection, m_composed.picture, 0, 0, count,
                                               m_clip.data());
        xcb_render_composite(m_connection, XCB_RENDER_PICT_OP_SRC, m_background.picture, XCB_NONE,
                             m_composed.picture, x, y, 0, 0, x, y, width, height);
        xcb_render_composite(m_connection, XCB_RENDER_PICT_OP_OVER, m_text.picture, XCB_NONE,
                             m_composed.picture, x, static_cast<int16_t>(bounds.y() + ringTop), 0,
                             0, x, y, width, height);
        xcb_render_set_picture_clip_rectangles(
            m_connection, m_windowPicture, static_cast<int16_t>(offset.x()),
            static_cast<int16_t>(offset.y()), count, m_clip.data());
        xcb_render_composite(m_connection, XCB_RENDER_PICT_OP_SRC, m_composed.picture, XCB_NONE,
                             m_windowPicture, x, y, 0, 0, windowX, windowY, width, height);
    }

    bool markUnusable() {
        m_unusable = true;
        return false;
    }

    void releaseWindow() {
        if (m_windowPicture != XCB_NONE)
            xcb_render_free_picture(m_connection, m_windowPicture);
        m_windowPicture = XCB_NONE;
        m_window = XCB_NONE;
        if (m_watched)
            m_watched->removeEventFilter(this);
        m_watched = nullptr;
    }

    void releaseSurfaces() {
        for (const Surface& surface : {m_background, m_text, m_composed}) {
            if (surface.picture != XCB_NONE)
                xcb_render_free_picture(m_connection, surface.picture);
            if (surface.pixmap != XCB_NONE)
                xcb_free_pixmap(m_connection, surface.pixmap);
        }
        for (const xcb_gcontext_t gc : {m_opaqueGc, m_translucentGc}) {
            if (gc != XCB_NONE)
                xcb_free_gc(m_connection, gc);
        }
        forgetSurfaces();
    }

    void forgetSurfaces() {
        m_background = m_text = m_composed = Surface{};
        m_opaqueGc = m_translucentGc = XCB_NONE;
        m_size = QSize();
    }

    QWidget& m_box;
    xcb_connection_t* m_connection;
    bool m_unusable = false;
    xcb_render_pictformat_t m_opaqueFormat = XCB_NONE;
    xcb_render_pictformat_t m_translucentFormat = XCB_NONE;
    xcb_window_t m_window = XCB_NONE;
    xcb_render_picture_t m_windowPicture = XCB_NONE;
    QPointer<QWindow> m_watched;
    QSize m_size;
    Surface m_background;
    Surface m_text;
    Surface m_composed;
    xcb_gcontext_t m_opaqueGc = XCB_NONE;
    xcb_gcontext_t m_translucentGc = XCB_NONE;
    qint64 m_backgroundKey = 0;
    size_t m_maximumImageBytes = 0; // of one image request
    std::vector<xcb_rectangle_t> m_clip;
};

} // namespace

std::unique_ptr<CreditsScreen> XRenderScreenFor(QWidget& box) {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11 || !x11->connection())
        return nullptr;
    return std::make_unique<XRenderScreen>(box, x11->connection());
}
