#include "platform/gdi/CRect.h"

#include <gtest/gtest.h>

TEST(CRect, SizesAndContainmentLeaveOutRightAndBottom)
{
    const CRect r(10, 20, 30, 25);
    EXPECT_EQ(r.Width(), 20);
    EXPECT_EQ(r.Height(), 5);
    EXPECT_TRUE(r.PtInRect(CPoint(10, 20)));
    EXPECT_TRUE(r.PtInRect(CPoint(29, 24)));
    EXPECT_FALSE(r.PtInRect(CPoint(30, 24)));
    EXPECT_FALSE(r.PtInRect(CPoint(29, 25)));
    EXPECT_FALSE(CRect(5, 5, 5, 9).PtInRect(CPoint(5, 5)));
}

TEST(CRect, EditingOperations)
{
    CRect r;
    r.SetRect(30, 40, 10, 20);
    r.NormalizeRect();
    EXPECT_EQ(r, CRect(10, 20, 30, 40));
    r.InflateRect(2, 3);
    EXPECT_EQ(r, CRect(8, 17, 32, 43));
    r.DeflateRect(2, 3);
    r.OffsetRect(-10, 5);
    EXPECT_EQ(r, CRect(0, 25, 20, 45));

    CRect plain;
    ASSERT_TRUE(SetRect(&plain, 1, 2, 3, 4));
    ASSERT_TRUE(InflateRect(&plain, 1, 1));
    EXPECT_EQ(CRect(plain), CRect(0, 1, 4, 5));
    RECT copy;
    ASSERT_TRUE(CopyRect(&copy, &plain));
    EXPECT_TRUE(PtInRect(&copy, POINT{3, 4}));
    EXPECT_FALSE(PtInRect(&copy, POINT{4, 4}));
}

TEST(CRect, IntersectAndUnion)
{
    const struct {
        const char* name;
        CRect a, b, both, either;
        bool overlap;
    } kCases[] = {
        {"overlapping", {0, 0, 10, 10}, {5, 5, 15, 15}, {5, 5, 10, 10}, {0, 0, 15, 15}, true},
        {"touching edges only", {0, 0, 10, 10}, {10, 0, 20, 10}, {0, 0, 0, 0}, {0, 0, 20, 10}, false},
        {"one inside the other", {0, 0, 10, 10}, {2, 3, 4, 5}, {2, 3, 4, 5}, {0, 0, 10, 10}, true},
        {"empty joins nothing", {0, 0, 10, 10}, {50, 50, 50, 60}, {0, 0, 0, 0}, {0, 0, 10, 10}, false},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        for (bool swap : {false, true}) {
            const CRect& a = swap ? c.b : c.a;
            const CRect& b = swap ? c.a : c.b;
            CRect i, u;
            EXPECT_EQ(i.IntersectRect(&a, &b), c.overlap);
            EXPECT_EQ(i, c.both);
            u.UnionRect(&a, &b);
            EXPECT_EQ(u, c.either);
        }
    }
}
