#include "wirepath/TrailParams.h"

#include <cstring>

#include "platform/core/CArchive.h"
#include "platform/core/exceptions.h"

void InitTrailParams(TrailParams& params)
{
    params = TrailParams();
}

void ClearTrailParams(TrailParams& params)
{
    params = TrailParams();
    for (x_Vector* pair : {params.threadPoint, params.boxMin, params.boxMax})
        pair[0] = pair[1] = x_Vector(0.0, 0.0, 0);
    params.drawMin = params.drawMax = x_Vector(0.0, 0.0, 0);
}

void StoreTrailParams(CArchive& ar, const TrailParams& p)
{
    if (!ar.IsStoring())
        throw CArchiveException(CArchiveException::readOnly);
    ar << p.multiPass << p.sequence << p.reserved1 << p.surfaceCount << p.cutCount << p.reserved2
       << std::uint8_t(p.closedCut != 0 ? 1 : 0) << p.compensation << p.reserved3 << p.cutMode
       << p.taperAngle << p.thickness << p.overCut << p.reserved4a << p.reserved4b
       << p.reserved4c[0] << p.reserved4c[1];
    for (const std::int32_t v : p.reserved4d)
        ar << v;
    ar << p.reserved4e[0] << p.reserved4e[1];
    for (const x_Vector* pair : {p.threadPoint, p.boxMin, p.boxMax})
        ar << pair[0] << pair[1];
    for (const double* pair : {p.length, p.lengthNoLead, p.cutLength})
        ar << pair[0] << pair[1];
    ar << p.drawMin << p.drawMax;
    // The reserved byte and word are stored before the cuts they follow in memory.
    ar << p.reserved5a << p.reserved5b;
    for (const CutParams& cut : p.cuts)
        StoreCutParams(ar, cut);
    for (int copy = 0; copy < 2; ++copy)
        for (const double v : p.reserved6)
            ar << v;
    for (const std::int32_t v : p.reserved8)
        ar << v;
}

void LoadTrailParams(CArchive& ar, TrailParams& p)
{
    if (ar.IsStoring())
        throw CArchiveException(CArchiveException::writeOnly);
    std::uint8_t closed = 0;
    ar >> p.multiPass >> p.sequence >> p.reserved1 >> p.surfaceCount >> p.cutCount >> p.reserved2
       >> closed >> p.compensation >> p.reserved3 >> p.cutMode >> p.taperAngle >> p.thickness
       >> p.overCut >> p.reserved4a >> p.reserved4b >> p.reserved4c[0] >> p.reserved4c[1];
    p.closedCut = closed != 0 ? 1 : 0;
    for (std::int32_t& v : p.reserved4d)
        ar >> v;
    ar >> p.reserved4e[0] >> p.reserved4e[1];
    for (x_Vector* pair : {p.threadPoint, p.boxMin, p.boxMax})
        ar >> pair[0] >> pair[1];
    for (double* pair : {p.length, p.lengthNoLead, p.cutLength})
        ar >> pair[0] >> pair[1];
    ar >> p.drawMin >> p.drawMax;
    ar >> p.reserved5a >> p.reserved5b;
    for (CutParams& cut : p.cuts)
        LoadCutParams(ar, cut);
    // Stored twice; the second copy is the one kept.
    for (int copy = 0; copy < 2; ++copy)
        for (double& v : p.reserved6)
            ar >> v;
    for (std::int32_t& v : p.reserved8)
        ar >> v;
}
