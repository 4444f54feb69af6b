#include "platform/gdi/CFrontImage.h"

#include <QImage>
#include <QPainter>

#include <algorithm>

CFrontImage::CFrontImage() : m_image(std::make_unique<QImage>()) {}

CFrontImage::~CFrontImage() = default;

void CFrontImage::Resize(int width, int height, COLORREF fill)
{
    width = std::max(width, 0);
    height = std::max(height, 0);
    std::lock_guard lock(m_mutex);
    if (m_image->width() == width && m_image->height() == height)
        return;
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
    m_image->fill(QColor(GetRValue(color), GetGValue(color), GetBValue(color)));
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
