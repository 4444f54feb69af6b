#include "platform/ui/CWnd.h"

#include "platform/core/gui_post.h"
#include "platform/gdi/CDC.h"
#include "platform/gdi/CFrontImage.h"
#include "platform/gdi/gdi_objects.h"
#include "platform/ui/CClientDC.h"
#include "platform/ui/CMenu.h"
#include "platform/ui/timer_queue.h"
#include "platform/ui/ui_runtime.h"
#include "platform/ui/wnd_bridge.h"

#include <QApplication>
#include <QPainter>
#include <QPointer>
#include <QWidget>

#include <atomic>
#include <mutex>

IMPLEMENT_DYNAMIC(CWnd, CCmdTarget)

const CWnd CWnd::wndTop;
const CWnd CWnd::wndBottom;
const CWnd CWnd::wndTopMost;
const CWnd CWnd::wndNoTopMost;

struct CWnd::FrontHolder {
    mutable std::mutex mutex;
    std::shared_ptr<CFrontImage> image;
    std::shared_ptr<std::atomic<bool>> repaintPending = std::make_shared<std::atomic<bool>>(false);
};

CWnd::CWnd() : m_life(std::make_shared<WndLife>()), m_front(std::make_unique<FrontHolder>()) {}

CWnd::~CWnd()
{
    if (m_hWnd != nullptr)
        DestroyWindow();
    MarkDestroyed();
    delete static_cast<WndBridge*>(m_bridge);
}

CWnd* CWnd::FromHandlePermanent(HWND hwnd)
{
    return hwnd == nullptr ? nullptr : uirt::Lookup(hwnd);
}

CWnd* CWnd::FromHandle(HWND hwnd)
{
    for (QWidget* w = hwnd; w != nullptr; w = w->parentWidget()) {
        if (CWnd* wnd = uirt::Lookup(w))
            return wnd;
    }
    return nullptr;
}

std::shared_ptr<WndLife> CWnd::GetLife() const
{
    std::lock_guard lock(m_front->mutex);
    return m_life;
}

bool CWnd::IsAlive() const
{
    return m_life->wnd == this;
}

BOOL CWnd::PreCreateWindow(CREATESTRUCT&)
{
    return TRUE;
}

HWND CWnd::CreateWidget(const CREATESTRUCT& cs, CWnd* parent)
{
    QWidget* parentWidget = parent != nullptr ? parent->m_hWnd : nullptr;
    auto* w = new QWidget((cs.style & WS_CHILD) != 0 ? parentWidget : nullptr);
    if ((cs.style & WS_CHILD) == 0 && parentWidget != nullptr) {
        // An owned top-level window stays above its owner.
        w->setParent(parentWidget, Qt::Tool);
    }
    w->setFocusPolicy(Qt::StrongFocus);
    w->setMouseTracking(true);
    w->setAttribute(Qt::WA_OpaquePaintEvent);
    return w;
}

BOOL CWnd::Create(LPCTSTR, const CString& windowName, DWORD style, const RECT& rect, CWnd* parent, UINT nID,
                  void* createParams)
{
    uirt::EnsureApplication();
    if (m_hWnd != nullptr)
        return FALSE;
    CREATESTRUCT cs;
    cs.lpCreateParams = createParams;
    cs.hwndParent = parent != nullptr ? parent->m_hWnd : nullptr;
    cs.x = rect.left;
    cs.y = rect.top;
    cs.cx = rect.right - rect.left;
    cs.cy = rect.bottom - rect.top;
    cs.style = style;
    cs.lpszName = windowName.GetString();
    if (!PreCreateWindow(cs))
        return FALSE;
    HWND w = CreateWidget(cs, parent);
    if (w == nullptr)
        return FALSE;
    m_style = cs.style;
    m_exStyle = cs.dwExStyle;
    if (cs.cx > 0 || cs.cy > 0)
        w->setGeometry(cs.x, cs.y, cs.cx, cs.cy);
    if ((cs.style & WS_CHILD) == 0 && cs.lpszName != nullptr)
        w->setWindowTitle(uirt::ToQ(CString(cs.lpszName)));
    AttachWidget(w, nID);
    if (!(m_style & WS_CHILD))
        m_text = CString(cs.lpszName != nullptr ? cs.lpszName : u"");
    else
        m_text = windowName;
    if (OnCreate(&cs) == -1) {
        DestroyWindow();
        return FALSE;
    }
    if ((m_style & WS_DISABLED) != 0)
        w->setEnabled(false);
    if ((m_style & WS_VISIBLE) != 0)
        ShowWindow((m_style & WS_MAXIMIZE) != 0 ? SW_SHOWMAXIMIZED : SW_SHOW);
    return TRUE;
}

int CWnd::OnCreate(LPCREATESTRUCT)
{
    return 0;
}

BOOL CWnd::AttachWidget(HWND widget, UINT nID)
{
    uirt::EnsureApplication();
    if (widget == nullptr || m_hWnd != nullptr)
        return FALSE;
    m_hWnd = widget;
    SetDlgCtrlID(nID);
    {
        std::lock_guard lock(m_front->mutex);
        m_life = std::make_shared<WndLife>();
        m_life->wnd = this;
    }
    uirt::MapWidget(widget, this);
    if (m_bridge == nullptr)
        m_bridge = new WndBridge(this);
    static_cast<WndBridge*>(m_bridge)->Watch(widget);
    if (widget->isWindow() == false)
        m_style |= WS_CHILD;
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT nID, CWnd* parent)
{
    if (parent == nullptr || parent->m_hWnd == nullptr)
        return FALSE;
    const QString name = QString::number(nID);
    QWidget* w = parent->m_hWnd->findChild<QWidget*>(name);
    if (w == nullptr)
        return FALSE;
    if (CWnd* old = uirt::Lookup(w); old != nullptr && old != this)
        old->Detach();
    return AttachWidget(w, nID);
}

HWND CWnd::Detach()
{
    HWND w = m_hWnd;
    if (w == nullptr)
        return nullptr;
    uirt::UnmapWidget(w, this);
    if (m_bridge != nullptr)
        static_cast<WndBridge*>(m_bridge)->Unwatch();
    m_hWnd = nullptr;
    MarkDestroyed();
    return w;
}

void CWnd::MarkDestroyed()
{
    std::shared_ptr<WndLife> life;
    {
        std::lock_guard lock(m_front->mutex);
        life = m_life;
        m_front->image.reset();
    }
    if (life->wnd == this) {
        life->wnd = nullptr;
        timerq::KillAll(life.get());
    }
}

BOOL CWnd::DestroyWindow()
{
    QWidget* w = m_hWnd;
    if (w == nullptr)
        return FALSE;
    {
        uirt::DispatchScope scope;
        OnDestroy();
    }
    // Child windows are destroyed with their parent: their handlers and
    // timers must not run once it is gone.
    const QList<QWidget*> children = w->findChildren<QWidget*>();
    for (QWidget* child : children) {
        CWnd* c = uirt::Lookup(child);
        if (c == nullptr || c == this)
            continue;
        c->OnDestroy();
        c->Detach();
    }
    Detach();
    // Deleting a widget under the event it is handling would pull it away
    // from Qt; inside a handler it goes at the next turn of the loop.
    if (uirt::InDispatch()) {
        w->hide();
        w->deleteLater();
    } else {
        delete w;
    }
    PostNcDestroy();
    return TRUE;
}

void CWnd::HandleWidgetDestroyed()
{
    if (m_hWnd == nullptr)
        return;
    uirt::UnmapWidget(m_hWnd, this);
    m_hWnd = nullptr;
    MarkDestroyed();
}

void CWnd::SetDlgCtrlID(UINT nID)
{
    m_nID = nID;
    if (m_hWnd != nullptr)
        m_hWnd->setObjectName(QString::number(nID));
}

CWnd* CWnd::GetDlgItem(int nID) const
{
    if (m_hWnd == nullptr)
        return nullptr;
    const QString name = QString::number(nID);
    // Direct children first, then deeper (bars and docks add containers).
    for (QObject* o : m_hWnd->children()) {
        auto* w = qobject_cast<QWidget*>(o);
        if (w != nullptr && w->objectName() == name) {
            if (CWnd* c = uirt::Lookup(w))
                return c;
        }
    }
    for (QWidget* w : m_hWnd->findChildren<QWidget*>(name)) {
        if (CWnd* c = uirt::Lookup(w))
            return c;
    }
    return nullptr;
}

void CWnd::SetDlgItemText(int nID, const CString& text)
{
    if (CWnd* c = GetDlgItem(nID))
        c->SetWindowText(text);
}

int CWnd::GetDlgItemText(int nID, CString& text) const
{
    text.Empty();
    if (CWnd* c = GetDlgItem(nID))
        c->GetWindowText(text);
    return text.GetLength();
}

void CWnd::SetDlgItemInt(int nID, UINT value, BOOL isSigned)
{
    CString s;
    if (isSigned)
        s.Format(u"%d", int(value));
    else
        s.Format(u"%u", value);
    SetDlgItemText(nID, s);
}

UINT CWnd::GetDlgItemInt(int nID, BOOL* translated, BOOL isSigned) const
{
    CString s;
    GetDlgItemText(nID, s);
    s.Trim();
    bool ok = false;
    const QString q = uirt::ToQ(s);
    UINT value = isSigned ? UINT(q.toInt(&ok)) : q.toUInt(&ok);
    if (translated != nullptr)
        *translated = ok ? TRUE : FALSE;
    return ok ? value : 0;
}

BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    std::shared_ptr<WndLife> life = GetLife();
    PostToGui([life, message, wParam, lParam] {
        if (CWnd* w = life->wnd)
            w->SendMessage(message, wParam, lParam);
    });
    return TRUE;
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    return WindowProc(message, wParam, lParam);
}

void CWnd::NotifyParent(UINT code)
{
    CWnd* target = m_pOwner != nullptr ? m_pOwner : GetParent();
    if (target != nullptr)
        target->SendMessage(WM_COMMAND, MAKEWPARAM(m_nID, code), reinterpret_cast<LPARAM>(this));
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    switch (message) {
    case WM_COMMAND:
        return OnCommand(wParam, lParam);
    case WM_NOTIFY:
        OnNotify(wParam, lParam, &result);
        return result;
    case WM_TIMER:
        OnTimer(UINT_PTR(wParam));
        return 0;
    case WM_CLOSE:
        OnClose();
        return 0;
    case WM_SYSCOMMAND:
        OnSysCommand(UINT(wParam), lParam);
        return 0;
    default:
        break;
    }
    DispatchMappedMessage(message, wParam, lParam, &result);
    return result;
}

BOOL CWnd::PreTranslateMessage(MSG*)
{
    return FALSE;
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM)
{
    return OnCmdMsg(LOWORD(wParam), int(HIWORD(wParam)), nullptr, nullptr);
}

BOOL CWnd::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    auto* header = reinterpret_cast<NMHDR*>(lParam);
    const UINT id = header != nullptr ? UINT(header->idFrom) : UINT(wParam);
    return DispatchNotify(id, header, result);
}

void CWnd::OnClose()
{
    DestroyWindow();
}

void CWnd::OnPaint() {}

UINT_PTR CWnd::SetTimer(UINT_PTR id, UINT elapseMs, void*)
{
    std::shared_ptr<WndLife> life = GetLife();
    if (!uirt::IsGuiThread()) {
        PostToGui([life, id, elapseMs] {
            if (life->wnd != nullptr)
                timerq::Set(life, id, elapseMs);
        });
        return id;
    }
    if (life->wnd != this)
        return 0;
    return timerq::Set(life, id, elapseMs);
}

BOOL CWnd::KillTimer(UINT_PTR id)
{
    std::shared_ptr<WndLife> life = GetLife();
    if (!uirt::IsGuiThread()) {
        PostToGui([life, id] { timerq::Kill(life.get(), id); });
        return TRUE;
    }
    return timerq::Kill(life.get(), id) ? TRUE : FALSE;
}

CMenu* CWnd::GetSystemMenu(BOOL revert)
{
    if (revert || m_systemMenu == nullptr) {
        m_systemMenu = std::make_unique<CMenu>();
        m_systemMenu->CreatePopupMenu();
    }
    return m_systemMenu.get();
}

void CWnd::SetFont(CFont* font, BOOL redraw)
{
    m_pFont = font;
    if (m_hWnd == nullptr || font == nullptr)
        return;
    LOGFONTW lf;
    if (!font->GetLogFont(&lf))
        return;
    QFont f = m_hWnd->font();
    const CString face(lf.lfFaceName);
    if (!face.IsEmpty())
        f.setFamilies({uirt::ToQ(face), QStringLiteral("WenQuanYi Micro Hei")});
    if (lf.lfHeight != 0)
        f.setPixelSize(lf.lfHeight < 0 ? -lf.lfHeight : lf.lfHeight);
    if (lf.lfWeight != 0)
        f.setWeight(lf.lfWeight >= FW_BOLD ? QFont::Bold : QFont::Normal);
    f.setItalic(lf.lfItalic != 0);
    f.setUnderline(lf.lfUnderline != 0);
    m_hWnd->setFont(f);
    if (redraw)
        m_hWnd->update();
}

std::shared_ptr<CFrontImage> CWnd::GetFrontImage()
{
    std::lock_guard lock(m_front->mutex);
    if (m_front->image != nullptr || m_hWnd == nullptr || !uirt::IsGuiThread())
        return m_front->image;
    auto image = std::make_shared<CFrontImage>();
    const QColor bg = m_hWnd->palette().color(m_hWnd->backgroundRole());
    image->Resize(std::max(1, m_hWnd->width()), std::max(1, m_hWnd->height()), RGB(bg.red(), bg.green(), bg.blue()));
    // A DC released on any thread asks for one repaint; requests coalesce
    // until the repaint has run.
    std::shared_ptr<WndLife> life = m_life;
    std::shared_ptr<std::atomic<bool>> pending = m_front->repaintPending;
    image->SetRepaintHandler([life, pending](const CRect&) {
        if (uirt::IsGuiThread() && uirt::InPaint())
            return;
        if (pending->exchange(true))
            return;
        PostToGui([life, pending] {
            pending->store(false);
            if (CWnd* w = life->wnd; w != nullptr && w->m_hWnd != nullptr)
                w->m_hWnd->update();
        });
    });
    m_front->image = image;
    return image;
}

bool CWnd::HasFrontImage() const
{
    std::lock_guard lock(m_front->mutex);
    return m_front->image != nullptr;
}

void CWnd::ResizeFrontImage()
{
    std::shared_ptr<CFrontImage> image;
    {
        std::lock_guard lock(m_front->mutex);
        image = m_front->image;
    }
    if (image == nullptr || m_hWnd == nullptr)
        return;
    const QColor bg = m_hWnd->palette().color(m_hWnd->backgroundRole());
    image->Resize(std::max(1, m_hWnd->width()), std::max(1, m_hWnd->height()), RGB(bg.red(), bg.green(), bg.blue()));
}

void CWnd::PaintFrontImage(void* qpainter)
{
    std::shared_ptr<CFrontImage> image;
    {
        std::lock_guard lock(m_front->mutex);
        image = m_front->image;
    }
    if (image == nullptr)
        return;
    auto* painter = static_cast<QPainter*>(qpainter);
    image->Read([painter](const QImage& img) { painter->drawImage(0, 0, img); });
}

CDC* CWnd::GetDC()
{
    return new CClientDC(this);
}

int CWnd::ReleaseDC(CDC* dc)
{
    delete dc;
    return 1;
}

BOOL IsWindow(HWND hwnd)
{
    return hwnd != nullptr && uirt::Lookup(hwnd) != nullptr ? TRUE : FALSE;
}
