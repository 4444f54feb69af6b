#pragma once

// Drives the view as a user would until the main frame and the command line
// exist: a document, a stand-in command bar with the controls the view
// writes (output list 1008, prompt 1010, mode combo 1012, command edit
// 1025, coordinates 1002, file name 1202) and the view window itself. Moves
// and clicks go through injected mouse events and the virtual clock, so the
// live preview runs before a click as it does under a real mouse.

#include <memory>
#include <vector>

#include "geometry/x_Vector.h"
#include "platform/core/CString.h"
#include "platform/gdi/gdi_types.h"

class CUnit;
class CWnd;
class CZorvaDoc;
class CZorvaView;

class ViewDriver {
public:
    // A view of width x height client pixels over a new, empty drawing.
    explicit ViewDriver(int width = 800, int height = 600);
    ~ViewDriver();
    ViewDriver(const ViewDriver&) = delete;
    ViewDriver& operator=(const ViewDriver&) = delete;

    // Scale (pixels per mm) and the pixel of the world origin; redraws.
    void SetView(double scale, int originX, int originY);

    // --- input ---
    void Start(int command);                    // as a menu would
    void SelectMode(int index);                 // the mode combo
    void SetCommandEdit(const CString& text);
    // Text typed into the command edit, then Enter.
    void Type(const CString& text);
    CString CommandEdit() const;
    void PressKey(int key);                     // 13, 27, 36, 46, hot keys
    void MoveTo(const x_Vector& world);
    void MoveToPixel(POINT pixel);
    void ClickAt(const x_Vector& world);        // move, preview, press, release
    void ClickAtPixel(POINT pixel);
    void RightClick();                          // at the last mouse pixel
    void DragWindow(const x_Vector& from, const x_Vector& to);
    void MiddleDrag(POINT from, POINT to);
    void ZoomAt(int direction, POINT pixel);
    // Runs the view's timers and posted calls until nothing is due.
    void Settle();

    // --- reading ---
    std::vector<CString> Output() const;
    CString Prompt() const;
    CString Coordinates() const;
    std::vector<CUnit*> LiveEntities() const;
    int Command() const;
    int Step() const;
    int PointCount() const;
    POINT Pixel(const x_Vector& world) const;
    bool Snapshot(const CString& path);

    CZorvaView* view = nullptr;
    CZorvaDoc* doc = nullptr;

private:
    std::unique_ptr<CWnd> m_bar;
    POINT m_lastPixel = {0, 0};
};
