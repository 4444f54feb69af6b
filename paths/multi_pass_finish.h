#pragma once

// The view's side of multi-pass finishing (the engine: wirepath/multi_pass.h).

class CZorvaView;

// The view's path (m_trail) finished as a multi-pass path and appended to
// the drawing; a refusal prints its line (interactive only), frees the
// path and keeps the step.
bool FinishTrailPasses(CZorvaView& view, bool batch);
