// Text of CDC: Qt fonts painted onto the target through QPainter.
#include "platform/gdi/CDC.h"

#include "platform/gdi/CDC_impl.h"
#include "platform/gdi/gdi_qt.h"

#include <QCoreApplication>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace {

// Fonts need the application's font database; without a GUI application
// text is skipped rather than crashing a test or tool that has none.
bool FontsAvailable()
{
    const QCoreApplication* app = QCoreApplication::instance();
    return app != nullptr && app->inherits("QGuiApplication");
}

QString ToQString(const char16_t* text, int count)
{
    if (text == nullptr)
        return QString();
    if (count < 0)
        count = int(std::char_traits<char16_t>::length(text));
    return QString::fromUtf16(text, count);
}

QRect ToQRect(const CRect& r) { return QRect(r.left, r.top, r.Width(), r.Height()); }

CRect FromQRect(const QRect& r) { return CRect(r.left(), r.top(), r.left() + r.width(), r.top() + r.height()); }

// A painter over the DC's target, clipped to its clip box.
class TargetPainter {
public:
    explicit TargetPainter(CDC::Impl& d) : m_image(d.WrapTarget())
    {
        if (m_image.isNull())
            return;
        m_painter.begin(&m_image);
        m_painter.setRenderHint(QPainter::Antialiasing, false);
        m_painter.setClipRect(ToQRect(d.Surface().clip));
    }
    bool Active() const { return m_painter.isActive(); }
    QPainter& operator*() { return m_painter; }
    QPainter* operator->() { return &m_painter; }

private:
    QImage m_image;
    QPainter m_painter;
};

} // namespace

const QFont& CDC::Impl::Font()
{
    if (!qfont)
        qfont = FontFromLogFont(s.fontData);
    return *qfont;
}

bool CDC::ExtTextOut(int x, int y, unsigned options, const RECT* rect, const char16_t* text, int count,
                     const int* advances)
{
    Impl& d = *m_impl;
    const QString str = ToQString(text, count);
    TargetPainter p(d);
    if (!p.Active())
        return false;
    CRect box;
    if (rect != nullptr) {
        box = CRect(d.DX(rect->left), d.DY(rect->top), d.DX(rect->right), d.DY(rect->bottom));
        box.NormalizeRect();
        if (options & ETO_OPAQUE) {
            p->fillRect(ToQRect(box), ToQColor(d.s.bkColor));
            d.Touch(box);
        }
        if (options & ETO_CLIPPED)
            p->setClipRect(ToQRect(box), Qt::IntersectClip);
    }
    if (str.isEmpty() || !FontsAvailable())
        return true;

    const QFont& font = d.Font();
    const QFontMetrics m(font);
    int width = 0;
    if (advances != nullptr)
        for (int i = 0; i < str.size(); ++i)
            width += advances[i];
    else
        width = m.horizontalAdvance(str);

    const unsigned align = d.s.textAlign;
    if (align & TA_UPDATECP) {
        x = d.s.position.x;
        y = d.s.position.y;
    }
    const int rx = d.DX(x), ry = d.DY(y);
    // Text anchored this far off cannot reach the target, and Qt's fixed
    // point coordinates would not hold it.
    constexpr int kFar = 1 << 22;
    if (std::abs(std::int64_t(rx)) > kFar || std::abs(std::int64_t(ry)) > kFar)
        return true;
    int left = 0;
    if ((align & TA_CENTER) == TA_CENTER)
        left = -width / 2;
    else if (align & TA_RIGHT)
        left = -width;
    int baseline = m.ascent();
    if ((align & TA_BASELINE) == TA_BASELINE)
        baseline = 0;
    else if (align & TA_BOTTOM)
        baseline = -m.descent();

    // Escapement turns the text about its reference point, counter-clockwise
    // in tenths of a degree.
    p->translate(rx, ry);
    if (d.s.fontData.lfEscapement != 0)
        p->rotate(-d.s.fontData.lfEscapement / 10.0);
    const QRect cell(left, baseline - m.ascent(), width, m.ascent() + m.descent());
    if (d.s.bkMode == OPAQUE)
        p->fillRect(cell, ToQColor(d.s.bkColor));
    p->setFont(font);
    p->setPen(ToQColor(d.s.textColor));
    if (advances != nullptr) {
        int pen = left;
        for (int i = 0; i < str.size(); ++i) {
            p->drawText(QPoint(pen, baseline), QString(str[i]));
            pen += advances[i];
        }
    } else {
        p->drawText(QPoint(left, baseline), str);
    }
    d.Touch(FromQRect(p->transform().mapRect(cell).adjusted(-2, -2, 2, 2)));
    if (align & TA_UPDATECP) {
        if ((align & TA_CENTER) != TA_CENTER && !(align & TA_RIGHT))
            d.s.position.x += width;
        else if ((align & TA_CENTER) != TA_CENTER)
            d.s.position.x -= width;
    }
    return true;
}

bool CDC::TextOut(int x, int y, const char16_t* text, int count)
{
    return ExtTextOut(x, y, 0, nullptr, text, count, nullptr);
}

int CDC::DrawText(const char16_t* text, int count, RECT* rect, unsigned format)
{
    Impl& d = *m_impl;
    if (rect == nullptr || !FontsAvailable())
        return 0;
    QString str = ToQString(text, count);
    int flags = 0;
    if (format & DT_CENTER)
        flags |= Qt::AlignHCenter;
    else if (format & DT_RIGHT)
        flags |= Qt::AlignRight;
    else
        flags |= Qt::AlignLeft;
    if (format & DT_SINGLELINE) {
        str.replace(u'\r', u' ').replace(u'\n', u' ');
        flags |= (format & DT_VCENTER) ? Qt::AlignVCenter : (format & DT_BOTTOM) ? Qt::AlignBottom : Qt::AlignTop;
    } else {
        flags |= Qt::AlignTop;
        if (format & DT_WORDBREAK)
            flags |= Qt::TextWordWrap;
    }
    if (!(format & DT_NOPREFIX))
        flags |= Qt::TextShowMnemonic;
    if (format & DT_EXPANDTABS)
        flags |= Qt::TextExpandTabs;

    const QFont& font = d.Font();
    const QFontMetrics m(font);
    CRect logical(*rect);
    if (format & DT_CALCRECT) {
        const int wrapWidth = (format & DT_WORDBREAK) ? std::max(1, int(logical.Width())) : 1 << 20;
        const QRect need = m.boundingRect(QRect(0, 0, wrapWidth, 1 << 20), flags & ~(Qt::AlignHCenter | Qt::AlignRight | Qt::AlignVCenter | Qt::AlignBottom), str);
        rect->right = rect->left + need.width();
        rect->bottom = rect->top + need.height();
        return need.height();
    }
    if (format & DT_END_ELLIPSIS)
        str = m.elidedText(str, Qt::ElideRight, logical.Width(), flags & Qt::TextShowMnemonic);

    CRect box(d.DX(logical.left), d.DY(logical.top), d.DX(logical.right), d.DY(logical.bottom));
    box.NormalizeRect();
    TargetPainter p(d);
    if (!p.Active())
        return 0;
    if (!(format & DT_NOCLIP))
        p->setClipRect(ToQRect(box), Qt::IntersectClip);
    const QRect area = ToQRect(box);
    const QRect used = m.boundingRect(area, flags, str);
    if (d.s.bkMode == OPAQUE)
        p->fillRect(used, ToQColor(d.s.bkColor));
    p->setFont(font);
    p->setPen(ToQColor(d.s.textColor));
    p->drawText(area, flags, str);
    d.Touch(FromQRect(used.adjusted(-2, -2, 2, 2)));
    return used.height();
}

CSize CDC::GetTextExtent(const char16_t* text, int count) const
{
    const QString str = ToQString(text, count);
    if (!FontsAvailable()) {
        const int h = m_impl->s.fontData.lfHeight == 0 ? 12 : std::abs(m_impl->s.fontData.lfHeight);
        return CSize(int(str.size()) * h / 2, h);
    }
    const QFontMetrics m(m_impl->Font());
    return CSize(m.horizontalAdvance(str), m.height());
}

bool CDC::GetTextMetrics(TEXTMETRICW* out) const
{
    if (out == nullptr || !FontsAvailable())
        return false;
    const QFont& font = m_impl->Font();
    const QFontMetrics m(font);
    out->tmAscent = m.ascent();
    out->tmDescent = m.descent();
    out->tmHeight = m.ascent() + m.descent();
    out->tmInternalLeading = std::max(0, out->tmHeight - font.pixelSize());
    out->tmExternalLeading = std::max(0, m.leading());
    out->tmAveCharWidth = m.averageCharWidth();
    out->tmMaxCharWidth = m.maxWidth();
    out->tmWeight = font.weight();
    return true;
}
