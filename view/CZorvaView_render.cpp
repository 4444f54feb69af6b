// One full frame: axes, entities, cursor marks, crosshair and scale bar are
// drawn into the view's 16-bit section and copied to the window in one
// blit, so the window never shows a partial frame.

#include <array>
#include <cmath>
#include <cstring>
#include <mutex>

#include "app/AppState.h"
#include "app/CZorvaDoc.h"
#include "geometry/CUnit.h"
#include "geometry/GeometryState.h"
#include "geometry/View3D.h"
#include "geometry/compound_outlines.h"
#include "geometry/screen_marks.h"
#include "geometry/view_transform.h"
#include "platform/core/exceptions.h"
#include "platform/gdi/CBitmap.h"
#include "platform/gdi/CDC.h"
#include "platform/gdi/CFrontImage.h"
#include "platform/gdi/RowDamage.h"
#include "platform/gdi/CPen.h"
#include "platform/gdi/gdi_objects.h"
#include "platform/ui/CClientDC.h"
#include "view/CZorvaView.h"
#include "view/view_entities.h"

namespace {

constexpr COLORREF kScaleBarIdle = 0x80FF00;
constexpr COLORREF kScaleBarBusy = 0x8000FF;
constexpr COLORREF kCrosshairColour = 0xFFA800;

// Units a frame walks are far apart in memory and far too many for the
// caches; the next ones are asked for while this one draws.
constexpr int kPrefetchAhead = 8;

// Only the fields a frame reads, which CUnit keeps first (up to
// gripsPending, within kFrameBytes): the lines of the rest would push the
// raster out of the caches for nothing.
void PrefetchUnit(const CUnit* u)
{
    const char* p = reinterpret_cast<const char*>(u);
    // Unrolled: as a loop it cost more instructions than a unit's culling.
#pragma GCC unroll 8
    for (std::size_t at = 0; at < CUnit::kFrameBytes; at += 64)
        __builtin_prefetch(p + at);
    __builtin_prefetch(&u->gripsPending);
}

bool OverlapsVisibleArea(const CUnit* u)
{
    if (!u->gripsValid)
        return true;
    return g_visibleMin.x <= u->extentMax.x && g_visibleMax.x >= u->extentMin.x
        && g_visibleMin.y >= u->extentMin.y && g_visibleMax.y <= u->extentMax.y;
}

POINT AxisPixel(double x, double y, double z)
{
    const x_Vector p = Project3D(x, y, z);
    return {g_ViewOriginX + static_cast<int>(std::floor(100.0 * p.x + 0.5)),
            g_ViewOriginY - static_cast<int>(std::floor(100.0 * p.y + 0.5))};
}

void AxisStroke(CDC* dc, std::initializer_list<std::array<double, 3>> points)
{
    bool first = true;
    for (const auto& p : points) {
        const POINT q = AxisPixel(p[0], p[1], p[2]);
        if (first)
            dc->MoveTo(q);
        else
            dc->LineTo(q);
        first = false;
    }
}

} // namespace

void CZorvaView::OnDraw(CDC* dc)
{
    m_clickBusy = 0;
    if (g_listBusy == 0)
        RenderOffscreen(dc);
}

void CZorvaView::RedrawNow()
{
    CClientDC dc(this);
    Render(&dc);
}

void CZorvaView::Render(CDC* dc)
{
    m_cursorCross = m_pickBox = m_crosshair = {-1, -1};
    m_pasteBaseMarked = 0;
    g_rubberShown = 0;
    m_snapped = 0;
    ClearRenderMarks();
    g_RubberLineShown = 0;
    g_GuideLineShown = 0;
    g_redrawAfterClick = 0;
    m_rendering = 1;
    RenderOffscreen(dc);
    m_rendering = 0;
    g_UndoKeyLatch = 0;
    g_listBusy = 0;
}

int CZorvaView::RenderOffscreen(CDC* dc)
{
    m_redrawPending = 0;
    std::uint8_t* bits = BackBufferBits();
    if (bits == nullptr)
        return 0;
    // A fresh DC each frame: drawing state never leaks from one frame to
    // the next; the pixels are the view's own buffer.
    CDC mem;
    mem.CreateCompatibleDC(dc);
    CBitmap* old = mem.SelectObject(m_backBitmap.get());
    // What this frame draws: it is cleared by the next one, and copied to
    // the window with what the last frame drew.
    RowDamage drawn;
    drawn.Reset(m_backWidth, m_backHeight);
    mem.SetDamage(&drawn);
    g_RasterDamage = &drawn;
    int result = 1;
    try {
        ClearDamagedRows(bits, m_backDamage);
        DrawAxes(&mem);
        DrawEntities(&mem, bits);
        DrawOverlays(&mem);
        g_RasterDamage = nullptr;
        ShowFrame(dc, &mem, drawn);
        // Over the shown frame, where the previews later erase them.
        DrawCommandMarks(dc);
    } catch (const CException&) {
        // A list changed under the frame: drop it, the next one is whole.
        drawn.MarkAll();
        m_blitAll = true;
        result = 0;
    }
    g_RasterDamage = nullptr;
    m_backDamage = std::move(drawn);
    mem.SelectObject(old);
    return result;
}

// Black again where the last frame drew: the rest of the buffer is black
// already.
void CZorvaView::ClearDamagedRows(std::uint8_t* bits, const RowDamage& damage)
{
    const std::size_t stride = static_cast<std::size_t>(g_RasterStride);
    for (int b = 0; b < damage.Bands(); ++b) {
        const int left = damage.Left(b), right = damage.Right(b);
        if (left >= right)
            continue;
        for (int y = damage.Top(b); y < damage.Bottom(b); ++y)
            std::memset(bits + y * stride + 2 * static_cast<std::size_t>(left), 0,
                        2 * static_cast<std::size_t>(right - left));
    }
}

// The frame onto the window: where this frame or the last one drew, and
// where anything else drew on the window's image since the last frame (the
// previews' marks); the rest of the image equals the buffer already. A
// frame of a nearly empty drawing converted the whole window before. Onto
// any other target, or after a dropped frame, the whole buffer.
void CZorvaView::ShowFrame(CDC* dc, CDC* mem, const RowDamage& drawn)
{
    CFrontImage* front = dc->FrontImage();
    const CPoint origin = dc->GetViewportOrg();
    // The window's image may be larger than the buffer (a window grown
    // after the raster size was fixed): frames never reach past it.
    const bool partial = !m_blitAll && front != nullptr && front == m_lastFront && origin.x == 0 && origin.y == 0;
    if (!partial) {
        dc->BitBlt(0, 0, g_RasterWidth, g_RasterHeight, mem, 0, 0, SRCCOPY);
    } else {
        RowDamage copy = m_backDamage;
        copy.Merge(drawn);
        copy.Merge(front->DamageLocked());
        for (int b = 0; b < copy.Bands(); ++b)
            if (copy.Left(b) < copy.Right(b))
                dc->BitBlt(copy.Left(b), copy.Top(b), copy.Right(b) - copy.Left(b), copy.Bottom(b) - copy.Top(b),
                           mem, copy.Left(b), copy.Top(b), SRCCOPY);
    }
    if (front != nullptr)
        front->ClearDamageLocked();
    m_lastFront = front;
    m_blitAll = front == nullptr;
}

// The RGB565 section of the raster size, made when there is none or the
// size changed; null when the raster has no size.
std::uint8_t* CZorvaView::BackBufferBits()
{
    if (m_pBackBufferInfo == nullptr || g_RasterWidth <= 0 || g_RasterHeight <= 0)
        return nullptr;
    if (m_backBits != nullptr && m_backWidth == g_RasterWidth && m_backHeight == g_RasterHeight)
        return m_backBits;
    m_backBitmap.reset();
    m_backBits = nullptr;
    if (m_pBackBufferInfo->bmiHeader.biWidth != g_RasterWidth
        || m_pBackBufferInfo->bmiHeader.biHeight != -g_RasterHeight)
        BuildBackBufferHeader();
    void* bits = nullptr;
    HBITMAP section = CreateDIBSection(nullptr, m_pBackBufferInfo, DIB_RGB_COLORS, &bits);
    if (section == nullptr)
        return nullptr;
    m_backBitmap = std::make_unique<CBitmap>();
    m_backBitmap->AttachSection(section);
    m_backBits = static_cast<std::uint8_t*>(bits);
    m_backWidth = g_RasterWidth;
    m_backHeight = g_RasterHeight;
    // A new section is black, and the window has not seen it.
    m_backDamage.Reset(m_backWidth, m_backHeight);
    m_blitAll = true;
    return m_backBits;
}

// What is drawn over the entities in the buffer: cursor, crosshair, scale
// bar. The command marks go over the shown frame (DrawCommandMarks).
void CZorvaView::DrawOverlays(CDC* dc)
{
    DrawCursorMarks(dc);
    DrawCrosshair(dc);
    DrawScaleBar(dc);
}

void CZorvaView::DrawAxes(CDC* dc)
{
    dc->SetBkMode(TRANSPARENT);
    if (g_curCommand == kCmdPathView3D) {
        const int rop = dc->SetROP2(R2_COPYPEN);
        CPen xPen(PS_SOLID, 1, g_AxisCrossColor + 0x64);
        CPen* old = dc->SelectObject(&xPen);
        AxisStroke(dc, {{0, 0, 0}, {1, 0, 0}});
        AxisStroke(dc, {{0.9, 0.05, 0}, {1, 0, 0}, {0.9, -0.05, 0}});
        AxisStroke(dc, {{0.7, 0.1, 0}, {0.9, 0.4, 0}});
        AxisStroke(dc, {{0.9, 0.1, 0}, {0.7, 0.4, 0}});
        CPen yPen(PS_SOLID, 1, g_AxisCrossColor + 0x6400);
        dc->SelectObject(&yPen);
        AxisStroke(dc, {{0, 0, 0}, {0, 1, 0}});
        AxisStroke(dc, {{-0.05, 0.9, 0}, {0, 1, 0}, {0.05, 0.9, 0}});
        AxisStroke(dc, {{-0.2, 0.7, 0}, {-0.2, 0.85, 0}, {-0.3, 1, 0}});
        AxisStroke(dc, {{-0.2, 0.85, 0}, {-0.1, 1, 0}});
        dc->SelectObject(old);
        dc->SetROP2(rop);
        return;
    }
    CPen dotted(PS_DOT, 1, g_AxisCrossColor);
    CPen* old = dc->SelectObject(&dotted);
    dc->MoveTo(g_ViewOriginX, g_clientRect.top);
    dc->LineTo(g_ViewOriginX, g_clientRect.bottom);
    dc->MoveTo(g_clientRect.left, g_ViewOriginY);
    dc->LineTo(g_clientRect.right, g_ViewOriginY);
    CPen cross(PS_SOLID, 1, g_AxisFrameColor);
    dc->SelectObject(&cross);
    dc->MoveTo(g_ViewOriginX - 30, g_ViewOriginY);
    dc->LineTo(g_ViewOriginX + 30, g_ViewOriginY);
    dc->MoveTo(g_ViewOriginX, g_ViewOriginY - 30);
    dc->LineTo(g_ViewOriginX, g_ViewOriginY + 30);
    dc->SelectObject(old);
}

void CZorvaView::DrawEntities(CDC* dc, std::uint8_t* raster)
{
    CZorvaDoc* doc = GetZorvaDoc();
    if (doc == nullptr)
        return;
    // The worker appends path pieces from its own thread.
    std::lock_guard<std::recursive_mutex> lock(doc->m_listMutex);
    CUnitArray& list = doc->m_unitList;
    const CompoundOutlinePass outlines(list);
    auto draw = [&](CUnit* u) {
        g_DashPhase = 0;
        u->Draw(dc, 1, raster);
    };
    // One pass over the list: a large drawing's units do not stay in the
    // caches from one pass to the next. Paths go over everything else, so
    // they wait in m_pathsToDraw.
    const bool view3D = g_curCommand == kCmdPathView3D;
    const bool others = !view3D && !m_pathsOnly;
    const bool grips = g_gripEditOn && g_endpointsOn && g_cmdStep != kStepSelect;
    m_pathsToDraw.clear();
    const int count = list.GetSize();
    for (int i = 0; i < count; ++i) {
        CUnit* u = list[i];
        if (i + kPrefetchAhead < count)
            PrefetchUnit(list[i + kPrefetchAhead]);
        if (u->deleted)
            continue;
        // Written only when they change: a write makes the unit's memory
        // dirty, to be written back.
        if (u->listIndex != i)
            u->listIndex = i;
        if (u->hoverShown)
            u->hoverShown = 0;
        if (!u->complete || !u->visible)
            continue;
        if (u->role == kRolePath) {
            m_pathsToDraw.push_back(u);
            continue;
        }
        if (!others || !OverlapsVisibleArea(u))
            continue;
        draw(u);
        // Grip squares need both "修改" and "端点"; before, "端点" did nothing.
        if (grips && (u->selected || u->highlighted) && !u->IsOnPath())
            u->DrawGrips(dc);
    }
    for (CUnit* u : m_pathsToDraw)
        if (view3D || OverlapsVisibleArea(u))
            draw(u);
    if (view3D)
        return;
    if (g_CompensationPreview || m_compensationEditMode)
        DrawCompensationLabels(dc);
    if (g_curCommand == kCmdPath && m_path.taperStep == 1)
        DrawAngleLabels(dc);
    // An estimate shows its points too, not only an applied correction.
    if (!g_WearMarkers.IsEmpty())
        DrawPointMarkers(dc);
    DrawPathOverlays(dc);
}

// Marks the running command keeps over the drawing, drawn over every full
// frame: the direction arrows of the offset and path commands, the chosen
// one highlighted; and, in a frame of Render, the
// alignment line on screen and the engine's marked point with the rubber
// line to the cursor (their shown flags were reset for this frame, so the
// next preview erases them as usual). Before, a zoom or pan during a
// command dropped them.
void CZorvaView::DrawCommandMarks(CDC* dc)
{
    if (m_rendering) {
        if (m_trackShown)
            DrawXorSegment(m_trackShownFrom, m_trackShownTo, dc);
        if (m_pendingMarkSet) {
            DrawFilledGrip(m_pendingMark, dc);
            DrawRubberLine(m_cursorPoint, m_pendingMark, 0, dc);
            const POINT p = WorldToScreen(m_pendingMark);
            m_selectionRect.left = p.x;
            m_selectionRect.top = p.y;
        }
    }
    if (!g_TrailDirections.IsEmpty()) {
        // Placed again for this frame: a zoom or pan moved their pixels, and
        // the side click tests those.
        for (int i = 0; i < g_DirSignList.GetSize(); ++i) {
            PlaceMarkerSymbol(g_DirSignList[i]);
            DrawMarkerSymbol(i, 1, dc, g_DirSignList[i]);
        }
        if (g_highlightedArrow >= 0 && g_highlightedArrow < g_DirSignList.GetSize())
            DrawMarkerSymbol(-1, 2, dc, g_DirSignList[g_highlightedArrow]);
    }
}

void CZorvaView::DrawCursorMarks(CDC* dc)
{
    if (m_cursorCross.x == -1 && m_pickBox.x == -1)
        return;
    CPen pen(PS_SOLID, 1, g_CursorColor);
    CPen* old = dc->SelectObject(&pen);
    const int rop = dc->SetROP2(R2_NOTXORPEN);
    dc->SetBkMode(TRANSPARENT);
    if (m_cursorCross.x != -1) {
        dc->MoveTo(m_cursorCross.x - 25, m_cursorCross.y);
        dc->LineTo(m_cursorCross.x + 25, m_cursorCross.y);
        dc->MoveTo(m_cursorCross.x, m_cursorCross.y - 25);
        dc->LineTo(m_cursorCross.x, m_cursorCross.y + 25);
    }
    if (m_pickBox.x != -1) {
        dc->SelectStockObject(NULL_BRUSH);
        dc->Rectangle(m_pickBox.x - 8, m_pickBox.y - 8, m_pickBox.x + 8, m_pickBox.y + 8);
    }
    dc->SetROP2(rop);
    dc->SelectObject(old);
}

void CZorvaView::DrawCrosshair(CDC* dc)
{
    if (!g_CrosshairOn || m_crosshair.x == -1)
        return;
    CPen pen(PS_DOT, 1, kCrosshairColour);
    CPen* old = dc->SelectObject(&pen);
    const int rop = dc->SetROP2(R2_NOTXORPEN);
    dc->MoveTo(m_crosshair.x, g_clientRect.top);
    dc->LineTo(m_crosshair.x, g_clientRect.bottom);
    dc->MoveTo(g_clientRect.left, m_crosshair.y);
    dc->LineTo(g_clientRect.right, m_crosshair.y);
    dc->SetROP2(rop);
    dc->SelectObject(old);
}

void CZorvaView::DrawScaleBar(CDC* dc)
{
    const double scale = ClampViewScale();
    double length = 120000.0 / scale / 1000.0;
    if (static_cast<int>(length) == 0)
        length = 1.0;
    CString label;
    label.Format(u"%d mm", static_cast<int>(length));
    const int bar = static_cast<int>(scale * length);
    const int x1 = g_screenWidth - (g_LeftToolbarButtons ? 110 : 40);
    const int x0 = x1 - bar;
    const int y = g_screenHeight - 300;
    dc->SetTextColor(kScaleBarIdle);
    dc->SetBkColor(g_PreviewBackColor);
    dc->SetBkMode(OPAQUE);
    dc->TextOut(x0 + (x1 - x0) / 2 - 15, y - 22, label.GetString());
    CPen pen(PS_SOLID, 1, g_curCommand == 0 ? kScaleBarIdle : kScaleBarBusy);
    CPen* old = dc->SelectObject(&pen);
    const int rop = dc->SetROP2(R2_COPYPEN);
    dc->MoveTo(x0, y - 5);
    dc->LineTo(x0, y + 1);
    dc->MoveTo(x1, y - 5);
    dc->LineTo(x1, y + 1);
    dc->MoveTo(x0, y);
    dc->LineTo(x1, y);
    dc->MoveTo(x0, y + 1);
    dc->LineTo(x1, y + 1);
    dc->SetROP2(rop);
    dc->SelectObject(old);
}

void CZorvaView::UpdateViewCorners()
{
    g_visibleMin = ScreenToWorld(g_clientRect.left, g_clientRect.top);
    g_visibleMax = ScreenToWorld(g_clientRect.right, g_clientRect.bottom);
}
