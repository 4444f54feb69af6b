#pragma once

// Interactive path generation (command 66) on the worker thread: one call
// per request consumes the input the view stored (a click, a typed point
// or a marker index) for the step the view is at, and either waits for the
// next input or builds the path. What the user sees is queued on the view
// (CZorvaView::Later) and shown when the worker hands the request back.

class CZorvaView;

void GenerateTrail(CZorvaView& view);
