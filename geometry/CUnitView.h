#pragma once

// The view's pick record that entity operations read and write (the view
// object passed to CUnit::OnPick and CUnit::InteractiveStep). The view class
// derives from it and overrides SetPromptText:
//   class CZorvaView : public CScrollView, public CUnitView { ... };

#include <cstdint>

#include "geometry/x_Vector.h"
#include "platform/core/CString.h"
#include "platform/gdi/gdi_types.h"

class CUnit;

class CUnitView {
public:
    CUnitView() = default;
    virtual ~CUnitView() = default;
    CUnitView(const CUnitView&) = delete;
    CUnitView& operator=(const CUnitView&) = delete;

    // The prompt line of the command bar; the readouts of the interactive
    // steps go here.
    virtual void SetPromptText(const CString& text) { m_promptText = text; }

    CUnit* m_pickUnit = nullptr;        // the unit the last pick picked
    std::uint8_t m_pickedFlag = 0;      // a pick selected a unit
    std::uint8_t m_gripDragFlag = 0;    // a pick started a grip drag
    std::int32_t m_gripNumber = 0;      // 1-based grip of HitTestGrip, 0 none
    x_Vector m_firstPoint;              // first point of the command or grip
    x_Vector m_lastPoint;               // last cursor point handled
    POINT m_dragPixel[2] = {};          // pixel where a grip drag started
    CUnit* m_dragUnit = nullptr;
    CUnit* m_joinedUnit = nullptr;      // line joined to an end-grip drag
    x_Vector m_cursorPoint;             // cursor in world millimetres
    std::uint8_t m_polyArcMode = 0;     // polyline: 1 arc segments
    x_Vector m_parallelRef[2];          // reference line of the parallel line modes
    CString m_promptText;               // last text given to SetPromptText
};
