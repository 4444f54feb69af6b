// The base behaviour of the virtual operations: the answers of a unit whose
// class does not override them.
#include "geometry/CUnit.h"

void CUnit::InteractiveStep(CDC*, CUnitView*, x_Vector) {}
void CUnit::DrawHighlight(CDC*, int) {}
void CUnit::DrawRubber(CDC*, x_Vector) {}
void CUnit::DrawGrips(CDC*) {}
double CUnit::BuildEllipseFromInput(x_Vector, x_Vector) { return 0.0; }
double CUnit::BuildCircleFromInput(x_Vector, x_Vector) { return 0.0; }
void CUnit::OnPick(CDC*, CUnitView*, x_Vector) {}
int CUnit::HitTestGrip(x_Vector) { return 0; }
bool CUnit::HitTest(x_Vector, std::uint8_t) { return false; }
void CUnit::Draw(CDC*, int, std::uint8_t*) {}
void CUnit::ComputeExtents() {}
int CUnit::FindNodeAt(x_Vector) { return 0; }
void CUnit::RebuildCurve(int) {}
void CUnit::CommitTransform() {}
void CUnit::SetStartFromPoint(x_Vector) {}
void CUnit::SetEndFromPoint(x_Vector) {}
int CUnit::GetType() { return 0; }
bool CUnit::BuildRegularPolygon(x_Vector, x_Vector, int) { return false; }
bool CUnit::BuildPolygonFromPoints(x_Vector, x_Vector, int) { return false; }
double CUnit::DistanceTo(x_Vector&, int, int, double) { return 1e10; }

x_Vector CUnit::NearestPoint(x_Vector& out, x_Vector&, std::uint8_t, double* distance, int)
{
    out = Unset();
    if (distance != nullptr)
        *distance = 1e10;
    return out;
}

bool CUnit::SnapPoints(x_Vector&, x_Vector&, int, int) { return false; }
double CUnit::ParameterAtPointWork(x_Vector&) { return 0.0; }
double CUnit::ParameterAtPoint(x_Vector&) { return 0.0; }
x_Vector CUnit::GetStartPoint() { return Unset(); }
x_Vector CUnit::GetEndPoint() { return Unset(); }
void CUnit::SetStartPoint(x_Vector) {}
void CUnit::SetEndPoint(x_Vector) {}
bool CUnit::GetDirection() { return false; }
void CUnit::SetDirection(bool) {}
double CUnit::GetAxisAngle() { return 0.0; }
double CUnit::GetStartAngle() { return 0.0; }
void CUnit::SetStartAngle(double) {}
double CUnit::GetEndAngle() { return 0.0; }
void CUnit::SetEndAngle(double) {}
x_Vector CUnit::GetCentre() { return Unset(); }
void CUnit::SetCentre(x_Vector&) {}
x_Vector CUnit::GetMajorAxis() { return Unset(); }
void CUnit::SetMajorAxis(x_Vector&) {}
double CUnit::GetAxisRatio() { return 0.0; }
void CUnit::SetAxisRatio(double) {}
double CUnit::GetSweepAngle() { return 0.0; }
double CUnit::GetSemiMajor() { return 0.0; }
double CUnit::GetSemiMinor() { return 0.0; }
double CUnit::GetLength() { return 0.0; }
int CUnit::Trim(int, x_Vector, int) { return 0; }
void CUnit::Move(x_Vector) {}
int CUnit::Break(x_Vector, x_Vector&) { return 0; }
bool CUnit::Mirror(x_Vector, x_Vector) { return false; }
bool CUnit::Rotate(x_Vector, double) { return false; }
bool CUnit::Copy(int, CUnit*&) { return false; }
bool CUnit::Scale(x_Vector, x_Vector) { return false; }
bool CUnit::AppendDirectionRecord(x_Vector) { return false; }
int CUnit::SplitAtCrossings(int, x_Vector, int, int, x_Vector&) { return 0; }
x_Vector CUnit::GetMidPoint() { return Unset(); }
void CUnit::BuildInvoluteCurve() {}
void CUnit::ComputeSampleStep() {}
void CUnit::UpdateGripPoints() {}
bool CUnit::Offset(CUnit*&, double, int) { return false; }
