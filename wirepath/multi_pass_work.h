#pragma once

// The working lists of one multi-pass build (multi_pass*.cpp only).

#include <cstdint>

#include "geometry/x_TrailData.h"
#include "wirepath/PathSettings.h"
#include "wirepath/TrailPath.h"
#include "wirepath/multi_pass.h"

constexpr std::uint8_t kRoleDieMark = 0x50;     // 'P': last element before the die support
constexpr std::uint8_t kRoleLink = 4;
constexpr int kPasses = 7;

struct PassWork {
    PassWork(const PathSettings& ps, const PassRequest& r, TrailPath& p) : s(ps), m(ps.passes), req(r), path(p) {}
    const PathSettings& s;
    const PassSettings& m;
    const PassRequest& req;
    TrailPath& path;

    int n = 1;                          // passes
    int S = 1;                          // surfaces
    int mode = 0;
    std::uint8_t closed = 0;
    int side = 0;                       // 0 right, 1 left
    bool die = false;
    bool stepOnce = false;
    double dieWidth[2] = {0.0, 0.0};
    double length[2] = {0.0, 0.0};      // of the base contours
    double sx = 0.0, sy = 0.0;          // incline shift of the upper surface
    bool cornerFailed = false;

    x_TrailDataArray base[2];
    x_TrailDataArray main[kPasses][2];  // each pass's contour, then its main part
    x_TrailDataArray support[kPasses][2];
    x_Vector trimStart[kPasses];        // where a trim pass starts (invalid: its own start)
    x_TrailDataArray overCut[2];        // the over-cut piece, forward
    bool hasOverCut = false;
    bool pauseAfterOverCutOut = false;
    bool returns = false;               // the path ends at the threading point

    bool Taper() const { return S == 2; }
};

// Phases 10 to 15: clean-up, tool change, assembly, end point, lead lines
// and the last checks (multi_pass_assemble.cpp).
int AssemblePasses(PassWork& w);
// Reverses a list: elements in reverse order, each run the other way.
void ReverseList(x_TrailDataArray& list);
// Marks the element of the lower list that ends d before its end (the
// upper list split at the same place); false when d <= 0 or there is no
// such place.
bool MarkPauseAt(x_TrailDataArray (&lists)[2], int surfaces, double d);
