#include "platform/ui/CStatic.h"

#include "platform/gdi/gdi_qt.h"
#include "platform/ui/CImageList.h"
#include "platform/ui/control_widgets.h"

IMPLEMENT_DYNAMIC(CStatic, CControlBase)

BOOL CStatic::Create(const CString& text, DWORD style, const RECT& rect, CWnd* parent, UINT nID)
{
    return CreateControl(CtlKind::Static, text, style, rect, parent, nID);
}

void CStatic::SetBitmap(HBITMAP bitmap)
{
    if (auto* w = dynamic_cast<ctl::StaticWidget*>(m_hWnd)) {
        w->m_picture = BitmapImage(bitmap).copy();
        w->update();
    }
}

void CStatic::SetPicture(const CImageList& images, int index)
{
    if (auto* w = dynamic_cast<ctl::StaticWidget*>(m_hWnd)) {
        w->m_picture = images.ImageAt(index);
        w->update();
    }
}
