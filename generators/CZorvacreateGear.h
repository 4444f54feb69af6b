#pragma once

// The gear dialog (齿轮生成): an involute gear or a rack described on two
// pages, previewed in a small picture on the dialog's left, and put into the
// drawing by 生成(&S), which hands the outline to the move command. The
// page's generator writes the outline into the document's preview list
// (the scratch list).

#include <cstdint>

#include "generators/CZorvacreate_tab1.h"
#include "generators/CZorvacreate_tab2.h"
#include "generators/preview_picture.h"
#include "geometry/x_Vector.h"
#include "platform/core/CArray.h"
#include "platform/ui/CDialog.h"
#include "platform/ui/message_box.h"

class CUnit;
struct GearInputs;
struct RackInputs;

class CZorvacreateGear : public CDialog {
public:
    CZorvacreateGear();
    ~CZorvacreateGear() override;

    BOOL OnInitDialog() override;
    void OnPaint() override;
    void OnDestroy() override;
    void OnOK() override { OnGenerate(); }

    // page 0 gear, 1 rack; mode 0 generates, 1 only recomputes and checks
    // the size fields.
    bool Generate(int page, int mode);
    bool GenerateExternalGear(int mode);
    bool GenerateInternalGear(int mode);
    bool GenerateRack(int mode);
    void SelectPage(int index);
    void OnSelchangeTab(NMHDR* header, LRESULT* result);
    void OnPreview();
    void OnGenerate();
    void FitPreview();

    int m_pageCount = 2;
    CZorvacreate_tab1 m_gearPage;
    CZorvacreate_tab2 m_rackPage;
    CArray<x_Vector> m_flankSamples;
    double m_previewScale = 1.0;
    int m_previewOrigin[2] = {139, 160};
    std::uint8_t m_paramsTouched = 0;
    std::uint8_t m_accepting = 0;
    CUnit* m_handleUnit = nullptr;
    x_Vector m_handlePoint;

private:
    GearInputs ReadGearPage() const;
    RackInputs ReadRackPage() const;
    bool GenerateGear(int mode, bool internal);
    // The fields of page 0 (gear) or 1 (rack) that shape the outline hold
    // numbers; else one is refused (number_fields.h).
    bool PageFieldsAreNumbers(int page);
    void FillLists();
    void RestoreGearPage();
    void RestoreRackPage();
    void SaveGearPage();
    void SaveRackPage();
    void AcceptPreview();
    void ShowPreviewNow();

    DECLARE_MESSAGE_MAP()
};

// Deletes every entity of the preview list and empties it.
void ClearPreviewList();
// Sets the dialog's m_paramsTouched and recalculates the gear page's size
// fields, when a gear dialog is open.
void RecalcGearSizes();
// Starts the move command with units carried by handle at point: the next
// click puts point there.
void HandToMoveCommand(CUnit* handle, const x_Vector& point);
