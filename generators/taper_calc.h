#pragma once

// The taper machine-geometry formulas: corrected heights H1 (标高) and H2
// (基高) from the set values and a measured test cut. Lengths in mm, angles
// in degrees.

struct TaperResult {
    bool ok = false;
    double h1 = 0.0;
    double h2 = 0.0;
    const char16_t* refusal = nullptr;      // why nothing was computed
};

// New H1 with H2 kept. H2 = 0 gives ok with h1 = 0 (shown, not stored).
TaperResult TaperPage1(double h1, double h2, double taperDeg, double lowerDia, double measuredDia);
// New H2 with H1 kept.
TaperResult TaperPage2(double h2, double taperDeg, double lowerDia, double measuredDia);
// Upper diameter of the set cone: D - 2 Th tan a.
double TaperUpperDiameter(double thickness, double taperDeg, double lowerDia);
// New H1 and H2 from a measured cone.
TaperResult TaperPage3(double h1, double h2, double thickness, double taperDeg, double lowerDia,
                       double measuredLower, double measuredUpper);
// New H1 from a measured slant; a measured slant of 0 gives 0.
TaperResult TaperPage4(double h1, double setDeg, double measuredDeg);
