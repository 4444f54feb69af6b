#include "process/multipass_picture.h"

#include "platform/gdi/CBitmap.h"
#include "platform/gdi/CDC.h"
#include "platform/gdi/CFont.h"
#include "platform/gdi/CPen.h"
#include "platform/core/CString.h"

namespace {

constexpr COLORREF kBackground = RGB(255, 255, 255);
constexpr COLORREF kPart = RGB(160, 160, 160);
constexpr COLORREF kPassColours[3] = {RGB(0, 0, 200), RGB(0, 150, 0), RGB(200, 0, 0)};
constexpr COLORREF kText = RGB(0, 0, 0);

// The part, and each pass a few pixels further in; the die support is the
// stretch of the left edge between supportTop and supportBottom that the
// first passes leave standing.
constexpr RECT kPartRect{80, 30, 220, 150};
constexpr int kSupportTop = 74, kSupportBottom = 104;
constexpr int kThreadX = 24, kLeadY = kSupportBottom;
constexpr COLORREF kSupport = RGB(200, 200, 200);

void Line(CDC& dc, int x1, int y1, int x2, int y2)
{
    dc.MoveTo(x1, y1);
    dc.LineTo(x2, y2);
}

// One pass around the part at distance d outside it, from the lead-in
// point at the foot of the die support round to its head; the last pass
// cuts the support off.
void DrawPass(CDC& dc, int d, bool closes)
{
    const int l = kPartRect.left - d, t = kPartRect.top - d, r = kPartRect.right + d, b = kPartRect.bottom + d;
    Line(dc, l, kLeadY, l, b);
    Line(dc, l, b, r, b);
    Line(dc, r, b, r, t);
    Line(dc, r, t, l, t);
    Line(dc, l, t, l, closes ? kLeadY : kSupportTop);
}

} // namespace

bool DrawMultiPassPicture(CBitmap& bitmap)
{
    CDC dc;
    if (!dc.CreateCompatibleDC(nullptr)
        || !bitmap.CreateCompatibleBitmap(&dc, kMultiPassPictureWidth, kMultiPassPictureHeight))
        return false;
    CBitmap* old = dc.SelectObject(&bitmap);
    dc.FillSolidRect(0, 0, kMultiPassPictureWidth, kMultiPassPictureHeight, kBackground);
    dc.FillSolidRect(kPartRect.left - 12, kSupportTop, 12, kSupportBottom - kSupportTop, kSupport);
    CPen part(PS_SOLID, 1, kPart);
    CPen* oldPen = dc.SelectObject(&part);
    dc.Rectangle(kPartRect.left, kPartRect.top, kPartRect.right, kPartRect.bottom);
    for (int k = 0; k < 3; ++k) {
        CPen pen(PS_SOLID, 1, kPassColours[k]);
        dc.SelectObject(&pen);
        DrawPass(dc, 12 - 4 * k, k == 2);
        if (k == 0)
            Line(dc, kThreadX, kLeadY, kPartRect.left - 12, kLeadY);
        dc.SelectObject(&part);
    }
    dc.SelectObject(oldPen);
    dc.Ellipse(kThreadX - 3, kLeadY - 3, kThreadX + 4, kLeadY + 4);

    CFont font;
    font.CreatePointFont(90, u"宋体");
    CFont* oldFont = dc.SelectObject(&font);
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(kText);
    dc.TextOut(6, kLeadY + 8, u"穿丝点");
    dc.TextOut(kPartRect.left + 6, (kSupportTop + kSupportBottom) / 2 - 8, u"模台");
    for (int k = 0; k < 3; ++k) {
        dc.SetTextColor(kPassColours[k]);
        CString label;
        label.Format(u"第%d刀", k + 1);
        dc.TextOut(kPartRect.left + 46, kPartRect.top + 30 + 20 * k, label);
    }
    dc.SelectObject(oldFont);
    dc.SelectObject(old);
    return true;
}
