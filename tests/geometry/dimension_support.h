#pragma once

// Shared pieces of the dimension entity tests.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QGuiApplication>

#include <cmath>
#include <vector>

#include "geometry/CUnit.h"
#include "geometry/CUnitView.h"
#include "geometry/GeometryState.h"
#include "tests/support/archive_bytes.h"

class DimensionTest : public testing::Test {
protected:
    void SetUp() override
    {
        ResetGeometryState();
        SetDefaultDrawingSettings();
        g_ViewScale = 1.0;
        g_ViewOriginX = 0;
        g_ViewOriginY = 0;
    }
};

// Labels are drawn with fonts, which need the GUI application object.
inline void EnsureGuiApp()
{
    static int argc = 1;
    static char name[] = "test_geometry";
    static char* argv[] = {name, nullptr};
    if (QCoreApplication::instance() == nullptr)
        new QGuiApplication(argc, argv);
}

// The bytes a unit writes after the 162-byte common record.
inline Bytes TailOf(CUnit& unit)
{
    const Bytes all = StoreBytes([&](CArchive& ar) { unit.Serialize(ar); });
    if (all.size() < static_cast<size_t>(kUnitRecordSize))
        return {};
    return Bytes(all.begin() + kUnitRecordSize, all.end());
}

// The whole record (common part and tail) of a unit, for reading back.
inline Bytes RecordOf(CUnit& unit)
{
    return StoreBytes([&](CArchive& ar) { unit.Serialize(ar); });
}

// Angles compared round the circle: 2π is 0.
inline void ExpectAngle(double a, double b, double tol = 1e-12)
{
    EXPECT_NEAR(std::remainder(a - b, 6.283185307179586), 0.0, tol) << a << " vs " << b;
}

inline void ExpectNear(const x_Vector& p, double x, double y, double tol = 1e-9)
{
    EXPECT_NEAR(p.x, x, tol);
    EXPECT_NEAR(p.y, y, tol);
}
