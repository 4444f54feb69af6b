#pragma once

// A view over an empty drawing (10 pixels per mm, world origin at pixel
// (100, 500)) with the path library installed, and the moves of a user
// who makes a wire path: clicks go to the worker, which is waited for and
// whose output is pumped before the next move.

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "app/AppState.h"
#include "app/CZorvaDoc.h"
#include "app/MachiningSettings.h"
#include "geometry/CLine.h"
#include "geometry/GeometryState.h"
#include "paths/CTrail.h"
#include "paths/paths_install.h"
#include "platform/core/files.h"
#include "tests/support/viewdriver/ViewDriver.h"
#include "view/CZorvaView.h"
#include "view/ViewState.h"
#include "view/worker_thread.h"

// The worker answers a click within a few milliseconds; this only bounds a
// hang.
constexpr int kWorkerTimeoutMs = 10000;

// Folder kept after the tests (build/<flavour>/tests/artifacts): the
// ".dcx" files and the PNG snapshots the path tests write.
inline std::string ArtifactPath(const std::string& name)
{
    const std::string dir = std::string(ZORVA_TEST_BIN) + "/artifacts";
    std::filesystem::create_directories(dir);
    return dir + "/" + name;
}

class PathViewTest : public testing::Test {
protected:
    void SetUp() override
    {
        drv = std::make_unique<ViewDriver>(800, 600);
        InstallPaths();     // after the driver, which resets the geometry hooks
        drv->SetView(10.0, 100, 500);
        g_MachiningSettings.compensation = 0.1;
        g_MachiningSettings.thickness = 20.0;
        g_MachiningSettings.noOffset = 0;
        g_MachiningSettings.cornerAngle = 0.0;
        g_MachiningSettings.cornerLeadLength = 0.0;
        g_MachiningSettings.overCut = 0.0;
        g_MachiningSettings.multiPass = 0;
        g_CutMode = 0;
    }
    void TearDown() override
    {
        HoldWorkerForTest(false);
        Finish();
        drv.reset();
    }

    // Waits for the worker and shows what it handed back.
    void Finish()
    {
        ASSERT_TRUE(WaitForWorkerForTest(kWorkerTimeoutMs));
        drv->Settle();
    }
    void Click(const x_Vector& p)
    {
        drv->ClickAt(p);
        Finish();
    }
    void ClickPixel(POINT px)
    {
        drv->ClickAtPixel(px);
        Finish();
    }
    // The key release that the main frame turns into clearing the latches.
    static void Release()
    {
        g_keyDownSeen = 0;
        g_UndoKeyLatch = 0;
        g_EditKeyLatch = 0;
    }
    void Type(const CString& text)
    {
        drv->Type(text);
        Release();
        Finish();
    }
    void Key(int key)
    {
        drv->PressKey(key);
        Release();
    }
    // The pixel inside the head of marker i (40 pixels out along it).
    POINT MarkerHead(int i) const
    {
        const x_DirSignData& m = g_DirSignList[i];
        const POINT b = drv->Pixel(m.base);
        return {b.x + static_cast<int>(std::lround(40 * std::cos(m.angle))),
                b.y - static_cast<int>(std::lround(40 * std::sin(m.angle)))};
    }
    int MarkerAt(double angle) const
    {
        for (int i = 0; i < g_DirSignList.GetSize(); ++i)
            if (std::fabs(std::remainder(g_DirSignList[i].angle - angle, 2 * kPi)) < 1e-9)
                return i;
        return -1;
    }
    void DrawRectangle()
    {
        drv->Start(kCmdRectangle);
        drv->ClickAt({0, 0});
        drv->ClickAt({20, 10});
    }
    // Threading point (10, -5), lead-in (10, 0), along the bottom edge to
    // +x, compensation outside (the side marker below the edge).
    void MakeRectanglePath()
    {
        DrawRectangle();
        drv->Start(kCmdPath);
        Click({10, -5});
        Click({10, 0});
        ClickPixel(MarkerHead(MarkerAt(0.0)));
        ClickPixel(MarkerHead(MarkerAt(1.5 * kPi)));
    }
    // A complete entity appended to the drawing with a fresh id.
    CUnit* AddUnit(CUnit* u)
    {
        ++g_UnitIdCounter;
        u->unitId = g_UnitIdCounter;
        u->complete = 1;
        std::lock_guard<std::recursive_mutex> lock(drv->doc->m_listMutex);
        drv->doc->m_unitList.Add(u);
        return u;
    }
    std::vector<CTrail*> Paths() const
    {
        std::vector<CTrail*> out;
        for (CUnit* u : drv->LiveEntities())
            if (u->GetType() == 66)
                out.push_back(static_cast<CTrail*>(u));
        return out;
    }
    bool Printed(const CString& line) const
    {
        for (const CString& l : drv->Output())
            if (l == line)
                return true;
        return false;
    }
    static void ExpectPoint(const x_Vector& p, double x, double y, double tol = 1e-9)
    {
        EXPECT_NEAR(p.x, x, tol);
        EXPECT_NEAR(p.y, y, tol);
    }

    std::unique_ptr<ViewDriver> drv;
};
