#pragma once

// The view fixture with what the edit tests share: typed lines, a picture
// of the live drawing to compare before and after undo and redo, and the
// selection of entities by clicks.

#include <tuple>
#include <vector>

#include "app/AppState.h"
#include "geometry/CUnit.h"
#include "view_fixture.h"

// One live entity as the user sees it: id, type, attributes and geometry.
struct EntityPicture {
    std::uint64_t id;
    int type;
    COLORREF colour;
    int lineStyle, role, group, pieceOf;
    std::vector<double> geometry;
    bool operator==(const EntityPicture& o) const
    {
        return std::tie(id, type, colour, lineStyle, role, group, pieceOf, geometry)
            == std::tie(o.id, o.type, o.colour, o.lineStyle, o.role, o.group, o.pieceOf, o.geometry);
    }
};

inline std::vector<EntityPicture> Picture(const std::vector<CUnit*>& live)
{
    std::vector<EntityPicture> out;
    for (CUnit* u : live) {
        EntityPicture p{u->unitId, u->GetType(), u->colour, u->lineStyle, u->role, u->group, u->pieceOf, {}};
        const UnitGeometry& g = u->geometry;
        switch (p.type) {
        case 1:
            p.geometry = {g.line.p1.x, g.line.p1.y, g.line.p2.x, g.line.p2.y};
            break;
        case 7:
            p.geometry = {g.circle.centre.x, g.circle.centre.y, g.circle.radius};
            break;
        case 8:
            p.geometry = {g.arc.centre.x, g.arc.centre.y, g.arc.radius, g.arc.startAngle, g.arc.endAngle,
                          double(g.arc.direction)};
            break;
        default:
            break;
        }
        out.push_back(p);
    }
    return out;
}

class EditTest : public ViewTest {
protected:
    void Type(const char16_t* text)
    {
        drv->SetCommandEdit(CString(text));
        g_keyDownSeen = 0;      // the frame clears the latch as the key comes up
        drv->PressKey(13);
    }
    CCir* AddCircle(double x, double y, double r)
    {
        ++g_UnitIdCounter;
        auto* c = new CCir();
        c->geometry.circle.centre = x_Vector(x, y);
        c->geometry.circle.radius = r;
        c->workGeometry = c->geometry;
        c->complete = 1;
        drv->doc->AppendUnit(c);
        drv->doc->CommitUndoStep(0);
        return c;
    }
    std::vector<EntityPicture> Now() const { return Picture(drv->LiveEntities()); }
    // The edit is one undo step: undo gives back `before` exactly and redo
    // the edited drawing.
    void ExpectOneUndoStep(const std::vector<EntityPicture>& before)
    {
        const auto after = Now();
        ASSERT_TRUE(drv->doc->Undo());
        EXPECT_EQ(Now(), before);
        ASSERT_TRUE(drv->doc->Redo());
        EXPECT_EQ(Now(), after);
    }
    std::vector<CString> OutputHas(const char16_t* text) const
    {
        std::vector<CString> hits;
        for (const CString& line : drv->Output())
            if (line.Find(text) >= 0)
                hits.push_back(line);
        return hits;
    }
};
