// A window's front image shared between a drawing thread and the painter.
#include "platform/gdi/CDC.h"
#include "platform/gdi/CFrontImage.h"

#include "tests/platform/gdi/gdi_test_support.h"

#include <gtest/gtest.h>

#include <QImage>

#include <atomic>
#include <thread>

TEST(CFrontImage, ClientDcReportsWhatItChangedWhenReleased)
{
    CFrontImage front;
    front.Resize(50, 40, RGB(0, 0, 0));
    std::atomic<int> calls{0};
    CRect changed;
    front.SetRepaintHandler([&](const CRect& r) {
        ++calls;
        changed = r;
    });
    {
        CDC dc(front);
        dc.SelectStockObject(WHITE_PEN);
        dc.MoveTo(10, 5);
        dc.LineTo(20, 15);
        EXPECT_EQ(calls, 0) << "nothing is reported while the DC lives";
        bool lockedElsewhere = true;
        std::thread([&] {
            lockedElsewhere = !front.Mutex().try_lock();
            if (!lockedElsewhere)
                front.Mutex().unlock();
        }).join();
        EXPECT_TRUE(lockedElsewhere) << "the DC holds the image's lock for its whole life";
        // A second DC on the same thread does not deadlock.
        CDC nested(front);
        EXPECT_EQ(nested.GetPixel(10, 5), RGB(255, 255, 255));
        // A resize arriving meanwhile (a nested event loop) waits for the
        // DCs, which keep drawing into the pixels they hold.
        front.Resize(55, 40);
        EXPECT_EQ(front.GetSize(), CSize(50, 40));
        dc.SetPixel(49, 39, RGB(0, 0, 255));
    }
    EXPECT_EQ(front.GetSize(), CSize(55, 40));
    EXPECT_EQ(calls, 1);
    EXPECT_TRUE(changed.PtInRect(CPoint(10, 5)));
    EXPECT_TRUE(changed.PtInRect(CPoint(19, 14)));
    {
        CDC idle(front);
    }
    EXPECT_EQ(calls, 1) << "a DC that drew nothing asks for no repaint";

    front.Resize(60, 40, RGB(255, 0, 0));
    front.Read([](const QImage& img) {
        EXPECT_EQ(img.size(), QSize(60, 40));
        EXPECT_EQ(img.pixel(10, 5), qRgb(255, 255, 255)) << "old pixels are kept";
        EXPECT_EQ(img.pixel(49, 39), qRgb(0, 0, 255));
        EXPECT_EQ(img.pixel(55, 5), qRgb(255, 0, 0)) << "new pixels take the fill";
    });
}

TEST(CFrontImage, WorkerDrawsWhileThePainterCopies)
{
    EnsureGuiApp();
    CFrontImage front;
    front.Resize(160, 120);
    std::atomic<int> repaints{0};
    front.SetRepaintHandler([&](const CRect&) { ++repaints; });
    std::atomic<bool> done{false};

    std::thread worker([&] {
        CPen pen(PS_DOT, 1, RGB(255, 255, 0));
        CFont font;
        font.CreateFont(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0, u"宋体");
        for (int i = 0; i < 300; ++i) {
            CDC dc(front);
            dc.SelectObject(&pen);
            dc.SelectObject(&font);
            dc.SetROP2(R2_NOTXORPEN);
            dc.MoveTo(i % 160, 0);
            dc.LineTo(159 - i % 160, 119);
            dc.Ellipse(10, 10, 60 + i % 50, 50);
            dc.SetTextColor(RGB(0, 255, 0));
            dc.TextOut(5, 100, u"第一个点");
        }
        done = true;
    });

    int frames = 0;
    QImage shallow;
    while (!done || frames < 10) {
        front.Read([&](const QImage& img) {
            shallow = img; // kept past the lock, as a painter might
            const QImage deep = img.copy();
            EXPECT_EQ(deep.size(), QSize(160, 120));
        });
        // Reading the kept copy outside the lock must not race with the worker.
        volatile QRgb sink = shallow.pixel(frames % 160, 60);
        (void)sink;
        ++frames;
    }
    worker.join();
    EXPECT_EQ(repaints, 300);
}
