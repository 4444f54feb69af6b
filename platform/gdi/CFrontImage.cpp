#include "platform/gdi/CFrontImage.h"

#include <QImage>
#include <QPainter>

#include <algorithm>

// Resizes and fills that arrived while a DC held the pixels.
struct CFrontImage::Pending {
    bool resize = false;
    int width = 0;
    int height = 0;
    COLORREF resizeFill = 0;
    bool fill = false;
    COLORREF fillColor = 0;
};

CFrontImage::CFrontImage() : m_image(std::make_unique<QImage>()) {}

CFrontImage::~CFrontImage() = default;

void CFrontImage::Resize(int width, int height, COLORREF fill)
{
    width = std::max(width, 0);
    height = std::max(height, 0);
    std::lock_guard lock(m_mutex);
    if (m_attachedDCs > 0) {
        if (!m_pending)
            m_pending = std::make_unique<Pending>();
        m_pending->resize = true;
        m_pending->width = width;
        m_pending->height = height;
        m_pending->resizeFill = fill;
        return;
    }
    ResizeNow(width, height, fill);
}

void CFrontImage::ResizeNow(int width, int height, COLORREF fill)
{
    if (m_image->width() == width && m_image->height() == height)
        return;
    m_damage.Reset(width, height);
    m_damage.MarkAll();
    QImage next(width, height, QImage::Format_RGB32);
    next.fill(QColor(GetRValue(fill), GetGValue(fill), GetBValue(fill)));
    if (!m_image->isNull() && width > 0 && height > 0) {
        QPainter p(&next);
        p.setCompositionMode(QPainter::CompositionMode_Source);
        p.drawImage(0, 0, *m_image);
    }
    *m_image = std::move(next);
}

CSize CFrontImage::GetSize() const
{
    std::lock_guard lock(m_mutex);
    return CSize(m_image->width(), m_image->height());
}

void CFrontImage::Fill(COLORREF color)
{
    std::lock_guard lock(m_mutex);
    if (m_attachedDCs > 0) {
        if (!m_pending)
            m_pending = std::make_unique<Pending>();
        m_pending->fill = true;
        m_pending->fillColor = color;
        return;
    }
    m_image->fill(QColor(GetRValue(color), GetGValue(color), GetBValue(color)));
    m_damage.MarkAll();
}

void CFrontImage::DcReleased()
{
    if (--m_attachedDCs > 0 || !m_pending)
        return;
    const std::unique_ptr<Pending> pending = std::move(m_pending);
    if (pending->resize)
        ResizeNow(pending->width, pending->height, pending->resizeFill);
    if (pending->fill) {
        m_image->fill(QColor(GetRValue(pending->fillColor), GetGValue(pending->fillColor), GetBValue(pending->fillColor)));
        m_damage.MarkAll();
    }
}

void CFrontImage::SetRepaintHandler(RepaintHandler handler)
{
    std::lock_guard lock(m_handlerMutex);
    m_handler = std::move(handler);
}

void CFrontImage::NotifyChanged(const CRect& changed)
{
    RepaintHandler handler;
    {
        std::lock_guard lock(m_handlerMutex);
        handler = m_handler;
    }
    if (handler)
        handler(changed);
}

void CFrontImage::Read(const std::function<void(const QImage&)>& reader) const
{
    std::lock_guard lock(m_mutex);
    reader(*m_image);
}
