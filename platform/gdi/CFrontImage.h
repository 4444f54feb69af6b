#pragma once

#include "platform/gdi/CRect.h"
#include "platform/gdi/RowDamage.h"
#include "platform/gdi/gdi_types.h"

#include <functional>
#include <memory>
#include <mutex>

class QImage;

// A window's 32-bit front image. Any thread draws into it through a CDC
// (which holds the lock for its whole life); when that DC is released the
// repaint handler is called with the changed area, outside the lock. The
// GUI thread's paint only copies the image out under the lock.
class CFrontImage {
public:
    using RepaintHandler = std::function<void(const CRect& changed)>;

    CFrontImage();
    ~CFrontImage();
    CFrontImage(const CFrontImage&) = delete;
    CFrontImage& operator=(const CFrontImage&) = delete;

    // Keeps the overlapping pixels, fills new ones. While a DC of this
    // thread is attached (a handler drawing through a client DC runs a nested
    // event loop), resizing and filling wait until the last one is released.
    void Resize(int width, int height, COLORREF fill = RGB(0, 0, 0));
    CSize GetSize() const;
    void Fill(COLORREF color);

    // Called from the releasing thread; post to the GUI thread from it.
    void SetRepaintHandler(RepaintHandler handler);
    void NotifyChanged(const CRect& changed);

    // Runs reader with the image while holding the lock (paint, snapshots).
    void Read(const std::function<void(const QImage&)>& reader) const;

    // For CDC: the lock (recursive, so nested DCs on one thread are safe)
    // and the image, valid only while the lock is held.
    std::recursive_mutex& Mutex() const { return m_mutex; }
    QImage& ImageLocked() { return *m_image; }
    void DcAttached() { ++m_attachedDCs; }
    void DcReleased(); // applies what waited for the last DC

    // Where the pixels changed since the last ClearDamageLocked: every DC
    // drawing here marks it, a resize or fill marks all. A view that keeps
    // the image equal to its back buffer copies only these and its own
    // changes. Lock held (a DC of the image holds it).
    void MarkDamageLocked(const CRect& r) { m_damage.Mark(r.left, r.top, r.right, r.bottom); }
    const RowDamage& DamageLocked() const { return m_damage; }
    void ClearDamageLocked() { m_damage.Reset(m_damage.Width(), m_damage.Height()); }

private:
    struct Pending;
    void ResizeNow(int width, int height, COLORREF fill);

    mutable std::recursive_mutex m_mutex;
    std::unique_ptr<QImage> m_image;
    int m_attachedDCs = 0;
    std::unique_ptr<Pending> m_pending;
    RowDamage m_damage;
    std::mutex m_handlerMutex;
    RepaintHandler m_handler;
};
