#pragma once

#include <vector>

#include "geometry/CUnit.h"

// An annotation text at geometry.text.position (the top-left corner of its
// first line). textStyle 0: "宋体" sized by the zoom; 1: a 12 px number
// label; 2: a multi-line DXF text in "Arial", lines split at "\P".
class CText : public CUnit {
    DECLARE_SERIAL(CText)
public:
    CText();
    ~CText() override;

    void Serialize(CArchive& ar) override;
    void InteractiveStep(CDC* dc, CUnitView* view, x_Vector cursor) override;
    void DrawGrips(CDC* dc) override;
    void OnPick(CDC* dc, CUnitView* view, x_Vector point) override;
    int HitTestGrip(x_Vector point) override;
    bool HitTest(x_Vector point, std::uint8_t mode) override;
    void Draw(CDC* dc, int mode, std::uint8_t* raster) override;
    void ComputeExtents() override;
    void CommitTransform() override;
    int GetType() override { return 12; }
    void Move(x_Vector offset) override;
    bool Mirror(x_Vector a, x_Vector b) override;
    bool Rotate(x_Vector centre, double angle) override;
    bool Copy(int mode, CUnit*& out) override;
    bool Scale(x_Vector base, x_Vector factors) override;
    void UpdateGripPoints() override;

    static void CopyTextAttributes(TextRecord& to, const TextRecord& from) { to = from; }
};

// Pixel height of a zoomed text: trunc(zoom · max(fontSize − 7, 8)) within
// [1, 12], the zoom taken within [0.0001, 4].
int TextPixelHeight(double zoom, int fontSize);
// The lines of a multi-line text: "\P" and a lone "\" both end a line; an
// empty remainder after the last break is no line.
std::vector<CString> SplitTextLines(const CString& text);
