#include "geometry/TrailReadRecord.h"

TrailReadRecord::TrailReadRecord()
{
    extraPoints.SetSize(2);
}
