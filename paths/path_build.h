#pragma once

// Path building for the chain that the direction step walked: chain
// collection and contour building by the engine, then, for a single-pass
// path, the sign of a hole's compensation, corner clearing, metrics and the
// cut parameters; the finished path is appended to the drawing.

class CUnit;
class CZorvaView;
struct PathCheckResult;

// contour: 0 first (lower), 1 second (upper, two-profile paths);
// batch: no messages and no command state. True when built.
bool BuildTrail(CZorvaView& view, bool batch, int contour, double compensation);
// The last step of a two-profile path (step 10).
bool BuildTwoProfileTrail(CZorvaView& view);
// A path the check refused: the view's path is freed and, when
// interactive, the failure line and what failed are printed (the command
// ends with endCommand); the batch reads the hint from the pick.
void RefuseCheckedPath(CZorvaView& view, const PathCheckResult& r, bool batch, bool endCommand);
// Interactive runs queue the hint that the path was kept without its
// corner clearing (batch runs give it with the figure's number).
void ReportUnclearedCorners(CZorvaView& view);
// The finished path joins the drawing and leaves the view's pick.
void AppendFinishedTrail(CZorvaView& view, CUnit& trail);
// Queues "轨迹生成->操作完成" and ends the command.
void QueuePathDone(CZorvaView& view);
