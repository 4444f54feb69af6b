#pragma once

// What the single-cut page of each coding version shows: its controls in
// order, the CutParams field behind each, and how a typed value is stored.
// The page templates, FillCutPage and ReadCutPage all walk these tables.

#include <cstdint>
#include <span>

#include "wirepath/CutParams.h"

class CWnd;

enum class CutField : std::uint8_t {
    allowance,
    pulseWidth,
    pulseInterval,
    groupWidthOrCurrent,
    groupIntervalOrVoltage,
    groupPulse,
    stepPulse,
    repeatTime,
    wireSpeed,
    track,
    speedLimit,
    choice,
};

enum class ComboItems : std::uint8_t { none, numbers, lowHigh, offOn };

struct CutPageField {
    int id;
    const char16_t* label;
    CutField field;
    // Integers: the largest value stored. Choices: the largest index kept
    // (a larger stored index is shown and stored as 0).
    std::uint32_t limit;
    std::uint8_t choice = 0;            // choice[] slot of a combo
    ComboItems items = ComboItems::none;
    int firstNumber = 0;                // first item of a numbers combo
    bool singlePass = true;             // read and shown by the single-pass dialog
};

struct CutPageLayout {
    unsigned templateId;
    std::uint8_t codingMode;
    int columns;
    std::span<const CutPageField> fields;
};

// The page of a coding version; unknown versions get the fast-wire page.
const CutPageLayout& CutPageFor(std::uint8_t codingMode);
// Registers the five page templates (once).
void RegisterCutPageTemplates();

constexpr int IDC_CUT_PAGE_CAPTION = 1187;
constexpr int IDC_CUT_ALLOWANCE = 1015;

// Fills the page's combo boxes with their items.
void FillCutPageCombos(CWnd* page, const CutPageLayout& layout);
// Shows cut on page. The single-pass form shows the allowance as "0.0" and
// leaves the fields it does not read empty.
void ShowCutOnPage(CWnd* page, const CutPageLayout& layout, const CutParams& cut, bool singlePass);
// Reads page into cut; fields the page does not hold keep their value. The
// single-pass form leaves the allowance and its unread fields alone.
void ReadCutFromPage(const CWnd* page, const CutPageLayout& layout, CutParams& cut, bool singlePass);
