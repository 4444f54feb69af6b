#include "platform/ui/CToolBar.h"

#include "platform/ui/CCmdUI.h"
#include "platform/ui/CFrameWnd.h"
#include "platform/ui/CImageList.h"
#include "platform/ui/afx_ids.h"
#include "platform/ui/resources.h"
#include "platform/ui/ui_runtime.h"

#include <QIcon>
#include <QSize>
#include <QEvent>
#include <QImage>
#include <QLayout>
#include <QPixmap>
#include <QToolBar>
#include <QToolButton>

#include <algorithm>

IMPLEMENT_DYNAMIC(CToolBar, CControlBar)

namespace {

constexpr int kSeparatorWidth = 8;

// A toolbar button asked for its state by an update handler.
class CToolCmdUI : public CCmdUI {
public:
    CToolBar* bar = nullptr;
    void Enable(BOOL on) override
    {
        CCmdUI::Enable(on);
        UINT style = bar->GetButtonStyle(int(m_nIndex)) & ~TBBS_DISABLED;
        bar->SetButtonStyle(int(m_nIndex), on ? style : style | TBBS_DISABLED);
    }
    void SetCheck(int check) override
    {
        CCmdUI::SetCheck(check);
        UINT style = bar->GetButtonStyle(int(m_nIndex)) & ~(TBBS_CHECKED | TBBS_INDETERMINATE);
        if (check == 1)
            style |= TBBS_CHECKED;
        else if (check == 2)
            style |= TBBS_INDETERMINATE;
        bar->SetButtonStyle(int(m_nIndex), style);
    }
};

// The face text: the tooltip part of the command's resource string.
CString DefaultText(UINT id)
{
    CString s = LoadResourceString(id);
    const int nl = s.Find(u'\n');
    if (nl >= 0)
        return s.Mid(nl + 1);
    if (s.IsEmpty())
        s.Format(u"#%u", id);
    return s;
}

// The frame's message pane shows a button's prompt while the mouse is on it.
class FlyBy : public QObject {
public:
    FlyBy(std::shared_ptr<WndLife> life, UINT id, QObject* parent) : QObject(parent), m_life(std::move(life)), m_id(id) {}

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() != QEvent::Enter && event->type() != QEvent::Leave)
            return false;
        auto* bar = dynamic_cast<CToolBar*>(m_life->wnd);
        auto* frame = bar != nullptr ? dynamic_cast<CFrameWnd*>(bar->GetOwner()) : nullptr;
        if (frame == nullptr)
            return false;
        if (event->type() == QEvent::Enter)
            frame->SetMessageText(m_id);
        else
            frame->SetMessageText(LoadResourceString(AFX_IDS_IDLEMESSAGE));
        return false;
    }

private:
    std::shared_ptr<WndLife> m_life;
    UINT m_id;
};

} // namespace

BOOL CToolBarCtrl::CheckButton(UINT id, BOOL check)
{
    const int i = m_bar->CommandToIndex(id);
    if (i < 0)
        return FALSE;
    const UINT style = m_bar->GetButtonStyle(i) & ~TBBS_CHECKED;
    m_bar->SetButtonStyle(i, check ? style | TBBS_CHECKED : style);
    return TRUE;
}

BOOL CToolBarCtrl::EnableButton(UINT id, BOOL enable)
{
    const int i = m_bar->CommandToIndex(id);
    if (i < 0)
        return FALSE;
    const UINT style = m_bar->GetButtonStyle(i) & ~TBBS_DISABLED;
    m_bar->SetButtonStyle(i, enable ? style : style | TBBS_DISABLED);
    return TRUE;
}

BOOL CToolBarCtrl::IsButtonChecked(UINT id) const
{
    const int i = m_bar->CommandToIndex(id);
    return i >= 0 && (m_bar->GetButtonStyle(i) & TBBS_CHECKED) != 0;
}

BOOL CToolBarCtrl::IsButtonEnabled(UINT id) const
{
    const int i = m_bar->CommandToIndex(id);
    return i >= 0 && (m_bar->GetButtonStyle(i) & TBBS_DISABLED) == 0;
}

int CToolBarCtrl::GetButtonCount() const
{
    return m_bar->GetCount();
}

CImageList* CToolBarCtrl::SetImageList(CImageList* images)
{
    CImageList* old = m_bar->m_images;
    m_bar->UseImages(images);
    return old;
}

CToolBar::CToolBar() : m_ctrl(this) {}

void CToolBar::UseImages(CImageList* images)
{
    m_images = images;
    if (m_hWnd != nullptr && images != nullptr && images->Width() > 0)
        static_cast<QToolBar*>(m_hWnd)->setIconSize(QSize(images->Width(), images->Height()));
    for (auto& b : m_buttons)
        Apply(b);
}

CToolBar::~CToolBar()
{
    if (m_pDockSite != nullptr)
        m_pDockSite->RemoveControlBar(this);
}

BOOL CToolBar::Create(CWnd* parent, DWORD style, UINT nID)
{
    return CreateEx(parent, 0, style, RECT{}, nID);
}

BOOL CToolBar::CreateEx(CWnd* parent, DWORD, DWORD style, const RECT&, UINT nID)
{
    uirt::EnsureApplication();
    if (m_hWnd != nullptr || parent == nullptr || parent->m_hWnd == nullptr)
        return FALSE;
    auto* tb = new QToolBar(parent->m_hWnd);
    tb->setMovable((style & CBRS_GRIPPER) != 0);
    tb->setFloatable(false);
    tb->setToolButtonStyle(Qt::ToolButtonTextOnly);
    AttachWidget(tb, nID);
    m_style = WS_CHILD | (style & (WS_VISIBLE | WS_DISABLED));
    m_dwBarStyle = style & ~(WS_CHILD | WS_VISIBLE | WS_DISABLED);
    if ((style & WS_VISIBLE) == 0)
        tb->hide();
    AttachToParent(parent);
    return TRUE;
}

BOOL CToolBar::LoadToolBar(UINT resourceId)
{
    const ToolBarResource* res = FindToolBarResource(resourceId);
    if (res == nullptr || m_hWnd == nullptr)
        return FALSE;
    if (!SetButtons(res->buttons.data(), int(res->buttons.size())))
        return FALSE;
    for (size_t i = 0; i < res->texts.size() && i < m_buttons.size(); ++i) {
        if (!res->texts[i].IsEmpty())
            SetButtonText(int(i), res->texts[i]);
    }
    if (!res->icons.empty()) {
        // One picture per button in button order, as a bitmap strip has them.
        auto images = std::make_unique<CImageList>();
        const int side = std::max(res->buttonWidth, res->buttonHeight);
        images->Create(side, side, ILC_COLOR24 | ILC_MASK, int(m_buttons.size()), 2);
        for (size_t i = 0; i < m_buttons.size(); ++i) {
            if ((m_buttons[i].style & TBBS_SEPARATOR) != 0)
                continue;
            m_buttons[i].image = images->AddIcon(i < res->icons.size() ? res->icons[i] : 0);
        }
        m_resourceImages = std::move(images);
        UseImages(m_resourceImages.get());
    }
    return TRUE;
}

BOOL CToolBar::SetButtons(const UINT* ids, int count)
{
    if (m_hWnd == nullptr || count < 0)
        return FALSE;
    m_buttons.clear();
    int image = 0;
    for (int i = 0; i < count; ++i) {
        Button b;
        b.id = ids != nullptr ? ids[i] : 0;
        if (b.id == 0) {
            b.style = TBBS_SEPARATOR;
            b.width = kSeparatorWidth;
        } else {
            b.image = image++;
            b.text = DefaultText(b.id);
        }
        m_buttons.push_back(b);
    }
    Rebuild();
    return TRUE;
}

void CToolBar::SetSizes(SIZE button, SIZE)
{
    m_buttonSize = button;
    Rebuild();
}

void CToolBar::SetHeight(int height)
{
    m_height = height;
    if (m_hWnd != nullptr && height > 0)
        m_hWnd->setFixedHeight(height);
}

void CToolBar::Rebuild()
{
    auto* tb = static_cast<QToolBar*>(m_hWnd);
    if (tb == nullptr)
        return;
    for (Button& b : m_buttons)
        b.widget = nullptr;
    // Child controls of the toolbar (not ours) stay; our items go.
    for (QAction* a : tb->actions()) {
        tb->removeAction(a);
        delete a; // with the widget it shows
    }
    for (QObject* o : tb->children()) {
        if (o->property("zorvaToolItem").toBool())
            delete o;
    }
    for (size_t i = 0; i < m_buttons.size(); ++i) {
        Button& b = m_buttons[i];
        QWidget* w = nullptr;
        if ((b.style & TBBS_SEPARATOR) != 0) {
            w = new QWidget(tb);
            w->setFixedSize(b.width, m_buttonSize.cy);
        } else {
            auto* button = new QToolButton(tb);
            button->setObjectName(QString::number(b.id));
            button->setAutoRaise(true);
            button->setMinimumSize(m_buttonSize.cx, m_buttonSize.cy);
            const int index = int(i);
            std::shared_ptr<WndLife> life = GetLife();
            QObject::connect(button, &QToolButton::clicked, [life, index] {
                if (auto* bar = dynamic_cast<CToolBar*>(life->wnd))
                    bar->PressButton(index);
            });
            button->installEventFilter(new FlyBy(life, b.id, button));
            w = button;
        }
        w->setProperty("zorvaToolItem", true);
        b.widget = w;
        tb->addWidget(w);
        Apply(b);
    }
}

void CToolBar::Apply(Button& b)
{
    auto* button = qobject_cast<QToolButton*>(b.widget);
    if (button == nullptr)
        return;
    button->setText(uirt::ToQ(b.text));
    button->setToolTip(uirt::ToQ(b.text));
    if (m_images != nullptr && b.image >= 0 && b.image < m_images->GetImageCount()) {
        button->setIcon(QIcon(QPixmap::fromImage(m_images->ImageAt(b.image))));
        button->setToolButtonStyle(Qt::ToolButtonIconOnly);
    }
    ApplyState(b);
}

// Check and enable only: Qt repaints a button only when they change.
void CToolBar::ApplyState(Button& b)
{
    auto* button = qobject_cast<QToolButton*>(b.widget);
    if (button == nullptr)
        return;
    const bool checked = (b.style & (TBBS_CHECKED | TBBS_INDETERMINATE)) != 0;
    button->setCheckable(checked || (b.style & TBBS_CHECKBOX) != 0);
    button->setChecked(checked);
    button->setEnabled((b.style & TBBS_DISABLED) == 0);
}

UINT CToolBar::GetItemID(int index) const
{
    return index >= 0 && index < GetCount() ? m_buttons[size_t(index)].id : 0;
}

int CToolBar::CommandToIndex(UINT id) const
{
    for (int i = 0; i < GetCount(); ++i) {
        if (m_buttons[size_t(i)].id == id && (m_buttons[size_t(i)].style & TBBS_SEPARATOR) == 0)
            return i;
    }
    return -1;
}

// From the bar's own layout, done now at its natural size, so the rectangle
// holds before the frame is shown (controls are placed over separators then).
void CToolBar::GetItemRect(int index, LPRECT rect) const
{
    if (rect == nullptr)
        return;
    *rect = RECT{};
    if (index < 0 || index >= GetCount() || m_hWnd == nullptr)
        return;
    QWidget* w = m_buttons[size_t(index)].widget;
    if (w == nullptr)
        return;
    if (!m_hWnd->isVisible()) {
        m_hWnd->adjustSize();
        if (QLayout* layout = m_hWnd->layout())
            layout->activate();
    }
    const QRect g = w->geometry();
    *rect = RECT{g.left(), g.top(), g.left() + g.width(), g.top() + g.height()};
}

void CToolBar::SetButtonInfo(int index, UINT id, UINT style, int image)
{
    if (index < 0 || index >= GetCount())
        return;
    Button& b = m_buttons[size_t(index)];
    const bool wasSeparator = (b.style & TBBS_SEPARATOR) != 0;
    b.id = id;
    b.style = style;
    if ((style & TBBS_SEPARATOR) != 0)
        b.width = image; // a separator's "image" is its width
    else
        b.image = image;
    if (wasSeparator || (style & TBBS_SEPARATOR) != 0) {
        if (b.text.IsEmpty() && (style & TBBS_SEPARATOR) == 0)
            b.text = DefaultText(id);
        Rebuild();
    } else {
        Apply(b);
    }
}

void CToolBar::GetButtonInfo(int index, UINT& id, UINT& style, int& image) const
{
    id = GetItemID(index);
    style = GetButtonStyle(index);
    image = index >= 0 && index < GetCount() ? m_buttons[size_t(index)].image : -1;
}

UINT CToolBar::GetButtonStyle(int index) const
{
    return index >= 0 && index < GetCount() ? m_buttons[size_t(index)].style : 0;
}

void CToolBar::SetButtonStyle(int index, UINT style)
{
    if (index < 0 || index >= GetCount())
        return;
    Button& b = m_buttons[size_t(index)];
    if (((b.style ^ style) & TBBS_SEPARATOR) != 0) {
        b.style = style;
        Rebuild();
        return;
    }
    // The idle update sets every button's style ten times a second; setting
    // the face again (a new icon) repainted every toolbar each time.
    if (b.style == style)
        return;
    b.style = style;
    ApplyState(b);
}

BOOL CToolBar::SetButtonText(int index, const CString& text)
{
    if (index < 0 || index >= GetCount())
        return FALSE;
    m_buttons[size_t(index)].text = text;
    Apply(m_buttons[size_t(index)]);
    return TRUE;
}

CString CToolBar::GetButtonText(int index) const
{
    return index >= 0 && index < GetCount() ? m_buttons[size_t(index)].text : CString();
}

void CToolBar::PressButton(int index)
{
    if (index < 0 || index >= GetCount())
        return;
    Button& b = m_buttons[size_t(index)];
    if ((b.style & (TBBS_SEPARATOR | TBBS_DISABLED)) != 0)
        return;
    if ((b.style & TBBS_CHECKBOX) != 0)
        b.style ^= TBBS_CHECKED;
    const UINT id = b.id;
    std::shared_ptr<WndLife> life = GetLife();
    if (CWnd* owner = GetOwner()) {
        uirt::DispatchScope scope;
        owner->SendMessage(WM_COMMAND, MAKEWPARAM(id, 0), 0);
    }
    // The state shown is the model's, whatever Qt's own toggle did.
    if (life->wnd == this && index < GetCount())
        ApplyState(m_buttons[size_t(index)]);
}

void CToolBar::OnUpdateCmdUI(CFrameWnd* target, BOOL disableIfNoHandler)
{
    for (int i = 0; i < GetCount(); ++i) {
        if ((m_buttons[size_t(i)].style & TBBS_SEPARATOR) != 0)
            continue;
        CToolCmdUI ui;
        ui.bar = this;
        ui.m_nID = m_buttons[size_t(i)].id;
        ui.m_nIndex = UINT(i);
        ui.m_pOther = this;
        ui.DoUpdate(target, disableIfNoHandler);
    }
}
