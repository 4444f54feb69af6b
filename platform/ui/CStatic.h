#pragma once

#include "platform/ui/CControlBase.h"

class CImageList;

// Static text, or a picture (SS_ICON, SS_BITMAP).
class CStatic : public CControlBase {
    DECLARE_DYNAMIC(CStatic)
public:
    BOOL Create(const CString& text, DWORD style, const RECT& rect, CWnd* parent, UINT nID = 0xFFFF);

    // The picture shown by a picture control: a bitmap, or an image of a list.
    void SetBitmap(HBITMAP bitmap);
    void SetPicture(const CImageList& images, int index);
};
