#pragma once

// The ".dcx" path export (records in wirepath/dcx_record.h): the chosen
// paths in the order of g_SelectedTrailIds.

#include "platform/core/CString.h"
#include "wirepath/dcx_record.h"

// Writes the chosen paths to path through a temporary file; prints its
// refusals ("#没有选择轨迹", "#轨迹读取失败，请重试") and returns false then.
bool WriteDcxFile(const CString& path);
